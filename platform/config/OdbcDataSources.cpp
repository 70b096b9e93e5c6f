#include "OdbcDataSources.h"

#include "PrivateProfile.h"

#include <QDir>

namespace velora::config {

namespace {

QString databaseValueName() {
    return QStringLiteral("DATABASE");
}

QString environmentOr(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

bool registeredInRegistry(const Registry& registry, const QString& name) {
    const QString key = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\") + name;
    return !registry.readString(Registry::Root::LocalMachine, key, databaseValueName()).isEmpty() ||
           !registry.readString(Registry::Root::CurrentUser, key, databaseValueName()).isEmpty();
}

} // namespace

OdbcDataSources::OdbcDataSources(const Registry& registry, QStringList odbcIniFiles)
    : registry_(registry)
    , odbcIniFiles_(std::move(odbcIniFiles)) {}

QStringList OdbcDataSources::defaultOdbcIniFiles() {
    const QString systemDirectory = environmentOr("ODBCSYSINI", QStringLiteral("/etc"));
    const QString userFile =
        environmentOr("ODBCINI", QDir::homePath() + QStringLiteral("/.odbc.ini"));
    return {systemDirectory + QStringLiteral("/odbc.ini"), userFile};
}

bool OdbcDataSources::isRegistered(const QString& dataSourceName) const {
    if (registeredInRegistry(registry_, dataSourceName))
        return true;
    for (const QString& file : odbcIniFiles_) {
        if (!PrivateProfile::getString(file, dataSourceName, databaseValueName()).isEmpty())
            return true;
    }
    return false;
}

} // namespace velora::config
