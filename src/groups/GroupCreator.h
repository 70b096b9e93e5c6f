#pragma once

#include "db/ProcedureParameter.h"

#include <QDate>
#include <QString>
#include <functional>

class QComboBox;

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
class User;
} // namespace velora::catalogue
namespace velora::common {
class Messages;
}

namespace velora::groups {

// What creating a group touches besides the database: the catalogue (partition mode), the
// user header's group list and the explorer's group folder. The list and the explorer hook may
// be absent.
struct GroupCreationEnvironment {
    db::Connection& connection;
    common::Messages& messages;
    catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::function<int()> partitionDisplay; // INCENT_PARTITION_DISPLAY
    std::function<QDate()> today;
    QComboBox* groupList = nullptr; // cmbUserHeaderGroupName
    // The explorer's AddGroup: the node text and the group's id.
    std::function<void(const QString& text, int groupID)> addGroupNode;
};

// Creates incentive groups through the database's procedure, which refuses a name that exists in
// the group's partition, and keeps the catalogue and the lists in step. Also gives a user the
// default group of the user's partition, making one when the partition has none.
class GroupCreator {
public:
    explicit GroupCreator(GroupCreationEnvironment environment);

    // Creates a group with the given name, in the given partition (partition mode). Returns the
    // new id, or 0 when the group was refused or could not be made (the operator has been told).
    int CreateNewGroup(const QString& name, int partitionID, bool isDefault);

    // Stores in the user's GroupID the first default group of the user's partition in catalogue
    // order, creating "Base Incentive" as that default when there is none, and returns it. When
    // none can be made the user's GroupID stays as it was and the result is 0.
    int AssignDefaultGroup(catalogue::User& user);

    // The parameters of "usp_incentive_add_group" in the order they are appended; the partition
    // and the default flag go only in partition mode.
    static db::ProcedureParameters addGroupParameters(const QString& name, bool partitionMode,
                                                      int partitionID, bool isDefault);

    static inline const QString kDefaultGroupName = QStringLiteral("Base Incentive");

private:
    int create(const QString& name, int partitionID, bool isDefault);
    QString existsMessage(int partitionID) const;
    void addToCatalogue(const QString& name, int groupID, int partitionID, bool isDefault);
    void addToLists(const QString& text, int groupID);
    void closeConnection();

    GroupCreationEnvironment env_;
};

} // namespace velora::groups
