#pragma once

#include <QString>

namespace velora::common {

// Names of the preference rows kept by the preference procedures. System-level rows are
// shared by every operator; user-level rows belong to one operator.
namespace PreferenceKey {
inline const QString HourType = QStringLiteral("INCENT_HOUR_TYPE");
inline const QString FirstDayOfWeek = QStringLiteral("INCENT_FIRST_DAY_OF_WEEK");
inline const QString AutoLocking = QStringLiteral("INCENT_AUTO_LOCKING");
inline const QString EnableFormulaWizard = QStringLiteral("INCENT_ENABLE_FORMULA_WIZARD");
inline const QString ShowDeletedAccounts = QStringLiteral("INCENT_SHOW_DELETED_ACCOUNTS");
inline const QString ShowDeletedUsers = QStringLiteral("INCENT_SHOW_DELETED_USERS");
inline const QString IncludeDeletedReports = QStringLiteral("INCENT_INCLUDE_DELETED_REPORTS");
inline const QString PartitionDisplay = QStringLiteral("INCENT_PARTITION_DISPLAY");
inline const QString FirstTimeUse = QStringLiteral("INCENT_FIRST_TIME_USE");
inline const QString WindowHeight = QStringLiteral("INCENT_WINDOW_HEIGHT");
inline const QString WindowWidth = QStringLiteral("INCENT_WINDOW_WIDTH");
inline const QString WindowTop = QStringLiteral("INCENT_WINDOW_TOP");
inline const QString WindowLeft = QStringLiteral("INCENT_WINDOW_LEFT");
inline const QString SplitPos = QStringLiteral("INCENT_SPLIT_POS");
// Written by the Preferences dialog and read by the update engine; start-up does not read it.
inline const QString AddBlankEomValues = QStringLiteral("INCENT_ADD_BLANK_EOM_VALUES");
} // namespace PreferenceKey

// The built-in values used when no row exists, as the text a row would hold.
namespace PreferenceDefault {
inline const QString HourType = QStringLiteral("1");
inline const QString FirstDayOfWeek = QStringLiteral("1");
inline const QString AutoLocking = QStringLiteral("30");
inline const QString EnableFormulaWizard = QStringLiteral("True");
inline const QString ShowDeletedAccounts = QStringLiteral("False");
inline const QString ShowDeletedUsers = QStringLiteral("False");
inline const QString IncludeDeletedReports = QStringLiteral("False");
inline const QString PartitionDisplay = QStringLiteral("0");
inline const QString FirstTimeUse = QStringLiteral("True");
inline const QString WindowHeight = QStringLiteral("9540");
inline const QString WindowWidth = QStringLiteral("11325");
inline const QString WindowTop = QStringLiteral("-1");
inline const QString WindowLeft = QStringLiteral("-1");
inline const QString SplitPos = QStringLiteral("5000");
} // namespace PreferenceDefault

} // namespace velora::common
