#include "ReportDemo.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/PeriodTotalStatements.h"
#include "detail/WeekStart.h"
#include "report/PayPeriodReport.h"

#include <QTest>

using namespace velora;
using detail::PeriodTotalStatements;
using detail::TotalPeriod;
using report::PayPeriod;
using report::PayPeriodReport;
using report::ReportFigures;
using report::ReportScope;

namespace {

bool same(double a, double b) {
    return qAbs(a - b) <= 1e-6 * qMax(1.0, qAbs(a));
}

QString describe(const ReportFigures& f) {
    return QStringLiteral("%1 reports, %2 lines, %3 h, %4 IHours, %5 ITyped, %6 IPay")
        .arg(f.reports)
        .arg(f.lines)
        .arg(f.hours)
        .arg(f.iHours)
        .arg(f.iTyped)
        .arg(f.iPay);
}

bool sameFigures(const ReportFigures& a, const ReportFigures& b) {
    return same(a.reports, b.reports) && same(a.lines, b.lines) && same(a.hours, b.hours) &&
           same(a.iHours, b.iHours) && same(a.iTyped, b.iTyped) && same(a.iPay, b.iPay);
}

// The weekly detail's totals row for one period, as its own statement computes it; nothing
// when the period has no rows.
std::optional<ReportFigures> detailTotals(db::Connection& connection, TotalPeriod period,
                                          const QString& transID, const QString& accountID,
                                          const QDate& start, int hourMode) {
    db::Recordset row = connection.openRecordset(
        PeriodTotalStatements::statement(period, transID, accountID, start, hourMode));
    if (row.eof() || row.isNull(QStringLiteral("TOTAL_REPORTS")))
        return std::nullopt;
    const auto value = [&row](const char* column) {
        return row.value(QLatin1String(column)).toDouble();
    };
    return ReportFigures{value("TOTAL_REPORTS"),      value("TOTAL_LINES"),  value("TOTAL_HOURS"),
                         value("TOTAL_IHOURS_TYPED"), value("TOTAL_ITYPED"), value("TOTAL_IPAY")};
}

PayPeriod reportPeriod(TotalPeriod period, const QDate& start) {
    const int firstDay = detail::WeekStart::weekday(start);
    switch (period) {
    case TotalPeriod::Week:
        return PayPeriod::week(start, firstDay);
    case TotalPeriod::BiWeek:
        return PayPeriod::biWeek(start, firstDay);
    case TotalPeriod::Month:
        return PayPeriod::month(start);
    case TotalPeriod::Year:
        break;
    }
    return PayPeriod::range(QDate(start.year(), 1, 1), QDate(start.year(), 12, 31));
}

} // namespace

class TestPayPeriodReport : public QObject {
    Q_OBJECT

private:
    test::ReportDemo demo_;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(demo_.make());
        // Corrections on some rows, and a day on which two accounts of one user carry the same
        // incentive hours: the report must take the corrected values and count those hours
        // once in hour mode 1, as the weekly detail does.
        demo_.connection->execute(QStringLiteral(
            "UPDATE Trans_incentive SET incent_pay_modified = incent_pay_modified + 11.25, "
            "lines_modified = lines_modified + 3, incent_hours_typed_modified = "
            "incent_hours_typed_modified + 0.5 WHERE (rowid % 7) = 0"));
        demo_.connection->execute(QStringLiteral(
            "UPDATE Trans_incentive SET incent_hours_typed_modified = 6 WHERE shift_date = "
            "'2024-02-27'"));
        QVERIFY(demo_
                    .scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE "
                                           "shift_date = '2024-02-27' GROUP BY trans_id "
                                           "ORDER BY COUNT(*) DESC"))
                    .toInt() > 1);
    }

    // For every user of the database, the report's line equals the account summary's totals
    // of the weekly detail, and each of its account lines that account's totals, in both hour
    // modes, for weeks that start on different weekdays, cross a month end or hold the leap
    // day, their bi-weeks, their months and their year. A user without rows in the period has
    // no line.
    void totalsEqualTheWeeklyDetail_data() {
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<int>("period");
        QTest::addColumn<QDate>("start");
        const QList<QDate> starts{QDate(2024, 1, 28), QDate(2024, 2, 26), QDate(2024, 3, 8)};
        const char* names[] = {"week", "bi-week", "month", "year"};
        for (int hourMode : {1, 2}) {
            for (const QDate& start : starts) {
                for (int period = 0; period < 4; ++period) {
                    QTest::addRow("mode %d, %s of %s", hourMode, names[period],
                                  qPrintable(start.toString(Qt::ISODate)))
                        << hourMode << period << start;
                }
            }
        }
    }

    void totalsEqualTheWeeklyDetail() {
        QFETCH(int, hourMode);
        QFETCH(int, period);
        QFETCH(QDate, start);
        const auto total = static_cast<TotalPeriod>(period);
        PayPeriodReport report(*demo_.connection);
        const ReportScope scope{hourMode, {}};
        const report::ReportTable table = report.users(reportPeriod(total, start), scope);
        const auto accounts = report.accounts(reportPeriod(total, start), scope);

        std::map<QString, ReportFigures> listed;
        for (const report::ReportLine& line : table.lines)
            listed[line.key] = line.figures;
        db::Recordset users =
            demo_.connection->openRecordset(QStringLiteral("SELECT trans_id FROM Trans_info"));
        int withRows = 0;
        for (; !users.eof(); users.moveNext()) {
            const QString user = users.text(QStringLiteral("trans_id"));
            const auto expected =
                detailTotals(*demo_.connection, total, user, QStringLiteral("-2"), start, hourMode);
            QCOMPARE(listed.count(user), expected ? 1u : 0u);
            if (!expected)
                continue;
            ++withRows;
            QVERIFY2(sameFigures(listed[user], *expected),
                     qPrintable(user + QStringLiteral(": ") + describe(listed[user]) +
                                QStringLiteral(" / ") + describe(*expected)));
            for (const report::ReportLine& account : accounts.at(PayPeriodReport::userKey(user))) {
                const auto accountTotals =
                    detailTotals(*demo_.connection, total, user, account.key, start, hourMode);
                QVERIFY(accountTotals);
                QVERIFY2(sameFigures(account.figures, *accountTotals),
                         qPrintable(user + QLatin1Char('/') + account.key));
            }
        }
        QVERIFY(withRows > 0);
        QCOMPARE(table.lines.size(), static_cast<std::size_t>(withRows));
    }

    // Known figures on a database of our own: the corrected values, IHours of one day on two
    // accounts counted once in hour mode 1 and twice in hour mode 2, activity-log or typed
    // hours, the partition filter, the total, names that need quoting, and a period without
    // rows (no lines, a zero total).
    void knownFigures() {
        test::TestDatabase database;
        database.exec(QStringLiteral(
            "INSERT INTO Trans_info (trans_id, first_name, last_name, extra3) VALUES "
            "('o''hara', 'Seán', 'O''Hara, \"Jr\"', 1), ('lee', 'Ann', 'Lee', 2)"));
        database.exec(QStringLiteral(
            "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, number_rpts, "
            "number_rpts_modified, lines, lines_modified, hours_typed, hours_typed_modified, "
            "incent_hours_typed, incent_hours_typed_modified, incent_typed, "
            "incent_typed_modified, incent_pay, incent_pay_modified) VALUES "
            "('o''hara', 10, '2024-05-06', 4, 4, 100, 100, 3, 3, 6, 6, 110, 110, 20, 25.5), "
            "('o''hara', 11, '2024-05-06', 2, 3, 50, 50, 2, 2, 6, 6, 55, 55, 10, 10), "
            "('o''hara', 10, '2024-05-07', 1, 1, 10, 10, 1, 1, 2, 1.5, 11, 11, 5, 5), "
            "('lee', 10, '2024-05-06', 1, 1, 40, 40, 1, 1, 1, 1, 44, 44, 7, 7), "
            "('lee', 10, '2024-06-01', 1, 1, 40, 40, 1, 1, 1, 1, 44, 44, 7, 7)"));
        database.exec(QStringLiteral(
            "INSERT INTO Trans_activity (trans_id, shift_date, activity_time, work_type, "
            "update_type) VALUES ('o''hara', '2024-05-06', 9000, 1, 9), "
            "('o''hara', '2024-05-07', 1800, 1, 9), ('o''hara', '2024-05-07', 3600, 2, 9)"));
        PayPeriodReport report(database.connection());
        const PayPeriod may = PayPeriod::range(QDate(2024, 5, 1), QDate(2024, 5, 31));

        const report::ReportTable system = report.users(may, {1, {}});
        QCOMPARE(system.lines.size(), 2u);
        QCOMPARE(system.lines[0].name, QStringLiteral("Lee, Ann"));
        QCOMPARE(system.lines[1].key, QStringLiteral("o'hara"));
        QCOMPARE(system.lines[1].name, QStringLiteral("O'Hara, \"Jr\", Seán"));
        QVERIFY(sameFigures(system.lines[1].figures, {8, 160, 3, 7.5, 176, 40.5}));
        QVERIFY(sameFigures(system.lines[0].figures, {1, 40, 0, 1, 44, 7}));
        QVERIFY(sameFigures(system.total, {9, 200, 3, 8.5, 220, 47.5}));

        const report::ReportTable typed = report.users(may, {2, {1}});
        QCOMPARE(typed.lines.size(), 1u);
        QVERIFY(sameFigures(typed.lines[0].figures, {8, 160, 6, 13.5, 176, 40.5}));
        const auto accounts = report.accounts(may, {2, {1}});
        QCOMPARE(accounts.size(), 1u);
        QCOMPARE(accounts.at(QStringLiteral("O'HARA")).size(), 2u);

        const report::ReportTable empty =
            report.users(PayPeriod::range(QDate(2023, 1, 1), QDate(2023, 12, 31)), {1, {}});
        QVERIFY(empty.lines.empty());
        QVERIFY(sameFigures(empty.total, {}));
    }
};

VELORA_TEST(TestPayPeriodReport)
#include "TestPayPeriodReport.moc"
