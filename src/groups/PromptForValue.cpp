#include "PromptForValue.h"

#include "frmInputBox.h"

namespace velora::groups {

DialogPrompter::DialogPrompter(QWidget* owner, EffectiveDateServices services)
    : owner_(owner)
    , services_(std::move(services)) {}

// Dialogs without an owner window are this object's to delete; owned ones go with the owner.
DialogPrompter::~DialogPrompter() {
    if (!owner_) {
        delete effectiveDate_.data();
        delete inputBox_.data();
    }
}

PromptResult DialogPrompter::PromptForValue(const QString& prompt, const QString& title,
                                            const QString& defaultValue, bool dateMode) {
    PromptDialog& shown = dialog(dateMode);
    shown.Load(title, prompt, defaultValue);
    shown.exec();
    PromptResult result{shown.UnloadType(), shown.UserInput()};
    shown.Unload();
    return result;
}

PromptDialog& DialogPrompter::dialog(bool dateMode) {
    if (dateMode) {
        if (!effectiveDate_)
            effectiveDate_ = new frmEffectiveDate(services_, owner_);
        return *effectiveDate_;
    }
    if (!inputBox_)
        inputBox_ = new frmInputBox(owner_);
    return *inputBox_;
}

} // namespace velora::groups
