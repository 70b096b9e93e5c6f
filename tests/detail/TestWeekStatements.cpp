#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/NumberText.h"
#include "detail/PeriodTotalStatements.h"
#include "detail/WeekStatements.h"

#include <QTest>

using namespace velora;
using namespace velora::detail;

Q_DECLARE_METATYPE(velora::detail::TotalPeriod)

// The statement texts of the weekly grid, char for char, and each of them run on the embedded
// engine; the number forms of the grid.
class TestWeekStatements : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dayStatementTexts_data() {
        QTest::addColumn<QString>("account");
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("single account, hour mode 2")
            << "10" << 2
            << "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, "
               "hours_typed_modified AS num_incent_hours, chars_modified AS num_chars, "
               "lines_modified AS num_lines, pages_modified AS num_pages, "
               "incent_hours_typed_modified AS num_incent_hours_typed_modified, "
               "incent_typed_modified AS num_incent_typed, incent_pay_modified AS "
               "num_incent_pay, number_rpts AS num_orig_reports, hours_typed as "
               "num_orig_incent_hours, chars AS num_orig_chars, lines AS num_orig_lines, pages "
               "AS num_orig_pages, incent_hours_typed AS num_orig_incent_hours_typed, "
               "incent_typed AS num_orig_incent_typed, incent_pay AS num_orig_incent_pay FROM "
               "trans_incentive WHERE trans_id = 'o''neil' AND hosp_acct_id = 10 AND shift_date "
               "BETWEEN '2012-11-04' AND '2012-11-10' ORDER BY shift_date";
        QTest::newRow("single account, hour mode 1")
            << "10" << 1
            << "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, "
               "chars_modified AS num_chars, lines_modified AS num_lines, pages_modified AS "
               "num_pages, incent_hours_typed_modified as num_incent_hours_typed_modified, "
               "incent_typed_modified AS num_incent_typed, incent_pay_modified AS "
               "num_incent_pay, number_rpts AS num_orig_reports, chars AS num_orig_chars, lines "
               "AS num_orig_lines, pages AS num_orig_pages, hours_system_modified AS "
               "num_orig_incent_hours, incent_hours_typed AS num_orig_incent_hours_typed, "
               "incent_typed AS num_orig_incent_typed, incent_pay AS num_orig_incent_pay, "
               "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
               "Trans_activity TA1 WHERE TA1.shift_date = TI.shift_date AND TA1.trans_id = "
               "TI.trans_id AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS "
               "num_incent_hours FROM trans_incentive TI WHERE trans_id = 'o''neil' AND "
               "hosp_acct_id = 10 AND shift_date BETWEEN '2012-11-04' AND '2012-11-10' ORDER BY "
               "shift_date";
        QTest::newRow("account summary, hour mode 2")
            << "-2" << 2
            << "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
               "SUM(hours_typed_modified) AS num_incent_hours, SUM(chars_modified) AS num_chars, "
               "SUM(lines_modified) AS num_lines, SUM(pages_modified) AS num_pages, "
               "SUM(incent_hours_typed_modified) AS num_incent_hours_typed_modified, "
               "SUM(incent_typed_modified) AS num_incent_typed, SUM(incent_pay_modified) AS "
               "num_incent_pay, sum(incent_pay) AS num_orig_incent_pay FROM trans_incentive "
               "WHERE trans_id = 'o''neil' AND shift_date BETWEEN '2012-11-04' AND '2012-11-10' "
               "GROUP BY shift_date ORDER BY shift_date";
        QTest::newRow("account summary, hour mode 1")
            << "-2" << 1
            << "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
               "SUM(chars_modified) AS num_chars, SUM(lines_modified) AS num_lines, "
               "SUM(pages_modified) AS num_pages, MAX(incent_hours_typed_modified) AS "
               "num_incent_hours_typed_modified, SUM(incent_typed_modified) AS num_incent_typed, "
               "SUM(incent_pay_modified) AS num_incent_pay, sum(incent_pay) AS "
               "num_orig_incent_pay, ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / "
               "3600.0) FROM Trans_activity TA1 WHERE TA1.shift_date = TI.shift_date AND "
               "TA1.trans_id = TI.trans_id AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS "
               "num_incent_hours FROM trans_incentive TI WHERE trans_id = 'o''neil' AND "
               "shift_date BETWEEN '2012-11-04' AND '2012-11-10' GROUP BY trans_id, shift_date "
               "ORDER BY shift_date";
        QTest::newRow("other hour modes have none") << "10" << 3 << "";
    }
    void dayStatementTexts() {
        QFETCH(QString, account);
        QFETCH(int, hourMode);
        QFETCH(QString, expected);
        QCOMPARE(
            WeekStatements::days(QStringLiteral("o'neil"), account, QDate(2012, 11, 4), hourMode),
            expected);
    }

    void smallStatementTexts() {
        QCOMPARE(WeekStatements::lastLockedDate(),
                 QStringLiteral("SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive WHERE "
                                "locked=1), '1980-01-01')"));
        QCOMPARE(
            WeekStatements::userGroup(QStringLiteral("o'neil")),
            QStringLiteral("SELECT incentive_group_id FROM Trans_info WHERE trans_id = 'o''neil'"));
        QCOMPARE(WeekStatements::activityHours(QStringLiteral("o'neil"), QDate(2012, 11, 5)),
                 QStringLiteral("SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) "
                                "/ 3600.0) FROM Trans_activity TA1 WHERE TA1.shift_date = "
                                "'2012-11-05' AND TA1.trans_id = 'o''neil' AND TA1.work_type = 1 "
                                "AND TA1.update_type = 9),0) AS num_incent_hours"));
    }

    void totalStatementTexts_data() {
        QTest::addColumn<TotalPeriod>("period");
        QTest::addColumn<QString>("account");
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QString>("expected");
        const QString t = QStringLiteral(
            "SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
            "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
            "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
            "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
            "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
            "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
            "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
            "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ");
        const QString s1 = QStringLiteral(
            "SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
            "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
            "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
            "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
            "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
            "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
            "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY, ");
        QTest::newRow("month, single account, hour mode 2")
            << TotalPeriod::Month << "10" << 2
            << t + "FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='o''neil') AND "
                   "((Trans_incentive.hosp_acct_id)=10) AND ((Month(Trans_incentive.shift_date)) "
                   "= 11)) AND ((Year(Trans_incentive.shift_date) = 2012));";
        QTest::newRow("bi-week, single account, hour mode 1")
            << TotalPeriod::BiWeek << "10" << 1
            << s1 + "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
                    "Trans_activity TA1 WHERE TA1.shift_date Between '2012-10-28' And "
                    "'2012-11-10' AND TA1.trans_id = 'o''neil' AND TA1.work_type = 1 AND "
                    "TA1.update_type = 9),0) AS TOTAL_HOURS FROM Trans_incentive WHERE "
                    "Trans_incentive.trans_id='o''neil' AND Trans_incentive.hosp_acct_id='10' AND "
                    "Trans_incentive.shift_date Between '2012-10-28' And '2012-11-10'";
        QTest::newRow("year, account summary, hour mode 2")
            << TotalPeriod::Year << "-2" << 2
            << "SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
               "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
               "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
               "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
               "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
               "Sum(Trans_incentive.hours_system_modified) AS TOTAL_SYSTEM_HOURS, "
               "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
               "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
               "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY FROM Trans_incentive "
               "WHERE (((Trans_incentive.trans_id)='o''neil') AND "
               "((Year(Trans_incentive.shift_date)) = 2012));";
        QTest::newRow("month, account summary, hour mode 1")
            << TotalPeriod::Month << "-2" << 1
            << "SELECT TOTAL_IHOURS_TYPED = (select sum(incent_hours_typed_modified) from "
               "Trans_incentive T1 where trans_id = 'o''neil' and ((Month(shift_date)) = 11) AND "
               "((Year(shift_date) = 2012)) and incent_hours_typed_modified = (SELECT "
               "MAX(incent_hours_typed_modified) FROM Trans_incentive T2 WHERE T2.trans_id = "
               "T1.trans_id AND T2.shift_date = T1.shift_date) and NOT exists (SELECT * FROM "
               "Trans_incentive T3 WHERE T1.incent_hours_typed_modified = "
               "T3.incent_hours_typed_modified AND T1.trans_id = T3.trans_id AND T1.shift_date = "
               "T3.shift_date AND T1.hosp_acct_id > T3.hosp_acct_id)), "
               "sum(incent_hours_typed_modified) as SUM_IHOURS_TYPED, ISNULL((SELECT "
               "CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM Trans_activity TA1 "
               "WHERE ((Month(TA1.shift_date)) = 11) AND ((Year(TA1.shift_date)) = 2012) AND "
               "TA1.trans_id = 'o''neil' AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS "
               "TOTAL_HOURS, Sum(number_rpts_modified) AS TOTAL_REPORTS, Sum(chars_modified) AS "
               "TOTAL_CHARS, Sum(lines_modified) AS TOTAL_LINES, Sum(pages_modified) AS "
               "TOTAL_PAGES, Sum(incent_typed_modified) AS TOTAL_ITYPED, "
               "Sum(incent_pay_modified) As TOTAL_IPAY From Trans_incentive where trans_id = "
               "'o''neil' and ((Month(shift_date)) = 11) AND ((Year(shift_date) = 2012))";
        QTest::newRow("week, account summary, hour mode 1 (filters)")
            << TotalPeriod::Week << "-2" << 1 << QString();
    }
    void totalStatementTexts() {
        QFETCH(TotalPeriod, period);
        QFETCH(QString, account);
        QFETCH(int, hourMode);
        QFETCH(QString, expected);
        const QString text = PeriodTotalStatements::statement(
            period, QStringLiteral("o'neil"), account, QDate(2012, 11, 4), hourMode);
        if (!expected.isEmpty()) {
            QCOMPARE(text, expected);
            return;
        }
        // The week's filter in its three places.
        QVERIFY(text.contains(QStringLiteral(
            "where trans_id = 'o''neil' and shift_date between '2012-11-04' And '2012-11-10' and "
            "incent_hours_typed_modified = (SELECT")));
        QVERIFY(text.contains(QStringLiteral(
            "FROM Trans_activity TA1 WHERE TA1.shift_date Between '2012-11-04' And '2012-11-10' "
            "AND TA1.trans_id = 'o''neil' AND TA1.work_type = 1")));
        QVERIFY(text.endsWith(
            QStringLiteral("From Trans_incentive where trans_id = 'o''neil' and shift_date between "
                           "'2012-11-04' And '2012-11-10'")));
    }

    // Every statement runs on the embedded engine and reads the columns the grid shows.
    void everyStatementRuns_data() {
        QTest::addColumn<QString>("account");
        QTest::addColumn<int>("hourMode");
        for (int mode : {1, 2}) {
            for (const char* account : {"10", "-2"})
                QTest::addRow("account %s, hour mode %d", account, mode)
                    << QString::fromLatin1(account) << mode;
        }
    }
    void everyStatementRuns() {
        QFETCH(QString, account);
        QFETCH(int, hourMode);
        test::TestDatabase db;
        db.exec(QStringLiteral(
            "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, chars_modified, "
            "incent_hours_typed_modified) VALUES ('o''neil', 10, '2012-11-05', 100, 2), "
            "('o''neil', 11, '2012-11-05', 50, 3), ('o''neil', 10, '2012-11-01', 7, 1)"));
        db.exec(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                               "work_type, update_type) VALUES ('o''neil', '2012-11-05', 5400, "
                               "1, 9)"));
        const QString user = QStringLiteral("o'neil");
        const QDate start(2012, 11, 4);
        db::Recordset days =
            db.connection().openRecordset(WeekStatements::days(user, account, start, hourMode));
        QVERIFY(!days.eof());
        QCOMPARE(days.date(QStringLiteral("shift_date")), QDate(2012, 11, 5));
        for (const char* column :
             {"num_reports", "num_incent_hours", "num_chars", "num_lines",
              "num_incent_hours_typed_modified", "num_incent_typed", "num_incent_pay", "locked"})
            QVERIFY2(days.fieldIndex(QString::fromLatin1(column)) >= 0, column);
        const double chars = days.value(QStringLiteral("num_chars")).toDouble();
        QCOMPARE(chars, account == QLatin1String("-2") ? 150.0 : 100.0);

        for (TotalPeriod period :
             {TotalPeriod::Week, TotalPeriod::BiWeek, TotalPeriod::Month, TotalPeriod::Year}) {
            db::Recordset totals = db.connection().openRecordset(
                PeriodTotalStatements::statement(period, user, account, start, hourMode));
            QVERIFY(!totals.eof());
            for (const char* column :
                 {"TOTAL_HOURS", "TOTAL_IHOURS_TYPED", "TOTAL_IPAY", "TOTAL_ITYPED", "TOTAL_CHARS",
                  "TOTAL_LINES", "TOTAL_REPORTS"})
                QVERIFY2(totals.fieldIndex(QString::fromLatin1(column)) >= 0, column);
            // The week before (bi-week), the month and the year also hold the 1 November row.
            const double expected = (account == QLatin1String("-2") ? 150.0 : 100.0) +
                                    (period == TotalPeriod::Week ? 0.0 : 7.0);
            QCOMPARE(totals.value(QStringLiteral("TOTAL_CHARS")).toDouble(), expected);
            if (hourMode == 1)
                QCOMPARE(totals.value(QStringLiteral("TOTAL_HOURS")).toDouble(), 1.5);
        }
        QCOMPARE(db.scalar(WeekStatements::activityHours(user, QDate(2012, 11, 5))).toDouble(),
                 1.5);
        QCOMPARE(db.scalar(WeekStatements::lastLockedDate()), QStringLiteral("1980-01-01"));
    }

    void labels_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("November 2012")
            << QDate(2012, 11, 4)
            << QStringList{"Week (Nov 04-Nov 10):", "Bi-Week (Oct 28-Nov 10):", "Month (Nov '12):",
                           "Year (2012):"};
        QTest::newRow("across the new year")
            << QDate(2012, 12, 30)
            << QStringList{"Week (Dec 30-Jan 05):", "Bi-Week (Dec 23-Jan 05):", "Month (Dec '12):",
                           "Year (2012):"};
    }
    void labels() {
        QFETCH(QDate, start);
        QFETCH(QStringList, expected);
        const QLocale locale(QStringLiteral("en_US"));
        QStringList actual;
        for (TotalPeriod period :
             {TotalPeriod::Week, TotalPeriod::BiWeek, TotalPeriod::Month, TotalPeriod::Year})
            actual << PeriodTotalStatements::label(period, start, locale);
        QCOMPARE(actual, expected);
    }

    void numberForms_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << 0.0 << "."
                              << "0.00"
                              << "0";
        QTest::newRow("whole") << 120.0 << "."
                               << "120.00"
                               << "120";
        QTest::newRow("half") << 7.5 << "."
                              << "7.50"
                              << "7.5";
        QTest::newRow("small") << 0.05 << "."
                               << "0.05"
                               << "0.05";
        QTest::newRow("decimal half rounds up") << 1.115 << "."
                                                << "1.12"
                                                << "1.115";
        QTest::newRow("third") << 1.0 / 3 << "."
                               << "0.33"
                               << "0.333333333333333";
        QTest::newRow("negative") << -0.5 << "."
                                  << "-0.50"
                                  << "-0.5";
        QTest::newRow("tiny negative") << -0.001 << "."
                                       << "0.00"
                                       << "-0.001";
        QTest::newRow("carry") << 9.996 << "."
                               << "10.00"
                               << "9.996";
        QTest::newRow("large") << 1234567.0 << "."
                               << "1234567.00"
                               << "1234567";
        QTest::newRow("very small") << 0.00001 << "."
                                    << "0.00"
                                    << "1E-05";
        QTest::newRow("very large") << 1e15 << "."
                                    << "1000000000000000.00"
                                    << "1E+15";
        QTest::newRow("single precision value") << double(7.1f) << "."
                                                << "7.10"
                                                << "7.09999990463257";
        QTest::newRow("regional comma") << 1234.5 << ","
                                        << "1234,50"
                                        << "1234,5";
    }
    void numberForms() {
        QFETCH(double, value);
        QFETCH(QString, separator);
        QFETCH(QString, fixed);
        QFETCH(QString, plain);
        const NumberText numbers(separator);
        QCOMPARE(numbers.fixed(value), fixed);
        QCOMPARE(numbers.plain(value), plain);
    }

    void roundsHalvesToEven() {
        QCOMPARE(NumberText::roundHalfEven(-0.5), 0.0);
        QCOMPARE(NumberText::roundHalfEven(-0.51), -1.0);
        QCOMPARE(NumberText::roundHalfEven(-1.5), -2.0);
        QCOMPARE(NumberText::roundHalfEven(2.5), 2.0);
    }
};

VELORA_TEST(TestWeekStatements)
#include "TestWeekStatements.moc"
