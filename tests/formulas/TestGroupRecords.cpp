#include "RecordsFixture.h"
#include "common/TestMain.h"
#include "db/SqliteEngine.h"

#include <QTest>

using namespace velora;
using test::Keys;
using test::RecordsFixture;

class TestGroupRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A refused name (too long, taken) ends the creation without asking again.
    void createGroup_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // "" when the group is made
        QTest::newRow("quote stored once") << "Night's Shift"
                                           << "";
        QTest::newRow("49 characters") << QString(49, u'g') << "";
        QTest::newRow("50 characters")
            << QString(50, u'g')
            << "The group can only contain 50 characters. Please try creating a group with a "
               "smaller group name.";
        QTest::newRow("taken in another case")
            << "DEFAULT GROUP"
            << "The group could not be added because a group with that name already exists.";
    }

    void createGroup() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        RecordsFixture f(false);
        f.prompter.queueOk(typed);
        f.prompter.queueOk("Asked Again");

        f.choose(Keys::GroupsFolder(), "mnuCreateGroup");

        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked.first().title, QStringLiteral("Create Group"));
        QCOMPARE(f.prompter.asked.first().prompt, QStringLiteral("Enter new group name:"));
        if (!message.isEmpty()) {
            QCOMPARE(f.takeMessages(), QStringList{message});
            QCOMPARE(f.groupRows(), QStringList{"1|Default Group|0"});
            return;
        }
        QCOMPARE(f.takeMessages(), QStringList());
        QCOMPARE(f.groupRows(), QStringList({"1|Default Group|0", "2|" + typed + "|0"}));
        QCOMPARE(f.nodeText(Keys::Group("2")), typed);
        QCOMPARE(f.tree.FocusKey(), Keys::Group("2"));
        QCOMPARE(RecordsFixture::texts(f.groupList),
                 QStringList({"Default Group=1", typed + "=2"}));
    }

    // Asked: the partition dialog, the operator's partition preselected, the node selected.
    // Given (a partition without a default group): no question, the selection stays.
    void createGroupInAPartition() {
        RecordsFixture f(true);
        f.partitionPrompter.queueOk("Default Group", 1);
        f.groups.CreateGroup();
        QCOMPARE(f.partitionPrompter.asked,
                 QStringList{"Create New Group|Enter new Group name:|3|1"});
        QCOMPARE(f.tree.FocusKey(), Keys::Group("2"));

        QString name = "Base Incentive";
        QCOMPARE(f.groups.CreateNewGroup(name, 2, true), 3);
        QCOMPARE(f.partitionPrompter.asked.size(), 1);
        QCOMPARE(f.tree.FocusKey(), Keys::Group("2"));

        QCOMPARE(f.takeMessages(), QStringList());
        QCOMPARE(
            f.rows("SELECT group_id, group_name, partition_id, flag1 FROM Incentive_group "
                   "ORDER BY group_id"),
            QStringList({"1|Default Group|0|1", "2|Default Group|1|0", "3|Base Incentive|2|1"}));
        QCOMPARE(f.nodeText(Keys::Group("2")), QStringLiteral("North\\Default Group"));
        QCOMPARE(RecordsFixture::texts(f.groupList),
                 QStringList({"Base\\Default Group=1", "North\\Default Group=2",
                              "South\\Base Incentive (Default)=3"}));
        QVERIFY(f.catalogue.groups().find("3")->IsPartitionDefault());
    }

    // Through the explorer's menu. Only an empty name cancels; a partition's default group
    // keeps its mark in the node and in the list.
    void renameGroup_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("quote, default of its partition")
            << "5"
            << "Late's"
            << "North\\Late's (Default)"
            << "North\\Late's (Default)" << QStringList();
        QTest::newRow("case of itself") << "6"
                                        << "DAY"
                                        << "North\\DAY"
                                        << "North\\DAY" << QStringList();
        QTest::newRow("another group's name")
            << "6"
            << "evening"
            << "North\\Day"
            << "North\\Day"
            << QStringList{"The group name you entered already exists. The current group name "
                           "will not be changed."};
        QTest::newRow("another partition's name") << "6"
                                                  << "Night"
                                                  << "North\\Night"
                                                  << "North\\Night" << QStringList();
        QTest::newRow("default group")
            << "1"
            << "Anything"
            << "Base\\Default Group"
            << "Base\\Default Group" << QStringList{"You can not rename the default group"};
    }

    void renameGroup() {
        QFETCH(QString, id);
        QFETCH(QString, typed);
        QFETCH(QString, node);
        QFETCH(QString, listed);
        QFETCH(QStringList, messages);
        RecordsFixture f(true);
        f.addGroup(5, "Evening", 1, true);
        f.addGroup(6, "Day", 1);
        f.addGroup(7, "Night", 2);
        f.prompter.queueOk(typed);

        f.choose(Keys::Group(id), "mnuRenameGroup");

        QCOMPARE(f.takeMessages(), messages);
        QCOMPARE(f.nodeText(Keys::Group(id)), node);
        QCOMPARE(f.groupList.itemText(f.groupList.findData(id.toInt())), listed);
        const QString stored =
            f.scalar("SELECT group_name FROM Incentive_group WHERE group_id = " + id);
        QCOMPARE(f.catalogue.groups().find(id)->GroupName(), stored);
        QCOMPARE(stored == typed, messages.isEmpty());
        if (id == "1")
            QVERIFY(f.prompter.asked.isEmpty());
        else
            QCOMPARE(f.prompter.asked.first().title, QStringLiteral("Velora Incentive"));
    }

    // A group that users belong to stays, and the message lists them; group 1 stays even
    // without users. A deleted group takes its formula assignments with it.
    void deleteGroup() {
        RecordsFixture f(false);
        f.addGroup(5, "Evening");
        f.addGroup(6, "Day");
        f.exec("INSERT INTO Trans_info (trans_id, first_name, last_name, incentive_group_id) "
               "VALUES ('ann', ' Ann ', 'Smith ', 5), ('jo', NULL, 'Jones', 5), "
               "('bo', ' Bo ', 'Adams', 5)");
        f.exec("INSERT INTO Incentive_group_formula (group_id, account_id, pay_formula_id) VALUES "
               "(6, -1, 1), (6, 10, 1), (5, 10, 1)");

        f.tree.DeleteGroup("5");
        f.tree.DeleteGroup("1");
        f.tree.DeleteGroup("6");
        QCOMPARE(f.takeMessages(),
                 QStringList(
                     {"Are you sure you wish to delete the Evening group?",
                      "You are not able to delete the group Evening because it is being "
                      "used by the following users: Bo Adams, Jones, Ann Smith. Please remove the "
                      "group from those users, and then try deleting this group again.",
                      "Are you sure you wish to delete the Default Group group?",
                      "You can not delete the default group.",
                      "Are you sure you wish to delete the Day group?"}));
        QCOMPARE(f.groupRows(), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QCOMPARE(f.rows("SELECT group_id, account_id FROM Incentive_group_formula ORDER BY "
                        "group_id, account_id"),
                 QStringList({"1|-1", "5|10"}));
        QVERIFY(f.tree.hasNode(Keys::Group("5")));
        QVERIFY(f.tree.hasNode(Keys::Group("1")));
        QVERIFY(!f.tree.hasNode(Keys::Group("6")));
        QCOMPARE(RecordsFixture::texts(f.groupList), QStringList({"Default Group=1", "Evening=5"}));

        // The group and its assignments go together or not at all.
        f.exec("DELETE FROM Trans_info");
        f.db.connection().ensureOpen();
        static_cast<db::SqliteEngine*>(f.db.connection().engine())
            ->executeNative("CREATE TRIGGER refuse BEFORE DELETE ON Incentive_group_formula "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
        f.tree.DeleteGroup("5");
        QCOMPARE(f.takeMessages().last(), QStringLiteral("Error: cannot delete group"));
        QCOMPARE(f.groupRows(), QStringList({"1|Default Group|0", "5|Evening|0"}));
        QVERIFY(f.tree.hasNode(Keys::Group("5")));
        QCOMPARE(f.groupList.count(), 2);
    }
};

VELORA_TEST(TestGroupRecords)
#include "TestGroupRecords.moc"
