#pragma once

#include "SystemInfo.h"

namespace velora::shell {

// Fills the parts of SystemInfo that come from the machine and the connection string rather
// than from the login.
class SystemInfoProbe {
public:
    // This workstation: host name, operating system, Qt version, primary screen size, locale.
    // The date format is the regional component's, passed in.
    static SystemInfo::Workstation workstation(const QString& dateFormat);

    // The engine and target that a connection string selects. The embedded engine's file is
    // resolved against baseDirectory, the configuration file's folder.
    static SystemInfo::Connection connection(const QString& connectionString,
                                             const QString& baseDirectory);
};

} // namespace velora::shell
