#include "GroupsFixture.h"
#include "common/TestMain.h"

#include <QLabel>
#include <QTest>

using namespace velora;

namespace {

const QString kWarningStart =
    QStringLiteral("Warning. The selected user is assigned to a group that is no longer valid. ");

// North (1) with its child North East (3), and South (2), which has no default group.
void populate(test::GroupsFixture& f) {
    f.addPartition(1, QStringLiteral("North"));
    f.addPartition(2, QStringLiteral("South"));
    f.addPartition(3, QStringLiteral("North East"), 1);
    f.addGroup(11, QStringLiteral("Day Shift"), 1);
    f.addGroup(10, QStringLiteral("North Default"), 1, true);
    f.addGroup(20, QStringLiteral("South Only"), 2);
    f.addUser(QStringLiteral("ann"), 1, 11, QStringLiteral("2024-01-08"));
}

QString selectedGroup(const test::GroupsFixture& f) {
    return f.groupList().currentText();
}

} // namespace

class TestUserHeaderLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partitionModeShowsTheUser() {
        test::GroupsFixture f(true);
        populate(f);
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Smith, Ann"), false);

        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.currentUser, f.catalogue.users().find(QStringLiteral("ann")));
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Smith, Ann"));
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("01/08/2024"));
        QCOMPARE(selectedGroup(f), QStringLiteral("North\\Day Shift"));
        QCOMPARE(f.userPartitions.count(), 2);
        QVERIFY(f.userPartitions.contains(QStringLiteral("3")));
        QCOMPARE(f.currentUser->AvailablePartitions(), QStringLiteral("1,3"));
        QVERIFY(f.paneShown);
        QCOMPARE(f.busyDepth, 0);
        QVERIFY(!f.db.connection().isOpen());
    }

    // The accessible partitions follow the tree at every load, and the list of ids does not grow.
    void partitionsRebuiltAtEveryLoad() {
        test::GroupsFixture f(true);
        populate(f);
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.db.connection().ensureOpen();
        f.db.exec(QStringLiteral("UPDATE System_partitions SET delete_date = '2024-05-01' WHERE "
                                 "partition_id = 3"));
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), true);
        QCOMPARE(f.userPartitions.count(), 1);
        QCOMPARE(f.currentUser->AvailablePartitions(), QStringLiteral("1"));
    }

    void clickingTheShownUserAgainDoesNothing() {
        test::GroupsFixture f(false);
        populate(f);
        f.assignment.FillGroupList();
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.pane.lblUserHeaderEffectiveDate()->setText(QStringLiteral("untouched"));
        const auto shownUser = f.currentUser;

        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("untouched"));
        QCOMPARE(f.currentUser, shownUser);
        QCOMPARE(f.busyDepth, 0);

        // Hidden behind another pane, the same user loads again.
        f.paneShown = false;
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("01/08/2024"));
    }

    void withoutPartitionsSelectsTheStoredGroup() {
        test::GroupsFixture f(false);
        populate(f);
        f.addUser(QStringLiteral("bob"), 0, 20);
        f.assignment.FillGroupList();
        f.loader.LoadUser(QStringLiteral("bob"), QStringLiteral("Bob"), false);
        QCOMPARE(selectedGroup(f), QStringLiteral("South Only"));
        QCOMPARE(f.currentUser->TransID(), QStringLiteral("bob"));
        QCOMPARE(f.currentUser->GroupID(), 20);
        QVERIFY(f.currentUser != f.catalogue.users().find(QStringLiteral("bob")));
    }

    // No Trans_info row: the date 1/1/1980, the previous user's name stays.
    void userWithoutRow() {
        test::GroupsFixture f(false);
        populate(f);
        f.assignment.FillGroupList();
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.loader.LoadUser(QStringLiteral("ghost"), QStringLiteral("Ghost"), false);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("1/1/1980"));
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Ann"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void invalidGroupMovesToTheDefault_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("named");
        QTest::newRow("deleted group") << 99 << QStringLiteral("(UNKNOWN)\\UNKNOWN");
        QTest::newRow("group out of reach") << 20 << QStringLiteral("South\\South Only");
    }

    // The warning names the group; the user is moved to the partition's default group and the
    // move is saved at once with the date the operator gives.
    void invalidGroupMovesToTheDefault() {
        QFETCH(int, group);
        QFETCH(QString, named);
        test::GroupsFixture f(true);
        populate(f);
        f.addUser(QStringLiteral("cat"), 1, group);
        f.prompter.queueOk(QStringLiteral("04/01/2024"));

        f.loader.LoadUser(QStringLiteral("cat"), QStringLiteral("Cat"), false);

        QVERIFY(!f.db.connection().isOpen());
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text,
                 kWarningStart +
                     QStringLiteral("User with TransID 'cat' cannot access the Incentive group '") +
                     named +
                     QStringLiteral("' because it has been removed or is inaccessible due to "
                                    "partition restrictions. Press OK to assign this user to the "
                                    "default group for their partition."));
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::Warning);
        QCOMPARE(f.messages.shown[0].buttons, common::MessageButtons::Ok);
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY(f.prompter.asked[0].prompt.contains(
            QLatin1String("'North\\North Default (Default)' Group")));
        QCOMPARE(f.membership(QStringLiteral("cat")), QStringLiteral("10@2024-04-01"));
        QCOMPARE(f.currentUser->GroupID(), 10);
        QCOMPARE(selectedGroup(f), QStringLiteral("North\\North Default (Default)"));
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Cat"));
        QVERIFY(f.paneShown);
        QCOMPARE(f.busyDepth, 0);
    }

    // South has no default group: "Base Incentive" is made as its default and the user joins it.
    void missingDefaultGroupIsCreated() {
        test::GroupsFixture f(true);
        populate(f);
        f.addUser(QStringLiteral("dan"), 2, 99);
        f.prompter.queueOk(QStringLiteral("04/01/2024"));

        f.loader.LoadUser(QStringLiteral("dan"), QStringLiteral("Dan"), false);

        f.db.connection().ensureOpen();
        const QString made = f.db.scalar(QStringLiteral(
            "SELECT group_id FROM Incentive_group WHERE group_name = 'Base Incentive' AND "
            "partition_id = 2 AND flag1 = 1"));
        QVERIFY(!made.isEmpty());
        const auto group = f.catalogue.groups().find(made);
        QVERIFY(group);
        QVERIFY(group->IsPartitionDefault());
        QCOMPARE(group->PartitionID(), 2);
        QCOMPARE(group->EffectiveDate(), test::GroupsFixture::today());
        QCOMPARE(f.currentUser->GroupID(), made.toInt());
        QCOMPARE(f.listTexts(),
                 QStringList({"South\\South Only", "South\\Base Incentive (Default)"}));
        QVERIFY(f.prompter.asked[0].prompt.contains(
            QLatin1String("'South\\Base Incentive (Default)' Group")));
        QCOMPARE(f.membership(QStringLiteral("dan")), made + QStringLiteral("@2024-04-01"));
    }

    // The user's own partition is out of the catalogue: no default group can be reached, and
    // the load must end rather than move the user again and again.
    void unreachablePartitionDoesNotLoop() {
        test::GroupsFixture f(true);
        populate(f);
        f.db.exec(QStringLiteral("INSERT INTO System_partitions (partition_id, parent_id, "
                                 "partition_name) VALUES (7, 0, 'Late')"));
        f.addGroup(70, QStringLiteral("Late Default"), 7, true);
        f.addUser(QStringLiteral("eve"), 7, 99);
        f.prompter.queue(groups::UnloadCode::Cancel);

        f.loader.LoadUser(QStringLiteral("eve"), QStringLiteral("Eve"), false);

        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(f.messages.shown[0].text.startsWith(kWarningStart));
        QCOMPARE(f.messages.shown[1].text,
                 QStringLiteral("The group user information has not been changed."));
        QCOMPARE(f.currentUser->GroupID(), 70);
    }

    void userMissingFromTheCatalogueFails() {
        test::GroupsFixture f(true);
        populate(f);
        f.db.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, incentive_group_id) "
                                 "VALUES ('new', 1, 11)"));
        f.loader.LoadUser(QStringLiteral("new"), QStringLiteral("New"), false);
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("Error: cannot load user data"));
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::Critical);
        QVERIFY(!f.paneShown);
        QCOMPARE(f.busyDepth, 0);
        QVERIFY(!f.db.connection().isOpen());
    }

    void statementTexts() {
        QCOMPARE(detail::UserHeaderLoader::partitionModeStatement(QStringLiteral("o'neil")),
                 QStringLiteral("SELECT Trans_info.incentive_group_id, "
                                "Trans_info.incentive_effective_date, Trans_info.extra3 as "
                                "trans_partition, Incentive_group.partition_id as group_partition "
                                "FROM Trans_info LEFT OUTER JOIN Incentive_group ON "
                                "Trans_info.incentive_group_id = Incentive_group.group_id WHERE "
                                "Trans_info.trans_id = 'o''neil'"));
        QCOMPARE(detail::UserHeaderLoader::statement(QStringLiteral("o'neil")),
                 QStringLiteral("SELECT incentive_group_id, incentive_effective_date FROM "
                                "Trans_info WHERE trans_id = 'o''neil'"));
    }
};

VELORA_TEST(TestUserHeaderLoader)
#include "TestUserHeaderLoader.moc"
