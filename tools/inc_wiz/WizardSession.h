#pragma once

#include "db/Connection.h"
#include "suite/HXLogin.h"
#include "suite/HXRegion.h"

#include <QString>
#include <memory>

namespace velora::wizard {

// The wizard's hold on the suite: the configuration file it was given, the database that file
// names, the regional settings and the login. It reads section "System" of the configuration
// file as the main window does and logs in through the suite's login component.
class WizardSession {
public:
    // The right a user needs to use the incentive programs at all.
    static constexpr int kProgramRight = 16;

    // Throws ConfigError when the configuration file is missing or names no database.
    explicit WizardSession(const QString& configurationPath);
    ~WizardSession();

    // Logs in: automatically with a user name, with the login dialog without one. Returns the
    // login component's code; a user who logs in without the right to use the program gives 6.
    int logIn(const QString& userName, const QString& password);
    // The message for a failed login's code ("" for a code that has none, such as Cancel).
    static QString loginMessage(int code);

    const QString& configurationPath() const { return configurationPath_; }
    db::Connection& connection() { return *connection_; }
    const suite::HXRegion& region() const { return region_; }
    suite::HXLogin& login() { return *login_; }

    // The connection string for the configuration's section "System": the embedded engine or
    // SQL Server, as the main window builds it.
    static QString connectionString(const QString& configurationPath, bool odbcMode);

private:
    QString configurationPath_;
    suite::HXRegion region_;
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<suite::HXLogin> login_;
};

} // namespace velora::wizard
