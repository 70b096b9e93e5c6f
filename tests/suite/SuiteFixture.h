#pragma once

#include "common/TestDatabase.h"
#include "suite/SuiteUserStore.h"

#include <QList>

namespace velora::test {

// The logins the login tests work with, in a fresh database. Hashes use the smallest cost so
// that a test can make and check many of them quickly.
struct SuiteFixture {
    TestDatabase db;

    suite::SuiteUserStore store() { return suite::SuiteUserStore(db.connection(), kCost); }

    int addUser(const QString& name, const QString& password, const QString& transId,
                const QList<int>& rights = {}) {
        suite::NewSuiteUser user;
        user.userName = name;
        user.password = password;
        user.transId = transId;
        suite::SuiteUserStore users = store();
        const int id = users.add(user);
        if (!rights.isEmpty())
            users.grant(name, rights);
        return id;
    }

    static constexpr suite::PasswordHash::Cost kCost = suite::PasswordHash::Cost::Minimum;
};

} // namespace velora::test
