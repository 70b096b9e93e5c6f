#include "ConnectionStringBuilder.h"

#include "IHalvexINI.h"
#include "ShellError.h"
#include "config/PasswordScrambling.h"
#include "db/ConnectionString.h"

namespace velora::shell {

namespace {

const QString kSystem = QStringLiteral("System");

[[noreturn]] void throwMissing(const IHalvexINI& ini, const QString& key, const QString& why) {
    throw ShellError(ShellErrorNumber::ConfigurationIncomplete,
                     QStringLiteral("The key \"%1\" of section [System] in the configuration file "
                                    "%2 is missing or empty. %3")
                         .arg(key, ini.HalvexINI(), why),
                     QStringLiteral("IHalveiINI"));
}

} // namespace

// Without a server (or a data source) and a database the connection could only go to a
// default place, which is never what the site meant: the operator is told what is missing.
void ConnectionStringBuilder::requireDatabase(const IHalvexINI& ini) {
    if (ini.GetItem(kSystem, QStringLiteral("Server")).trimmed().isEmpty()) {
        const QString source = ini.GetItem(kSystem, QStringLiteral("ODBCSource")).trimmed();
        throwMissing(ini, QStringLiteral("Server"),
                     source.isEmpty()
                         ? QStringLiteral("It names the database server, or (embedded) for the "
                                          "database file that \"Database\" names.")
                         : QStringLiteral("The ODBC data source \"%1\" that \"ODBCSource\" names "
                                          "is not registered, so the server must be named.")
                               .arg(source));
    }
    if (ini.GetItem(kSystem, QStringLiteral("Database")).trimmed().isEmpty())
        throwMissing(ini, QStringLiteral("Database"),
                     QStringLiteral("It names the database (the database file for "
                                    "Server=(embedded))."));
}

QString ConnectionStringBuilder::build(const IHalvexINI& ini, bool odbcMode,
                                       const QString& executableName) {
    using db::ConnectionString;
    if (!odbcMode)
        requireDatabase(ini);
    QString user = ini.GetItem(kSystem, QStringLiteral("User"));
    if (user.isEmpty())
        user = QStringLiteral("sa");
    const QString storedPassword = ini.GetItem(kSystem, QStringLiteral("Password"));
    const QString password =
        storedPassword.isEmpty() ? QString() : config::UnencryptedText(storedPassword);
    const QString credentials = QStringLiteral(";PWD=") + ConnectionString::quoted(password) +
                                QStringLiteral(";APP=") +
                                ConnectionString::quoted(executableName + QStringLiteral(".EXE"));
    if (odbcMode)
        return QStringLiteral("DSN=") +
               ConnectionString::quoted(ini.GetItem(kSystem, QStringLiteral("ODBCSource"))) +
               QStringLiteral(";User ID=") + ConnectionString::quoted(user) + credentials;
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=") +
           ConnectionString::quoted(user) + QStringLiteral(";Initial Catalog=") +
           ConnectionString::quoted(ini.GetItem(kSystem, QStringLiteral("Database"))) +
           QStringLiteral(";Data Source=") +
           ConnectionString::quoted(ini.GetItem(kSystem, QStringLiteral("Server"))) + credentials;
}

} // namespace velora::shell
