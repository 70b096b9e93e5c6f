#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace velora::suite {

// What the login dialog shows: the program asking, the name to start with and, after a failed
// attempt, why it failed.
struct LoginPromptRequest {
    QString applicationName;
    QString userName;
    QString message;
};

struct LoginCredentials {
    QString userName;
    QString password;
};

// Asks for a user name and password; no value means the operator cancelled. The real prompt
// runs LoginDialog modally; tests hand the login component one that answers at once.
using LoginPrompt = std::function<std::optional<LoginCredentials>(const LoginPromptRequest&)>;

} // namespace velora::suite
