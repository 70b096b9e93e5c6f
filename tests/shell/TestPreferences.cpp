#include "common/PreferenceKeys.h"
#include "common/PreferenceStore.h"
#include "common/Preferences.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "common/TextConversion.h"

#include <QTest>
#include <optional>

using velora::common::ConversionError;
using velora::common::Preferences;
using velora::common::WindowSettings;
namespace Key = velora::common::PreferenceKey;

namespace {

constexpr int kSystem = -1;
constexpr int kUser = 42;
constexpr int kPartition = 5;
constexpr int kNoPartition = -1; // how the procedures store "no partition"

// A fresh database, a preference store for operator 42 in partition 5 on it, and the
// statements the store has sent.
struct Fixture {
    explicit Fixture(bool partitionMode = false)
        : store(db.connection(), {kUser, kPartition, partitionMode}) {
        store.setStatementObserver([this](const QString& statement) { statements << statement; });
    }

    void put(int userId, const QString& key, const QString& value, int partition = kNoPartition) {
        db.exec(QStringLiteral("INSERT INTO Incentive_preference (user_id, pref_type, pref_key, "
                               "pref_value, partition_id) VALUES (%1, 4, '%2', '%3', %4)")
                    .arg(userId)
                    .arg(key, value)
                    .arg(partition));
    }

    std::optional<QString> stored(int userId, const QString& key, int partition = kNoPartition) {
        velora::db::Recordset rs = db.connection().openRecordset(
            QStringLiteral("SELECT pref_value FROM Incentive_preference WHERE user_id = %1 AND "
                           "pref_key = '%2' AND partition_id = %3")
                .arg(userId)
                .arg(key)
                .arg(partition));
        return rs.eof() ? std::nullopt : std::optional(rs.value(0).toString());
    }

    int rows() {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Incentive_preference")).toInt();
    }

    velora::test::TestDatabase db;
    velora::common::PreferenceStore store;
    QStringList statements;
};

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each level writes and reads its own row; a value with a quote is kept whole, and a
    // second write replaces the first.
    void storeLevels_data() {
        QTest::addColumn<bool>("partitionMode");
        QTest::addColumn<bool>("systemLevel");
        QTest::addColumn<QString>("write");
        QTest::addColumn<int>("userId");
        QTest::addColumn<int>("partition");
        const QString add = QStringLiteral("EXEC usp_incentive_add_preference ");
        QTest::newRow("user") << false << false << add + "42, 4, 'INCENT_SPLIT_POS', 'it''s'"
                              << kUser << kNoPartition;
        QTest::newRow("system") << false << true << add + "-1, 4, 'INCENT_SPLIT_POS', 'it''s'"
                                << kSystem << kNoPartition;
        QTest::newRow("user, partition mode")
            << true << false << add + "42, 4, 'INCENT_SPLIT_POS', 'it''s', 5" << kUser
            << kPartition;
        QTest::newRow("system, partition mode")
            << true << true << add + "-1, 4, 'INCENT_SPLIT_POS', 'it''s', 5" << kSystem
            << kPartition;
    }

    void storeLevels() {
        QFETCH(bool, partitionMode);
        QFETCH(bool, systemLevel);
        QFETCH(QString, write);
        QFETCH(int, userId);
        QFETCH(int, partition);
        Fixture f(partitionMode);
        f.put(systemLevel ? kUser : kSystem, Key::SplitPos, QStringLiteral("other level"));
        f.put(7, Key::SplitPos, QStringLiteral("another operator"));
        QCOMPARE(f.store.GetPreferenceValue(Key::SplitPos, QStringLiteral("dflt"), systemLevel),
                 QStringLiteral("dflt"));
        f.store.SetPreferenceValue(Key::SplitPos, QStringLiteral("first"), systemLevel);
        QVERIFY(f.store.SetPreferenceValue(Key::SplitPos, QStringLiteral("it's"), systemLevel));
        QCOMPARE(f.statements.last(), write);
        QCOMPARE(f.stored(userId, Key::SplitPos, partition), std::optional(QStringLiteral("it's")));
        QCOMPARE(f.rows(), 3);
        QCOMPARE(f.store.GetPreferenceValue(Key::SplitPos, QString(), systemLevel),
                 QStringLiteral("it's"));
    }

    // In partition mode a system value stored for no partition serves every partition; an
    // operator's value does not.
    void partitionFallback_data() {
        QTest::addColumn<bool>("systemLevel");
        QTest::addColumn<bool>("partitionRow");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("statementCount");
        QTest::newRow("system, only the shared row") << true << false << "shared" << 2;
        QTest::newRow("system, partition row wins") << true << true << "partition" << 1;
        QTest::newRow("user, only the shared row") << false << false << "dflt" << 1;
        QTest::newRow("user, partition row") << false << true << "partition" << 1;
    }

    void partitionFallback() {
        QFETCH(bool, systemLevel);
        QFETCH(bool, partitionRow);
        QFETCH(QString, expected);
        QFETCH(int, statementCount);
        Fixture f(true);
        const int userId = systemLevel ? kSystem : kUser;
        f.put(userId, Key::SplitPos, QStringLiteral("shared"));
        if (partitionRow)
            f.put(userId, Key::SplitPos, QStringLiteral("partition"), kPartition);
        f.put(userId, Key::SplitPos, QStringLiteral("other partition"), 9);
        f.db.connection().close(); // opened when needed
        QCOMPARE(f.store.GetPreferenceValue(Key::SplitPos, QStringLiteral("dflt"), systemLevel),
                 expected);
        QCOMPARE(f.statements.size(), statementCount);
        QCOMPARE(f.statements.first(),
                 QStringLiteral("EXEC usp_incentive_get_preference 'INCENT_SPLIT_POS', %1, 5")
                     .arg(userId));
    }

    // Rows of the other level are not read: hour type and split position come from their own
    // level only, the show-deleted settings from the operator's row before the system's.
    void storedValuesAreConverted() {
        Fixture f;
        f.put(kSystem, Key::HourType, QStringLiteral("2"));
        f.put(kUser, Key::AutoLocking, QStringLiteral("10"));
        f.put(kSystem, Key::FirstDayOfWeek, QStringLiteral(" 7 "));
        f.put(kUser, Key::EnableFormulaWizard, QStringLiteral("0"));
        f.put(kSystem, Key::ShowDeletedAccounts, QStringLiteral("true"));
        f.put(kSystem, Key::ShowDeletedUsers, QStringLiteral("True"));
        f.put(kUser, Key::ShowDeletedUsers, QStringLiteral("False"));
        f.put(kUser, Key::PartitionDisplay, QStringLiteral("1"));
        f.put(kSystem, Key::FirstTimeUse, QStringLiteral("False"));
        f.put(kUser, Key::WindowWidth, QStringLiteral("8000.5"));
        f.put(kUser, Key::WindowLeft, QStringLiteral("-450"));
        f.put(kSystem, Key::SplitPos, QStringLiteral("1234"));
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.hourType, qint16(2));
        QCOMPARE(p.autoLocking, qint16(30));
        QCOMPARE(p.firstDayOfWeek, quint8(7));
        QCOMPARE(p.enableFormulaWizard, false);
        QCOMPARE(p.showDeletedAccounts, true); // the system value when the operator has none
        QCOMPARE(p.showDeletedUsers, false);   // the operator's own over the system's
        QCOMPARE(p.partitionDisplay, quint8(1));
        QCOMPARE(p.firstTimeUse, true);
        QCOMPARE(p.windowWidth, qint16(8000)); // half rounds to even
        QCOMPARE(p.windowLeft, qint16(-450));
        QCOMPARE(p.splitPosition, qint16(5000));
    }

    // A value that does not convert stops the load at that key; nothing of it is taken over.
    void badValueFailsTheLoad_data() {
        QTest::addColumn<int>("userId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("number");
        QTest::newRow("width beyond 16 bits") << kUser << Key::WindowWidth << "40000" << 6;
        QTest::newRow("boolean not a boolean") << kUser << Key::ShowDeletedUsers << "abc" << 13;
        QTest::newRow("empty integer") << kSystem << Key::AutoLocking << "" << 13;
        QTest::newRow("negative byte") << kUser << Key::PartitionDisplay << "-1" << 6;
    }

    void badValueFailsTheLoad() {
        QFETCH(int, userId);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, number);
        Fixture f;
        f.put(kSystem, Key::HourType, QStringLiteral("2"));
        f.put(userId, key, value);
        Preferences p;
        try {
            p.load(f.store, true);
            QFAIL("the load should have failed");
        } catch (const ConversionError& e) {
            QCOMPARE(e.number(), number);
        }
        QCOMPARE(p.hourType, qint16(1));
        QVERIFY(f.statements.last().contains(key));
    }

    // Without deleted-reports support the setting is switched off for good, at system level
    // (for the partition in partition mode).
    void deletedReportsForcing_data() {
        QTest::addColumn<bool>("support");
        QTest::addColumn<bool>("partitionMode");
        QTest::addColumn<QString>("storedValue");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("unsupported, on") << false << false << "True" << false << "0";
        QTest::newRow("unsupported, off") << false << false << "False" << false << "False";
        QTest::newRow("supported, on") << true << false << "True" << true << "True";
        QTest::newRow("unsupported, partition mode") << false << true << "True" << false << "0";
    }

    void deletedReportsForcing() {
        QFETCH(bool, support);
        QFETCH(bool, partitionMode);
        QFETCH(QString, storedValue);
        QFETCH(bool, expected);
        QFETCH(QString, storedAfter);
        Fixture f(partitionMode);
        f.put(kSystem, Key::IncludeDeletedReports, storedValue);
        Preferences p;
        p.load(f.store, support);
        QCOMPARE(p.includeDeletedReports, expected);
        const int partition =
            partitionMode && storedAfter != storedValue ? kPartition : kNoPartition;
        QCOMPARE(f.stored(kSystem, Key::IncludeDeletedReports, partition),
                 std::optional(storedAfter));
    }

    void windowSettingsSavedAsTextAndReadBack() {
        Fixture f;
        Preferences::saveWindowSettings(f.store, WindowSettings{9540, 11325, -1, 1282.5f, 4321});
        const QString add = QStringLiteral("EXEC usp_incentive_add_preference 42, 4, '");
        QCOMPARE(f.statements, (QStringList{add + QStringLiteral("INCENT_WINDOW_HEIGHT', '9540'"),
                                            add + QStringLiteral("INCENT_WINDOW_WIDTH', '11325'"),
                                            add + QStringLiteral("INCENT_WINDOW_TOP', '-1'"),
                                            add + QStringLiteral("INCENT_WINDOW_LEFT', '1282.5'"),
                                            add + QStringLiteral("INCENT_SPLIT_POS', '4321'")}));
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.windowHeight, qint16(9540));
        QCOMPARE(p.windowTop, qint16(-1));
        QCOMPARE(p.windowLeft, qint16(1282));
        QCOMPARE(p.splitPosition, qint16(4321));
    }
};

VELORA_TEST(TestPreferences)
#include "TestPreferences.moc"
