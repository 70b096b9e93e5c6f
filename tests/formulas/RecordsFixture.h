#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "formulas/FormulaRecords.h"
#include "formulas/GroupRecords.h"
#include "groups/PartitionNamePrompter.h"
#include "groups/ScriptedPrompter.h"

#include <QComboBox>
#include <QMenu>

namespace velora::test {

// Answers the name-and-partition prompt from a queue; with nothing queued it is cancelled.
class ScriptedPartitionPrompter final : public groups::PartitionNamePrompter {
public:
    void queueOk(const QString& text, qint16 partitionID) {
        answers_.push_back({groups::UnloadCode::OK, text, partitionID});
    }

    groups::PartitionNameResult
    PromptForName(const QString& caption, const QString& prompt, const QString&,
                  const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                  qint16 partitionID) override {
        asked << caption + QLatin1Char('|') + prompt + QLatin1Char('|') +
                     QString::number(partitions.count()) + QLatin1Char('|') +
                     QString::number(partitionID);
        if (answers_.empty())
            return {groups::UnloadCode::Cancel, {}, -1};
        const groups::PartitionNameResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    QStringList asked; // "caption|prompt|partitions offered|preselected"

private:
    std::deque<groups::PartitionNameResult> answers_;
};

// A database, a catalogue (partition mode), the two drop-down lists and a real explorer in full
// mode, wired to the formula and group handlers as the main window wires them. Formula 1 and
// group 1 of the schema are shown; partition mode adds North (1, the operator's) and South (2).
class RecordsFixture {
public:
    explicit RecordsFixture(bool partitions)
        : partitionMode(partitions) {
        tree.SetOperatorMode(false);
        if (partitionMode) {
            addPartition(0, QStringLiteral("Base"));
            addPartition(1, QStringLiteral("North"));
            addPartition(2, QStringLiteral("South"));
        }
        show(QStringLiteral("1"), QStringLiteral("Default Formula"), 0, true);
        show(QStringLiteral("1"), QStringLiteral("Default Group"), 0, false);
        QObject::connect(&tree, &explorer::IncentiveExplorer::CreateFormula, &tree,
                         [this] { formulas.CreateFormula(); });
        QObject::connect(&tree, &explorer::IncentiveExplorer::CreateGroup, &tree,
                         [this] { groups.CreateGroup(); });
        QObject::connect(
            &tree, &explorer::IncentiveExplorer::RenameFormula, &tree,
            [this](const QString& id, const QString& old, QString& name, qint16& cancel,
                   QString& tag) { formulas.RenameFormula(id, old, name, cancel, tag); });
        QObject::connect(
            &tree, &explorer::IncentiveExplorer::RenameGroup, &tree,
            [this](const QString& id, const QString& old, QString& name, qint16& cancel,
                   bool& isDefault) { groups.RenameGroup(id, old, name, cancel, isDefault); });
        QObject::connect(&tree,
                         qOverload<const QString&, const QString&, qint16&>(
                             &explorer::IncentiveExplorer::DeleteFormula),
                         &tree, [this](const QString& name, const QString& id, qint16& cancel) {
                             formulas.DeleteFormula(name, id, cancel);
                         });
        QObject::connect(&tree,
                         qOverload<const QString&, const QString&, qint16&>(
                             &explorer::IncentiveExplorer::DeleteGroup),
                         &tree, [this](const QString& name, const QString& id, qint16& cancel) {
                             groups.DeleteGroup(name, id, cancel);
                         });
    }

    void addPartition(int id, const QString& name) {
        if (id != 0)
            exec(QStringLiteral("INSERT INTO System_partitions (partition_id, parent_id, "
                                "partition_name, partition_description) VALUES (%1, 0, '%2', "
                                "'%2 office')")
                     .arg(id)
                     .arg(name));
        auto partition = std::make_shared<catalogue::Partition>();
        partition->setPartitionID(id);
        partition->setPartitionName(name);
        catalogue.partitions().add(QString::number(id), partition);
        accessible.add(QString::number(id), partition);
    }

    void addFormula(int id, const QString& name, int partition = 0) {
        exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                            "partition_id) VALUES (%1, '%2', %3)")
                 .arg(id)
                 .arg(catalogue::QuoteSql(name))
                 .arg(partition));
        show(QString::number(id), name, partition, true);
    }

    void addGroup(int id, const QString& name, int partition = 0, bool isDefault = false) {
        exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                            "flag1) VALUES (%1, '%2', %3, %4)")
                 .arg(id)
                 .arg(catalogue::QuoteSql(name))
                 .arg(partition)
                 .arg(isDefault ? 1 : 0));
        show(QString::number(id), name, partition, false, isDefault);
    }

    // A formula or group as a catalogue display and the list fills show it.
    void show(const QString& id, const QString& name, int partition, bool formula,
              bool isDefault = false) {
        QString label = name;
        if (partitionMode) {
            label = catalogue::PartitionQualifiedName(
                name, catalogue.partitions().find(QString::number(partition))->PartitionName(), 0);
            if (formula) {
                auto f = std::make_shared<catalogue::Formula>();
                f->setFormulaID(id.toInt());
                f->setFormulaName(name);
                f->setPartitionID(partition);
                catalogue.formulas().add(id, f);
            } else {
                auto g = std::make_shared<catalogue::Group>();
                g->setGroupID(id.toInt());
                g->setGroupName(name);
                g->setPartitionID(partition);
                g->setIsPartitionDefault(isDefault);
                catalogue.groups().add(id, g);
            }
        }
        if (formula) {
            tree.AddFormula(label, id);
            payFormulas.addItem(label, id.toInt());
        } else {
            tree.AddGroup(label, id);
            groupList.addItem(label, id.toInt());
        }
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
    }

    QString scalar(const QString& statement) {
        db.connection().ensureOpen();
        return db.scalar(statement);
    }

    // Every row of a statement, its columns joined with "|".
    QStringList rows(const QString& statement) {
        QStringList all;
        db.connection().ensureOpen();
        for (db::Recordset r = db.connection().openRecordset(statement); !r.eof(); r.moveNext()) {
            QStringList columns;
            for (int i = 0; i < r.fieldCount(); ++i)
                columns << r.value(i).toString();
            all << columns.join(QLatin1Char('|'));
        }
        return all;
    }

    QStringList formulaRows() {
        return rows(QStringLiteral("SELECT formula_id, formula_name, partition_id FROM "
                                   "Incentive_formula ORDER BY formula_id"));
    }
    QStringList groupRows() {
        return rows(QStringLiteral("SELECT group_id, group_name, partition_id FROM "
                                   "Incentive_group ORDER BY group_id"));
    }
    // Everything the handlers may write.
    QStringList everything() {
        return formulaRows() + groupRows() +
               rows(QStringLiteral("SELECT * FROM Incentive_group_formula ORDER BY group_id, "
                                   "account_id")) +
               rows(QStringLiteral("SELECT trans_id, incentive_group_id FROM Trans_info ORDER BY "
                                   "trans_id"));
    }

    static QStringList texts(const QComboBox& list) {
        QStringList all;
        for (int i = 0; i < list.count(); ++i)
            all << list.itemText(i) + QLatin1Char('=') + list.itemData(i).toString();
        return all;
    }
    QString nodeText(const QString& key) { return tree.hasNode(key) ? tree.node(key).text() : "-"; }

    // The explorer's menu item on a node, as the operator chooses it.
    void choose(const QString& key, const char* item) {
        tree.RightClickNode(key, QPoint());
        if (tree.lastPopup())
            tree.lastPopup()->hide();
        tree.findChild<QAction*>(QLatin1String(item))->trigger();
    }

    // Messages shown so far, each "text" alone; cleared on reading.
    QStringList takeMessages() {
        QStringList all;
        for (const auto& shown : messages.shown)
            all << shown.text;
        messages.shown.clear();
        return all;
    }

    TestDatabase db;
    bool partitionMode;
    bool fullMode = true;
    ScriptedMessages messages;
    ScriptedPrompter prompter;
    ScriptedPartitionPrompter partitionPrompter;
    catalogue::Catalogue catalogue;
    catalogue::CatalogueCollection<catalogue::Partition> accessible;
    QComboBox payFormulas;
    QComboBox groupList;
    explorer::IncentiveExplorer tree;

    formulas::RecordsEnvironment environment() {
        return {db.connection(),
                messages,
                catalogue,
                partitionMode,
                [] { return 0; },
                [this] { return fullMode; },
                prompter,
                partitionPrompter,
                accessible,
                [] { return 1; },
                [] { return QDate(2024, 5, 15); },
                &payFormulas,
                &groupList,
                {[this](const QString& text, const QString& id) { tree.AddFormula(text, id); },
                 [this](const QString& text, const QString& id) { tree.AddGroup(text, id); },
                 [this](const QString& id) { tree.ClickFormulaNode(id); },
                 [this](const QString& id) { tree.ClickGroupNode(id); },
                 [this](const QString& id) { tree.RemoveFormulaNode(id); },
                 [this](const QString& id) { tree.RemoveGroupNode(id); }}};
    }
    formulas::FormulaRecords formulas{environment()};
    formulas::GroupRecords groups{environment()};
};

using Keys = explorer::ExplorerKeys;

} // namespace velora::test
