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
    void listsTheGroups_data() {
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<int>("preference");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("partition first")
            << true << 0 << QStringList{"North\\Day Shift", "North\\North Default (Default)"};
        QTest::newRow("partition last")
            << true << 1 << QStringList{"Day Shift\\North", "North Default (Default)\\North"};
        QTest::newRow("every group by name")
            << false << 0
            << QStringList{"Day Shift", "Default Group", "North Default", "South Only"};
    }

    // In partition mode the current user's partition's groups, labelled with the partition;
    // otherwise every group from the database. Nothing is picked, so leaving a user right after
    // the list is filled changes nothing.
    void listsTheGroups() {
        QFETCH(bool, partitions);
        QFETCH(int, preference);
        QFETCH(QStringList, texts);
        test::GroupsFixture f(partitions);
        populate(f);
        f.partitionDisplay = preference;
        f.currentUser = f.catalogue.users().find(kAnn);

        f.assignment.FillGroupList();

        QCOMPARE(f.listTexts(), texts);
        QCOMPARE(f.groupList().itemData(partitions ? 1 : 2).toInt(), 10);
        QCOMPARE(f.groupList().currentIndex(), -1);
        QVERIFY(!f.assignment.UserGroupChanged());
    }

    // The user's own group picked again asks nothing; another group picked and the date
    // cancelled says so and writes nothing, and leaving the user again asks again.
    void unchangedOrCancelledWritesNothing() {
        test::GroupsFixture f(true);
        populate(f);
        pickNorthDefault(f);
        f.groupList().setCurrentIndex(groups::FindListIndexByItemData(f.groupList(), 11));
        bool force = false;
        f.assignment.SaveUserGroup(force);
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(!f.db.connection().isOpen());

        f.groupList().setCurrentIndex(groups::FindListIndexByItemData(f.groupList(), 10));
        f.prompter.queue(groups::UnloadCode::Cancel);
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
        QVERIFY(f.assignment.UserGroupChanged());
    }

    // A date after every locked day: no question; the user's days before it are locked on all
    // accounts, nobody else's, and the user belongs to the new group from that date. The id is
    // quoted in every statement: a quote in it neither fails the save nor reaches other users.
    void saveLocksTheUsersEarlierDays_data() {
        QTest::addColumn<QString>("transID");
        QTest::newRow("plain") << kAnn;
        QTest::newRow("quote") << QStringLiteral("o'neil' OR 'x'='x");
    }

    void saveLocksTheUsersEarlierDays() {
        QFETCH(QString, transID);
        test::GroupsFixture f(true);
        populate(f);
        if (transID != kAnn) {
            f.db.exec(QStringLiteral("UPDATE Trans_info SET trans_id = 'o''neil'' OR ''x''=''x' "
                                     "WHERE trans_id = 'ann'"));
            f.db.exec(QStringLiteral("UPDATE Trans_incentive SET trans_id = 'o''neil'' OR "
                                     "''x''=''x' WHERE trans_id = 'ann'"));
            f.catalogue.users().find(kAnn)->setTransID(transID);
        }
        f.addDay(QStringLiteral("bob"), 100, QStringLiteral("2024-02-20"), false);
        f.db.exec(QStringLiteral("UPDATE Trans_incentive SET locked = 1 WHERE shift_date = "
                                 "'2024-02-27' AND hosp_acct_id = 100"));
        pickNorthDefault(f);
        f.prompter.queueOk(QStringLiteral("2/29/2024"));

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QVERIFY(!f.db.connection().isOpen());
        QVERIFY(f.messages.shown.isEmpty());
        const QString quoted = QString(transID).replace(QLatin1Char('\''), QStringLiteral("''"));
        QCOMPARE(f.lockedDays(quoted), QStringList({"100:2024-02-27", "200:2024-02-27",
                                                    "100:2024-02-28", "200:2024-02-28"}));
        QCOMPARE(f.lockedDays(QStringLiteral("bob")), QStringList{"100:2024-02-27"});
        QCOMPARE(f.membership(quoted), QStringLiteral("10@2024-02-29"));
        QCOMPARE(f.membership(QStringLiteral("bob")), QStringLiteral("11@2024-01-01"));
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
        test::GroupsFixture f(true);
        populate(f);
        pickNorthDefault(f);
        f.db.exec(QStringLiteral("DROP TABLE Trans_info"));
        f.prompter.queueOk(QStringLiteral("03/01/2024"));

        bool force = false;
        f.assignment.SaveUserGroup(force);

        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("Error: cannot save user header data"));
        QCOMPARE(f.messages.shown[0].icon, common::MessageIcon::Critical);
        QVERIFY(!f.db.connection().isOpen());
        QCOMPARE(f.currentUser->GroupID(), 11);
    }
};

VELORA_TEST(TestUserGroupAssignment)
#include "TestUserGroupAssignment.moc"
