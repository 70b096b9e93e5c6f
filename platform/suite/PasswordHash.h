#pragma once

#include <QString>

namespace velora::suite {

// Argon2id password hashes in libsodium's self-describing text form ("$argon2id$v=19$m=...").
// The text carries its own cost parameters, so a hash made at any cost verifies the same way.
class PasswordHash {
public:
    enum class Cost {
        Interactive, // libsodium's interactive limits: what every stored password uses
        Minimum      // the smallest limits, for test fixtures that make many users
    };

    // Throws SuiteError for an empty password: a login without one could be used by anyone.
    static QString hash(const QString& password, Cost cost = Cost::Interactive);

    // A stored text that is not a hash, the empty one included, matches nothing.
    static bool verify(const QString& storedHash, const QString& password);
};

} // namespace velora::suite
