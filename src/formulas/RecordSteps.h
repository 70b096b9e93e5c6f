#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;

namespace velora::db {
class Recordset;
}

namespace velora::formulas {

struct RecordsEnvironment;

// Which table a handler works on: formulas or groups.
struct RecordTable {
    QString kind; // "formula", "group": the word the messages use
    QString table;
    QString idColumn;
    QString nameColumn;
};

// The name and partition the operator gave for a new formula or group; the partition only
// counts in partition mode. An empty name: the operator gave none.
struct NameChoice {
    QString name;
    int partitionID = 0;
};

// The steps that the create, rename and delete handlers of formulas and groups share: the
// checks made before any statement runs, asking for a new name, the rename and delete
// statements, and the upkeep of the drop-down lists that carry row ids as item data.
class RecordSteps {
public:
    enum class RenameOutcome { Renamed, NameTaken, Gone };
    enum class DeleteOutcome { Deleted, InUse, Default, Gone };

    explicit RecordSteps(const RecordsEnvironment& environment);

    // True in full mode; otherwise tells the operator that nothing may change here. A menu is
    // not a permission: the handlers ask even though operator mode shows no menus.
    bool permitted() const;
    // True when the id is a whole number that may be spliced into a statement; otherwise tells
    // the operator.
    bool validId(const QString& id, const RecordTable& table) const;
    // The default formula and the default group have the id 1.
    static bool isDefaultId(const QString& id);

    // Asks for a new item's name: in partition mode with the partition dialog, preselecting the
    // operator's own partition, otherwise with the text prompt. Only OK gives a name.
    NameChoice askNewName(const QString& title, const QString& prompt,
                          const QString& partitionCaption, const QString& partitionPrompt) const;

    // Gives the row a new name unless another row of its partition (in partition mode; of the
    // table otherwise) has that name already; the row itself does not count, so a change of
    // case is a rename. Gone: no row has the id any more.
    RenameOutcome rename(const RecordTable& table, const QString& id, const QString& name) const;

    // In one transaction: the in-use query, whose rows `describe` turns into `holders`; the
    // default item's refusal; then the deletes, of which the first removes the row itself.
    DeleteOutcome deleteRow(const QString& id, const QString& inUseQuery,
                            const std::function<QString(const db::Recordset&)>& describe,
                            const QStringList& deletes, QStringList& holders) const;

    // Tells the operator that the row was found gone (deleted from another workstation).
    void reportGone(const RecordTable& table, const QString& name, bool renaming) const;
    // Tells the operator why a delete was refused, or that the row had gone already; true when
    // the row no longer exists (deleted now or before), so the lists must let it go.
    bool reportDelete(DeleteOutcome outcome, const RecordTable& table, const QString& name,
                      const QString& inUseMessage, const QString& defaultMessage) const;
    void closeConnection() const;

    // Every entry of the list whose item data is `id` goes / gets the text.
    static void removeEntries(QComboBox* list, int id);
    static void setEntryText(QComboBox* list, int id, const QString& text);

private:
    const RecordsEnvironment& env_;
};

} // namespace velora::formulas
