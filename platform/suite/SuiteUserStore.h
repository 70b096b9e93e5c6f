#pragma once

#include "PasswordHash.h"
#include "SuiteUserRecord.h"

#include <QList>
#include <QString>
#include <optional>
#include <set>

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::suite {

// The suite's login tables (Suite_user, Suite_user_privilege) over an open connection. The
// statements are plain texts of the program's dialect, so they run on either engine. User
// names compare as the database compares them (without regard to case or trailing blanks).
// Operations on a named user throw DbError ItemNotFound when there is no such user.
class SuiteUserStore {
public:
    explicit SuiteUserStore(db::Connection& connection,
                            PasswordHash::Cost cost = PasswordHash::Cost::Interactive);

    std::optional<SuiteUserRecord> find(const QString& userName);
    SuiteUserRecord require(const QString& userName);
    std::set<int> privileges(int userId);

    // Claims one password check for the user: counts it as a failure in advance, in one
    // statement, and only while the user is not locked out and fewer than lockoutThreshold
    // failures are counted. False when the check is refused, so however many workstations try
    // at once, at most lockoutThreshold passwords in a row are ever checked.
    bool claimPasswordCheck(int userId, int lockoutThreshold);
    // After a wrong password: locks the user out once lockoutThreshold failures are counted.
    // Returns true when the user is locked out.
    bool lockOutWhenExhausted(int userId, int lockoutThreshold);
    // A right password ends the run of wrong ones.
    void resetFailedLogins(int userId);

    // Adds a login and returns its user_id. Throws DbError IntegrityViolation when the name is
    // taken and SuiteError for an empty name or an empty password.
    int add(const NewSuiteUser& user);
    // A new password also lifts a lock-out: setting it is how an administrator unlocks a user.
    // Throws SuiteError for an empty password.
    void setPassword(const QString& userName, const QString& password);
    void grant(const QString& userName, const QList<int>& rights);
    void revoke(const QString& userName, const QList<int>& rights);
    // Enabling also lifts a lock-out and clears the count of wrong passwords.
    void setDisabled(const QString& userName, bool disabled);

private:
    static QString quoted(const QString& text);
    static QString nullableQuoted(const QString& text);
    static SuiteUserRecord recordFrom(const db::Recordset& row);

    db::Connection& connection_;
    PasswordHash::Cost cost_;
};

} // namespace velora::suite
