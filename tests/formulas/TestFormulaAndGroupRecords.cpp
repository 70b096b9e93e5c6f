#include "catalogue/CatalogueLoader.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "db/SqliteEngine.h"
#include "explorer/ExplorerKeys.h"
#include "explorer/IncentiveExplorer.h"
#include "formulas/FormulaRecords.h"
#include "formulas/GroupRecords.h"
#include "groups/PartitionNamePrompter.h"
#include "groups/ScriptedPrompter.h"

#include <QComboBox>
#include <QMenu>
#include <QTest>

using namespace velora;
using Keys = explorer::ExplorerKeys;

namespace {

// Answers the name-and-partition prompt from a queue (cancelled when empty), recording each
// prompt as "caption|prompt|partitions offered|preselected".
struct PartitionPrompter final : groups::PartitionNamePrompter {
    groups::PartitionNameResult
    PromptForName(const QString& caption, const QString& prompt, const QString&,
                  const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                  qint16 partitionID) override {
        asked << QStringLiteral("%1|%2|%3|%4")
                     .arg(caption, prompt)
                     .arg(partitions.count())
                     .arg(partitionID);
        return answers.isEmpty() ? groups::PartitionNameResult{1, {}, -1} : answers.takeFirst();
    }
    QList<groups::PartitionNameResult> answers;
    QStringList asked;
};

// A database, the catalogue (partition mode: Base 0, North 1 the operator's, South 2), both
// drop-down lists and a real explorer in full mode, wired to the handlers as the main window
// wires them. Items added before load() are shown, labelled "partition\item" in partition mode.
struct Fixture {
    explicit Fixture(bool partitions)
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

    void add(const char* table, int id, const QString& name, int partition = 0, int flag = 0) {
        exec(QStringLiteral("INSERT INTO Incentive_%1 (%1_id, %1_name, partition_id, "
                            "incentive_effective_date) VALUES (%2, '%3', %4, '2020-01-01')")
                 .arg(table)
                 .arg(id)
                 .arg(catalogue::QuoteSql(name))
                 .arg(partition));
        if (flag)
            exec(
                QStringLiteral("UPDATE Incentive_group SET flag1 = 1 WHERE group_id = %1").arg(id));
    }

    void load() {
        db.connection().ensureOpen();
        if (partitionMode) {
            catalogue::CatalogueLoader(db.connection()).loadInto(catalogue);
            accessible = catalogue.partitions();
        }
        for (const bool formula : {true, false}) {
            for (const QString& row : named(formula ? "formula" : "group")) {
                const QStringList column = row.split(QLatin1Char('|')); // id, name, partition
                const auto partition = catalogue.partitions().find(column[2]);
                const QString label = partitionMode ? catalogue::PartitionQualifiedName(
                                                          column[1], partition->PartitionName(), 0)
                                                    : column[1];
                formula ? tree.AddFormula(label, column[0]) : tree.AddGroup(label, column[0]);
                (formula ? payFormulas : groupList).addItem(label, column[0].toInt());
            }
        }
    }

    // The explorer's menu item on a node, as the operator chooses it.
    void choose(const QString& key, const char* item) {
        tree.RightClickNode(key, QPoint());
        tree.lastPopup()->hide();
        tree.findChild<QAction*>(QLatin1String(item))->trigger();
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
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
    QStringList named(const QString& table) {
        return rows(QStringLiteral("SELECT %1_id, %1_name, partition_id FROM Incentive_%1 ORDER BY "
                                   "%1_id")
                        .arg(table));
    }
    // Every entry of a list as "text=id".
    static QStringList texts(const QComboBox& list) {
        QStringList all;
        for (int i = 0; i < list.count(); ++i)
            all << list.itemText(i) + QLatin1Char('=') + list.itemData(i).toString();
        return all;
    }
    QString node(const QString& key) { return tree.hasNode(key) ? tree.node(key).text() : "-"; }
    // The texts of the messages shown since the last call.
    QStringList takeMessages() {
        QStringList all;
        for (const auto& shown : messages.shown)
            all << shown.text;
        messages.shown.clear();
        return all;
    }

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

    test::TestDatabase db;
    bool partitionMode;
    bool fullMode = true;
    test::ScriptedMessages messages;
    test::ScriptedPrompter prompter;
    PartitionPrompter partitionPrompter;
    catalogue::Catalogue catalogue;
    catalogue::CatalogueCollection<catalogue::Partition> accessible;
    QComboBox payFormulas;
    QComboBox groupList;
    explorer::IncentiveExplorer tree;
    formulas::FormulaRecords formulas{environment()};
    formulas::GroupRecords groups{environment()};
};

const QString kGone = "; it may have been deleted from another workstation. It has been removed "
                      "from the list.";

} // namespace

class TestFormulaAndGroupRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // From the explorer's menus. A refused formula name is asked for again; a refused group
    // name ends the creation. Names compare without regard to case or trailing blanks.
    void create_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("stored"); // the new row's name, "" for none
        QTest::addColumn<QString>("message");
        const QString x49(49, u'x');
        const QString exists = "The formula could not be added because a formula with that name "
                               "already exists.";
        auto row = [](const char* name, bool formula, const QStringList& typed,
                      const QString& stored, const QString& message = {}) {
            QTest::newRow(name) << formula << typed << stored << message;
        };
        row("quote stored once", true, {"Ann's Rate"}, "Ann's Rate");
        row("49 characters", true, {x49}, x49);
        row("50 characters, then 49", true, {x49 + "y", x49}, x49,
            "The formula can only contain 50 characters. Please try creating a formula with a "
            "smaller formula name.");
        row("taken in another case, then new", true, {"DEFAULT formula", "Day"}, "Day", exists);
        row("taken with trailing blanks", true, {"Default Formula  "}, "", exists);
        row("group: 50 characters", false, {x49 + "y", x49}, "",
            "The group can only contain 50 characters. Please try creating a group with a "
            "smaller group name.");
        row("group: taken", false, {"DEFAULT GROUP", "Day"}, "",
            "The group could not be added because a group with that name already exists.");
        row("group: 49 characters", false, {x49}, x49);
    }

    void create() {
        QFETCH(bool, formula);
        QFETCH(QStringList, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        Fixture f(false);
        f.load();
        for (const QString& name : typed)
            f.prompter.queueOk(name);

        f.choose(formula ? Keys::FormulasFolder() : Keys::GroupsFolder(),
                 formula ? "mnuCreateFormula" : "mnuCreateGroup");

        const auto& asked = f.prompter.asked.first();
        QCOMPARE(asked.title + '|' + asked.prompt,
                 formula ? "Create New Formula|Enter new formula name:"
                         : "Create Group|Enter new group name:");
        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        const QString table = formula ? "formula" : "group";
        const QString first = formula ? "Default Formula" : "Default Group";
        const QString key = formula ? Keys::Formula("2") : Keys::Group("2");
        QStringList rows{"1|" + first + "|0"}, list{first + "=1"};
        if (!stored.isEmpty()) {
            rows << "2|" + stored + "|0";
            list << stored + "=2";
            QCOMPARE(f.tree.FocusKey(), key);
        }
        QCOMPARE(f.named(table), rows);
        QCOMPARE(Fixture::texts(formula ? f.payFormulas : f.groupList), list);
        QCOMPARE(f.node(key), stored.isEmpty() ? "-" : stored);
        if (formula && !stored.isEmpty())
            QCOMPARE(f.rows("SELECT formula_text FROM Incentive_formula WHERE formula_id = 2"),
                     QStringList{formulas::FormulaRecords::kDefaultText});
    }

    // Names are unique within a partition. A group given a name (a partition's missing default
    // group) is made without a question and without moving the selection.
    void createInAPartition() {
        Fixture f(true);
        f.load();
        f.partitionPrompter.answers = {{2, "Default Formula", 1}, {2, "default formula", 1}};
        f.formulas.CreateFormula();
        f.formulas.CreateFormula();
        QString name = "Base Incentive";
        QCOMPARE(f.groups.CreateNewGroup(name, 2, true), 2);

        QCOMPARE(f.partitionPrompter.asked,
                 QStringList(3, "Create New Formula|Enter new formula name:|3|1"));
        QCOMPARE(f.takeMessages(), QStringList{"The formula could not be added because a formula "
                                               "with that name already exists in the partition "
                                               "North."});
        QCOMPARE(f.tree.FocusKey(), Keys::Formula("2"));
        QCOMPARE(f.named("formula") + f.named("group"),
                 QStringList({"1|Default Formula|0", "2|Default Formula|1", "1|Default Group|0",
                              "2|Base Incentive|2"}));
        QCOMPARE(f.node(Keys::Formula("2")) + ';' + f.node(Keys::Group("2")),
                 "North\\Default Formula;South\\Base Incentive (Default)");
        QCOMPARE(Fixture::texts(f.payFormulas) + Fixture::texts(f.groupList),
                 QStringList({"Base\\Default Formula=1", "North\\Default Formula=2",
                              "Base\\Default Group=1", "South\\Base Incentive (Default)=2"}));
        QCOMPARE(f.catalogue.formulas().find("2")->PartitionID(), 1);
        QVERIFY(f.catalogue.groups().find("2")->IsPartitionDefault());
    }

    // From the explorer's menus. Names compare within the item's partition in partition mode,
    // the item itself not counted, and are stored as typed. North's default group 5 keeps its
    // mark in the node and the list.
    void rename_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // the node's and the list entry's text afterwards
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, bool formula, bool partitions, const char* id,
                      const QString& typed, const QString& shown, const QString& message = {}) {
            QTest::newRow(name) << formula << partitions << id << typed << shown << message;
        };
        row("quote", true, false, "2", "Ann's Rate", "Ann's Rate");
        row("quote, partition", true, true, "2", "Ann's Rate", "North\\Ann's Rate");
        row("blanks around kept", true, false, "2", "  Day Rate  ", "  Day Rate  ");
        row("case of itself", true, false, "2", "DAY RATE", "DAY RATE");
        row("another formula's name", true, false, "2", "night rate", "Day Rate",
            "The formula name you entered already exists. The current formula name will not be "
            "changed.");
        row("another partition's name", true, true, "2", "Night Rate", "North\\Night Rate");
        row("blanks only", true, false, "2", "   ", "Day Rate");
        row("default formula", true, false, "1", "X", "Default Formula",
            "You can not rename the default formula.");
        row("group: quote, default", false, true, "5", "Late's", "North\\Late's (Default)");
        row("group: case of itself", false, true, "6", "DAY", "North\\DAY");
        row("group: another group's name", false, true, "6", "evening", "North\\Day",
            "The group name you entered already exists. The current group name will not be "
            "changed.");
        row("group: another partition's", false, true, "6", "Night", "North\\Night");
        row("default group", false, true, "1", "X", "Base\\Default Group",
            "You can not rename the default group");
    }

    void rename() {
        QFETCH(bool, formula);
        QFETCH(bool, partitions);
        QFETCH(QString, id);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        Fixture f(partitions);
        f.add("formula", 2, "Day Rate", 1);
        f.add("formula", 3, "Night Rate", 2);
        f.add("group", 5, "Evening", 1, 1);
        f.add("group", 6, "Day", 1);
        f.add("group", 7, "Night", 2);
        f.load();
        const QString table = formula ? "formula" : "group";
        const QStringList before = f.named(table);
        f.prompter.queueOk(typed);

        f.choose(formula ? Keys::Formula(id) : Keys::Group(id),
                 formula ? "mnuRenameFormula" : "mnuRenameGroup");

        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.node(formula ? Keys::Formula(id) : Keys::Group(id)), shown);
        const QComboBox& list = formula ? f.payFormulas : f.groupList;
        QCOMPARE(list.itemText(list.findData(id.toInt())), shown);
        const QStringList stored =
            f.rows(QString("SELECT %1_name FROM Incentive_%1 WHERE %1_id = %2").arg(table, id));
        if (shown.contains(typed) && !typed.trimmed().isEmpty())
            QCOMPARE(stored, QStringList{typed});
        else
            QCOMPARE(f.named(table), before);
        if (partitions)
            QCOMPARE(formula ? f.catalogue.formulas().find(id)->FormulaName()
                             : f.catalogue.groups().find(id)->GroupName(),
                     stored.value(0));
        QCOMPARE(f.prompter.asked.size(), id == "1" ? 0 : 1);
    }

    // A formula that a group uses for any one of its results stays, and the message names each
    // such group; so does formula 1 when no group uses it.
    void deleteFormula() {
        Fixture f(true);
        f.add("formula", 2, "Day Rate", 1);
        f.add("formula", 3, "Night's Rate", 1);
        f.add("group", 5, "Evening", 1);
        f.add("group", 6, "Day", 1);
        f.exec("INSERT INTO Incentive_group_formula (group_id, account_id, pay_formula_id) VALUES "
               "(5, 10, 2), (6, -1, 2), (6, 11, 2)");
        f.load();

        f.tree.DeleteFormula("2");
        f.messages.queue(common::MessageAnswer::No);
        f.tree.DeleteFormula("3");
        f.tree.DeleteFormula("3");
        qint16 cancel = 0;
        f.formulas.DeleteFormula("Default Formula", "1", cancel);
        f.exec("DELETE FROM Incentive_group_formula WHERE group_id = 1");
        f.formulas.DeleteFormula("Default Formula", "1", cancel);

        const QString inUse = "You are not able to delete the formula %1 because it is being used "
                              "by the following groups: %2. Please remove the formula from those "
                              "groups, and then try deleting this formula again.";
        const QString sure = "Are you sure you wish to delete the %1 formula?";
        QCOMPARE(
            f.takeMessages(),
            QStringList({sure.arg("North\\Day Rate"), inUse.arg("North\\Day Rate", "Day, Evening"),
                         sure.arg("North\\Night's Rate"), sure.arg("North\\Night's Rate"),
                         sure.arg("Default Formula"), inUse.arg("Default Formula", "Default Group"),
                         sure.arg("Default Formula"), "You can not delete the default formula."}));
        QCOMPARE(cancel, qint16(1));
        QCOMPARE(f.named("formula"), QStringList({"1|Default Formula|0", "2|Day Rate|1"}));
        QCOMPARE(f.node(Keys::Formula("2")) + ';' + f.node(Keys::Formula("3")),
                 "North\\Day Rate;-");
        QVERIFY(!f.catalogue.formulas().contains("3"));
        QCOMPARE(Fixture::texts(f.payFormulas),
                 QStringList({"Base\\Default Formula=1", "North\\Day Rate=2"}));
    }

    // A group that users belong to stays, and the message names them; so does group 1 without
    // users. A group and its formula assignments go together or not at all.
    void deleteGroup() {
        Fixture f(false);
        f.add("group", 5, "Evening");
        f.add("group", 6, "Day");
        f.exec("INSERT INTO Trans_info (trans_id, first_name, last_name, incentive_group_id) "
               "VALUES ('ann', ' Ann ', 'Smith ', 5), ('jo', NULL, 'Jones', 5), "
               "('bo', ' Bo ', 'Adams', 5)");
        f.exec("INSERT INTO Incentive_group_formula (group_id, account_id, pay_formula_id) VALUES "
               "(6, -1, 1), (6, 10, 1), (5, 10, 1)");
        f.load();

        f.tree.DeleteGroup("5");
        f.tree.DeleteGroup("1");
        f.tree.DeleteGroup("6");
        const QString sure = "Are you sure you wish to delete the %1 group?";
        QCOMPARE(f.takeMessages(),
                 QStringList({sure.arg("Evening"),
                              "You are not able to delete the group Evening because it is being "
                              "used by the following users: Bo Adams, Jones, Ann Smith. Please "
                              "remove the group from those users, and then try deleting this "
                              "group again.",
                              sure.arg("Default Group"), "You can not delete the default group.",
                              sure.arg("Day")}));
        QCOMPARE(f.named("group"), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QCOMPARE(f.rows("SELECT group_id, account_id FROM Incentive_group_formula"),
                 QStringList({"1|-1", "5|10"}));
        QCOMPARE(f.node(Keys::Group("6")), "-");
        QCOMPARE(Fixture::texts(f.groupList), QStringList({"Default Group=1", "Evening=5"}));

        f.exec("DELETE FROM Trans_info");
        static_cast<db::SqliteEngine*>(f.db.connection().engine())
            ->executeNative("CREATE TRIGGER refuse BEFORE DELETE ON Incentive_group_formula "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
        f.tree.DeleteGroup("5");
        QCOMPARE(f.takeMessages().last(), "Error: cannot delete group");
        QCOMPARE(f.named("group"), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QCOMPARE(f.node(Keys::Group("5")) + ';' + QString::number(f.groupList.count()),
                 "Evening;2");
    }

    // Another workstation deleted the rows: the handlers say so and take them out of the
    // explorer, the lists and the catalogue. Ids that come back for new rows replace whatever
    // still showed the old ones.
    void rowsDeletedElsewhere() {
        Fixture f(true);
        f.add("formula", 2, "Day Rate", 1);
        f.add("formula", 3, "Night Rate", 1);
        f.add("group", 2, "Evening", 1);
        f.add("group", 3, "Day", 1);
        f.load();
        f.exec("DELETE FROM Incentive_formula WHERE formula_id > 1");
        f.exec("DELETE FROM Incentive_group WHERE group_id > 1");

        f.prompter.queueOk("Late Rate");
        f.choose(Keys::Formula("3"), "mnuRenameFormula");
        f.tree.DeleteGroup("3");
        f.partitionPrompter.answers = {{2, "New Rate", 2}, {2, "New Group", 2}};
        f.formulas.CreateFormula();
        f.groups.CreateGroup();

        QCOMPARE(f.takeMessages(),
                 QStringList({"The formula North\\Night Rate could not be renamed because it no "
                              "longer exists in the database" +
                                  kGone,
                              "Are you sure you wish to delete the North\\Day group?",
                              "The group North\\Day no longer exists in the database" + kGone}));
        QCOMPARE(f.node(Keys::Formula("2")) + ';' + f.node(Keys::Group("2")),
                 "South\\New Rate;South\\New Group");
        QCOMPARE(Fixture::texts(f.payFormulas) + Fixture::texts(f.groupList),
                 QStringList({"Base\\Default Formula=1", "South\\New Rate=2",
                              "Base\\Default Group=1", "South\\New Group=2"}));
        QCOMPARE(f.catalogue.formulas().find("2")->FormulaName(), "New Rate");
        QCOMPARE(f.catalogue.groups().find("2")->GroupName(), "New Group");
    }

    // Operator mode and ids that are not numbers: refused before any question or statement.
    void refusedBeforeAnyStatement() {
        Fixture f(false);
        f.add("formula", 2, "Day Rate");
        f.add("group", 5, "Evening");
        f.load();
        const QStringList before = f.named("formula") + f.named("group");
        f.fullMode = false;
        f.prompter.queueOk("Anything");
        f.formulas.CreateFormula();
        f.groups.CreateGroup();
        QString name;
        bool isDefault = false;
        qint16 cancel[6] = {};
        f.formulas.RenameFormula("2", "Day Rate", name, cancel[0], name);
        f.groups.RenameGroup("5", "Evening", name, cancel[1], isDefault);
        f.formulas.DeleteFormula("Day Rate", "2", cancel[2]);
        f.groups.DeleteGroup("Evening", "5", cancel[3]);
        f.fullMode = true;
        f.formulas.DeleteFormula("Day Rate", "2 OR 1=1", cancel[4]);
        f.groups.RenameGroup("5--", "Evening", name, cancel[5], isDefault);
        QCOMPARE(f.takeMessages(),
                 QStringList(6, "Only a supervisor can create, rename or delete formulas and "
                                "groups. Nothing has been changed.")
                     << "The formula ID \"2 OR 1=1\" is not a number. Nothing has been changed."
                     << "The group ID \"5--\" is not a number. Nothing has been changed.");
        QCOMPARE(QList<qint16>(std::begin(cancel), std::end(cancel)), QList<qint16>(6, 1));
        QCOMPARE(f.prompter.asked.size(), 0);
        QCOMPARE(f.named("formula") + f.named("group"), before);
    }
};

VELORA_TEST(TestFormulaAndGroupRecords)
#include "TestFormulaAndGroupRecords.moc"
