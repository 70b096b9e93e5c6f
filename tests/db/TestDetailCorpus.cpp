// The weekly detail's statements (day rows, empty days, saving and reverting a day) run on the
// embedded engine against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora::test;

namespace {

// A day's system hours from the activity log, for the row of the outer query (alias TI).
const QString rowHours =
    "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM Trans_activity TA1 "
    "WHERE TA1.shift_date = TI.shift_date AND TA1.trans_id = TI.trans_id AND TA1.work_type = 1 "
    "AND TA1.update_type = 9),0) AS num_incent_hours ";

// The day statements of one account, then of the account summary; in hour mode 2 (hours typed)
// and hour mode 1 (hours from the activity log). {q} is the quoted user id, {a} the account,
// {d1} and {d2} the first and last day of the week.
const QString accountTyped =
    "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, "
    "hours_typed_modified AS num_incent_hours, chars_modified AS num_chars, lines_modified AS "
    "num_lines, pages_modified AS num_pages, incent_hours_typed_modified AS "
    "num_incent_hours_typed_modified, incent_typed_modified AS num_incent_typed, "
    "incent_pay_modified AS num_incent_pay, number_rpts AS num_orig_reports, hours_typed as "
    "num_orig_incent_hours, chars AS num_orig_chars, lines AS num_orig_lines, pages AS "
    "num_orig_pages, incent_hours_typed AS num_orig_incent_hours_typed, incent_typed AS "
    "num_orig_incent_typed, incent_pay AS num_orig_incent_pay FROM trans_incentive WHERE "
    "trans_id = '{q}' AND hosp_acct_id = {a} AND shift_date BETWEEN '{d1}' AND '{d2}' ORDER BY "
    "shift_date";
const QString accountActivity =
    "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, chars_modified "
    "AS num_chars, lines_modified AS num_lines, pages_modified AS num_pages, "
    "incent_hours_typed_modified as num_incent_hours_typed_modified, incent_typed_modified AS "
    "num_incent_typed, incent_pay_modified AS num_incent_pay, number_rpts AS num_orig_reports, "
    "chars AS num_orig_chars, lines AS num_orig_lines, pages AS num_orig_pages, "
    "hours_system_modified AS num_orig_incent_hours, incent_hours_typed AS "
    "num_orig_incent_hours_typed, incent_typed AS num_orig_incent_typed, incent_pay AS "
    "num_orig_incent_pay, " +
    rowHours +
    "FROM trans_incentive TI WHERE trans_id = '{q}' AND hosp_acct_id = {a} AND shift_date "
    "BETWEEN '{d1}' AND '{d2}' ORDER BY shift_date";
const QString summaryTyped =
    "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
    "SUM(hours_typed_modified) AS num_incent_hours, SUM(chars_modified) AS num_chars, "
    "SUM(lines_modified) AS num_lines, SUM(pages_modified) AS num_pages, "
    "SUM(incent_hours_typed_modified) AS num_incent_hours_typed_modified, "
    "SUM(incent_typed_modified) AS num_incent_typed, SUM(incent_pay_modified) AS num_incent_pay, "
    "sum(incent_pay) AS num_orig_incent_pay FROM trans_incentive WHERE trans_id = '{q}' AND "
    "shift_date BETWEEN '{d1}' AND '{d2}' GROUP BY shift_date ORDER BY shift_date";
const QString summaryActivity =
    "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
    "SUM(chars_modified) AS num_chars, SUM(lines_modified) AS num_lines, SUM(pages_modified) AS "
    "num_pages, MAX(incent_hours_typed_modified) AS num_incent_hours_typed_modified, "
    "SUM(incent_typed_modified) AS num_incent_typed, SUM(incent_pay_modified) AS num_incent_pay, "
    "sum(incent_pay) AS num_orig_incent_pay, " +
    rowHours +
    "FROM trans_incentive TI WHERE trans_id = '{q}' AND shift_date BETWEEN '{d1}' AND '{d2}' "
    "GROUP BY trans_id, shift_date ORDER BY shift_date";

QString dayStatement(const QString& transId, const QString& account, const QDate& start,
                     int hourMode) {
    const bool summary = account == QLatin1String("-2");
    QString statement = hourMode == 2 ? (summary ? summaryTyped : accountTyped)
                                      : (summary ? summaryActivity : accountActivity);
    return statement.replace("{q}", quoteSql(transId))
        .replace("{a}", account)
        .replace("{d1}", start.toString(Qt::ISODate))
        .replace("{d2}", start.addDays(6).toString(Qt::ISODate));
}

QString dayKey(const QString& transId, int account, const QString& day) {
    return " WHERE trans_id = '" + quoteSql(transId) +
           "' AND hosp_acct_id = " + QString::number(account) + " AND shift_date = '" + day + "'";
}

// The four clauses of a save in hour mode 1 that refresh the day's hours from the log.
QString activityHourClauses(const QString& transId, const QString& day) {
    QString clauses;
    const std::pair<const char*, const char*> kinds[] = {
        {"hours_system", "%1.count_activity > 0 AND %1.work_type = 1 AND %1.update_type <> 6"},
        {"hours_other", "%1.count_activity > 0 AND %1.work_type = 2 AND %1.update_type <> 6"},
        {"hours_system_modified", "%1.work_type = 1 AND %1.update_type = 9"},
        {"hours_other_modified", "%1.work_type = 2 AND %1.update_type = 9"}};
    int n = 0;
    for (const auto& [column, filter] : kinds) {
        const QString a = "TA" + QString::number(++n);
        clauses += QString::fromUtf8(column) +
                   " = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
                   "Trans_activity " +
                   a + " WHERE " + a + ".shift_date = '" + day + "' AND " + a + ".trans_id = '" +
                   quoteSql(transId) + "' AND " + QString::fromUtf8(filter).arg(a) + "),0), ";
    }
    return clauses;
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
    // clang-format off
    // One account, hours typed: account, locked, day, then the figures in force (reports, hours,
    // char lines, true lines, pages, IHours, ITyped, IPay) and the collected ones.
    corpusRow("account, hours typed, corrected hours", dayStatement("jsmith", "101", week5, 2),
              {"101|0|2024-01-29|8|5.5|800|760|16|6|780|78|8|5|800|760|16|6|780|78",
               "101|0|2024-01-30|9|6|900|850|18|6|870|87|9|6|900|850|18|6|870|87",
               "101|0|2024-02-01|11|7|1100|1000|22|7|1050|105|11|7|1100|1000|22|7|1050|105"});
    corpusRow("account, hours typed, quote in the id", dayStatement("O'Brien", "101", week5, 2),
              {"101|0|2024-01-29|5|3|500|450|10|3|470|47|5|3|500|450|10|3|470|47"});
    // Hour mode 1: the collected hours are the stored system hours; the hours in force come from
    // the log, rounded once per day (three pieces of 0.2777... hours are 0.83), last column.
    corpusRow("account, activity hours", dayStatement("jsmith", "101", week5, 1),
              {"101|0|2024-01-29|8|800|760|16|6|780|78|8|800|760|16|5.56|6|780|78|5.56",
               "101|0|2024-01-30|9|900|850|18|6|870|87|9|900|850|18|6.39|6|870|87|6.39",
               "101|0|2024-02-01|11|1100|1000|22|7|1050|105|11|1100|1000|22|0.83|7|1050|105|0.83"});
    corpusRow("account, activity hours, New Year", dayStatement("jsmith", "101", newYear, 1),
              {"101|1|2023-12-31|4|400|380|8|2|390|39|4|400|380|8|2.5|2|390|39|2.5",
               "101|0|2024-01-02|12|1250|1100|24|7|1150|120.25|12|1200|1100|24|7.5|7|1150|115.5|7.5"});
    corpusRow("account, activity hours, none logged", dayStatement("O'Brien", "101", week5, 1),
              {"101|0|2024-01-29|5|500|450|10|3|470|47|5|500|450|10|1|3|470|47|0"});
    corpusRow("account, week without rows", dayStatement("jsmith", "101", QDate(2024, 3, 3), 1), {});
    // The account summary: day, locked, reports, hours, char lines, true lines, pages, IHours,
    // ITyped, IPay, collected IPay. Hours typed and IHours add up over the accounts.
    corpusRow("summary, hours typed", dayStatement("jsmith", "-2", week5, 2),
              {"2024-01-29|1|8|5.5|800|760|16|6|780|78|78",
               "2024-01-30|1|11|7|1100|1040|22|12|1065|106.5|106.5",
               "2024-02-01|1|11|7|1100|1000|22|7|1050|105|105"});
    // Hour mode 1: the day's largest IHours, the hours from the log last.
    corpusRow("summary, activity hours", dayStatement("jsmith", "-2", week5, 1),
              {"2024-01-29|1|8|800|760|16|6|780|78|78|5.56",
               "2024-01-30|1|11|1100|1040|22|6|1065|106.5|106.5|6.39",
               "2024-02-01|1|11|1100|1000|22|7|1050|105|105|0.83"});
    corpusRow("summary, activity hours, New Year", dayStatement("jsmith", "-2", newYear, 1),
              {"2023-12-31|1|4|400|380|8|2|390|39|39|2.5",
               "2024-01-02|1|15|1550|1380|30|7|1440|149.25|144.5|7.5"});

    // The hours of a day without a row, from the log.
    const QString hours = "SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) "
                          "FROM Trans_activity TA1 WHERE TA1.shift_date = '%1' AND TA1.trans_id = '%2' "
                          "AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS num_incent_hours";
    corpusRow("empty day: 0.125 hours round up", hours.arg("2024-01-31", "jsmith"), {"0.13"});
    corpusRow("empty day: 2.675 hours round up, not down", hours.arg("2024-02-02", "jsmith"), {"2.68"});
    corpusRow("empty day: the sum is rounded, not each piece", hours.arg("2024-02-01", "jsmith"), {"0.83"});
    corpusRow("empty day: uncounted rows count, update type 6 and other work do not",
              hours.arg("2024-01-02", "jsmith"), {"7.5"});
    corpusRow("empty day: the id in another letter case counts", hours.arg("2024-01-30", "jsmith"), {"6.39"});
    corpusRow("empty day: quote in the id", hours.arg("2024-01-30", "O''Brien"), {"1"});
    corpusRow("empty day: nothing logged is 0, not NULL", hours.arg("2024-02-03", "jsmith"), {"0"});

    // Saving changes only the listed columns of the one day; every bit of the change mask.
    corpusRow("save: the listed columns of one day",
              "SELECT trans_id, shift_date, number_rpts, number_rpts_modified, hours_typed, "
              "hours_typed_modified, chars_modified, lines_modified, incent_hours_typed_modified, "
              "incent_typed_modified, incent_pay, incent_pay_modified FROM trans_incentive WHERE "
              "hosp_acct_id = 101 AND shift_date BETWEEN '2024-01-29' AND '2024-01-30' "
              "ORDER BY shift_date, trans_id",
              {"jsmith|2024-01-29|8|9|5|6.25|850|800|6.5|800|78|80.5",
               "O'Brien|2024-01-29|5|5|3|3|500|450|3|470|47|-0.5",
               "jsmith|2024-01-30|9|9|6|6|900|850|6|870|87|87"},
              {{"UPDATE trans_incentive SET number_rpts_modified = 9, hours_typed_modified = 6.25, "
                "chars_modified = 850, lines_modified = 800, incent_hours_typed_modified = 6.5, "
                "incent_typed_modified = 800, incent_pay_modified = 80.5" + dayKey("jsmith", 101, "2024-01-29")},
               {"UPDATE trans_incentive SET incent_pay_modified = -0.5" + dayKey("O'Brien", 101, "2024-01-29")}});
    // In hour mode 1 the save refreshes the day's four hour figures from the log.
    const QString hourFigures = "SELECT hours_system, hours_other, hours_system_modified, "
                                "hours_other_modified, chars_modified FROM trans_incentive";
    for (const auto& [transId, day, expected] :
         {std::tuple{"jsmith", "2024-01-02", "8|0.35|7.5|0.25|1300"},
          std::tuple{"O'Brien", "2024-01-29", "0|0|0|0|1300"}})
        corpusRow(QByteArray("save, activity hours: ") + transId, hourFigures + dayKey(transId, 101, day),
                  {expected}, {{"UPDATE trans_incentive SET " + activityHourClauses(transId, day) +
                                "chars_modified = 1300" + dayKey(transId, 101, day)}});
    // A new day: the collected figures, the lock and the results take the table's defaults.
    const QString newDay = "SELECT trans_id, number_rpts_modified, hours_typed_modified, chars_modified, "
                           "lines_modified, number_rpts, chars, locked, dept_id, incent_pay_modified FROM "
                           "trans_incentive";
    corpusRow("save a new day, activity hours", newDay + dayKey("O'Brien", 101, "2024-01-31"),
              {"O'Brien|3|0|250|240|0|0|0|0|0"},
              {{"INSERT INTO trans_incentive (number_rpts_modified, chars_modified, lines_modified, "
                "trans_id, hosp_acct_id, shift_date, dept_id) VALUES(3, 250, 240, 'O''Brien', 101, "
                "'2024-01-31', 0)"}});
    corpusRow("save a new day, hours typed", newDay + dayKey("k.lee", 102, "2024-01-31"),
              {"k.lee|2|1.75|150|140|0|0|0|0|0"},
              {{"INSERT INTO trans_incentive (number_rpts_modified, hours_typed_modified, chars_modified, "
                "lines_modified, trans_id, hosp_acct_id, shift_date, dept_id) VALUES(2, 1.75, 150, 140, "
                "'k.lee', 102, '2024-01-31', 0)"}});

    // Reverting copies the collected value back into the day of the one account; jsmith's other
    // account keeps its correction.
    const std::pair<const char*, const char*> reverts[] = {
        {"number_rpts", "12"}, {"hours_system", "7"}, {"hours_typed", "7.25"}, {"chars", "1200"},
        {"lines", "1100"}, {"incent_hours_typed", "7"}, {"incent_typed", "1150"}, {"incent_pay", "115.5"}};
    for (const auto& [column, collected] : reverts) {
        const QString modified = QString::fromUtf8(column) + "_modified";
        corpusRow(QByteArray("revert ") + column,
                  "SELECT hosp_acct_id, " + modified + " FROM trans_incentive WHERE trans_id = 'jsmith' "
                  "AND shift_date = '2024-01-02' ORDER BY hosp_acct_id",
                  {"101|" + QString::fromUtf8(collected), "102|999"},
                  {{"UPDATE trans_incentive SET " + modified + " = 999 WHERE trans_id = 'jsmith' AND "
                    "shift_date = '2024-01-02'", 2},
                   {"UPDATE Trans_incentive SET " + modified + " = " + column + " WHERE trans_id = "
                    "'jsmith' AND hosp_acct_id = 101 AND shift_date = '2024-01-02'"}});
    }
    // O'Brien's row of 2024-02-01 holds only a corrected report count: its revert deletes it.
    corpusRow("revert of the last correction deletes the row",
              "SELECT hosp_acct_id, shift_date FROM trans_incentive WHERE trans_id = 'O''Brien'",
              {"101|2024-01-15", "101|2024-01-29"},
              {{"DELETE FROM Trans_incentive" + dayKey("O'Brien", 102, "2024-02-01")}});
    // clang-format on
}

VELORA_TEST(TestDetailCorpus)
#include "TestDetailCorpus.moc"
