#include "WizardSession.h"

#include "config/ConfigError.h"
#include "config/OdbcDataSources.h"
#include "config/PasswordScrambling.h"
#include "config/PrivateProfile.h"
#include "config/Registry.h"
#include "db/ConnectionString.h"
#include "shell/LoginSequence.h"

#include <QFileInfo>

namespace velora::wizard {

namespace {

const QString kSystem = QStringLiteral("System");
constexpr int kConfigurationUnusable = 53; // the classic "file not found"

QString item(const QString& path, const QString& key) {
    return config::PrivateProfile::getString(path, kSystem, key);
}

bool odbcModeFor(const QString& path) {
    const QString source = item(path, QStringLiteral("ODBCSource")).trimmed();
    return !source.isEmpty() &&
           config::OdbcDataSources(config::Registry::fromEnvironment(),
                                   config::OdbcDataSources::defaultOdbcIniFiles())
               .isRegistered(source);
}

} // namespace

QString WizardSession::connectionString(const QString& path, bool odbcMode) {
    using db::ConnectionString;
    QString user = item(path, QStringLiteral("User"));
    if (user.isEmpty())
        user = QStringLiteral("sa");
    const QString stored = item(path, QStringLiteral("Password"));
    const QString credentials =
        QStringLiteral(";PWD=") +
        ConnectionString::quoted(stored.isEmpty() ? QString() : config::UnencryptedText(stored)) +
        QStringLiteral(";APP=INC_WIZ.EXE");
    if (odbcMode)
        return QStringLiteral("DSN=") +
               ConnectionString::quoted(item(path, QStringLiteral("ODBCSource"))) +
               QStringLiteral(";User ID=") + ConnectionString::quoted(user) + credentials;
    for (const QString& key : {QStringLiteral("Server"), QStringLiteral("Database")})
        if (item(path, key).trimmed().isEmpty())
            throw config::ConfigError(
                kConfigurationUnusable,
                QStringLiteral("The key \"%1\" of section [System] in the configuration file %2 "
                               "is missing or empty.")
                    .arg(key, path));
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=") +
           ConnectionString::quoted(user) + QStringLiteral(";Initial Catalog=") +
           ConnectionString::quoted(item(path, QStringLiteral("Database"))) +
           QStringLiteral(";Data Source=") +
           ConnectionString::quoted(item(path, QStringLiteral("Server"))) + credentials;
}

WizardSession::WizardSession(const QString& configurationPath)
    : configurationPath_(QFileInfo(configurationPath).absoluteFilePath()) {
    if (!QFileInfo(configurationPath_).isFile())
        throw config::ConfigError(kConfigurationUnusable,
                                  QStringLiteral("The configuration file %1 could not be found.")
                                      .arg(configurationPath_));
    const bool odbcMode = odbcModeFor(configurationPath_);
    const QString connectionText = connectionString(configurationPath_, odbcMode);
    db::ConnectionOptions options;
    options.baseDirectory = QFileInfo(configurationPath_).absolutePath();
    options.regionalDateFormat = region_.DateFormat();
    const QString driver = item(configurationPath_, QStringLiteral("ODBCDriver"));
    if (!driver.isEmpty())
        options.odbcDriver = driver;
    connection_ = std::make_unique<db::Connection>(options);
    login_ = std::make_unique<suite::HXLogin>(*connection_, connectionText);
    login_->setApplicationName(QStringLiteral("Velora Incentive Formula Wizard"));
    login_->setAllowOnlyTranscriptionists(true);
    login_->setSqlUserName(item(configurationPath_, QStringLiteral("User")));
    login_->setSqlDbName(item(configurationPath_, QStringLiteral("Database")));
    login_->setSqlServerName(item(configurationPath_, QStringLiteral("Server")));
    login_->setHalvexINIFileName(configurationPath_);
}

WizardSession::~WizardSession() = default;

int WizardSession::logIn(const QString& userName, const QString& password) {
    const int code = userName.isEmpty() ? login_->Login(QString(), 15, true)
                                        : login_->AutoLogin(userName, password, true, 15);
    if (code == 0 && !(login_->User() && login_->User()->privilege(kProgramRight)))
        return 6;
    return code;
}

QString WizardSession::loginMessage(int code) {
    return shell::LoginSequence::messageFor(code);
}

} // namespace velora::wizard
