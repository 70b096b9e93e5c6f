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

void UserHeaderLoader::LoadUser(const QString& transID, const QString& userName, bool force) {
    env_.beginBusy();
    const auto& current = env_.currentUser;
    if (current && env_.headerPaneVisible() && current->TransID() == transID && !force) {
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
    db::Recordset row = env_.connection.openRecordset(partitionModeStatement(transID));
    if (row.eof()) {
        pane_.lblUserHeaderEffectiveDate()->setText(kNoEffectiveDate);
    } else {
        const auto user = catalogue::GetObjectFromCollection(env_.catalogue.users(), transID);
        if (!user)
            throw NumberedError(kUserNotInCatalogue,
                                QStringLiteral("User ") + transID +
                                    QStringLiteral(" could not be loaded because the ID was not "
                                                   "in the collection."),
                                QStringLiteral("LoadUser"));
        env_.currentUser = user;
        rebuildUserPartitions(*user);

        const auto group = catalogue::GetObjectFromCollection(env_.catalogue.groups(),
                                                              QString::number(user->GroupID()));
        int partitionID = -1;
        QString partitionName = QStringLiteral("(UNKNOWN)");
        QString groupName = QStringLiteral("UNKNOWN");
        if (group) {
            partitionID = group->PartitionID();
            const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                                      QString::number(partitionID));
            partitionName = partition ? partition->PartitionName() : QString();
            groupName = group->GroupName();
        }
        if (!env_.userPartitions.contains(QString::number(partitionID)) && !movingToDefault_)
            return moveToDefaultGroup(transID, userName, partitionName, groupName);

        groupAssignment_.FillGroupList();
        pane_.lblUserHeaderEffectiveDate()->setText(
            env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date"))));
    }
    if (pane_.cmbUserHeaderGroupName()->count() > 0 && env_.currentUser)
        selectGroup(env_.currentUser->GroupID());
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

// The user's group is gone or out of reach: tell the operator, give the user the partition's
// default group, show the user again and save the move with an effective date.
UserHeaderLoader::Ending UserHeaderLoader::moveToDefaultGroup(const QString& transID,
                                                              const QString& userName,
                                                              const QString& partitionName,
                                                              const QString& groupName) {
    env_.endBusy();
    env_.messages.show(invalidGroupWarning(transID, partitionName, groupName),
                       common::Messages::kTitle, common::MessageIcon::Warning,
                       common::MessageButtons::Ok);
    catalogue::User& user = *env_.currentUser;
    // No default group could be made (the operator has been told why): showing the user again
    // would only find the same missing group.
    if (groupCreator_.AssignDefaultGroup(user) <= 0) {
        closeConnection();
        return Ending::Stop;
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

void UserHeaderLoader::loadWithoutPartitions(const QString& transID, const QString& userName) {
    db::Recordset row = env_.connection.openRecordset(statement(transID));
    if (row.eof()) {
        pane_.lblUserHeaderEffectiveDate()->setText(kNoEffectiveDate);
    } else {
        selectGroup(row.value(QStringLiteral("incentive_group_id")).toInt());
        pane_.lblUserHeaderUserName()->setText(userName);
        pane_.lblUserHeaderEffectiveDate()->setText(
            env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date"))));
    }
    auto user = std::make_shared<catalogue::User>();
    user->setTransID(transID);
    user->setGroupID(pane_.cmbUserHeaderGroupName()->currentData().toInt());
    env_.currentUser = std::move(user);
}

void UserHeaderLoader::selectGroup(int groupID) {
    QComboBox& list = *pane_.cmbUserHeaderGroupName();
    list.setCurrentIndex(groups::FindListIndexByItemData(list, groupID));
}

void UserHeaderLoader::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::detail
