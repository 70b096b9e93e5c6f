#pragma once

#include <QString>

namespace velora::db {

// Settings that the connection string cannot carry.
struct ConnectionOptions {
    // Folder against which a relative embedded database path is resolved (the folder of the
    // configuration file).
    QString baseDirectory;
    // Regional short date form (QDate format text, e.g. "MM/dd/yyyy") that a date literal may
    // be typed in when it meets a date column.
    QString regionalDateFormat = QStringLiteral("MM/dd/yyyy");
    // ODBC driver for "Provider=SQLOLEDB" connection strings (configuration key "ODBCDriver").
    QString odbcDriver = QStringLiteral("ODBC Driver 18 for SQL Server");
    // How long a statement waits for another writer before failing. Writers hold the lock for
    // tens of milliseconds (the update engine commits in short slices), so a wait this long
    // means a program that stopped with the database locked, not a busy site.
    int busyTimeoutMs = 30000;
};

} // namespace velora::db
