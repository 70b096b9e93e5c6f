#include "ConnectionStringBuilder.h"

#include "IHalvexINI.h"
#include "config/PasswordScrambling.h"

namespace velora::shell {

QString ConnectionStringBuilder::build(const IHalvexINI& ini, bool odbcMode,
                                       const QString& executableName) {
    const QString system = QStringLiteral("System");
    QString user = ini.GetItem(system, QStringLiteral("User"));
    if (user.isEmpty())
        user = QStringLiteral("sa");
    const QString storedPassword = ini.GetItem(system, QStringLiteral("Password"));
    const QString password =
        storedPassword.isEmpty() ? QString() : config::UnencryptedText(storedPassword);
    const QString app = QStringLiteral(";APP=") + executableName + QStringLiteral(".EXE");
    if (odbcMode)
        return QStringLiteral("DSN=") + ini.GetItem(system, QStringLiteral("ODBCSource")) +
               QStringLiteral(";User ID=") + user + QStringLiteral(";PWD=") + password + app;
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=") + user +
           QStringLiteral(";Initial Catalog=") + ini.GetItem(system, QStringLiteral("Database")) +
           QStringLiteral(";Data Source=") + ini.GetItem(system, QStringLiteral("Server")) +
           QStringLiteral(";PWD=") + password + app;
}

} // namespace velora::shell
