#include "PreferenceFixture.h"
#include "common/PreferenceKeys.h"
#include "common/Preferences.h"
#include "common/TestMain.h"
#include "common/TextConversion.h"
#include "shell/WindowPlacement.h"

#include <QTest>

using velora::common::ConversionError;
using velora::common::Preferences;
using velora::common::WindowSettings;
using velora::shell::WindowPlacement;
using velora::test::PreferenceFixture;
namespace Key = velora::common::PreferenceKey;

namespace {
constexpr int kSystem = -1;
constexpr int kUser = PreferenceFixture::kUserId;

QString get(const QString& key, const QString& userId) {
    return QStringLiteral("EXEC usp_incentive_get_preference '") + key + QStringLiteral("', ") +
           userId;
}
} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noRowsGiveDefaults() {
        PreferenceFixture f;
        Preferences p;
        p.hourType = 2; // a load replaces what was there
        p.load(f.store, false);
        QCOMPARE(p.hourType, qint16(1));
        QCOMPARE(p.firstDayOfWeek, quint8(1));
        QCOMPARE(p.autoLocking, qint16(30));
        QCOMPARE(p.enableFormulaWizard, true);
        QCOMPARE(p.showDeletedAccounts, false);
        QCOMPARE(p.showDeletedUsers, false);
        QCOMPARE(p.includeDeletedReports, false);
        QCOMPARE(p.partitionDisplay, quint8(0));
        QCOMPARE(p.firstTimeUse, true);
        QCOMPARE(p.splitPosition, qint16(5000));
        QCOMPARE(f.rowCount(), 0);

        // 11325 x 9540 twips, centred on a 1920 x 1080 pixel screen.
        QCOMPARE(WindowPlacement::restored(p.windowLeft, p.windowTop, p.windowWidth, p.windowHeight,
                                           QRect(0, 0, 1920, 1080)),
                 QRect(583, 222, 755, 636));
    }

    // Every key in its order and at its level; a value shared with the operator is read at
    // system level first.
    void readsInOrderAtTheirLevels() {
        PreferenceFixture f;
        Preferences().load(f.store, true);
        const QString sys = QStringLiteral("-1");
        const QString usr = QStringLiteral("42");
        const QStringList expected{get(Key::HourType, sys),
                                   get(Key::FirstDayOfWeek, sys),
                                   get(Key::AutoLocking, sys),
                                   get(Key::EnableFormulaWizard, sys),
                                   get(Key::EnableFormulaWizard, usr),
                                   get(Key::ShowDeletedAccounts, sys),
                                   get(Key::ShowDeletedAccounts, usr),
                                   get(Key::ShowDeletedUsers, sys),
                                   get(Key::ShowDeletedUsers, usr),
                                   get(Key::IncludeDeletedReports, sys),
                                   get(Key::PartitionDisplay, sys),
                                   get(Key::PartitionDisplay, usr),
                                   get(Key::FirstTimeUse, usr),
                                   get(Key::WindowHeight, usr),
                                   get(Key::WindowWidth, usr),
                                   get(Key::WindowTop, usr),
                                   get(Key::WindowLeft, usr),
                                   get(Key::SplitPos, usr)};
        QCOMPARE(f.statements, expected);
    }

    void storedValuesAreConverted() {
        PreferenceFixture f;
        f.put(kSystem, Key::HourType, QStringLiteral("2"));
        f.put(kSystem, Key::FirstDayOfWeek, QStringLiteral(" 7 "));
        f.put(kSystem, Key::AutoLocking, QStringLiteral("0"));
        f.put(kUser, Key::EnableFormulaWizard, QStringLiteral("0"));
        f.put(kUser, Key::ShowDeletedAccounts, QStringLiteral("true"));
        f.put(kUser, Key::PartitionDisplay, QStringLiteral("1"));
        f.put(kUser, Key::FirstTimeUse, QStringLiteral("False"));
        f.put(kUser, Key::WindowHeight, QStringLiteral("6000"));
        f.put(kUser, Key::WindowWidth, QStringLiteral("8000.5"));
        f.put(kUser, Key::WindowTop, QStringLiteral("300"));
        f.put(kUser, Key::WindowLeft, QStringLiteral("-450"));
        f.put(kUser, Key::SplitPos, QStringLiteral("3500"));
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.hourType, qint16(2));
        QCOMPARE(p.firstDayOfWeek, quint8(7));
        QCOMPARE(p.autoLocking, qint16(0));
        QCOMPARE(p.enableFormulaWizard, false);
        QCOMPARE(p.showDeletedAccounts, true);
        QCOMPARE(p.partitionDisplay, quint8(1));
        QCOMPARE(p.firstTimeUse, false);
        QCOMPARE(p.windowHeight, qint16(6000));
        QCOMPARE(p.windowWidth, qint16(8000)); // half rounds to even
        QCOMPARE(p.windowTop, qint16(300));
        QCOMPARE(p.windowLeft, qint16(-450));
        QCOMPARE(p.splitPosition, qint16(3500));
    }

    void operatorOverSystem_data() {
        QTest::addColumn<QString>("systemValue"); // null: no row
        QTest::addColumn<QString>("userValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("neither") << QString() << QString() << false;
        QTest::newRow("system only") << "True" << QString() << true;
        QTest::newRow("operator only") << QString() << "1" << true;
        QTest::newRow("operator overrides system") << "True"
                                                   << "False" << false;
        QTest::newRow("operator overrides system, on") << "0"
                                                       << "-1" << true;
    }

    void operatorOverSystem() {
        QFETCH(QString, systemValue);
        QFETCH(QString, userValue);
        QFETCH(bool, expected);
        PreferenceFixture f;
        if (!systemValue.isNull())
            f.put(kSystem, Key::ShowDeletedUsers, systemValue);
        if (!userValue.isNull())
            f.put(kUser, Key::ShowDeletedUsers, userValue);
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.showDeletedUsers, expected);
    }

    // System-only and operator-only keys ignore rows of the other level.
    void levelsAreNotMixed() {
        PreferenceFixture f;
        f.put(kUser, Key::HourType, QStringLiteral("2"));
        f.put(kSystem, Key::SplitPos, QStringLiteral("1234"));
        f.put(kSystem, Key::FirstTimeUse, QStringLiteral("False"));
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.hourType, qint16(1));
        QCOMPARE(p.splitPosition, qint16(5000));
        QCOMPARE(p.firstTimeUse, true);
    }

    void partitionModeFallsBackToSharedSystemRow() {
        PreferenceFixture f(true);
        f.put(kSystem, Key::HourType, QStringLiteral("2"));
        f.put(kSystem, Key::AutoLocking, QStringLiteral("10"));
        f.put(kSystem, Key::AutoLocking, QStringLiteral("20"), PreferenceFixture::kPartitionId);
        f.put(kUser, Key::SplitPos, QStringLiteral("1234"));
        f.put(kUser, Key::WindowTop, QStringLiteral("600"), PreferenceFixture::kPartitionId);
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.hourType, qint16(2));
        QCOMPARE(p.autoLocking, qint16(20));
        QCOMPARE(p.splitPosition, qint16(5000));
        QCOMPARE(p.windowTop, qint16(600));
        QCOMPARE(f.statements.first(), get(Key::HourType, QStringLiteral("-1, 5")));
        QCOMPARE(f.statements.at(1), get(Key::HourType, QStringLiteral("-1")));
    }

    void badValueFailsTheLoad_data() {
        QTest::addColumn<int>("userId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("width beyond 16 bits")
            << kUser << Key::WindowWidth << "40000" << 6 << "Overflow";
        QTest::newRow("negative height beyond 16 bits")
            << kUser << Key::WindowHeight << "-32769" << 6 << "Overflow";
        QTest::newRow("boolean not a boolean")
            << kUser << Key::ShowDeletedUsers << "abc" << 13 << "Type mismatch";
        QTest::newRow("empty integer")
            << kSystem << Key::AutoLocking << "" << 13 << "Type mismatch";
        QTest::newRow("day beyond a byte")
            << kSystem << Key::FirstDayOfWeek << "256" << 6 << "Overflow";
        QTest::newRow("negative byte") << kUser << Key::PartitionDisplay << "-1" << 6 << "Overflow";
        QTest::newRow("byte beyond 16 bits")
            << kUser << Key::PartitionDisplay << "70000" << 6 << "Overflow";
        QTest::newRow("byte not a number")
            << kSystem << Key::FirstDayOfWeek << "Monday" << 13 << "Type mismatch";
    }

    void badValueFailsTheLoad() {
        QFETCH(int, userId);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, number);
        QFETCH(QString, description);
        PreferenceFixture f;
        f.put(kSystem, Key::HourType, QStringLiteral("2"));
        f.put(userId, key, value);
        Preferences p;
        try {
            p.load(f.store, true);
            QFAIL("the load should have failed");
        } catch (const ConversionError& e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.description(), description);
        }
        QCOMPARE(p.hourType, qint16(1)); // nothing of a failed load is taken over
        // The load stops at the bad value.
        QVERIFY(f.statements.last().contains(key));
    }

    void deletedReportsForcing_data() {
        QTest::addColumn<bool>("support");
        QTest::addColumn<QString>("storedValue");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("unsupported, on") << false << "True" << false << "0";
        QTest::newRow("unsupported, on as number") << false << "1" << false << "0";
        QTest::newRow("unsupported, off") << false << "False" << false << "False";
        QTest::newRow("supported, on") << true << "True" << true << "True";
    }

    void deletedReportsForcing() {
        QFETCH(bool, support);
        QFETCH(QString, storedValue);
        QFETCH(bool, expected);
        QFETCH(QString, storedAfter);
        PreferenceFixture f;
        f.put(kSystem, Key::IncludeDeletedReports, storedValue);
        Preferences p;
        p.load(f.store, support);
        QCOMPARE(p.includeDeletedReports, expected);
        QCOMPARE(f.stored(kSystem, Key::IncludeDeletedReports), std::optional(storedAfter));
        QCOMPARE(f.rowCount(), 1);
        const bool rewritten = storedAfter != storedValue;
        QCOMPARE(f.statements.size(), rewritten ? 19 : 18);
        if (rewritten)
            QCOMPARE(f.statements.last(), QStringLiteral("EXEC usp_incentive_add_preference -1, 4,"
                                                         " 'INCENT_INCLUDE_DELETED_REPORTS', '0'"));
    }

    void forcingInPartitionModeWritesForThePartition() {
        PreferenceFixture f(true);
        f.put(kSystem, Key::IncludeDeletedReports, QStringLiteral("True"));
        Preferences().load(f.store, false);
        QCOMPARE(f.statements.last(), QStringLiteral("EXEC usp_incentive_add_preference -1, 4,"
                                                     " 'INCENT_INCLUDE_DELETED_REPORTS', '0', 5"));
        QCOMPARE(f.stored(kSystem, Key::IncludeDeletedReports, PreferenceFixture::kPartitionId),
                 std::optional(QStringLiteral("0")));
    }

    void windowSettingsSavedAsText() {
        PreferenceFixture f;
        Preferences::saveWindowSettings(f.store, WindowSettings{9540, 11325, -1, 1282.5f, 4321});
        const QString add = QStringLiteral("EXEC usp_incentive_add_preference 42, 4, '");
        QCOMPARE(f.statements, (QStringList{add + QStringLiteral("INCENT_WINDOW_HEIGHT', '9540'"),
                                            add + QStringLiteral("INCENT_WINDOW_WIDTH', '11325'"),
                                            add + QStringLiteral("INCENT_WINDOW_TOP', '-1'"),
                                            add + QStringLiteral("INCENT_WINDOW_LEFT', '1282.5'"),
                                            add + QStringLiteral("INCENT_SPLIT_POS', '4321'")}));
        QCOMPARE(f.stored(kUser, Key::WindowHeight), std::optional(QStringLiteral("9540")));

        // The next start reads them back (a half rounding to even).
        Preferences p;
        p.load(f.store, true);
        QCOMPARE(p.windowHeight, qint16(9540));
        QCOMPARE(p.windowWidth, qint16(11325));
        QCOMPARE(p.windowTop, qint16(-1));
        QCOMPARE(p.windowLeft, qint16(1282));
        QCOMPARE(p.splitPosition, qint16(4321));
    }

    void getPreference_data() {
        QTest::addColumn<QVariant>("request");
        QTest::addColumn<bool>("answered");
        QTest::newRow("name") << QVariant(QStringLiteral("FirstDayOfWeek")) << true;
        QTest::newRow("number") << QVariant(1) << true;
        QTest::newRow("number as double") << QVariant(1.0) << true;
        QTest::newRow("other name") << QVariant(QStringLiteral("HourType")) << false;
        QTest::newRow("name in other case") << QVariant(QStringLiteral("firstdayofweek")) << false;
        QTest::newRow("other number") << QVariant(2) << false;
        QTest::newRow("empty") << QVariant() << false;
    }

    void getPreference() {
        QFETCH(QVariant, request);
        QFETCH(bool, answered);
        Preferences p;
        p.firstDayOfWeek = 3;
        const QVariant answer = p.GetPreference(request);
        if (!answered) {
            QVERIFY(!answer.isValid());
            return;
        }
        QCOMPARE(answer.typeId(), int(QMetaType::UChar));
        QCOMPARE(answer.value<quint8>(), quint8(3));
    }
};

VELORA_TEST(TestPreferences)
#include "TestPreferences.moc"
