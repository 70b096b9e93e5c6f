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
    // The user, the group and the date; the partitions below the user's are rebuilt at every
    // load, so a partition closed since the last load drops out and the id list does not grow.
    void partitionModeShowsTheUser() {
        test::GroupsFixture f(true);
        populate(f);
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Smith, Ann"), false);

        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.currentUser, f.catalogue.users().find(QStringLiteral("ann")));
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Smith, Ann"));
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("01/08/2024"));
        QCOMPARE(selectedGroup(f), QStringLiteral("North\\Day Shift"));
        QCOMPARE(f.currentUser->AvailablePartitions(), QStringLiteral("1,3"));
        QVERIFY(f.paneShown);
        QCOMPARE(f.busyDepth, 0);
        QVERIFY(!f.db.connection().isOpen());

        f.db.connection().ensureOpen();
        f.db.exec(QStringLiteral("UPDATE System_partitions SET delete_date = '2024-05-01' WHERE "
                                 "partition_id = 3"));
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), true);
        QCOMPARE(f.userPartitions.count(), 1);
        QCOMPARE(f.currentUser->AvailablePartitions(), QStringLiteral("1"));

        // A user without a row leaves the previous user current: the previous user's groups go
        // from the list, so no pick can be saved for the wrong user.
        f.loader.LoadUser(QStringLiteral("ghost"), QStringLiteral("Ghost"), false);
        QCOMPARE(f.groupList().count(), 0);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("1/1/1980"));
        QVERIFY(!f.assignment.UserGroupChanged());
    }

    void clickingTheShownUserAgainDoesNothing() {
        test::GroupsFixture f(false);
        populate(f);
        f.assignment.FillGroupList();
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.pane.lblUserHeaderEffectiveDate()->setText(QStringLiteral("untouched"));
        const auto shownUser = f.currentUser;

        f.loader.LoadUser(QStringLiteral("ANN"), QStringLiteral("Ann"), false);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("untouched"));
        QCOMPARE(f.currentUser, shownUser);
        QCOMPARE(f.busyDepth, 0);

        // Hidden behind another pane, the same user loads again.
        f.paneShown = false;
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("01/08/2024"));
    }

    // Without partitions the list holds every group. A user whose group it lacks, or who has no
    // row, is shown with no group picked, so that leaving the user saves nothing.
    void withoutPartitionsOnlyTheUsersOwnGroupIsPicked() {
        test::GroupsFixture f(false);
        populate(f);
        f.addUser(QStringLiteral("bob"), 0, 20);
        f.addUser(QStringLiteral("cat"), 0, 99);
        f.assignment.FillGroupList();
        f.loader.LoadUser(QStringLiteral("bob"), QStringLiteral("Bob"), false);
        QCOMPARE(selectedGroup(f), QStringLiteral("South Only"));
        QCOMPARE(f.currentUser->GroupID(), 20);
        QVERIFY(f.currentUser != f.catalogue.users().find(QStringLiteral("bob")));

        for (const char* id : {"cat", "ghost"}) {
            f.loader.LoadUser(QLatin1String(id), QStringLiteral("Other"), false);
            QCOMPARE(f.groupList().currentIndex(), -1);
            QCOMPARE(f.currentUser->GroupID(), -1);
            QVERIFY(!f.assignment.UserGroupChanged());
        }
        // No row: the date 1/1/1980, and the name of the user shown before stays.
        QCOMPARE(f.pane.lblUserHeaderEffectiveDate()->text(), QStringLiteral("1/1/1980"));
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Other"));
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

    // South has no default group while North's is already called "Base Incentive": names are
    // unique per partition, so South gets a "Base Incentive" of its own and the user joins it.
    void eachPartitionGetsItsOwnBaseIncentive() {
        test::GroupsFixture f(true);
        populate(f);
        f.addGroup(12, QStringLiteral("Base Incentive"), 1);
        f.addUser(QStringLiteral("dan"), 2, 99);
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.prompter.queueOk(QStringLiteral("04/01/2024"));

        f.loader.LoadUser(QStringLiteral("dan"), QStringLiteral("Dan"), false);

        f.db.connection().ensureOpen();
        const QString made = f.db.scalar(QStringLiteral(
            "SELECT group_id FROM Incentive_group WHERE group_name = 'Base Incentive' AND "
            "partition_id = 2 AND flag1 = 1"));
        QVERIFY(!made.isEmpty());
        const auto group = f.catalogue.groups().find(made);
        QVERIFY(group && group->IsPartitionDefault());
        QCOMPARE(group->EffectiveDate(), test::GroupsFixture::today());
        QCOMPARE(f.currentUser->GroupID(), made.toInt());
        QCOMPARE(f.listTexts(),
                 QStringList({"South\\South Only", "South\\Base Incentive (Default)"}));
        QCOMPARE(selectedGroup(f), QStringLiteral("South\\Base Incentive (Default)"));
        QVERIFY(f.prompter.asked[0].prompt.contains(
            QLatin1String("'South\\Base Incentive (Default)' Group")));
        QCOMPARE(f.membership(QStringLiteral("dan")), made + QStringLiteral("@2024-04-01"));
    }

    // South has a group called "Base Incentive" that is not its default: none can be made. The
    // operator is told why, the user stays where the user was, the header picks no group (never
    // the group of the user shown before), and leaving the user writes nothing.
    void userStaysWhenNoDefaultGroupCanBeMade() {
        test::GroupsFixture f(true);
        populate(f);
        f.addGroup(21, QStringLiteral("Base Incentive"), 2);
        f.addUser(QStringLiteral("dan"), 2, 99);
        f.addDay(QStringLiteral("dan"), 100, QStringLiteral("2024-03-01"), false);
        f.loader.LoadUser(QStringLiteral("ann"), QStringLiteral("Ann"), false);
        f.prompter.queueOk(QStringLiteral("04/01/2024"));

        f.loader.LoadUser(QStringLiteral("dan"), QStringLiteral("Dan"), false);
        bool force = false;
        f.assignment.SaveUserGroup(force);

        QStringList texts;
        for (const auto& message : std::as_const(f.messages.shown))
            texts << message.text;
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts[0].startsWith(kWarningStart));
        QCOMPARE(texts[1], QStringLiteral("The group could not be added because a group with that "
                                          "name already exists in the partition South."));
        QCOMPARE(texts[2], QStringLiteral("User with TransID 'dan' has not been moved: no default "
                                          "group could be made for the partition 'South'. The "
                                          "user stays in the group that is no longer valid until "
                                          "another group is chosen in the list."));
        QVERIFY(f.prompter.asked.isEmpty());
        QCOMPARE(f.currentUser->GroupID(), 99);
        QCOMPARE(f.listTexts(), QStringList({"South\\South Only", "South\\Base Incentive"}));
        QCOMPARE(f.groupList().currentIndex(), -1);
        QCOMPARE(f.pane.lblUserHeaderUserName()->text(), QStringLiteral("Dan"));
        QVERIFY(f.paneShown);
        QVERIFY(!f.db.connection().isOpen());
        QCOMPARE(f.membership(QStringLiteral("dan")), QStringLiteral("99@2024-01-01"));
        QVERIFY(f.lockedDays(QStringLiteral("dan")).isEmpty());
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
};

VELORA_TEST(TestUserHeaderLoader)
#include "TestUserHeaderLoader.moc"
