#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueLoader.h"
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

using Keys = explorer::ExplorerKeys;

// Answers the name-and-partition prompt from a queue (cancelled when it is empty) and records
// each prompt as "caption|prompt|partitions offered|preselected".
class ScriptedPartitionPrompter final : public groups::PartitionNamePrompter {
public:
    groups::PartitionNameResult
    PromptForName(const QString& caption, const QString& prompt, const QString&,
                  const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                  qint16 partitionID) override {
        asked << QStringLiteral("%1|%2|%3|%4")
                     .arg(caption, prompt)
                     .arg(partitions.count())
                     .arg(partitionID);
        if (answers.isEmpty())
            return {groups::UnloadCode::Cancel, {}, -1};
        return answers.takeFirst();
    }
    void queueOk(const QString& text, qint16 partition) {
        answers.append({groups::UnloadCode::OK, text, partition});
    }

    QList<groups::PartitionNameResult> answers;
    QStringList asked;
};

// A database, the catalogue (partition mode), both drop-down lists and a real explorer in full
// mode, wired to the formula and group handlers as the main window wires them. Partition mode
// has Base (0), North (1, the operator's) and South (2), and labels items "partition\\item".
class RecordsFixture {
public:
    explicit RecordsFixture(bool partitions)
        : partitionMode(partitions) {
        tree.SetOperatorMode(false);
        if (partitionMode)
            exec("INSERT INTO System_partitions (partition_id, parent_id, partition_name) VALUES "
                 "(1, 0, 'North'), (2, 0, 'South')");
        using E = explorer::IncentiveExplorer;
        using Deleted = void (E::*)(const QString&, const QString&, qint16&);
        QObject::connect(&tree, &E::CreateFormula, [this] { formulas.CreateFormula(); });
        QObject::connect(&tree, &E::CreateGroup, [this] { groups.CreateGroup(); });
        QObject::connect(&tree, &E::RenameFormula,
                         [this](auto&&... a) { formulas.RenameFormula(a...); });
        QObject::connect(&tree, &E::RenameGroup, [this](auto&&... a) { groups.RenameGroup(a...); });
        QObject::connect(&tree, Deleted(&E::DeleteFormula),
                         [this](auto&&... a) { formulas.DeleteFormula(a...); });
        QObject::connect(&tree, Deleted(&E::DeleteGroup),
                         [this](auto&&... a) { groups.DeleteGroup(a...); });
    }

    void add(bool formula, int id, const QString& name, int partition = 0, bool isDefault = false) {
        exec(QStringLiteral("INSERT INTO Incentive_%1 (%1_id, %1_name, partition_id, "
                            "incentive_effective_date) VALUES (%2, '%3', %4, '2020-01-01')")
                 .arg(formula ? "formula" : "group")
                 .arg(id)
                 .arg(catalogue::QuoteSql(name))
                 .arg(partition));
        if (isDefault)
            exec(
                QStringLiteral("UPDATE Incentive_group SET flag1 = 1 WHERE group_id = %1").arg(id));
    }

    // Shows every formula and group: the catalogue (partition mode), the nodes and the lists.
    void load() {
        db.connection().ensureOpen();
        if (partitionMode) {
            catalogue::CatalogueLoader(db.connection()).loadInto(catalogue);
            accessible = catalogue.partitions();
        }
        for (const bool formula : {true, false}) {
            for (const QString& row : named(formula)) {
                const QStringList column = row.split(QLatin1Char('|')); // id, name, partition
                const QString label =
                    partitionMode
                        ? catalogue::PartitionQualifiedName(
                              column[1], catalogue.partitions().find(column[2])->PartitionName(), 0)
                        : column[1];
                formula ? tree.AddFormula(label, column[0]) : tree.AddGroup(label, column[0]);
                (formula ? payFormulas : groupList).addItem(label, column[0].toInt());
            }
        }
    }

    // The explorer's menu item on a node, as the operator chooses it.
    void choose(const QString& key, const char* item) {
        tree.RightClickNode(key, QPoint());
        if (tree.lastPopup())
            tree.lastPopup()->hide();
        tree.findChild<QAction*>(QLatin1String(item))->trigger();
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
    // "id|name|partition" of every formula or group.
    QStringList named(bool formula) {
        return rows(QStringLiteral("SELECT %1_id, %1_name, partition_id FROM Incentive_%1 ORDER BY "
                                   "%1_id")
                        .arg(formula ? "formula" : "group"));
    }
    // "text=id" of every entry of a list.
    static QStringList texts(const QComboBox& list) {
        QStringList all;
        for (int i = 0; i < list.count(); ++i)
            all << list.itemText(i) + QLatin1Char('=') + list.itemData(i).toString();
        return all;
    }
    QString nodeText(const QString& key) { return tree.hasNode(key) ? tree.node(key).text() : "-"; }
    // The texts of the messages shown since the last call.
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

} // namespace velora::test
