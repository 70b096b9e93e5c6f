#include "SystemInfoProbe.h"

#include "db/ConnectionString.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QSysInfo>

namespace velora::shell {

SystemInfo::Workstation SystemInfoProbe::workstation(const QString& dateFormat) {
    SystemInfo::Workstation station;
    station.hostName = QSysInfo::machineHostName();
    station.osName = QSysInfo::prettyProductName();
    station.osVersion = QSysInfo::kernelType() % QLatin1Char(' ') % QSysInfo::kernelVersion();
    station.qtVersion = QString::fromLatin1(qVersion());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        station.screenSize = screen->size();
    station.locale = QLocale().name();
    station.dateFormat = dateFormat;
    return station;
}

SystemInfo::Connection SystemInfoProbe::connection(const QString& connectionString,
                                                   const QString& baseDirectory) {
    const auto parsed = db::ConnectionString::parse(connectionString);
    SystemInfo::Connection result;
    result.connectionString = connectionString;
    if (parsed.isEmbedded()) {
        result.engine = QStringLiteral("Embedded (SQLite)");
        result.target = parsed.embeddedDatabasePath(baseDirectory);
    } else if (parsed.contains(QStringLiteral("DSN"))) {
        result.engine = QStringLiteral("SQL Server (ODBC data source)");
        result.target = parsed.value(QStringLiteral("DSN"));
    } else {
        result.engine = QStringLiteral("SQL Server (ODBC)");
        result.target = parsed.value(QStringLiteral("Data Source")) % QLatin1String(" / ") %
                        parsed.value(QStringLiteral("Initial Catalog"));
    }
    return result;
}

} // namespace velora::shell
