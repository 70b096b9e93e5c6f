#include "LoginSequence.h"

#include "CommandLine.h"
#include "ConnectionStringBuilder.h"
#include "IHalvexINI.h"
#include "ShellError.h"
#include "StartupSwitches.h"
#include "common/AffermativeValue.h"
#include "common/AppContext.h"
#include "config/OdbcDataSources.h"
#include "config/PasswordScrambling.h"

#include <QFileInfo>

namespace velora::shell {

namespace {

const QString kSystem = QStringLiteral("System");

} // namespace

QString LoginSequence::messageFor(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("The user has been locked out.");
    case 2:
        return QStringLiteral("The login failed.");
    case 3:
        return QStringLiteral("The login has been disabled.");
    case 4:
        return QStringLiteral("The password is invalid.");
    case 6:
    case 10:
        return QStringLiteral("The user does not have sufficient rights.");
    case 9:
        return QStringLiteral("The user has been logged off.");
    case 11:
        return QStringLiteral("The current version of the HV2 Database does not support "
                              "Incentive.");
    default:
        return {};
    }
}

QString LoginSequence::failureMessage(int code) {
    return QStringLiteral("The Incentive program failed to initialize due to the following "
                          "error:\r\n") +
           messageFor(code);
}

void LoginSequence::setUpLoginComponent(const QString& applicationVersion) {
    suite::HXLogin& login = *context_.login;
    login.setAllowOnlyTranscriptionists(true);
    login.setApplicationName(QStringLiteral("Velora Incentive"));
    login.setApplicationVersion(applicationVersion);
    login.setAutoLogoff(true);
}

int LoginSequence::logIn() {
    const CommandLine commandLine(context_.argumentText());
    const QString userName = commandLine.CLArguments().Item(QStringLiteral("UNAME")).value();
    if (!userName.isEmpty())
        return context_.login->AutoLogin(
            userName, commandLine.CLArguments().Item(QStringLiteral("PASSWORD")).value(), true, 15);
    return context_.login->Login(QString(), 15, true);
}

// A configuration file named on the command line must be there: reading a missing one would
// give empty values and a connection to nothing in particular.
void LoginSequence::useNamedConfiguration(IHalvexINI& ini, const QString& path) {
    ini.setHalvexINI(IHalvexINI::nativePath(path));
    if (!QFileInfo(ini.HalvexINI()).isFile())
        throw ShellError(ShellErrorNumber::ConfigurationFileMissing,
                         QStringLiteral("The configuration file %1 named by the switch /INI "
                                        "could not be found.")
                             .arg(ini.HalvexINI()),
                         QStringLiteral("IHalveiINI"));
}

int LoginSequence::checkDatabaseVersion(int code) {
    const QVariant stored = context_.login->DatabaseVersion();
    bool numeric = false;
    const float version = stored.toString().trimmed().toFloat(&numeric);
    if (!numeric)
        throw ShellError(13, QStringLiteral("Type mismatch: the database version \"%1\" is not a "
                                            "number.")
                                 .arg(stored.toString()));
    if (code == 0 && version < kMinimumDatabaseVersion)
        return 11;
    return code;
}

int LoginSequence::run(const QString& executableName, const QString& applicationVersion) {
    // Steps 1 to 4: configuration file (the default one must exist even when the command
    // line names another), the regional component, the command line and the engine.
    IHalvexINI ini(context_.registry);
    context_.region = std::make_unique<suite::HXRegion>();
    const CommandLine commandLine(context_.argumentText());
    StartupSwitches::requireValues(commandLine.CLArguments());
    context_.engine = std::make_unique<engine::UpdateEngine>();
    const QString iniSwitch = commandLine.CLArguments().Item(QStringLiteral("INI")).value();
    if (!iniSwitch.isEmpty())
        useNamedConfiguration(ini, iniSwitch);
    context_.configurationPath = ini.HalvexINI();

    // ODBC mode and the connection the login component and the program share.
    const QString odbcSource = ini.GetItem(kSystem, QStringLiteral("ODBCSource"));
    context_.odbcMode = false;
    if (!odbcSource.trimmed().isEmpty())
        context_.odbcMode = config::OdbcDataSources(context_.registry,
                                                    config::OdbcDataSources::defaultOdbcIniFiles())
                                .isRegistered(odbcSource.trimmed());
    db::ConnectionOptions options;
    options.baseDirectory = QFileInfo(context_.configurationPath).absolutePath();
    options.regionalDateFormat = context_.region->DateFormat();
    const QString driver = ini.GetItem(kSystem, QStringLiteral("ODBCDriver"));
    if (!driver.isEmpty())
        options.odbcDriver = driver;
    context_.connectionString =
        ConnectionStringBuilder::build(ini, context_.odbcMode, executableName);
    context_.connection = std::make_unique<db::Connection>(options);
    context_.engine->setConnectionOptions(options);
    context_.login =
        std::make_unique<suite::HXLogin>(*context_.connection, context_.connectionString);

    // Steps 5 to 8: the login component's properties, in their order.
    setUpLoginComponent(applicationVersion);
    suite::HXLogin& login = *context_.login;
    login.setSqlUserName(ini.GetItem(kSystem, QStringLiteral("User")));
    login.setSQLPassword(config::UnencryptedText(ini.GetItem(kSystem, QStringLiteral("Password"))));
    if (context_.odbcMode)
        login.setOdbcsource(odbcSource);
    login.setSqlDbName(ini.GetItem(kSystem, QStringLiteral("Database")));
    login.setSqlServerName(ini.GetItem(kSystem, QStringLiteral("Server")));
    if (login.Version() > QStringLiteral("2.025"))
        login.setHalvexINIFileName(context_.configurationPath);
    login.setUseOfflineDB(false);

    // Steps 9 to 12: log in, then the database version and the right to use the program.
    int code = logIn();
    code = checkDatabaseVersion(code);
    if (code == 0 && !(login.User() && login.User()->privilege(kProgramRight)))
        code = 6;
    context_.supportDeletedReports =
        common::AffermativeValue(ini.GetItem(kSystem, QStringLiteral("SupportDeletedReports")));
    return code;
}

} // namespace velora::shell
