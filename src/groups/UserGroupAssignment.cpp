#include "UserGroupAssignment.h"

#include "EffectiveDateProcedure.h"
#include "FindListIndexByItemData.h"
#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "common/Messages.h"
#include "db/Connection.h"

#include <QComboBox>

namespace velora::groups {

namespace {

const QString kNotChanged = QStringLiteral("The group user information has not been changed.");

QString changePrompt(const QString& groupName) {
    return QStringLiteral("The user is currently assigned to the '") + groupName +
           QStringLiteral("' Group. If you change this item you must enter the effective date "
                          "this change will take effect in the following box:");
}

} // namespace

UserGroupAssignment::UserGroupAssignment(UserGroupEnvironment environment, QComboBox& groupList)
    : env_(std::move(environment))
    , groupList_(groupList) {}

QString UserGroupAssignment::groupListStatement() {
    return QStringLiteral("SELECT group_id, group_name ") +
           QStringLiteral("FROM Incentive_group ") + QStringLiteral("ORDER BY group_name");
}

QString UserGroupAssignment::latestLockedStatement(const QString& transID, const QString& date) {
    using catalogue::QuoteSql;
    return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE trans_id ='") +
           QuoteSql(transID) + QStringLiteral("' AND locked = 1 AND shift_date > '") +
           QuoteSql(date) + QStringLiteral("'");
}

// Rows already locked are left alone: rewriting them changes nothing but costs a write per row.
QString UserGroupAssignment::lockStatement(const QString& transID, const QString& date) {
    using catalogue::QuoteSql;
    return QStringLiteral("UPDATE trans_incentive SET locked = 1 WHERE trans_id='") +
           QuoteSql(transID) + QStringLiteral("' AND shift_date < '") + QuoteSql(date) +
           QStringLiteral("' AND locked = 0");
}

QString UserGroupAssignment::assignStatement(const QString& transID, int groupID,
                                             const QString& date) {
    using catalogue::QuoteSql;
    return QStringLiteral("UPDATE Trans_info SET incentive_group_id = ") +
           QString::number(groupID) + QStringLiteral(", incentive_effective_date = '") +
           QuoteSql(date) + QStringLiteral("' WHERE trans_id = '") + QuoteSql(transID) +
           QStringLiteral("'");
}

void UserGroupAssignment::FillGroupList() {
    try {
        env_.connection.ensureOpen();
        groupList_.clear();
        if (env_.partitionMode)
            fillFromCatalogue();
        else
            fillFromDatabase();
        // A combo box selects its first entry as it fills; the list must show no choice until
        // a user's group is selected, or leaving the user would look like a change of group.
        groupList_.setCurrentIndex(-1);
    } catch (const std::exception&) {
        env_.messages.inform(QStringLiteral("Error: cannot load group list"),
                             common::MessageIcon::Critical);
    }
}

void UserGroupAssignment::fillFromDatabase() {
    for (db::Recordset groups = env_.connection.openRecordset(groupListStatement()); !groups.eof();
         groups.moveNext())
        groupList_.addItem(groups.text(QStringLiteral("GROUP_NAME")),
                           groups.value(QStringLiteral("GROUP_ID")).toInt());
}

// The current user's partition's groups, in the catalogue's order (by name).
void UserGroupAssignment::fillFromCatalogue() {
    const int partitionID = env_.currentUser ? env_.currentUser->PartitionID() : 0;
    for (const auto& group : env_.catalogue.groups()) {
        if (group->PartitionID() != partitionID)
            continue;
        QString text = group->GroupName();
        if (group->IsPartitionDefault())
            text += QStringLiteral(" (Default)");
        const auto partition = catalogue::GetObjectFromCollection(
            env_.catalogue.partitions(), QString::number(group->PartitionID()));
        const QString partitionName = partition ? partition->PartitionName() : QString();
        groupList_.addItem(
            catalogue::PartitionQualifiedName(text, partitionName, env_.partitionDisplay()),
            group->GroupID());
    }
}

bool UserGroupAssignment::UserGroupChanged() const {
    const auto& user = env_.currentUser;
    if (!user || user->TransID().isEmpty() || groupList_.currentIndex() < 0)
        return false;
    return groupList_.currentData().toInt() != user->GroupID();
}

bool UserGroupAssignment::SaveUserGroup(bool& force) {
    bool saved = true;
    try {
        save(force || UserGroupChanged());
    } catch (const std::exception&) {
        env_.messages.inform(QStringLiteral("Error: cannot save user header data"),
                             common::MessageIcon::Critical);
        saved = false;
    }
    closeConnection();
    return saved;
}

void UserGroupAssignment::save(bool changed) {
    env_.connection.ensureOpen();
    // Without a current user there is nobody to move, forced or not.
    if (!changed || !env_.currentUser)
        return;
    catalogue::User& user = *env_.currentUser;
    const QString transID = catalogue::DatabaseTransID(user);
    const QString currentGroup = groupName(user.GroupID());

    EffectiveDateRequest request;
    request.title = QStringLiteral("Effective Date for Change");
    request.prompt = changePrompt(currentGroup);
    request.variant = EffectiveDateVariant::GroupOrUser;
    request.maximumQuery = [&](const QString& date) {
        return latestLockedStatement(transID, date);
    };
    request.lockStatement = [&](const QString& date) { return lockStatement(transID, date); };

    const EffectiveDateOutcome outcome = env_.effectiveDate.Run(env_.connection, request);
    if (outcome.kind == EffectiveDateOutcome::Kind::NoDate)
        env_.messages.inform(kNotChanged);
    if (outcome.kind != EffectiveDateOutcome::Kind::Locked)
        return;
    const int newGroupID = groupList_.currentData().toInt();
    env_.connection.execute(assignStatement(transID, newGroupID, outcome.date));
    user.setGroupID(newGroupID);
}

// The list's text for the group; a group the list does not hold (removed, or of a partition out
// of reach) goes by its catalogue name, or "UNKNOWN" as the user header calls a removed one.
QString UserGroupAssignment::groupName(int groupID) const {
    const int entry = ListEntryWithItemData(groupList_, groupID);
    if (entry >= 0)
        return groupList_.itemText(entry);
    const auto group =
        catalogue::GetObjectFromCollection(env_.catalogue.groups(), QString::number(groupID));
    return group ? group->GroupName() : QStringLiteral("UNKNOWN");
}

void UserGroupAssignment::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::groups
