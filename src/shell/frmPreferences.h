#pragma once

#include "PreferencesForm.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace velora::shell {

// The Preferences dialog: two tabs, "Display" and "   Processing", over OK and Cancel. Its
// form decides what is read, what may be changed and what OK writes; the dialog only shows
// the choices and collects them. In its first-use form Cancel is disabled and neither Escape
// nor closing the window leaves it: only OK does.
//
// Controls: PreferencesSSTab; fraHourType (cmbDayOfWeek, cmbHourType,
// lblFirstDayOfThWeekDescLabel, lblHourTypeDescLabel); fraDisplay (chkShowDeletedAccounts,
// chkShowDeletedUsers, chkIncludeDeletedReports, Label2, Label5, cmbPartitionDisplay);
// fraAutoLock (txtAutoLock, Label1); fraFormulaWizard (chkEnableFormulaWizrd, Label3);
// fraEOMAdjustment (chkEOMAdjustment, Label4); NonAdminWarningLabel, cmdPreferencesOk,
// cmdPreferencesCancel.
class frmPreferences : public QDialog {
    Q_OBJECT

public:
    // Reads every value through the form (database failures reach the caller as db::DbError).
    explicit frmPreferences(PreferencesForm& form, QWidget* owner = nullptr);

    void reject() override;

private:
    QWidget* buildDisplayTab();
    QWidget* buildProcessingTab();
    void placeControls();
    void applyRules();
    void showChoices(const PreferenceChoices& choices);
    PreferenceChoices choices() const;
    void onOk();
    void centreOnScreen();

    PreferencesForm& form_;
    QTabWidget* tabs_ = nullptr;
    QGroupBox* fraDisplay_ = nullptr;
    QComboBox* cmbDayOfWeek_ = nullptr;
    QComboBox* cmbHourType_ = nullptr;
    QComboBox* cmbPartitionDisplay_ = nullptr;
    QCheckBox* chkShowDeletedAccounts_ = nullptr;
    QCheckBox* chkShowDeletedUsers_ = nullptr;
    QCheckBox* chkIncludeDeletedReports_ = nullptr;
    QLineEdit* txtAutoLock_ = nullptr;
    QCheckBox* chkEnableFormulaWizrd_ = nullptr;
    QCheckBox* chkEOMAdjustment_ = nullptr;
    QLabel* nonAdminWarning_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace velora::shell
