#pragma once

#include <QString>

namespace velora::shell {

class IHalvexINI;

// The database connection string, built from section "System" of the configuration file, read
// afresh. Values are spliced in as read, nothing escaped or quoted.
class ConnectionStringBuilder {
public:
    // odbcMode: the configuration names a registered ODBC data source. executableName is the
    // program's name without extension ("velora-incentive" gives "APP=velora-incentive.EXE").
    static QString build(const IHalvexINI& ini, bool odbcMode, const QString& executableName);
};

} // namespace velora::shell
