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
        // kind (0 week, 1 bi-week, 2 month), day, first day, from, to; 2012-11-07 is a Wednesday.
        const struct {
            const char* name;
            int kind;
            const char* day;
            int firstDay;
            const char* from;
            const char* to;
        } cases[] = {
            {"week from Sunday", 0, "2012-11-07", 1, "2012-11-04", "2012-11-10"},
            {"week from Monday", 0, "2012-11-07", 2, "2012-11-05", "2012-11-11"},
            {"week from Thursday, across the month", 0, "2012-11-07", 5, "2012-11-01",
             "2012-11-07"},
            {"day is the first day", 0, "2012-11-04", 1, "2012-11-04", "2012-11-10"},
            {"day is the last day", 0, "2012-11-10", 1, "2012-11-04", "2012-11-10"},
            {"unknown first day is Sunday", 0, "2012-11-07", 9, "2012-11-04", "2012-11-10"},
            {"bi-week across the year", 1, "2013-01-02", 1, "2012-12-23", "2013-01-05"},
            {"leap February", 2, "2024-02-10", 1, "2024-02-01", "2024-02-29"}};
        const auto date = [](const char* text) {
            return QDate::fromString(QLatin1String(text), Qt::ISODate);
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << c.kind << date(c.day) << c.firstDay << date(c.from)
                                  << date(c.to);
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
