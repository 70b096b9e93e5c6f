#include "StartupConfiguration.h"

#include "AffermativeValue.h"
#include "CommandLine.h"
#include "ConnectionStringBuilder.h"
#include "IHalvexINI.h"
#include "config/OdbcDataSources.h"

#include <QFileInfo>

namespace velora::shell {

StartupConfiguration StartupConfiguration::read(const config::Registry& registry,
                                                const CommandLine& commandLine,
                                                const QString& executableName) {
    IHalvexINI ini(registry);
    const QString iniSwitch = commandLine.CLArguments().Item(QStringLiteral("INI")).value();
    if (!iniSwitch.isEmpty())
        ini.setHalvexINI(IHalvexINI::nativePath(iniSwitch));

    StartupConfiguration result;
    result.configurationPath = ini.HalvexINI();
    const QString system = QStringLiteral("System");
    const QString odbcSource = ini.GetItem(system, QStringLiteral("ODBCSource")).trimmed();
    if (!odbcSource.isEmpty()) {
        const config::OdbcDataSources sources(registry,
                                              config::OdbcDataSources::defaultOdbcIniFiles());
        result.odbcMode = sources.isRegistered(odbcSource);
    }
    result.supportDeletedReports =
        AffermativeValue(ini.GetItem(system, QStringLiteral("SupportDeletedReports")));
    result.connectionString = ConnectionStringBuilder::build(ini, result.odbcMode, executableName);
    result.connectionOptions.baseDirectory = QFileInfo(result.configurationPath).absolutePath();
    const QString driver = ini.GetItem(system, QStringLiteral("ODBCDriver"));
    if (!driver.isEmpty())
        result.connectionOptions.odbcDriver = driver;
    return result;
}

} // namespace velora::shell
