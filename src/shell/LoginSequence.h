#pragma once

#include <QString>

namespace velora::common {
struct AppContext;
}

namespace velora::shell {

class IHalvexINI;

// The first part of start-up: configuration, command line, the suite components, the login
// and the checks of the database version and of the right to use the program. Fills the
// context (configuration path, ODBC mode, deleted-reports support, connection, components,
// engine) and returns the start-up result code (0: continue).
class LoginSequence {
public:
    static constexpr float kMinimumDatabaseVersion = 2.024f;
    static constexpr int kProgramRight = 16;

    explicit LoginSequence(common::AppContext& context)
        : context_(context) {}

    // Throws ShellError or db::DbError for failures that end start-up with the general error
    // (missing configuration file, duplicated switch, a switch without its value, non-numeric
    // database version).
    int run(const QString& executableName, const QString& applicationVersion);

    // The message line shown for a result code, or empty when the code ends start-up silently.
    static QString messageFor(int code);
    // The whole message of a failed login: the fixed first line, CR LF, the code's line.
    static QString failureMessage(int code);

private:
    void setUpLoginComponent(const QString& applicationVersion);
    static void useNamedConfiguration(IHalvexINI& ini, const QString& path);
    int logIn();
    int checkDatabaseVersion(int code);

    common::AppContext& context_;
};

} // namespace velora::shell
