#pragma once

// What the benchmarks share: the database a command-line argument names, a connection to it as
// the program opens one, and wall-clock seconds.
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QFileInfo>
#include <QString>
#include <chrono>

namespace velora::bench {

using Clock = std::chrono::steady_clock;

// A demo installation's folder or the database file itself.
inline QString databasePath(const QString& argument) {
    const QFileInfo info(argument);
    return info.isDir() ? info.filePath() + QStringLiteral("/HALVEX/SYSTEM/incentive.sqlite")
                        : info.filePath();
}

inline void openDatabase(db::Connection& connection, const QString& path) {
    connection.open(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") + path +
                    QStringLiteral(";Data Source=(embedded)"));
}

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace velora::bench
