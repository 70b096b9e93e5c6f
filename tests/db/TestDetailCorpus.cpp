// The weekly detail's statements (day rows, empty days, saving and reverting a day), as the
// program builds them, run on the embedded engine against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "detail/DayChangeMask.h"
#include "detail/RevertStatement.h"
#include "detail/SaveWeekStatements.h"
#include "detail/WeekStatements.h"
#include "suite/HXRegion.h"

#include <QTest>

using namespace velora::test;
using velora::detail::DayCellTexts;
using velora::detail::DayChangeMask;
using velora::detail::DayRecord;
using velora::detail::RevertStatement;
using velora::detail::SaveWeekStatements;
using velora::detail::ValueKind;
using velora::detail::WeekStatements;

namespace {

DayRecord dayOf(const QString& transId, int account, const QString& day) {
    DayRecord record;
    record.TransID = transId;
    record.AccountID = account;
    record.ShiftDate = QDate::fromString(day, Qt::ISODate);
    record.Editable = true;
    return record;
}

QString dayKey(const QString& transId, int account, const QString& day) {
    return SaveWeekStatements::dayFilter(dayOf(transId, account, day));
}

} // namespace

class TestDetailCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statements_data();
    void statements() { runCorpusRow(); }
};

void TestDetailCorpus::statements_data() {
    addCorpusColumns();
    const QDate newYear(2023, 12, 31);
    const QDate week5(2024, 1, 29);
    const auto days = &WeekStatements::days;
    // clang-format off
    // One account, hours typed: account, locked, day, then the figures in force (reports, hours,
    // char lines, true lines, pages, IHours, ITyped, IPay) and the collected ones.
    corpusRow("account, hours typed, corrected hours", days("jsmith", "101", week5, 2),
              {"101|0|2024-01-29|8|5.5|800|760|16|6|780|78|8|5|800|760|16|6|780|78",
               "101|0|2024-01-30|9|6|900|850|18|6|870|87|9|6|900|850|18|6|870|87",
               "101|0|2024-02-01|11|7|1100|1000|22|7|1050|105|11|7|1100|1000|22|7|1050|105"});
    corpusRow("account, hours typed, quote in the id", days("O'Brien", "101", week5, 2),
              {"101|0|2024-01-29|5|3|500|450|10|3|470|47|5|3|500|450|10|3|470|47"});
    // Hour mode 1: the collected hours are the stored system hours; the hours in force come from
    // the log, rounded once per day (three pieces of 0.2777... hours are 0.83), last column.
    corpusRow("account, activity hours", days("jsmith", "101", week5, 1),
              {"101|0|2024-01-29|8|800|760|16|6|780|78|8|800|760|16|5.56|6|780|78|5.56",
               "101|0|2024-01-30|9|900|850|18|6|870|87|9|900|850|18|6.39|6|870|87|6.39",
               "101|0|2024-02-01|11|1100|1000|22|7|1050|105|11|1100|1000|22|0.83|7|1050|105|0.83"});
    corpusRow("account, activity hours, New Year", days("jsmith", "101", newYear, 1),
              {"101|1|2023-12-31|4|400|380|8|2|390|39|4|400|380|8|2.5|2|390|39|2.5",
               "101|0|2024-01-02|12|1250|1100|24|7|1150|120.25|12|1200|1100|24|7.5|7|1150|115.5|7.5"});
    corpusRow("account, activity hours, none logged", days("O'Brien", "101", week5, 1),
              {"101|0|2024-01-29|5|500|450|10|3|470|47|5|500|450|10|1|3|470|47|0"});
    corpusRow("account, week without rows", days("jsmith", "101", QDate(2024, 3, 3), 1), {});
    // The account summary: day, locked, reports, hours, char lines, true lines, pages, IHours,
    // ITyped, IPay, collected IPay. Hours typed and IHours add up over the accounts.
    corpusRow("summary, hours typed", days("jsmith", "-2", week5, 2),
              {"2024-01-29|1|8|5.5|800|760|16|6|780|78|78",
               "2024-01-30|1|11|7|1100|1040|22|12|1065|106.5|106.5",
               "2024-02-01|1|11|7|1100|1000|22|7|1050|105|105"});
    // Hour mode 1: the day's largest IHours, the hours from the log last.
    corpusRow("summary, activity hours", days("jsmith", "-2", week5, 1),
              {"2024-01-29|1|8|800|760|16|6|780|78|78|5.56",
               "2024-01-30|1|11|1100|1040|22|6|1065|106.5|106.5|6.39",
               "2024-02-01|1|11|1100|1000|22|7|1050|105|105|0.83"});
    corpusRow("summary, activity hours, New Year", days("jsmith", "-2", newYear, 1),
              {"2023-12-31|1|4|400|380|8|2|390|39|39|2.5",
               "2024-01-02|1|15|1550|1380|30|7|1440|149.25|144.5|7.5"});

    // The hours of a day without a row, from the log.
    const auto hours = [](const char* transId, int year, int month, int day) {
        return WeekStatements::activityHours(transId, QDate(year, month, day));
    };
    corpusRow("empty day: 0.125 hours round up", hours("jsmith", 2024, 1, 31), {"0.13"});
    corpusRow("empty day: 2.675 hours round up, not down", hours("jsmith", 2024, 2, 2), {"2.68"});
    corpusRow("empty day: the sum is rounded, not each piece", hours("jsmith", 2024, 2, 1), {"0.83"});
    corpusRow("empty day: uncounted rows count, update type 6 and other work do not",
              hours("jsmith", 2024, 1, 2), {"7.5"});
    corpusRow("empty day: the id in another letter case counts", hours("jsmith", 2024, 1, 30), {"6.39"});
    corpusRow("empty day: quote in the id", hours("O'Brien", 2024, 1, 30), {"1"});
    corpusRow("empty day: nothing logged is 0, not NULL", hours("jsmith", 2024, 2, 3), {"0"});

    // Saving changes only the listed columns of the one day; every bit of the change mask.
    const velora::suite::HXRegion region(QLocale(QLocale::English, QLocale::UnitedStates));
    const SaveWeekStatements typed(region, 2);
    const SaveWeekStatements activity(region, 1);
    corpusRow("save: the listed columns of one day",
              "SELECT trans_id, shift_date, number_rpts, number_rpts_modified, hours_typed, "
              "hours_typed_modified, chars_modified, lines_modified, incent_hours_typed_modified, "
              "incent_typed_modified, incent_pay, incent_pay_modified FROM trans_incentive WHERE "
              "hosp_acct_id = 101 AND shift_date BETWEEN '2024-01-29' AND '2024-01-30' "
              "ORDER BY shift_date, trans_id",
              {"jsmith|2024-01-29|8|9|5|6.25|850|800|6.5|800|78|80.5",
               "O'Brien|2024-01-29|5|5|3|3|500|450|3|470|47|-0.5",
               "jsmith|2024-01-30|9|9|6|6|900|850|6|870|87|87"},
              {{typed.update(dayOf("jsmith", 101, "2024-01-29"), 0xFE,
                             DayCellTexts{"9", "6.25", "850", "800", "6.5", "800", "80.5"})},
               {typed.update(dayOf("O'Brien", 101, "2024-01-29"), DayChangeMask::kIPay,
                             DayCellTexts{"", "", "", "", "", "", "-0.5"})}});
    // In hour mode 1 the save refreshes the day's four hour figures from the log.
    const QString hourFigures = "SELECT hours_system, hours_other, hours_system_modified, "
                                "hours_other_modified, chars_modified FROM trans_incentive";
    for (const auto& [transId, day, expected] :
         {std::tuple{"jsmith", "2024-01-02", "8|0.35|7.5|0.25|1300"},
          std::tuple{"O'Brien", "2024-01-29", "0|0|0|0|1300"}})
        corpusRow(QByteArray("save, activity hours: ") + transId, hourFigures + dayKey(transId, 101, day),
                  {expected}, {{activity.update(dayOf(transId, 101, day),
                                                DayChangeMask::kHours | DayChangeMask::kCharLines,
                                                DayCellTexts{"", "", "1300", "", "", "", ""})}});
    // A new day: the collected figures, the lock and the results take the table's defaults.
    const QString newDay = "SELECT trans_id, number_rpts_modified, hours_typed_modified, chars_modified, "
                           "lines_modified, number_rpts, chars, locked, dept_id, incent_pay_modified FROM "
                           "trans_incentive";
    corpusRow("save a new day, activity hours", newDay + dayKey("O'Brien", 101, "2024-01-31"),
              {"O'Brien|3|0|250|240|0|0|0|0|0"},
              {{activity.insert(dayOf("O'Brien", 101, "2024-01-31"),
                                DayCellTexts{"3", "9", "250", "240", "", "", ""})}});
    corpusRow("save a new day, hours typed", newDay + dayKey("k.lee", 102, "2024-01-31"),
              {"k.lee|2|1.75|150|140|0|0|0|0|0"},
              {{typed.insert(dayOf("k.lee", 102, "2024-01-31"),
                             DayCellTexts{"2", "1.75", "150", "140", "", "", ""})}});

    // Reverting copies the collected value back into the day of the one account; jsmith's other
    // account keeps its correction.
    DayRecord corrected = dayOf("jsmith", 101, "2024-01-02");
    corrected.values[0] = {12, 12};
    const std::tuple<ValueKind, int, const char*, const char*> reverts[] = {
        {ValueKind::Reports, 2, "number_rpts", "12"}, {ValueKind::Hours, 1, "hours_system", "7"},
        {ValueKind::Hours, 2, "hours_typed", "7.25"}, {ValueKind::CharLines, 2, "chars", "1200"},
        {ValueKind::TrueLines, 2, "lines", "1100"}, {ValueKind::IHours, 2, "incent_hours_typed", "7"},
        {ValueKind::ITyped, 2, "incent_typed", "1150"}, {ValueKind::IPay, 1, "incent_pay", "115.5"}};
    for (const auto& [kind, hourMode, column, collected] : reverts) {
        const QString modified = QString::fromUtf8(column) + "_modified";
        corpusRow(QByteArray("revert ") + column,
                  "SELECT hosp_acct_id, " + modified + " FROM trans_incentive WHERE trans_id = 'jsmith' "
                  "AND shift_date = '2024-01-02' ORDER BY hosp_acct_id",
                  {"101|" + QString::fromUtf8(collected), "102|999"},
                  {{"UPDATE trans_incentive SET " + modified + " = 999 WHERE trans_id = 'jsmith' AND "
                    "shift_date = '2024-01-02'", 2},
                   {RevertStatement::build(corrected, kind, hourMode)}});
    }
    // O'Brien's row of 2024-02-01 holds only a corrected report count: its revert deletes it.
    DayRecord onlyCorrection = dayOf("O'Brien", 102, "2024-02-01");
    onlyCorrection.values[0] = {4, 0};
    corpusRow("revert of the last correction deletes the row",
              "SELECT hosp_acct_id, shift_date FROM trans_incentive WHERE trans_id = 'O''Brien'",
              {"101|2024-01-15", "101|2024-01-29"},
              {{RevertStatement::build(onlyCorrection, ValueKind::Reports, 2)}});
    // clang-format on
}

VELORA_TEST(TestDetailCorpus)
#include "TestDetailCorpus.moc"
