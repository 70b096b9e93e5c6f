#include "PreferenceFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"

#include <QTest>

using velora::test::PreferenceFixture;

namespace {
const QString kKey = QStringLiteral("INCENT_SPLIT_POS");
const QString kGet = QStringLiteral("EXEC usp_incentive_get_preference 'INCENT_SPLIT_POS', ");
const QString kAdd = QStringLiteral("EXEC usp_incentive_add_preference ");
} // namespace

class TestPreferenceStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readStatements_data() {
        QTest::addColumn<bool>("partitionMode");
        QTest::addColumn<bool>("systemLevel");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("user level") << false << false << QStringList{kGet + QStringLiteral("42")};
        QTest::newRow("system level") << false << true << QStringList{kGet + QStringLiteral("-1")};
        QTest::newRow("user level, partition mode")
            << true << false << QStringList{kGet + QStringLiteral("42, 5")};
        // Without a row for the partition, the system row stored for no partition is sought.
        QTest::newRow("system level, partition mode")
            << true << true
            << QStringList{kGet + QStringLiteral("-1, 5"), kGet + QStringLiteral("-1")};
    }

    void readStatements() {
        QFETCH(bool, partitionMode);
        QFETCH(bool, systemLevel);
        QFETCH(QStringList, expected);
        PreferenceFixture f(partitionMode);
        QCOMPARE(f.store.GetPreferenceValue(kKey, QStringLiteral("dflt"), systemLevel),
                 QStringLiteral("dflt"));
        QCOMPARE(f.statements, expected);
    }

    void writeStatements_data() {
        QTest::addColumn<bool>("partitionMode");
        QTest::addColumn<bool>("systemLevel");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("userId");
        QTest::addColumn<int>("partitionId");
        QTest::newRow("user level")
            << false << false << kAdd + QStringLiteral("42, 4, 'INCENT_SPLIT_POS', '4321'") << 42
            << -1;
        QTest::newRow("system level")
            << false << true << kAdd + QStringLiteral("-1, 4, 'INCENT_SPLIT_POS', '4321'") << -1
            << -1;
        QTest::newRow("user level, partition mode")
            << true << false << kAdd + QStringLiteral("42, 4, 'INCENT_SPLIT_POS', '4321', 5") << 42
            << 5;
        QTest::newRow("system level, partition mode")
            << true << true << kAdd + QStringLiteral("-1, 4, 'INCENT_SPLIT_POS', '4321', 5") << -1
            << 5;
    }

    void writeStatements() {
        QFETCH(bool, partitionMode);
        QFETCH(bool, systemLevel);
        QFETCH(QString, expected);
        QFETCH(int, userId);
        QFETCH(int, partitionId);
        PreferenceFixture f(partitionMode);
        QVERIFY(f.store.SetPreferenceValue(kKey, QStringLiteral("4321"), systemLevel));
        QCOMPARE(f.statements, QStringList{expected});
        QCOMPARE(f.stored(userId, kKey, partitionId), std::optional(QStringLiteral("4321")));
        QCOMPARE(f.rowCount(), 1);
        QCOMPARE(f.db.scalar(QStringLiteral("SELECT pref_type FROM Incentive_preference")),
                 QStringLiteral("4"));
        // What was written is read back at the same level.
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), systemLevel), QStringLiteral("4321"));
    }

    void writeReplacesEarlierValue() {
        PreferenceFixture f;
        f.store.SetPreferenceValue(kKey, QStringLiteral("1"), false);
        f.store.SetPreferenceValue(kKey, QStringLiteral("2"), false);
        QCOMPARE(f.rowCount(), 1);
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), false), QStringLiteral("2"));
    }

    void levelsAreKeptApart() {
        PreferenceFixture f;
        f.put(-1, kKey, QStringLiteral("system"));
        f.put(PreferenceFixture::kUserId, kKey, QStringLiteral("mine"));
        f.put(7, kKey, QStringLiteral("another operator"));
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), true), QStringLiteral("system"));
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), false), QStringLiteral("mine"));
    }

    void storedEmptyTextIsNotTheDefault() {
        PreferenceFixture f;
        f.put(PreferenceFixture::kUserId, kKey, QString());
        QCOMPARE(f.store.GetPreferenceValue(kKey, QStringLiteral("dflt"), false), QString());
    }

    void partitionFallback_data() {
        QTest::addColumn<bool>("systemLevel");
        QTest::addColumn<bool>("partitionRow");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("statementCount");
        QTest::newRow("system, only the shared row") << true << false << "shared" << 2;
        QTest::newRow("system, partition row wins") << true << true << "partition" << 1;
        // An operator's row stored for no partition does not serve partition mode.
        QTest::newRow("user, only the shared row") << false << false << "dflt" << 1;
        QTest::newRow("user, partition row") << false << true << "partition" << 1;
    }

    void partitionFallback() {
        QFETCH(bool, systemLevel);
        QFETCH(bool, partitionRow);
        QFETCH(QString, expected);
        QFETCH(int, statementCount);
        PreferenceFixture f(true);
        const int userId = systemLevel ? -1 : PreferenceFixture::kUserId;
        f.put(userId, kKey, QStringLiteral("shared"));
        if (partitionRow)
            f.put(userId, kKey, QStringLiteral("partition"), PreferenceFixture::kPartitionId);
        f.put(userId, kKey, QStringLiteral("other partition"), 9);
        QCOMPARE(f.store.GetPreferenceValue(kKey, QStringLiteral("dflt"), systemLevel), expected);
        QCOMPARE(f.statements.size(), statementCount);
    }

    void opensClosedConnection() {
        PreferenceFixture f;
        f.db.connection().close();
        f.store.SetPreferenceValue(kKey, QStringLiteral("12"), false);
        QVERIFY(f.db.connection().isOpen());
        f.db.connection().close();
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), false), QStringLiteral("12"));
        QVERIFY(f.db.connection().isOpen());
    }

    // A quote in a value is doubled in the statement and the value reads back as it was given.
    void quotedValueRoundTrips() {
        PreferenceFixture f;
        f.store.SetPreferenceValue(kKey, QStringLiteral("it's"), false);
        QCOMPARE(f.statements,
                 QStringList{kAdd + QStringLiteral("42, 4, 'INCENT_SPLIT_POS', 'it''s'")});
        QCOMPARE(f.store.GetPreferenceValue(kKey, QString(), false), QStringLiteral("it's"));
    }
};

VELORA_TEST(TestPreferenceStore)
#include "TestPreferenceStore.moc"
