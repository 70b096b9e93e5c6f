#include "GroupCreator.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/PartitionAccess.h"
#include "common/Messages.h"
#include "db/Connection.h"

#include <QComboBox>

namespace velora::groups {

namespace {

// Names of 50 characters or more do not fit the column.
constexpr int kLongestName = 49;

const QString kTooLong = QStringLiteral("The group can only contain 50 characters. Please try "
                                        "creating a group with a smaller group name.");
const QString kExists =
    QStringLiteral("The group could not be added because a group with that name already exists");
const QString kFailed = QStringLiteral("Could not create group.");
const QString kFailureTitle = QStringLiteral("Incentive");

db::ProcedureParameter parameter(const char* name, db::ProcedureParameter::Type type,
                                 db::ProcedureParameter::Direction direction, int size,
                                 const QVariant& value) {
    return {QLatin1String(name), type, direction, size, value};
}

} // namespace

GroupCreator::GroupCreator(GroupCreationEnvironment environment)
    : env_(std::move(environment)) {}

db::ProcedureParameters GroupCreator::addGroupParameters(const QString& name, bool partitionMode,
                                                         int partitionID, bool isDefault) {
    using Type = db::ProcedureParameter::Type;
    using Direction = db::ProcedureParameter::Direction;
    db::ProcedureParameters parameters;
    if (partitionMode) {
        parameters.append(
            parameter("@partition_id", Type::Integer, Direction::Input, 0, partitionID));
        parameters.append(
            parameter("@is_default", Type::Integer, Direction::Input, 0, isDefault ? 1 : 0));
    }
    parameters.append(parameter("@group_name", Type::VarChar, Direction::Input, 50, name));
    parameters.append(parameter("@group_id", Type::Integer, Direction::Output, 0, QVariant()));
    return parameters;
}

int GroupCreator::CreateNewGroup(const QString& name, int partitionID, bool isDefault) {
    if (name.isEmpty())
        return 0;
    if (name.size() > kLongestName) {
        env_.messages.inform(kTooLong, common::MessageIcon::Critical);
        return 0;
    }
    int groupID = 0;
    try {
        groupID = create(name, partitionID, isDefault);
    } catch (const std::exception&) {
        env_.messages.inform(kFailed, common::MessageIcon::Critical, kFailureTitle);
        groupID = 0;
    }
    closeConnection();
    return groupID;
}

int GroupCreator::create(const QString& name, int partitionID, bool isDefault) {
    // In partition mode the group goes into a partition the catalogue knows, or nowhere.
    if (env_.partitionMode && !catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                                  QString::number(partitionID)))
        throw catalogue::CatalogueError(
            catalogue::CatalogueErrorNumber::InvalidArgument,
            QStringLiteral("Invalid procedure call or argument: no partition %1").arg(partitionID));
    env_.connection.ensureOpen();
    db::ProcedureParameters parameters =
        addGroupParameters(name, env_.partitionMode, partitionID, isDefault);
    env_.connection.callProcedure(QStringLiteral("usp_incentive_add_group"), parameters);
    const int groupID = parameters.last().value.toInt();
    if (groupID <= 0) {
        env_.messages.inform(existsMessage(partitionID), common::MessageIcon::Critical);
        return 0;
    }
    if (env_.partitionMode)
        addToCatalogue(name, groupID, partitionID, isDefault);
    else
        addToLists(name, groupID);
    return groupID;
}

// Names need only be unique within a partition: in partition mode the message says which one.
QString GroupCreator::existsMessage(int partitionID) const {
    if (!env_.partitionMode)
        return kExists + QLatin1Char('.');
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              QString::number(partitionID));
    return kExists + QStringLiteral(" in the partition ") + partition->PartitionName() +
           QLatin1Char('.');
}

void GroupCreator::addToCatalogue(const QString& name, int groupID, int partitionID,
                                  bool isDefault) {
    auto group = std::make_shared<catalogue::Group>();
    group->setPartitionID(partitionID);
    group->setGroupID(groupID);
    group->setGroupName(name);
    group->setIsPartitionDefault(isDefault);
    group->setEffectiveDate(env_.today());
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              QString::number(partitionID));
    const QString text = isDefault ? name + QStringLiteral(" (Default)") : name;
    const QString label = catalogue::PartitionQualifiedName(text, partition->PartitionName(),
                                                            env_.partitionDisplay());
    // An id can come back after its row was deleted elsewhere: the new row replaces the old.
    if (env_.catalogue.groups().contains(QString::number(groupID)))
        env_.catalogue.groups().remove(QString::number(groupID));
    env_.catalogue.groups().add(QString::number(groupID), group);
    addToLists(label, groupID);
}

void GroupCreator::addToLists(const QString& text, int groupID) {
    if (env_.addGroupNode)
        env_.addGroupNode(text, groupID);
    if (!env_.groupList)
        return;
    // An entry left from a deleted row with the same id goes.
    for (int index = env_.groupList->count() - 1; index >= 0; --index) {
        if (env_.groupList->itemData(index).toInt() == groupID)
            env_.groupList->removeItem(index);
    }
    env_.groupList->addItem(text, groupID);
}

int GroupCreator::AssignDefaultGroup(catalogue::User& user) {
    const catalogue::PartitionAccess access(env_.connection, env_.catalogue);
    const auto found = access.findDefaultGroup(user.PartitionID());
    const int groupID =
        found ? found->GroupID() : CreateNewGroup(kDefaultGroupName, user.PartitionID(), true);
    // Without a default group (the operator has been told why) the user keeps the group.
    if (groupID > 0)
        user.setGroupID(groupID);
    return groupID;
}

void GroupCreator::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::groups
