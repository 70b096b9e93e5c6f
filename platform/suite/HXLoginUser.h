#pragma once

#include "SuiteUserRecord.h"

#include <QString>
#include <set>

namespace velora::suite {

// The logged-in user as the login component hands it out: the user's row, the rights held at
// the moment of login, and the password as typed (the formula wizard's command line takes it).
class HXLoginUser {
public:
    HXLoginUser(SuiteUserRecord record, std::set<int> rights, QString password);

    QString trans_id() const { return record_.transId; }
    int user_id() const { return record_.userId; }
    int partition_id() const { return record_.partitionId; }
    QString first_name() const { return record_.firstName; }
    QString last_name() const { return record_.lastName; }
    QString user_name() const { return record_.userName; }
    QString Password() const { return password_; }
    bool is_administrator() const { return record_.isAdministrator; }
    // True when the user holds right n.
    bool privilege(int n) const { return rights_.count(n) != 0; }

private:
    SuiteUserRecord record_;
    std::set<int> rights_;
    QString password_;
};

} // namespace velora::suite
