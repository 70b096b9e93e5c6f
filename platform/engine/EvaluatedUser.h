#pragma once

#include <QString>

namespace velora::db {
class Connection;
}

namespace velora::engine {

// The user whose production the formula evaluator reads, found from the text the tester
// passes. Lists in partition mode label each user with its partition ("North\jdoe" or
// "jdoe\North"), and a deleted user's entry carries " DEL" behind its id; the text is matched
// against real users only, never by guessing:
// 1. a trans_id equal to the whole text;
// 2. otherwise the text without a leading "partition\" or a trailing "\partition" whose
//    partition is the user's own, the id possibly followed by " DEL" for a deleted user.
// When step 2 fits more than one user the text names nobody.
struct EvaluatedUser {
    QString transId; // the user's trans_id, or the text itself when it names nobody
    int groupId = -1;
    int partitionId = -1;
    bool found = false;

    static EvaluatedUser find(db::Connection& connection, const QString& text);
};

} // namespace velora::engine
