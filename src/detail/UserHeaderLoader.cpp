#include "UserHeaderLoader.h"

#include "NumberedError.h"
#include "UserHeaderPane.h"
#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "groups/FindListIndexByItemData.h"
#include "groups/GroupCreator.h"
#include "groups/UserGroupAssignment.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QLabel>

namespace velora::detail {

namespace {

constexpr int kUserNotInCatalogue = 99;

// Clears a flag when the scope ends, whichever way it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag)
        : flag_(flag) {
        flag_ = true;
    }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

UserHeaderLoader::UserHeaderLoader(UserHeaderEnvironment environment, UserHeaderPane& pane,
                                   groups::UserGroupAssignment& groupAssignment,
                                   groups::GroupCreator& groupCreator)
    : env_(std::move(environment))
    , pane_(pane)
    , groupAssignment_(groupAssignment)
    , groupCreator_(groupCreator) {}

QString UserHeaderLoader::partitionModeStatement(const QString& transID) {
    return QStringLiteral("SELECT Trans_info.incentive_group_id, "
                          "Trans_info.incentive_effective_date, Trans_info.extra3 as "
                          "trans_partition, Incentive_group.partition_id as group_partition ") +
           QStringLiteral("FROM Trans_info ") +
           QStringLiteral("LEFT OUTER JOIN Incentive_group ON ") +
           QStringLiteral("Trans_info.incentive_group_id = Incentive_group.group_id ") +
           QStringLiteral("WHERE Trans_info.trans_id = '") + catalogue::QuoteSql(transID) +
           QStringLiteral("'");
}

QString UserHeaderLoader::statement(const QString& transID) {
    return QStringLiteral("SELECT incentive_group_id, incentive_effective_date FROM Trans_info "
                          "WHERE trans_id = '") +
           catalogue::QuoteSql(transID) + QStringLiteral("'");
}

QString UserHeaderLoader::invalidGroupWarning(const QString& transID, const QString& partitionName,
                                              const QString& groupName) {
    return QStringLiteral("Warning. The selected user is assigned to a group that is no longer "
                          "valid. User with TransID '") +
           transID + QStringLiteral("' cannot access the Incentive group '") + partitionName +
           QStringLiteral("\\") + groupName +
           QStringLiteral("' because it has been removed or is inaccessible due to partition "
                          "restrictions. Press OK to assign this user to the default group for "
                          "their partition.");
}

QString UserHeaderLoader::notMovedWarning(const QString& transID, const QString& partitionName) {
    return QStringLiteral("User with TransID '") + transID +
           QStringLiteral("' has not been moved: no default group could be made for the "
                          "partition '") +
           partitionName +
           QStringLiteral("'. The user stays in the group that is no longer valid until another "
                          "group is chosen in the list.");
}

void UserHeaderLoader::LoadUser(const QString& transID, const QString& userName, bool force) {
    env_.beginBusy();
    const auto& current = env_.currentUser;
    // Ids compare as the database compares them, without regard to case.
    if (current && env_.headerPaneVisible() &&
        current->TransID().compare(transID, Qt::CaseInsensitive) == 0 && !force) {
        env_.endBusy();
        return;
    }
    try {
        env_.connection.ensureOpen();
        if (env_.partitionMode) {
            if (loadInPartitionMode(transID, userName) == Ending::Stop)
                return;
        } else {
            loadWithoutPartitions(transID, userName);
        }
        env_.showHeaderPane();
        env_.endBusy();
        closeConnection();
    } catch (const std::exception&) {
        env_.messages.inform(QStringLiteral("Error: cannot load user data"),
                             common::MessageIcon::Critical);
        closeConnection();
        env_.endBusy();
    }
}

UserHeaderLoader::Ending UserHeaderLoader::loadInPartitionMode(const QString& transID,
                                                               const QString& userName) {
    db::Recordset row = env_.connection.openRecordset(
        partitionModeStatement(env_.catalogue.databaseTransID(transID)));
    if (row.eof()) {
        // Nothing is known of this user. The previous user's groups must not stay on show: a
        // pick among them would be saved for the previous user, who is still the current one.
        pane_.cmbUserHeaderGroupName()->clear();
        pane_.lblUserHeaderEffectiveDate()->setText(kNoEffectiveDate);
        pane_.lblUserHeaderUserName()->setText(userName);
        return Ending::ShowPane;
    }
    const auto user = catalogue::GetObjectFromCollection(env_.catalogue.users(), transID);
    if (!user)
        throw NumberedError(kUserNotInCatalogue,
                            QStringLiteral("User ") + transID +
                                QStringLiteral(" could not be loaded because the ID was not "
                                               "in the collection."),
                            QStringLiteral("LoadUser"));
    env_.currentUser = user;
    rebuildUserPartitions(*user);
    if (!groupIsReachable(*user) && !movingToDefault_ &&
        moveToDefaultGroup(transID, userName) == Ending::Stop)
        return Ending::Stop;

    groupAssignment_.FillGroupList();
    pane_.lblUserHeaderEffectiveDate()->setText(
        env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date"))));
    selectGroup(user->GroupID());
    pane_.lblUserHeaderUserName()->setText(userName);
    return Ending::ShowPane;
}

void UserHeaderLoader::rebuildUserPartitions(catalogue::User& user) {
    const catalogue::PartitionAccess access(env_.connection, env_.catalogue);
    env_.userPartitions = access.accessiblePartitions(user.PartitionID());
    // The list is made afresh with the collection, so repeated loads do not repeat its ids.
    user.setAvailablePartitions(
        catalogue::AppendAvailablePartitions(QString(), env_.userPartitions));
}

// A removed group has no partition (-1), which is never among the user's partitions.
bool UserHeaderLoader::groupIsReachable(const catalogue::User& user) const {
    const auto group = catalogue::GetObjectFromCollection(env_.catalogue.groups(),
                                                          QString::number(user.GroupID()));
    return group && env_.userPartitions.contains(QString::number(group->PartitionID()));
}

QString UserHeaderLoader::partitionNameOf(int partitionID) const {
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              QString::number(partitionID));
    return partition ? partition->PartitionName() : QStringLiteral("(UNKNOWN)");
}

// The user's group is gone or out of reach: tell the operator, give the user the partition's
// default group, show the user again and save the move with an effective date. Stop when the
// user was moved; when no default group could be made the user stays in the group, the operator
// hears why, and the load goes on to show the user without a group picked.
UserHeaderLoader::Ending UserHeaderLoader::moveToDefaultGroup(const QString& transID,
                                                              const QString& userName) {
    catalogue::User& user = *env_.currentUser;
    const auto group = catalogue::GetObjectFromCollection(env_.catalogue.groups(),
                                                          QString::number(user.GroupID()));
    env_.endBusy();
    env_.messages.show(
        invalidGroupWarning(
            transID, group ? partitionNameOf(group->PartitionID()) : QStringLiteral("(UNKNOWN)"),
            group ? group->GroupName() : QStringLiteral("UNKNOWN")),
        common::Messages::kTitle, common::MessageIcon::Warning, common::MessageButtons::Ok);
    if (groupCreator_.AssignDefaultGroup(user) <= 0) {
        env_.messages.show(notMovedWarning(transID, partitionNameOf(user.PartitionID())),
                           common::Messages::kTitle, common::MessageIcon::Warning,
                           common::MessageButtons::Ok);
        return Ending::ShowPane;
    }
    {
        const FlagScope moving(movingToDefault_);
        LoadUser(user.TransID(), userName, true);
    }
    selectGroup(user.GroupID());
    bool force = true;
    groupAssignment_.SaveUserGroup(force);
    return Ending::Stop;
}

// The list holds every group; a user without a row, or whose group is not in it, is shown with
// no group picked and counts as being in none.
void UserHeaderLoader::loadWithoutPartitions(const QString& transID, const QString& userName) {
    const QString databaseID = env_.catalogue.databaseTransID(transID);
    db::Recordset row = env_.connection.openRecordset(statement(databaseID));
    int groupID = -1;
    if (row.eof()) {
        pane_.lblUserHeaderEffectiveDate()->setText(kNoEffectiveDate);
    } else {
        groupID = row.value(QStringLiteral("incentive_group_id")).toInt();
        pane_.lblUserHeaderUserName()->setText(userName);
        pane_.lblUserHeaderEffectiveDate()->setText(
            env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date"))));
    }
    selectGroup(groupID);
    auto user = std::make_shared<catalogue::User>();
    user->setTransID(databaseID);
    const QComboBox& list = *pane_.cmbUserHeaderGroupName();
    user->setGroupID(list.currentIndex() < 0 ? -1 : list.currentData().toInt());
    env_.currentUser = std::move(user);
}

// Picks the user's own group, or nothing when the list does not hold it: the header never shows
// (and so never saves) a group that is not the user's.
void UserHeaderLoader::selectGroup(int groupID) {
    QComboBox& list = *pane_.cmbUserHeaderGroupName();
    list.setCurrentIndex(groups::ListEntryWithItemData(list, groupID));
}

void UserHeaderLoader::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::detail
