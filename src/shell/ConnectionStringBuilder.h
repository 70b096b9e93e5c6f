#pragma once

#include <QString>

namespace velora::shell {

class IHalvexINI;

// The database connection string, built from section "System" of the configuration file, read
// afresh. Each value is spliced in as ConnectionString::quoted gives it, so a ";" in a path or
// a password stays inside its value.
class ConnectionStringBuilder {
public:
    // odbcMode: the configuration names a registered ODBC data source. executableName is the
    // program's name without extension ("velora-incentive" gives "APP=velora-incentive.EXE").
    // Throws ShellError naming the key, the section and the file when the configuration does
    // not say which database to use (no "Server", or no "Database" outside ODBC mode).
    static QString build(const IHalvexINI& ini, bool odbcMode, const QString& executableName);

private:
    static void requireDatabase(const IHalvexINI& ini);
};

} // namespace velora::shell
