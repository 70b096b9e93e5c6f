#pragma once

#include <QList>
#include <QSize>
#include <QString>

namespace velora::shell {

// What the system-information window shows: the database connection, the configuration file,
// the logged-in user and the workstation. Plain values, filled by the main window.
struct SystemInfo {
    struct Connection {
        QString engine;           // e.g. "Embedded (SQLite)" or "SQL Server (ODBC)"
        QString target;           // the SQLite file, or the server and database, or the DSN
        QString connectionString; // as built; the window masks its password
    };
    struct User {
        QString userName;
        QString fullName;
        int userId = 0;
        QString transId;
        int partitionId = 0;
        QString partitionName; // empty when unknown
        QList<int> rights;     // the rights held, by number
    };
    struct Workstation {
        QString hostName;
        QString osName;
        QString osVersion;
        QString qtVersion;
        QSize screenSize;
        QString locale;
        QString dateFormat;
    };

    Connection connection;
    QString configurationFile;
    User user;
    Workstation workstation;
};

} // namespace velora::shell
