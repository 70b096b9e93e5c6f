#pragma once

#include "PromptDialog.h"

namespace velora::groups {

// The modal dialog that asks for one line of text. OK and Enter take whatever was typed.
//
// Controls: lblPrompt, txtInput, cmdOK, cmdCancel.
class frmInputBox : public PromptDialog {
    Q_OBJECT

public:
    explicit frmInputBox(QWidget* parent = nullptr);

    QLineEdit* txtInput() const { return entryField(); }
};

} // namespace velora::groups
