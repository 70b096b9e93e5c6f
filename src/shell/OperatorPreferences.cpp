#include "OperatorPreferences.h"

#include "PreferencesForm.h"
#include "ShellError.h"
#include "common/AppContext.h"
#include "common/Messages.h"
#include "frmPreferences.h"

namespace velora::shell {

common::PreferenceStore OperatorPreferences::store() const {
    const suite::HXLoginUser& user = *context_.login->User();
    return common::PreferenceStore(*context_.connection,
                                   {user.user_id(), user.partition_id(), context_.partitionMode});
}

bool OperatorPreferences::read() {
    common::PreferenceStore preferences = store();
    try {
        context_.preferences.load(preferences, context_.supportDeletedReports);
        return true;
    } catch (const NumberedError& e) {
        context_.messages.inform(
            QStringLiteral("An error occurred initializing the incentive application. Please "
                           "contact the vendors of this product for more information.\r\n\r\n"
                           "Error ") +
                QString::number(e.number()) + QLatin1Char(':') + e.description(),
            common::MessageIcon::Critical);
    }
    return false;
}

void OperatorPreferences::runDialog(bool firstUse, QWidget* parent) {
    common::PreferenceStore preferences = store();
    PreferencesForm form(preferences, context_.messages,
                         {context_.login->User()->partition_id() == 0, context_.partitionMode,
                          context_.supportDeletedReports, firstUse});
    frmPreferences dialog(form, parent);
    dialog.exec();
}

void OperatorPreferences::edit(QWidget* parent) {
    runDialog(false, parent);
    common::PreferenceStore preferences = store();
    context_.preferences.load(preferences, context_.supportDeletedReports);
}

} // namespace velora::shell
