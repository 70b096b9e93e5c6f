#pragma once

#include "RecalcRequest.h"

#include <QString>
#include <string>
#include <unordered_map>

namespace velora::db {
class Connection;
}

namespace velora::engine {

// The transcriptionists a run covers (trans_type 1, passing the filter) with their group and
// partition. Looked up per row by trans_id exactly as the database compares it (the TEXTCI
// collation: letter case, accented letters included, and trailing blanks ignored), so that every
// row the statements select for a user finds that user here.
class RecalcScope {
public:
    struct User {
        QString transId;
        int groupId = -1;
        int partitionId = -1;
    };

    static RecalcScope load(db::Connection& connection, const RecalcRequest& request);

    // The T-SQL condition selecting the covered users' rows of Trans_incentive.
    static QString userCondition(const RecalcRequest& request);

    // nullptr when the trans_id is not covered. The key is normalised into a reused buffer, so
    // a lookup does not allocate once warmed up.
    const User* find(const char* transId, int length);
    const User* find(const QString& transId);
    std::size_t size() const { return users_.size(); }
    const std::unordered_map<std::string, User>& users() const { return users_; }

private:
    std::unordered_map<std::string, User> users_;
    std::string buffer_;
};

} // namespace velora::engine
