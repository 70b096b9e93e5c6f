#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/WeekNavigator.h"
#include "detail/WeekStart.h"
#include "suite/HXRegion.h"

#include <QTest>

using velora::detail::WeekNavigator;
using velora::detail::WeekStart;
using velora::suite::HXRegion;

class TestWeekStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void adjustGoesBackToTheFirstDay_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QDate>("expected");
        // 2024-03-03 is a Sunday.
        QTest::newRow("Monday first, Sunday back 6")
            << QDate(2024, 3, 10) << 2 << QDate(2024, 3, 4);
        QTest::newRow("Monday first, Wednesday back 2")
            << QDate(2024, 3, 6) << 2 << QDate(2024, 3, 4);
        QTest::newRow("Monday first, Monday stays") << QDate(2024, 3, 4) << 2 << QDate(2024, 3, 4);
        QTest::newRow("Sunday first, Saturday back 6")
            << QDate(2024, 3, 9) << 1 << QDate(2024, 3, 3);
        QTest::newRow("Sunday first, Sunday stays") << QDate(2024, 3, 3) << 1 << QDate(2024, 3, 3);
        QTest::newRow("Saturday first, Friday back 6")
            << QDate(2024, 3, 8) << 7 << QDate(2024, 3, 2);
        QTest::newRow("Thursday first, Monday back 4")
            << QDate(2024, 3, 4) << 5 << QDate(2024, 2, 29);
        QTest::newRow("across the year") << QDate(2025, 1, 1) << 1 << QDate(2024, 12, 29);
        QTest::newRow("first day out of range is Sunday")
            << QDate(2024, 3, 9) << 0 << QDate(2024, 3, 3);
    }
    void adjustGoesBackToTheFirstDay() {
        QFETCH(QDate, date);
        QFETCH(int, firstDay);
        QFETCH(QDate, expected);
        const QDate adjusted = WeekStart::adjust(date, firstDay);
        QCOMPARE(adjusted, expected);
        QVERIFY(date.toJulianDay() - adjusted.toJulianDay() <= 6);
    }

    void lastLockedDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("rows"); // "date locked"
        QTest::addColumn<QString>("expected");
        QTest::newRow("no rows") << "en_US" << QStringList{} << "01/01/1980";
        QTest::newRow("no locked rows")
            << "en_US" << QStringList{"2024-03-05 0", "2024-03-06 0"} << "01/01/1980";
        QTest::newRow("no locked rows, German") << "de_DE" << QStringList{} << "01.01.1980";
        QTest::newRow("latest locked, later unlocked ignored")
            << "en_US" << QStringList{"2024-02-27 1", "2024-03-01 1", "2024-03-08 0"}
            << "03/01/2024";
        QTest::newRow("German form") << "de_DE" << QStringList{"2024-03-01 1"} << "01.03.2024";
    }
    void lastLockedDate() {
        QFETCH(QString, locale);
        QFETCH(QStringList, rows);
        QFETCH(QString, expected);
        velora::test::TestDatabase db;
        int account = 1;
        for (const QString& row : rows) {
            const QStringList parts = row.split(QLatin1Char(' '));
            db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, "
                                   "shift_date, locked) VALUES ('T%1', %1, '%2', %3)")
                        .arg(account++)
                        .arg(parts.at(0), parts.at(1)));
        }
        db.connection().close();
        const HXRegion region{QLocale(locale)};
        QCOMPARE(WeekNavigator::GetLastLockedDate(db.connection(), region), expected);
        QVERIFY(!db.connection().isOpen());
    }
};

VELORA_TEST(TestWeekStart)
#include "TestWeekStart.moc"
