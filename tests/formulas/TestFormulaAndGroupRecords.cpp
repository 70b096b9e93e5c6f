#include "RecordsFixture.h"
#include "common/TestMain.h"
#include "db/SqliteEngine.h"

#include <QTest>

using namespace velora;
using test::Keys;
using test::RecordsFixture;

namespace {

const QString kFormulaTooLong = "The formula can only contain 50 characters. Please try creating "
                                "a formula with a smaller formula name.";
const QString kFormulaExists =
    "The formula could not be added because a formula with that name already exists.";
const QString kGone = "; it may have been deleted from another workstation. It has been removed "
                      "from the list.";

} // namespace

class TestFormulaAndGroupRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A refused formula name is asked for again; a refused group name ends the creation.
    void create_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("stored"); // the new row's name, "" for none
        QTest::addColumn<QStringList>("messages");
        const QString x49(49, u'x');
        auto row = [](const char* name, bool formula, const QStringList& typed,
                      const QString& stored, const QStringList& messages = {}) {
            QTest::newRow(name) << formula << typed << stored << messages;
        };
        row("quote stored once", true, {"Ann's Rate"}, "Ann's Rate");
        row("49 characters", true, {x49}, x49);
        row("50 characters, then 49", true, {x49 + "y", x49}, x49, {kFormulaTooLong});
        row("taken in another case, then new", true, {"DEFAULT formula", "Day"}, "Day",
            {kFormulaExists});
        row("taken with trailing blanks", true, {"Default Formula  "}, "", {kFormulaExists});
        row("group: 50 characters, not asked again", false, {x49 + "y", x49}, "",
            {"The group can only contain 50 characters. Please try creating a group with a "
             "smaller group name."});
        row("group: taken, not asked again", false, {"DEFAULT GROUP", "Day"}, "",
            {"The group could not be added because a group with that name already exists."});
    }

    void create() {
        QFETCH(bool, formula);
        QFETCH(QStringList, typed);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        RecordsFixture f(false);
        f.load();
        for (const QString& name : typed)
            f.prompter.queueOk(name);

        f.choose(formula ? Keys::FormulasFolder() : Keys::GroupsFolder(),
                 formula ? "mnuCreateFormula" : "mnuCreateGroup");

        QCOMPARE(f.prompter.asked.first().title, formula ? "Create New Formula" : "Create Group");
        QCOMPARE(f.prompter.asked.first().prompt,
                 formula ? "Enter new formula name:" : "Enter new group name:");
        QCOMPARE(f.takeMessages(), messages);
        const QString first = formula ? "Default Formula" : "Default Group";
        QStringList rows{"1|" + first + "|0"};
        QStringList list{first + "=1"};
        if (!stored.isEmpty()) {
            rows << "2|" + stored + "|0";
            list << stored + "=2";
            const QString key = formula ? Keys::Formula("2") : Keys::Group("2");
            QCOMPARE(f.nodeText(key), stored);
            QCOMPARE(f.tree.FocusKey(), key);
        }
        QCOMPARE(f.named(formula), rows);
        QCOMPARE(RecordsFixture::texts(formula ? f.payFormulas : f.groupList), list);
        if (formula && !stored.isEmpty())
            QCOMPARE(f.scalar("SELECT formula_text FROM Incentive_formula WHERE formula_id = 2"),
                     formulas::FormulaRecords::kDefaultText);
    }

    // Names are unique within a partition; new items are labelled with theirs. A group given a
    // name (a partition's missing default group) is made without a question or a selection.
    void createInAPartition() {
        RecordsFixture f(true);
        f.load();
        f.partitionPrompter.queueOk("Default Formula", 1);
        f.partitionPrompter.queueOk("default formula", 1);
        f.formulas.CreateFormula();
        f.formulas.CreateFormula();
        f.partitionPrompter.queueOk("Default Group", 1);
        f.groups.CreateGroup();
        QString name = "Base Incentive";
        QCOMPARE(f.groups.CreateNewGroup(name, 2, true), 3);

        QCOMPARE(f.partitionPrompter.asked,
                 QStringList({"Create New Formula|Enter new formula name:|3|1",
                              "Create New Formula|Enter new formula name:|3|1",
                              "Create New Formula|Enter new formula name:|3|1",
                              "Create New Group|Enter new Group name:|3|1"}));
        QCOMPARE(f.takeMessages(), QStringList{"The formula could not be added because a formula "
                                               "with that name already exists in the partition "
                                               "North."});
        QCOMPARE(f.tree.FocusKey(), Keys::Group("2"));
        QCOMPARE(f.named(true), QStringList({"1|Default Formula|0", "2|Default Formula|1"}));
        QCOMPARE(
            f.rows("SELECT group_id, group_name, partition_id, flag1 FROM Incentive_group"),
            QStringList({"1|Default Group|0|1", "2|Default Group|1|0", "3|Base Incentive|2|1"}));
        QCOMPARE(f.nodeText(Keys::Formula("2")), "North\\Default Formula");
        QCOMPARE(f.nodeText(Keys::Group("3")), "South\\Base Incentive (Default)");
        QCOMPARE(RecordsFixture::texts(f.payFormulas),
                 QStringList({"Base\\Default Formula=1", "North\\Default Formula=2"}));
        QCOMPARE(RecordsFixture::texts(f.groupList),
                 QStringList({"Base\\Default Group=1", "North\\Default Group=2",
                              "South\\Base Incentive (Default)=3"}));
        QCOMPARE(f.catalogue.formulas().find("2")->PartitionID(), 1);
        QVERIFY(f.catalogue.groups().find("3")->IsPartitionDefault());
    }

    // Through the explorer's menus. Names compare without regard to case or trailing blanks,
    // within the item's partition in partition mode, the item itself not counted, and are
    // stored as typed. North's default group 5 keeps its mark.
    void rename_data() {
        QTest::addColumn<bool>("formula");
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("node"); // the node's and the list entry's text afterwards
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, bool formula, bool partitions, const char* id,
                      const QString& typed, const QString& node, const QString& message = {}) {
            QTest::newRow(name) << formula << partitions << id << typed << node << message;
        };
        const QString formulaTaken = "The formula name you entered already exists. The current "
                                     "formula name will not be changed.";
        row("quote", true, false, "2", "Ann's Rate", "Ann's Rate");
        row("quote, partition", true, true, "2", "Ann's Rate", "North\\Ann's Rate");
        row("blanks around kept", true, false, "2", "  Day Rate  ", "  Day Rate  ");
        row("case of itself", true, false, "2", "DAY RATE", "DAY RATE");
        row("another formula's name", true, false, "2", "night rate", "Day Rate", formulaTaken);
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
        QFETCH(QString, node);
        QFETCH(QString, message);
        RecordsFixture f(partitions);
        f.add(true, 2, "Day Rate", 1);
        f.add(true, 3, "Night Rate", 2);
        f.add(false, 5, "Evening", 1, true);
        f.add(false, 6, "Day", 1);
        f.add(false, 7, "Night", 2);
        f.load();
        const QStringList before = f.named(formula);
        f.prompter.queueOk(typed);

        f.choose(formula ? Keys::Formula(id) : Keys::Group(id),
                 formula ? "mnuRenameFormula" : "mnuRenameGroup");

        QCOMPARE(f.takeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.nodeText(formula ? Keys::Formula(id) : Keys::Group(id)), node);
        const QComboBox& list = formula ? f.payFormulas : f.groupList;
        QCOMPARE(list.itemText(list.findData(id.toInt())), node);
        const bool renamed = node.contains(typed) && !typed.trimmed().isEmpty();
        const QString table = formula ? "formula" : "group";
        const QString stored =
            f.scalar(QString("SELECT %1_name FROM Incentive_%1 WHERE %1_id = %2").arg(table, id));
        QCOMPARE(stored == typed, renamed);
        if (!renamed)
            QCOMPARE(f.named(formula), before);
        if (partitions)
            QCOMPARE(formula ? f.catalogue.formulas().find(id)->FormulaName()
                             : f.catalogue.groups().find(id)->GroupName(),
                     stored);
        QCOMPARE(f.prompter.asked.size(), id == "1" ? 0 : 1);
    }

    // A formula that a group uses for any of its results stays, and the message names each such
    // group; so does formula 1 when no group uses it.
    void deleteFormula() {
        RecordsFixture f(true);
        f.add(true, 2, "Day Rate", 1);
        f.add(true, 3, "Night's Rate", 1);
        f.add(false, 5, "Evening", 1);
        f.add(false, 6, "Day", 1);
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
        const QString question = "Are you sure you wish to delete the %1 formula?";
        QCOMPARE(
            f.takeMessages(),
            QStringList(
                {question.arg("North\\Day Rate"), inUse.arg("North\\Day Rate", "Day, Evening"),
                 question.arg("North\\Night's Rate"), question.arg("North\\Night's Rate"),
                 question.arg("Default Formula"), inUse.arg("Default Formula", "Default Group"),
                 question.arg("Default Formula"), "You can not delete the default formula."}));
        QCOMPARE(cancel, qint16(1));
        QCOMPARE(f.named(true), QStringList({"1|Default Formula|0", "2|Day Rate|1"}));
        QVERIFY(f.tree.hasNode(Keys::Formula("2")));
        QVERIFY(!f.tree.hasNode(Keys::Formula("3")));
        QVERIFY(!f.catalogue.formulas().contains("3"));
        QCOMPARE(RecordsFixture::texts(f.payFormulas),
                 QStringList({"Base\\Default Formula=1", "North\\Day Rate=2"}));
    }

    // A group that users belong to stays, and the message names them; group 1 stays without
    // users. A group and its formula assignments go together or not at all.
    void deleteGroup() {
        RecordsFixture f(false);
        f.add(false, 5, "Evening");
        f.add(false, 6, "Day");
        f.exec("INSERT INTO Trans_info (trans_id, first_name, last_name, incentive_group_id) "
               "VALUES ('ann', ' Ann ', 'Smith ', 5), ('jo', NULL, 'Jones', 5), "
               "('bo', ' Bo ', 'Adams', 5)");
        f.exec("INSERT INTO Incentive_group_formula (group_id, account_id, pay_formula_id) VALUES "
               "(6, -1, 1), (6, 10, 1), (5, 10, 1)");
        f.load();

        f.tree.DeleteGroup("5");
        f.tree.DeleteGroup("1");
        f.tree.DeleteGroup("6");
        const QString question = "Are you sure you wish to delete the %1 group?";
        QCOMPARE(f.takeMessages(),
                 QStringList({question.arg("Evening"),
                              "You are not able to delete the group Evening because it is being "
                              "used by the following users: Bo Adams, Jones, Ann Smith. Please "
                              "remove the group from those users, and then try deleting this "
                              "group again.",
                              question.arg("Default Group"),
                              "You can not delete the default group.", question.arg("Day")}));
        QCOMPARE(f.named(false), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QCOMPARE(f.rows("SELECT group_id, account_id FROM Incentive_group_formula"),
                 QStringList({"1|-1", "5|10"}));
        QVERIFY(!f.tree.hasNode(Keys::Group("6")));
        QCOMPARE(RecordsFixture::texts(f.groupList), QStringList({"Default Group=1", "Evening=5"}));

        f.exec("DELETE FROM Trans_info");
        static_cast<db::SqliteEngine*>(f.db.connection().engine())
            ->executeNative("CREATE TRIGGER refuse BEFORE DELETE ON Incentive_group_formula "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
        f.tree.DeleteGroup("5");
        QCOMPARE(f.takeMessages().last(), "Error: cannot delete group");
        QCOMPARE(f.named(false), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QVERIFY(f.tree.hasNode(Keys::Group("5")));
        QCOMPARE(f.groupList.count(), 2);
    }

    // Another workstation deleted the rows: the handlers say so and take them out of the
    // explorer, the lists and the catalogue. Ids that come back for new rows replace whatever
    // still showed the old ones.
    void rowsDeletedElsewhere() {
        RecordsFixture f(true);
        f.add(true, 2, "Day Rate", 1);
        f.add(true, 3, "Night Rate", 1);
        f.add(false, 2, "Evening", 1);
        f.add(false, 3, "Day", 1);
        f.load();
        f.exec("DELETE FROM Incentive_formula WHERE formula_id > 1");
        f.exec("DELETE FROM Incentive_group WHERE group_id > 1");

        f.prompter.queueOk("Late Rate");
        f.choose(Keys::Formula("2"), "mnuRenameFormula");
        f.tree.DeleteGroup("2");
        f.partitionPrompter.queueOk("New Rate", 2);
        f.partitionPrompter.queueOk("New Group", 2);
        f.formulas.CreateFormula();
        f.groups.CreateGroup();

        QCOMPARE(
            f.takeMessages(),
            QStringList({"The formula North\\Day Rate could not be renamed because it no "
                         "longer exists in the database" +
                             kGone,
                         "Are you sure you wish to delete the North\\Evening group?",
                         "The group North\\Evening no longer exists in the database" + kGone}));
        QCOMPARE(f.nodeText(Keys::Formula("2")), "South\\New Rate");
        QCOMPARE(f.nodeText(Keys::Group("2")), "South\\New Group");
        QCOMPARE(
            RecordsFixture::texts(f.payFormulas),
            QStringList({"Base\\Default Formula=1", "North\\Night Rate=3", "South\\New Rate=2"}));
        QCOMPARE(RecordsFixture::texts(f.groupList),
                 QStringList({"Base\\Default Group=1", "North\\Day=3", "South\\New Group=2"}));
        QCOMPARE(f.catalogue.formulas().find("2")->FormulaName(), "New Rate");
        QCOMPARE(f.catalogue.groups().find("2")->GroupName(), "New Group");
    }

    // Operator mode and ids that are not numbers: refused before any question or statement.
    void refusedBeforeAnyStatement() {
        RecordsFixture f(false);
        f.add(true, 2, "Day Rate");
        f.add(false, 5, "Evening");
        f.load();
        const QStringList before = f.named(true) + f.named(false);
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
        QCOMPARE(f.takeMessages(),
                 QStringList(6, "Only a supervisor can create, rename or delete "
                                "formulas and groups. Nothing has been changed."));
        f.fullMode = true;
        f.formulas.DeleteFormula("Day Rate", "2 OR 1=1", cancel[4]);
        f.groups.RenameGroup("5--", "Evening", name, cancel[5], isDefault);
        QCOMPARE(f.takeMessages(),
                 QStringList({"The formula ID \"2 OR 1=1\" is not a number. Nothing has been "
                              "changed.",
                              "The group ID \"5--\" is not a number. Nothing has been changed."}));
        for (const qint16 flag : cancel)
            QCOMPARE(flag, qint16(1));
        QCOMPARE(f.prompter.asked.size(), 0);
        QCOMPARE(f.named(true) + f.named(false), before);
    }
};

VELORA_TEST(TestFormulaAndGroupRecords)
#include "TestFormulaAndGroupRecords.moc"
