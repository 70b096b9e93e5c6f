#pragma once

#include "catalogue/CatalogueCollection.h"
#include "catalogue/Partition.h"

#include <QString>
#include <functional>
#include <memory>

namespace velora::db {
class Connection;
}
namespace velora::suite {
class HXRegion;
}
namespace velora::catalogue {
class Catalogue;
class User;
} // namespace velora::catalogue
namespace velora::common {
class Messages;
}
namespace velora::groups {
class GroupCreator;
class UserGroupAssignment;
} // namespace velora::groups

namespace velora::detail {

class UserHeaderPane;

// What loading the user header works with; the main window owns all of it.
struct UserHeaderEnvironment {
    db::Connection& connection;
    catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::shared_ptr<catalogue::User>& currentUser;
    // The partitions the current user may reach, keyed by id; rebuilt at every load in
    // partition mode (the explorer lists the user's accounts from it).
    catalogue::CatalogueCollection<catalogue::Partition>& userPartitions;
    common::Messages& messages;
    const suite::HXRegion& region;
    // BeginBusy without the wait dialog, and EndBusy.
    std::function<void()> beginBusy;
    std::function<void()> endBusy;
    // Shows picUserHeader in front of the other panes, and whether it is showing.
    std::function<void()> showHeaderPane;
    std::function<bool()> headerPaneVisible;
};

// Fills the user header for the user clicked in the explorer and makes that user the current
// one. In partition mode a user whose group was removed, or lies in a partition the user cannot
// reach, is moved to the default group of the user's partition at once, with an effective date.
// Statements take the user's trans_id as the database holds it (a deleted user's catalogue key
// carries a mark the rows do not).
class UserHeaderLoader {
public:
    UserHeaderLoader(UserHeaderEnvironment environment, UserHeaderPane& pane,
                     groups::UserGroupAssignment& groupAssignment,
                     groups::GroupCreator& groupCreator);

    void LoadUser(const QString& transID, const QString& userName, bool force);

    static QString partitionModeStatement(const QString& transID);
    static QString statement(const QString& transID);
    static QString invalidGroupWarning(const QString& transID, const QString& partitionName,
                                       const QString& groupName);
    static QString notMovedWarning(const QString& transID, const QString& partitionName);

    // Shown as the effective date of a user without a Trans_info row.
    static inline const QString kNoEffectiveDate = QStringLiteral("1/1/1980");

private:
    enum class Ending { ShowPane, Stop };

    Ending loadInPartitionMode(const QString& transID, const QString& userName);
    void loadWithoutPartitions(const QString& transID, const QString& userName);
    void rebuildUserPartitions(catalogue::User& user);
    bool groupIsReachable(const catalogue::User& user) const;
    QString partitionNameOf(int partitionID) const;
    Ending moveToDefaultGroup(const QString& transID, const QString& userName);
    void selectGroup(int groupID);
    void closeConnection();

    UserHeaderEnvironment env_;
    UserHeaderPane& pane_;
    groups::UserGroupAssignment& groupAssignment_;
    groups::GroupCreator& groupCreator_;
    // Set while the load after a move to the default group runs: a group that is still out of
    // reach then must not start another move.
    bool movingToDefault_ = false;
};

} // namespace velora::detail
