#pragma once

#include "Registry.h"

#include <QString>
#include <QStringList>

namespace velora::config {

// Tells whether an ODBC data source is registered: it is when its "DATABASE" value is not
// empty. Looked up in the registry (local machine, then current user) and, since this
// platform's driver manager keeps data sources in INI files, in those files in order.
class OdbcDataSources {
public:
    OdbcDataSources(const Registry& registry, QStringList odbcIniFiles);

    // The driver manager's system file ($ODBCSYSINI/odbc.ini, by default /etc/odbc.ini), then
    // the user's file ($ODBCINI, by default ~/.odbc.ini).
    static QStringList defaultOdbcIniFiles();

    bool isRegistered(const QString& dataSourceName) const;

private:
    const Registry& registry_;
    QStringList odbcIniFiles_;
};

} // namespace velora::config
