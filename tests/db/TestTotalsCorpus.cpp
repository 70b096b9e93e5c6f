// The period totals of the weekly detail (week, bi-week, month, year; single account and
// account summary; both hour modes), as the program builds them, run on the embedded engine
// against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "detail/PeriodTotalStatements.h"

#include <QTest>

using namespace velora::test;

namespace {

using velora::detail::PeriodTotalStatements;
using velora::detail::TotalPeriod;

const TotalPeriod periods[] = {TotalPeriod::Week, TotalPeriod::BiWeek, TotalPeriod::Month,
                               TotalPeriod::Year};
const char* const periodNames[] = {"week", "bi-week", "month", "year"};

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
        for (int p = 0; p < 4; ++p)
            QTest::addRow("%s, %s", c.name, periodNames[p])
                << PeriodTotalStatements::statement(periods[p], c.transId, c.account, c.start,
                                                    c.hourMode)
                << shownColumns << c.perPeriod[p];
    }
    // A day whose largest IHours two accounts share counts once (k.lee's only day; jsmith's
    // 30 January among others); the plain sum counts both.
    const QStringList ihours = {"TOTAL_IHOURS_TYPED", "SUM_IHOURS_TYPED"};
    QTest::newRow("tied day") << PeriodTotalStatements::statement(TotalPeriod::Week, "k.lee", "-2",
                                                                  QDate(2024, 1, 29), 1)
                              << ihours << "6|12";
    QTest::newRow("tied day among others")
        << PeriodTotalStatements::statement(TotalPeriod::Week, "jsmith", "-2", QDate(2024, 1, 29),
                                            1)
        << ihours << "19|25";
    QTest::newRow("summary year, hours typed: system hours")
        << PeriodTotalStatements::statement(TotalPeriod::Year, "jsmith", "-2", QDate(2024, 1, 29),
                                            2)
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
