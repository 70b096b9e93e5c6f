#pragma once

#include <QString>

namespace velora::shell {

// What the About box shows: the program's release, the database version and the logged-in
// user. The main window fills it from the login component; the box itself knows neither.
struct AboutInfo {
    QString programName = QStringLiteral("Velora Incentive");
    QString version;         // major.minor.revision
    QString releaseDate;     // as it is to be shown
    QString databaseVersion; // as the database stores it
    QString userName;
    QString firstName;
    QString lastName;
    QString transId; // empty: the user is no transcriptionist
    bool isAdministrator = false;
};

} // namespace velora::shell
