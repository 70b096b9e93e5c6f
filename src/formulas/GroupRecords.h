#pragma once

#include "RecordSteps.h"
#include "RecordsEnvironment.h"
#include "groups/GroupCreator.h"

#include <QString>

namespace velora::formulas {

// Creates, renames and deletes incentive groups for the explorer's events and the File menu,
// and keeps the explorer, the user header's group list (cmbUserHeaderGroupName) and the
// catalogue in step with Incentive_group. The default group (ID 1) can be neither renamed nor
// deleted, nor can a group that users belong to. Only full mode may change anything.
//
// The handlers take the explorer's event arguments: ids as text, the cancel flag set (non-zero)
// whenever the explorer must leave its node as it is, a rename's new node text in newName.
class GroupRecords {
public:
    explicit GroupRecords(RecordsEnvironment environment);
    GroupRecords(const GroupRecords&) = delete;
    GroupRecords& operator=(const GroupRecords&) = delete;

    // CreateNewGroup with an empty name.
    void CreateGroup();
    // An empty name is asked for (with a partition in partition mode) and the new group's node
    // is selected; a given name is created in the given partition without a question. Returns
    // the new id, 0 when nothing was created.
    int CreateNewGroup(QString& name, qint16 partitionID, bool isDefault);
    // isDefault returns whether the group is its partition's default (partition mode).
    void RenameGroup(const QString& groupID, const QString& oldName, QString& newName,
                     qint16& cancel, bool& isDefault);
    void DeleteGroup(const QString& groupName, const QString& groupID, qint16& cancel);

    static inline const RecordTable kTable{
        QStringLiteral("group"), QStringLiteral("Incentive_group"), QStringLiteral("GROUP_ID"),
        QStringLiteral("GROUP_NAME")};

private:
    void renameAsked(const QString& groupID, const QString& oldName, const QString& name,
                     QString& newName, qint16& cancel, bool& isDefault);
    QString renamedText(int groupID, const QString& name, bool& isDefault);
    void deleteConfirmed(const QString& groupName, const QString& groupID, qint16& cancel);
    // Takes the group out of the list, the catalogue and (when asked) the explorer.
    void forget(int groupID, bool node);

    RecordsEnvironment env_;
    RecordSteps steps_;
    groups::GroupCreator creator_;
};

} // namespace velora::formulas
