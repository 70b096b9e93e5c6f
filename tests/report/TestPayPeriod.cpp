#include "common/TestMain.h"
#include "report/PayPeriod.h"

#include <QTest>

using velora::report::PayPeriod;

class TestPayPeriod : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A week and a bi-week end with the week that holds the day, starting on the preferred
    // first day (Sunday = 1; a value outside 1..7 is Sunday), as the weekly detail's totals do;
    // a month is the calendar month, leap day included.
    void periodAroundADay_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        const auto week = static_cast<int>(PayPeriod::Kind::Week);
        const auto biWeek = static_cast<int>(PayPeriod::Kind::BiWeek);
        const auto month = static_cast<int>(PayPeriod::Kind::Month);
        // 2012-11-07 is a Wednesday.
        QTest::newRow("week from Sunday")
            << week << QDate(2012, 11, 7) << 1 << QDate(2012, 11, 4) << QDate(2012, 11, 10);
        QTest::newRow("week from Monday")
            << week << QDate(2012, 11, 7) << 2 << QDate(2012, 11, 5) << QDate(2012, 11, 11);
        QTest::newRow("week from Thursday, across the month")
            << week << QDate(2012, 11, 7) << 5 << QDate(2012, 11, 1) << QDate(2012, 11, 7);
        QTest::newRow("day is the first day")
            << week << QDate(2012, 11, 4) << 1 << QDate(2012, 11, 4) << QDate(2012, 11, 10);
        QTest::newRow("day is the last day")
            << week << QDate(2012, 11, 10) << 1 << QDate(2012, 11, 4) << QDate(2012, 11, 10);
        QTest::newRow("unknown first day is Sunday")
            << week << QDate(2012, 11, 7) << 9 << QDate(2012, 11, 4) << QDate(2012, 11, 10);
        QTest::newRow("bi-week across the year")
            << biWeek << QDate(2013, 1, 2) << 1 << QDate(2012, 12, 23) << QDate(2013, 1, 5);
        QTest::newRow("leap February")
            << month << QDate(2024, 2, 10) << 1 << QDate(2024, 2, 1) << QDate(2024, 2, 29);
        QTest::newRow("December") << month << QDate(2023, 12, 31) << 1 << QDate(2023, 12, 1)
                                  << QDate(2023, 12, 31);
    }

    void periodAroundADay() {
        QFETCH(int, kind);
        QFETCH(QDate, day);
        QFETCH(int, firstDay);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const PayPeriod period =
            PayPeriod::of(static_cast<PayPeriod::Kind>(kind), day, QDate(), firstDay);
        QCOMPARE(period.from(), from);
        QCOMPARE(period.to(), to);
        QVERIFY(period.isValid());
    }

    // Two dates: one day, ten years, or refused when the first is after the last.
    void range() {
        QCOMPARE(PayPeriod::range(QDate(2024, 3, 1), QDate(2024, 3, 1)).days(), 1);
        const PayPeriod decade = PayPeriod::range(QDate(2015, 1, 1), QDate(2024, 12, 31));
        QCOMPARE(decade.days(), 3653);
        QCOMPARE(decade.title(), QStringLiteral("2015-01-01 to 2024-12-31"));
        const PayPeriod backwards = PayPeriod::range(QDate(2024, 3, 2), QDate(2024, 3, 1));
        QVERIFY(!backwards.isValid());
        QCOMPARE(backwards.days(), 0);
        QVERIFY(!PayPeriod::range(QDate(), QDate(2024, 3, 1)).isValid());
    }
};

VELORA_TEST(TestPayPeriod)
#include "TestPayPeriod.moc"
