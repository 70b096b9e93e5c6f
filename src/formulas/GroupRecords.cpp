#include "GroupRecords.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/SqlNumber.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "groups/PromptForValue.h"

#include <QComboBox>

namespace velora::formulas {

namespace {

using common::MessageIcon;

const QString kRenameDefault = QStringLiteral("You can not rename the default group");
const QString kRenamePrompt = QStringLiteral("Enter the new group name:");
const QString kNameTaken = QStringLiteral("The group name you entered already exists. The "
                                          "current group name will not be changed.");
const QString kRenameFailed = QStringLiteral("Error: cannot rename group");
const QString kDeleteDefault = QStringLiteral("You can not delete the default group.");
const QString kDeleteFailed = QStringLiteral("Error: cannot delete group");

// "First Last", the first name left out when there is none.
QString userText(const db::Recordset& row) {
    const QString last = row.text(QStringLiteral("last_name")).trimmed();
    if (row.value(QStringLiteral("first_name")).isNull())
        return last;
    return row.text(QStringLiteral("first_name")).trimmed() + QLatin1Char(' ') + last;
}

groups::GroupCreationEnvironment creation(const RecordsEnvironment& env) {
    const ExplorerHooks& explorer = env.explorer;
    return {env.connection,
            env.messages,
            env.catalogue,
            env.partitionMode,
            env.partitionDisplay,
            env.today,
            env.cmbUserHeaderGroupName,
            [&explorer](const QString& text, int groupID) {
                const QString key = QString::number(groupID);
                // A node left from a deleted row with the same id goes first.
                if (explorer.removeGroupNode)
                    explorer.removeGroupNode(key);
                if (explorer.addGroup)
                    explorer.addGroup(text, key);
            }};
}

} // namespace

GroupRecords::GroupRecords(RecordsEnvironment environment)
    : env_(std::move(environment))
    , steps_(env_)
    , creator_(creation(env_)) {}

// ---- Creating ----

void GroupRecords::CreateGroup() {
    QString name;
    CreateNewGroup(name, 0, false);
}

int GroupRecords::CreateNewGroup(QString& name, qint16 partitionID, bool isDefault) {
    const bool asked = name.isEmpty();
    if (asked) {
        if (!steps_.permitted())
            return 0;
        const NameChoice choice = steps_.askNewName(
            QStringLiteral("Create Group"), QStringLiteral("Enter new group name:"),
            QStringLiteral("Create New Group"), QStringLiteral("Enter new Group name:"));
        name = choice.name;
        partitionID = static_cast<qint16>(choice.partitionID);
    }
    // Refusals (no name, too long, taken) have been told by the creator.
    const int groupID = creator_.CreateNewGroup(name, partitionID, isDefault);
    if (groupID > 0 && asked && env_.explorer.clickGroupNode)
        env_.explorer.clickGroupNode(QString::number(groupID));
    return groupID;
}

// ---- Renaming ----

void GroupRecords::RenameGroup(const QString& groupID, const QString& oldName, QString& newName,
                               qint16& cancel, bool& isDefault) {
    cancel = 1; // until the new name is stored
    if (!steps_.permitted() || !steps_.validId(groupID, kTable))
        return;
    if (RecordSteps::isDefaultId(groupID)) {
        env_.messages.inform(kRenameDefault, MessageIcon::Critical);
        return;
    }
    const groups::PromptResult answer =
        env_.prompter.PromptForValue(kRenamePrompt, common::Messages::kTitle, QString(), false);
    if (!answer.confirmed() || answer.text.isEmpty())
        return;
    try {
        renameAsked(groupID, oldName, answer.text, newName, cancel, isDefault);
    } catch (const std::exception&) {
        env_.messages.inform(kRenameFailed, MessageIcon::Critical);
    }
    steps_.closeConnection();
}

void GroupRecords::renameAsked(const QString& groupID, const QString& oldName, const QString& name,
                               QString& newName, qint16& cancel, bool& isDefault) {
    const int id = groupID.toInt();
    switch (steps_.rename(kTable, groupID, name)) {
    case RecordSteps::RenameOutcome::NameTaken:
        env_.messages.inform(kNameTaken, MessageIcon::Critical);
        return;
    case RecordSteps::RenameOutcome::Gone:
        forget(id, true);
        steps_.reportGone(kTable, oldName, true);
        return;
    case RecordSteps::RenameOutcome::Renamed:
        newName = renamedText(id, name, isDefault);
        cancel = 0;
        return;
    }
}

// The node's new text (the explorer adds " (Default)" for a default group) and the list's,
// which reads as the list is filled: "(Default)" behind the name, then the partition.
QString GroupRecords::renamedText(int groupID, const QString& name, bool& isDefault) {
    const auto group =
        catalogue::GetObjectFromCollection(env_.catalogue.groups(), QString::number(groupID));
    if (group)
        group->setGroupName(name);
    if (!env_.partitionMode || !group) {
        RecordSteps::setEntryText(env_.cmbUserHeaderGroupName, groupID, name);
        return name;
    }
    isDefault = group->IsPartitionDefault();
    const auto partition = catalogue::GetObjectFromCollection(
        env_.catalogue.partitions(), QString::number(group->PartitionID()));
    const QString partitionName = partition ? partition->PartitionName() : QString();
    const int display = env_.partitionDisplay();
    const QString listText = isDefault ? name + QStringLiteral(" (Default)") : name;
    RecordSteps::setEntryText(env_.cmbUserHeaderGroupName, groupID,
                              catalogue::PartitionQualifiedName(listText, partitionName, display));
    return catalogue::PartitionQualifiedName(name, partitionName, display);
}

// ---- Deleting ----

void GroupRecords::DeleteGroup(const QString& groupName, const QString& groupID, qint16& cancel) {
    cancel = 1; // until the row is gone
    if (!steps_.permitted() || !steps_.validId(groupID, kTable))
        return;
    if (!env_.messages.ask(QStringLiteral("Are you sure you wish to delete the ") + groupName +
                           QStringLiteral(" group?")))
        return;
    try {
        deleteConfirmed(groupName, groupID, cancel);
    } catch (const std::exception&) {
        env_.messages.inform(kDeleteFailed, MessageIcon::Critical);
    }
    steps_.closeConnection();
}

void GroupRecords::deleteConfirmed(const QString& groupName, const QString& groupID,
                                   qint16& cancel) {
    const QString id = catalogue::SqlNumber(groupID);
    QStringList users;
    // The group's formula assignments go with it, in the same transaction.
    const auto outcome = steps_.deleteRow(
        groupID,
        QStringLiteral("SELECT DISTINCT first_name, last_name FROM Trans_info WHERE "
                       "incentive_group_id = %1 ORDER BY last_name, first_name")
            .arg(id),
        userText,
        {QStringLiteral("DELETE FROM Incentive_group WHERE GROUP_ID = ") + id,
         QStringLiteral("DELETE FROM Incentive_group_formula WHERE GROUP_ID = ") + id},
        users);
    const QString inUse = QStringLiteral("You are not able to delete the group ") + groupName +
                          QStringLiteral(" because it is being used by the following users: ") +
                          users.join(QStringLiteral(", ")) +
                          QStringLiteral(". Please remove the group from those users, and then try "
                                         "deleting this group again.");
    if (!steps_.reportDelete(outcome, kTable, groupName, inUse, kDeleteDefault))
        return;
    // The explorer removes the node itself when the flag stays clear.
    forget(groupID.toInt(), false);
    cancel = 0;
}

void GroupRecords::forget(int groupID, bool node) {
    const QString key = QString::number(groupID);
    RecordSteps::removeEntries(env_.cmbUserHeaderGroupName, groupID);
    if (env_.catalogue.groups().contains(key))
        env_.catalogue.groups().remove(key);
    if (node && env_.explorer.removeGroupNode)
        env_.explorer.removeGroupNode(key);
}

} // namespace velora::formulas
