#pragma once

#include "db/ConnectionOptions.h"

#include <QString>

namespace velora::config {
class Registry;
}

namespace velora::shell {

class CommandLine;

// What start-up settles from the registry, the configuration file and the command line before
// it can reach the database: the configuration path, ODBC mode, deleted-reports support, the
// connection string and the options of the embedded engine.
struct StartupConfiguration {
    QString configurationPath;
    bool odbcMode = false;
    bool supportDeletedReports = false;
    QString connectionString;
    db::ConnectionOptions connectionOptions;

    // Throws ShellError when the default configuration file is missing or a switch is
    // duplicated.
    static StartupConfiguration read(const config::Registry& registry,
                                     const CommandLine& commandLine, const QString& executableName);
};

} // namespace velora::shell
