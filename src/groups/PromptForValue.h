#pragma once

#include "frmEffectiveDate.h"

#include <QPointer>
#include <QString>

namespace velora::groups {

class frmInputBox;

// The answer of one prompt: how the dialog was left (UnloadCode) and the text entered. Callers
// take the text only when the dialog was left with OK.
struct PromptResult {
    int unloadType = UnloadCode::None;
    QString text;

    bool confirmed() const { return unloadType == UnloadCode::OK; }
};

// The program's one modal prompt for a date or a line of text. The program shows dialogs; tests
// and other classes answer from a script instead.
class ValuePrompter {
public:
    virtual ~ValuePrompter() = default;
    // Date mode asks for an effective date, text mode for a line of text.
    virtual PromptResult PromptForValue(const QString& prompt, const QString& title,
                                        const QString& defaultValue, bool dateMode) = 0;
};

// The prompt shown with the effective-date dialog or the text-entry dialog. Each dialog is made
// on its first use and kept; every prompt loads it afresh, shows it modally and unloads it.
class DialogPrompter final : public ValuePrompter {
public:
    DialogPrompter(QWidget* owner, EffectiveDateServices services);
    ~DialogPrompter() override;
    DialogPrompter(const DialogPrompter&) = delete;
    DialogPrompter& operator=(const DialogPrompter&) = delete;

    PromptResult PromptForValue(const QString& prompt, const QString& title,
                                const QString& defaultValue, bool dateMode) override;

private:
    PromptDialog& dialog(bool dateMode);

    QWidget* owner_;
    EffectiveDateServices services_;
    QPointer<frmEffectiveDate> effectiveDate_;
    QPointer<frmInputBox> inputBox_;
};

} // namespace velora::groups
