// The period totals of the weekly detail (week, bi-week, month, year; single account and
// account summary; both hour modes) run on the embedded engine against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora::test;

namespace {

enum Period { Week, BiWeek, Month, Year };

// The spellings of a period's filter: on the production rows ({acct} and {acct2} are the
// account's part, left out in the account summary), on the activity log, on the summary's
// days, and on the production rows of one account in hour mode 1 (where it differs).
struct PeriodFilters {
    const char* name;
    int fromOffset; // {from}: days from the start of the week
    const char* rows;
    const char* activity;
    const char* days;
    const char* accountActivityRows;
};

// clang-format off
const PeriodFilters periods[] = {
    {"week", 0,
     "(((Trans_incentive.trans_id)='{q}') AND {acct}((Trans_incentive.shift_date) Between '{from}' And '{d2}'));",
     "TA1.shift_date Between '{from}' And '{d2}'", "shift_date between '{from}' And '{d2}'",
     "Trans_incentive.trans_id='{q}' AND Trans_incentive.hosp_acct_id='{a}' AND Trans_incentive.shift_date "
     "Between '{from}' And '{d2}'"},
    {"bi-week", -7,
     "Trans_incentive.trans_id='{q}'{acct2} AND Trans_incentive.shift_date Between '{from}' And '{d2}'",
     "TA1.shift_date Between '{from}' And '{d2}'", "shift_date between '{from}' And '{d2}'",
     "Trans_incentive.trans_id='{q}' AND Trans_incentive.hosp_acct_id='{a}' AND Trans_incentive.shift_date "
     "Between '{from}' And '{d2}'"},
    {"month", 0,
     "(((Trans_incentive.trans_id)='{q}') AND {acct}((Month(Trans_incentive.shift_date)) = {mo})) AND "
     "((Year(Trans_incentive.shift_date) = {yr}));",
     "((Month(TA1.shift_date)) = {mo}) AND ((Year(TA1.shift_date)) = {yr})",
     "((Month(shift_date)) = {mo}) AND ((Year(shift_date) = {yr}))", nullptr},
    {"year", 0,
     "(((Trans_incentive.trans_id)='{q}') AND {acct}((Year(Trans_incentive.shift_date)) = {yr}));",
     "((Year(TA1.shift_date)) = {yr})", "((Year(shift_date) = {yr}))", nullptr},
};
// clang-format on

const QString typedColumns =
    "SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
    "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
    "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
    "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
    "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
    "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
    "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
    "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ";

// Hour mode 2: the sums; the summary's year also sums the system hours.
QString typedStatement(Period period, bool summary) {
    QString columns = typedColumns;
    if (summary && period == Year)
        columns.replace("AS TOTAL_PAGES, ", "AS TOTAL_PAGES, Sum(Trans_incentive."
                                            "hours_system_modified) AS TOTAL_SYSTEM_HOURS, ");
    return columns + "FROM Trans_incentive WHERE " + periods[period].rows;
}

// Hour mode 1: the hours are the user's log time of the period, rounded once.
QString activityStatement(Period period, bool summary) {
    const PeriodFilters& p = periods[period];
    const QString hours = "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) "
                          "FROM Trans_activity TA1 WHERE " +
                          QString::fromUtf8(p.activity) +
                          " AND TA1.trans_id = '{q}' AND TA1.work_type = 1 AND TA1.update_type = "
                          "9),0) AS TOTAL_HOURS";
    if (!summary)
        return QString(typedColumns)
                   .remove("Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, ")
                   .chopped(1) +
               ", " + hours + " FROM Trans_incentive WHERE " +
               (p.accountActivityRows ? p.accountActivityRows : p.rows);
    // Each day's IHours count once: the row with the day's largest value, and of rows sharing
    // it the one with the smallest account id.
    const QString days = QString::fromUtf8(p.days);
    return "SELECT TOTAL_IHOURS_TYPED = (select sum(incent_hours_typed_modified) from "
           "Trans_incentive T1 where trans_id = '{q}' and " +
           days +
           " and incent_hours_typed_modified = (SELECT MAX(incent_hours_typed_modified) FROM "
           "Trans_incentive T2 WHERE T2.trans_id = T1.trans_id AND T2.shift_date = "
           "T1.shift_date) and NOT exists (SELECT * FROM Trans_incentive T3 WHERE "
           "T1.incent_hours_typed_modified = T3.incent_hours_typed_modified AND T1.trans_id = "
           "T3.trans_id AND T1.shift_date = T3.shift_date AND T1.hosp_acct_id > "
           "T3.hosp_acct_id)), sum(incent_hours_typed_modified) as SUM_IHOURS_TYPED, " +
           hours +
           ", Sum(number_rpts_modified) AS TOTAL_REPORTS, Sum(chars_modified) AS TOTAL_CHARS, "
           "Sum(lines_modified) AS TOTAL_LINES, Sum(pages_modified) AS TOTAL_PAGES, "
           "Sum(incent_typed_modified) AS TOTAL_ITYPED, Sum(incent_pay_modified) As TOTAL_IPAY "
           "From Trans_incentive where trans_id = '{q}' and " +
           days;
}

QString totalsStatement(Period period, const QString& transId, const QString& account,
                        const QDate& start, int hourMode) {
    const bool summary = account == QLatin1String("-2");
    QString statement =
        hourMode == 2 ? typedStatement(period, summary) : activityStatement(period, summary);
    const QString from = start.addDays(periods[period].fromOffset).toString(Qt::ISODate);
    return statement.replace("{acct}", summary ? "" : "((Trans_incentive.hosp_acct_id)={a}) AND ")
        .replace("{acct2}", summary ? "" : " AND Trans_incentive.hosp_acct_id={a}")
        .replace("{q}", quoteSql(transId))
        .replace("{a}", account)
        .replace("{from}", from)
        .replace("{d2}", start.addDays(6).toString(Qt::ISODate))
        .replace("{mo}", QString::number(start.month()))
        .replace("{yr}", QString::number(start.year()));
}

const QStringList shownColumns = {"TOTAL_REPORTS", "TOTAL_HOURS", "TOTAL_CHARS",
                                  "TOTAL_LINES",   "TOTAL_PAGES", "TOTAL_IHOURS_TYPED",
                                  "TOTAL_ITYPED",  "TOTAL_IPAY"};

} // namespace

class TestTotalsCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void totals_data();
    void totals();
};

void TestTotalsCorpus::totals_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("expected"); // the one row of totals
    const QDate week5(2024, 1, 29);
    const QDate newYear(2023, 12, 31);
    // The week of Monday 29 January 2024 lies mostly in February: the month row totals
    // January. The week of Sunday 31 December 2023 totals December and 2023.
    // clang-format off
    const struct {
        const char* name;
        const char* transId;
        const char* account;
        QDate start;
        int hourMode;
        const char* perPeriod[4]; // the shown columns of week, bi-week, month, year
    } cases[] = {
        {"account, hours typed", "jsmith", "101", week5, 2, {
            "28|18.5|2800|2610|56|19|2700|270", "33|22.5|3300|3090|66|23|3190|319",
            "34|22.75|3450|3190|68|23|3290|334.25", "46|30.25|4650|4280|92|31|4435|448.75"}},
        {"account, activity hours", "jsmith", "101", week5, 1, {
            "28|15.58|2800|2610|56|19|2700|270", "33|19.58|3300|3090|66|23|3190|319",
            "34|23.57|3450|3190|68|23|3290|334.25", "46|27.08|4650|4280|92|31|4435|448.75"}},
        {"summary, hours typed", "jsmith", "-2", week5, 2, {
            "30|19.5|3000|2800|60|25|2895|289.5", "35|23.5|3500|3280|70|29|3385|338.5",
            "45|28.25|4550|4210|90|37|4335|438.75", "57|35.75|5750|5300|114|45|5480|553.25"}},
        {"summary, activity hours", "jsmith", "-2", week5, 1, {
            "30|15.58|3000|2800|60|19|2895|289.5", "35|19.58|3500|3280|70|23|3385|338.5",
            "45|23.57|4550|4210|90|26|4335|438.75", "57|27.08|5750|5300|114|34|5480|553.25"}},
        {"New Year, account, activity hours", "jsmith", "101", newYear, 1, {
            "16|10|1650|1480|32|9|1540|159.25", "26|17|2650|2380|52|15|2490|254.25",
            "14|9.5|1400|1280|28|8|1340|134", "14|9.5|1400|1280|28|8|1340|134"}},
        {"quote in the user id, summary, activity hours", "O'Brien", "-2", week5, 1, {
            "9|1|500|450|10|3|470|47", "9|1|500|450|10|3|470|47",
            "7|1|700|630|14|4|660|66", "11|1|700|630|14|4|660|66"}},
        // Activity hours come through ISNULL(..., 0); every sum of no rows is NULL.
        {"no rows, account, hours typed", "jsmith", "101", QDate(2025, 3, 3), 2, {
            "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL", "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL",
            "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL", "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL"}},
        {"no rows, summary, activity hours", "jsmith", "-2", QDate(2025, 3, 3), 1, {
            "NULL|0|NULL|NULL|NULL|NULL|NULL|NULL", "NULL|0|NULL|NULL|NULL|NULL|NULL|NULL",
            "NULL|0|NULL|NULL|NULL|NULL|NULL|NULL", "NULL|0|NULL|NULL|NULL|NULL|NULL|NULL"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (Period period : {Week, BiWeek, Month, Year})
            QTest::addRow("%s, %s", c.name, periods[period].name)
                << totalsStatement(period, c.transId, c.account, c.start, c.hourMode)
                << shownColumns << c.perPeriod[period];
    }
    // A day whose largest IHours two accounts share counts once (k.lee's only day; jsmith's
    // 30 January among others); the plain sum counts both.
    const QStringList ihours = {"TOTAL_IHOURS_TYPED", "SUM_IHOURS_TYPED"};
    QTest::newRow("tied day") << totalsStatement(Week, "k.lee", "-2", QDate(2024, 1, 29), 1)
                              << ihours << "6|12";
    QTest::newRow("tied day among others")
        << totalsStatement(Week, "jsmith", "-2", QDate(2024, 1, 29), 1) << ihours << "19|25";
    QTest::newRow("summary year, hours typed: system hours")
        << totalsStatement(Year, "jsmith", "-2", QDate(2024, 1, 29), 2)
        << QStringList{"TOTAL_SYSTEM_HOURS"} << "24.28";
}

void TestTotalsCorpus::totals() {
    QFETCH(QString, statement);
    QFETCH(QStringList, columns);
    QFETCH(QString, expected);
    CorpusFixture fx;
    QCOMPARE(fx.rows(statement, columns), QStringList{expected});
}

VELORA_TEST(TestTotalsCorpus)
#include "TestTotalsCorpus.moc"
