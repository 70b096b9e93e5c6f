#include "frmInputBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velora::groups {

frmInputBox::frmInputBox(QWidget* parent)
    : PromptDialog(QStringLiteral("frmInputBox"), QStringLiteral("Incentive"),
                   QStringLiteral("txtInput"), parent) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK());
    buttons->addWidget(cmdCancel());
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblPrompt());
    outer->addWidget(txtInput());
    outer->addLayout(buttons);
    setMinimumWidth(360);
}

} // namespace velora::groups
