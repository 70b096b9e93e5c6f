#include "GroupsFixture.h"
#include "common/TestMain.h"
#include "groups/FindListIndexByItemData.h"

#include <QTest>

using namespace velora;

namespace {

const QString kAnn = QStringLiteral("ann");
const QString kNotChanged = QStringLiteral("The group user information has not been changed.");

// North (1) with its child North East (3), and South (2). Ann and Bob are in North's "Day
// Shift"; Ann has production on two accounts, Bob on one.
void populate(test::GroupsFixture& f) {
    f.addPartition(1, QStringLiteral("North"));
    f.addPartition(2, QStringLiteral("South"));
    f.addPartition(3, QStringLiteral("North East"), 1);
    f.addGroup(11, QStringLiteral("Day Shift"), 1);
    f.addGroup(10, QStringLiteral("North Default"), 1, true);
    f.addGroup(20, QStringLiteral("South Only"), 2);
    f.addUser(kAnn, 1, 11);
    f.addUser(QStringLiteral("bob"), 1, 11);
    for (const char* day : {"2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01"}) {
        f.addDay(kAnn, 100, QLatin1String(day), false);
        f.addDay(kAnn, 200, QLatin1String(day), false);
        f.addDay(QStringLiteral("bob"), 100, QLatin1String(day), false);
    }
}

// Ann shown in the header with "North Default" picked in place of her "Day Shift".
void pickNorthDefault(test::GroupsFixture& f) {
    f.currentUser = f.catalogue.users().find(kAnn);
    f.assignment.FillGroupList();
    f.groupList().setCurrentIndex(groups::FindListIndexByItemData(f.groupList(), 10));
}

} // namespace

class TestUserGroupAssignment : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partitionModeListsTheUsersPartitionLabelled_data() {
        QTest::addColumn<int>("preference");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("partition first")
            << 0 << QStringList{"North\\Day Shift", "North\\North Default (Default)"};
        QTest::newRow("partition last")
            << 1 << QStringList{"Day Shift\\North", "North Default (Default)\\North"};
    }

    void partitionModeListsTheUsersPartitionLabelled() {
        QFETCH(int, preference);
        QFETCH(QStringList, texts);
        test::GroupsFixture f(true);
        populate(f);
        f.partitionDisplay = preference;
        f.currentUser = f.catalogue.users().find(kAnn);

        f.assignment.FillGroupList();

        QCOMPARE(f.listTexts(), texts);
        QCOMPARE(f.groupList().itemData(1).toInt(), 10);
    }

    void withoutPartitionsListsEveryGroupByName() {
        test::GroupsFixture f(false);
        populate(f);
        f.assignment.FillGroupList();
        QCOMPARE(f.listTexts(),
                 QStringList({"Day Shift", "Default Group", "North Default", "South Only"}));
        QCOMPARE(f.groupList().itemData(3).toInt(), 20);
        // Nothing is picked yet, so leaving a user right after start-up changes nothing.
        QCOMPARE(f.groupList().currentIndex(), -1);
        f.currentUser = f.catalogue.users().find(kAnn);
        QVERIFY(!f.assignment.UserGroupChanged());
    }

    void untouchedListSavesWithoutAsking() {
        test::GroupsFixture f(true);
        populate(f);
        pickNorthDefault(f);
        f.groupList().setCurrentIndex(groups::FindListIndexByItemData(f.groupList(), 11));
        QVERIFY(!f.assignment.UserGroupChanged());
        bool force = false;
        f.assignment.SaveUserGroup(force);
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(!f.db.connection().isOpen());
    }

    void cancelChangesNothing() {
        test::GroupsFixture f(true);
        populate(f);
        pickNorthDefault(f);
        QVERIFY(f.assignment.UserGroupChanged());
        f.prompter.queue(groups::UnloadCode::Cancel);

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].title, QStringLiteral("Effective Date for Change"));
        QCOMPARE(f.prompter.asked[0].prompt,
                 QStringLiteral("The user is currently assigned to the 'North\\Day Shift' Group. "
                                "If you change this item you must enter the effective date this "
                                "change will take effect in the following box:"));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, kNotChanged);
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::Information);
        QCOMPARE(f.membership(kAnn), QStringLiteral("11@2024-01-01"));
        QVERIFY(f.lockedDays(kAnn).isEmpty());
        QVERIFY(f.assignment.UserGroupChanged()); // leaving the node again asks again
    }

    // A date after every locked day: no question; the user's days before it are locked on all
    // accounts, nobody else's, and the user belongs to the new group from that date.
    void saveLocksTheUsersEarlierDays() {
        test::GroupsFixture f(true);
        populate(f);
        f.addDay(kAnn, 100, QStringLiteral("2024-02-20"), true);
        pickNorthDefault(f);
        f.prompter.queueOk(QStringLiteral("2/29/2024"));

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QVERIFY(!f.db.connection().isOpen());
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.lockedDays(kAnn),
                 QStringList({"100:2024-02-20", "100:2024-02-27", "200:2024-02-27",
                              "100:2024-02-28", "200:2024-02-28"}));
        QVERIFY(f.lockedDays(QStringLiteral("bob")).isEmpty());
        QCOMPARE(f.membership(kAnn), QStringLiteral("10@2024-02-29"));
        QCOMPARE(f.currentUser->GroupID(), 10);
        QVERIFY(!f.assignment.UserGroupChanged());
    }

    void earliestRevertDateOffered_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    // Days locked after the typed date: the latest of them is offered. Yes locks before it and
    // makes it the effective date; No writes nothing and says nothing more.
    void earliestRevertDateOffered() {
        QFETCH(bool, accept);
        test::GroupsFixture f(true);
        populate(f);
        f.db.exec(QStringLiteral("UPDATE Trans_incentive SET locked = 1 WHERE trans_id = 'ann' "
                                 "AND shift_date = '2024-02-28'"));
        f.addDay(QStringLiteral("bob"), 100, QStringLiteral("2024-04-01"), true);
        pickNorthDefault(f);
        f.prompter.queueOk(QStringLiteral("02/01/2024"));
        f.messages.queue(accept ? common::MessageAnswer::Yes : common::MessageAnswer::No);
        const QStringList lockedBefore = f.lockedDays(kAnn);

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text,
                 QStringLiteral("The effective date you entered can not be used. This date "
                                "conflicts with already locked incentive changes which can not "
                                "be reverted to the effective date you entered. The earliest "
                                "date you can revert to is 02/28/2024. Would you like to use "
                                "this date?"));
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::None);
        QCOMPARE(f.messages.shown[0].buttons, common::MessageButtons::YesNo);
        if (accept) {
            QCOMPARE(f.lockedDays(kAnn), QStringList({"100:2024-02-27", "200:2024-02-27",
                                                      "100:2024-02-28", "200:2024-02-28"}));
            QCOMPARE(f.membership(kAnn), QStringLiteral("10@2024-02-28"));
        } else {
            QCOMPARE(f.lockedDays(kAnn), lockedBefore);
            QCOMPARE(f.membership(kAnn), QStringLiteral("11@2024-01-01"));
            QCOMPARE(f.currentUser->GroupID(), 11);
        }
    }

    void failingSaveIsReported() {
        test::GroupsFixture f(false);
        populate(f);
        f.assignment.FillGroupList();
        f.currentUser = std::make_shared<catalogue::User>();
        f.currentUser->setTransID(QStringLiteral("o'neil")); // breaks the spliced statement
        f.groupList().setCurrentIndex(1);
        f.prompter.queueOk(QStringLiteral("03/01/2024"));

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("Error: cannot save user header data"));
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::Critical);
        QVERIFY(!f.db.connection().isOpen());
    }
};

VELORA_TEST(TestUserGroupAssignment)
#include "TestUserGroupAssignment.moc"
