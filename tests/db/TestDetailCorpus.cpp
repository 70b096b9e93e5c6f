// The weekly detail's statements (day rows, empty days, last locked date, saving and
// reverting a day) run on the embedded engine against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"

#include <QTest>

using velora::test::compareRows;
using velora::test::CorpusFixture;
using velora::test::isoDate;
using velora::test::quoteSql;
using velora::test::rowTexts;
using velora::test::TestDatabase;

namespace {

const QVariant null;

// The day statement of the weekly detail, put together from its fixed pieces.
QString buildDayStatement(const QString& transId, const QString& accountId, const QDate& start,
                          int hourMode) {
    const QString q = quoteSql(transId);
    const QString d1 = isoDate(start);
    const QString d2 = isoDate(start.addDays(6));
    const QString activityHours = QStringLiteral(
        "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM Trans_activity "
        "TA1 WHERE TA1.shift_date = TI.shift_date AND TA1.trans_id = TI.trans_id AND "
        "TA1.work_type = 1 AND TA1.update_type = 9),0) AS num_incent_hours ");
    if (accountId == QLatin1String("-2") && hourMode == 2)
        return QStringLiteral(
                   "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
                   "SUM(hours_typed_modified) AS num_incent_hours, SUM(chars_modified) AS "
                   "num_chars, ") +
               QStringLiteral("SUM(lines_modified) AS num_lines, SUM(pages_modified) AS num_pages, "
                              "SUM(incent_hours_typed_modified) AS "
                              "num_incent_hours_typed_modified, ") +
               QStringLiteral("SUM(incent_typed_modified) AS num_incent_typed, "
                              "SUM(incent_pay_modified) AS num_incent_pay, sum(incent_pay) AS "
                              "num_orig_incent_pay FROM trans_incentive WHERE ") +
               QStringLiteral("trans_id = '") + q + QStringLiteral("' AND shift_date BETWEEN '") +
               d1 + QStringLiteral("' AND '") + d2 +
               QStringLiteral("' GROUP BY shift_date ORDER BY shift_date");
    if (accountId == QLatin1String("-2"))
        return QStringLiteral("SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS "
                              "num_reports, SUM(chars_modified) AS num_chars, ") +
               QStringLiteral("SUM(lines_modified) AS num_lines, SUM(pages_modified) AS num_pages, "
                              "MAX(incent_hours_typed_modified) AS "
                              "num_incent_hours_typed_modified, ") +
               QStringLiteral("SUM(incent_typed_modified) AS num_incent_typed, "
                              "SUM(incent_pay_modified) AS num_incent_pay, sum(incent_pay) AS "
                              "num_orig_incent_pay, ") +
               activityHours + QStringLiteral("FROM trans_incentive TI WHERE trans_id = '") + q +
               QStringLiteral("' AND shift_date BETWEEN '") + d1 + QStringLiteral("' AND '") + d2 +
               QStringLiteral("' GROUP BY trans_id, shift_date ORDER BY shift_date");
    if (hourMode == 2)
        return QStringLiteral("SELECT hosp_acct_id, locked, shift_date, ") +
               QStringLiteral("number_rpts_modified AS num_reports, ") +
               QStringLiteral("hours_typed_modified AS num_incent_hours, ") +
               QStringLiteral("chars_modified AS num_chars, ") +
               QStringLiteral("lines_modified AS num_lines, ") +
               QStringLiteral("pages_modified AS num_pages, ") +
               QStringLiteral("incent_hours_typed_modified AS num_incent_hours_typed_modified, ") +
               QStringLiteral("incent_typed_modified AS num_incent_typed, ") +
               QStringLiteral("incent_pay_modified AS num_incent_pay, ") +
               QStringLiteral("number_rpts AS num_orig_reports, ") +
               QStringLiteral("hours_typed as num_orig_incent_hours, ") +
               QStringLiteral("chars AS num_orig_chars, ") +
               QStringLiteral("lines AS num_orig_lines, ") +
               QStringLiteral("pages AS num_orig_pages, ") +
               QStringLiteral("incent_hours_typed AS num_orig_incent_hours_typed, ") +
               QStringLiteral("incent_typed AS num_orig_incent_typed, ") +
               QStringLiteral("incent_pay AS num_orig_incent_pay ") +
               QStringLiteral("FROM trans_incentive WHERE ") + QStringLiteral("trans_id = '") + q +
               QStringLiteral("' AND hosp_acct_id = ") + accountId +
               QStringLiteral(" AND shift_date BETWEEN '") + d1 + QStringLiteral("' AND '") + d2 +
               QStringLiteral("' ORDER BY shift_date");
    return QStringLiteral("SELECT hosp_acct_id, locked, shift_date, ") +
           QStringLiteral("number_rpts_modified AS num_reports, ") +
           QStringLiteral("chars_modified AS num_chars, ") +
           QStringLiteral("lines_modified AS num_lines, ") +
           QStringLiteral("pages_modified AS num_pages, ") +
           QStringLiteral("incent_hours_typed_modified as num_incent_hours_typed_modified, ") +
           QStringLiteral("incent_typed_modified AS num_incent_typed, ") +
           QStringLiteral("incent_pay_modified AS num_incent_pay, ") +
           QStringLiteral("number_rpts AS num_orig_reports, ") +
           QStringLiteral("chars AS num_orig_chars, ") +
           QStringLiteral("lines AS num_orig_lines, ") +
           QStringLiteral("pages AS num_orig_pages, ") +
           QStringLiteral("hours_system_modified AS num_orig_incent_hours, ") +
           QStringLiteral("incent_hours_typed AS num_orig_incent_hours_typed, ") +
           QStringLiteral("incent_typed AS num_orig_incent_typed, ") +
           QStringLiteral("incent_pay AS num_orig_incent_pay, ") + activityHours +
           QStringLiteral("FROM trans_incentive TI WHERE ") + QStringLiteral("trans_id = '") + q +
           QStringLiteral("' AND hosp_acct_id = ") + accountId +
           QStringLiteral(" AND shift_date BETWEEN '") + d1 + QStringLiteral("' AND '") + d2 +
           QStringLiteral("' ORDER BY shift_date");
}

QString dayKey(const QString& transId, int accountId, const QString& shiftDate) {
    return QStringLiteral(" WHERE trans_id = '") + quoteSql(transId) +
           QStringLiteral("' AND hosp_acct_id = ") + QString::number(accountId) +
           QStringLiteral(" AND shift_date = '") + shiftDate + QStringLiteral("'");
}

// The save's UPDATE: "UPDATE trans_incentive SET " and the clauses, less the final ", ".
QString saveUpdate(const QStringList& clauses, const QString& transId, int accountId,
                   const QString& shiftDate) {
    QString statement = QStringLiteral("UPDATE trans_incentive SET ") + clauses.join(QString());
    statement.chop(2);
    return statement + dayKey(transId, accountId, shiftDate);
}

// The four hour-mode-1 clauses that refresh a day's hours from the activity log.
QStringList activityHourClauses(const QString& transId, const QString& day) {
    const QString q = quoteSql(transId);
    const QString head =
        QStringLiteral("ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
                       "Trans_activity ");
    auto clause = [&](const char* column, const char* alias, const char* filter) -> QString {
        const QString a = QString::fromUtf8(alias);
        return QString::fromUtf8(column) + QStringLiteral(" = ") + head + a +
               QStringLiteral(" WHERE ") + a + QStringLiteral(".shift_date = '") + day +
               QStringLiteral("' AND ") + a + QStringLiteral(".trans_id = '") + q +
               QStringLiteral("' AND ") + QString::fromUtf8(filter).arg(a) +
               QStringLiteral("),0), ");
    };
    return {
        clause("hours_system", "TA1",
               "%1.count_activity > 0 AND %1.work_type = 1 AND %1.update_type <> 6"),
        clause("hours_other", "TA2",
               "%1.count_activity > 0 AND %1.work_type = 2 AND %1.update_type <> 6"),
        clause("hours_system_modified", "TA3", "%1.work_type = 1 AND %1.update_type = 9"),
        clause("hours_other_modified", "TA4", "%1.work_type = 2 AND %1.update_type = 9"),
    };
}

const QStringList singleColumns = {"shift_date",
                                   "locked",
                                   "num_reports",
                                   "num_incent_hours",
                                   "num_orig_incent_hours",
                                   "num_chars",
                                   "num_orig_chars",
                                   "num_lines",
                                   "num_incent_hours_typed_modified",
                                   "num_incent_typed",
                                   "num_incent_pay",
                                   "num_orig_incent_pay"};
const QStringList summaryColumns = {
    "shift_date",       "locked",         "num_reports",        "num_incent_hours",
    "num_chars",        "num_lines",      "num_pages",          "num_incent_hours_typed_modified",
    "num_incent_typed", "num_incent_pay", "num_orig_incent_pay"};

} // namespace

class TestDetailCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dayStatement_data();
    void dayStatement();
    void dayStatementHasEveryColumnTheLoadReads_data();
    void dayStatementHasEveryColumnTheLoadReads();

    void emptyDayHoursComeFromTheActivityLog_data();
    void emptyDayHoursComeFromTheActivityLog();
    void lastLockedDateIsTheLatestLockedRowOfAnyUser();
    void lastLockedDateDefaultsWhenNothingIsLocked();
    void userGroupOfTheDetailHeader_data();
    void userGroupOfTheDetailHeader();

    void saveUpdatesOnlyTheListedColumnsOfOneDay();
    void saveInHourModeOneRefreshesHoursFromTheLog_data();
    void saveInHourModeOneRefreshesHoursFromTheLog();
    void saveInsertsANewDay_data();
    void saveInsertsANewDay();

    void revertCopiesTheCollectedValueBack_data();
    void revertCopiesTheCollectedValueBack();
    void revertOfTheLastCorrectionDeletesTheRow();
};

void TestDetailCorpus::dayStatement_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("hourMode");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<QVariantList>>("expected");

    const QDate newYear(2023, 12, 31);
    const QDate week5(2024, 1, 29);
    // clang-format off
    QTest::newRow("account, hours typed, New Year") << "jsmith" << "101" << newYear << 2 << singleColumns
        << QList<QVariantList>{
               {"2023-12-31", 1, 4, 2.0, 2.0, 400, 400, 380, 2, 390, 39, 39},
               {"2024-01-02", 0, 12, 7.25, 7.25, 1250, 1200, 1100, 7, 1150, 120.25, 115.5}};
    QTest::newRow("account, hours typed, corrected hours") << "jsmith" << "101" << week5 << 2 << singleColumns
        << QList<QVariantList>{
               {"2024-01-29", 0, 8, 5.5, 5.0, 800, 800, 760, 6, 780, 78, 78},
               {"2024-01-30", 0, 9, 6.0, 6.0, 900, 900, 850, 6, 870, 87, 87},
               {"2024-02-01", 0, 11, 7.0, 7.0, 1100, 1100, 1000, 7, 1050, 105, 105}};
    // Hours from the log, rounded once per day: three pieces of 0.2777... hours are 0.83.
    QTest::newRow("account, activity hours") << "jsmith" << "101" << week5 << 1 << singleColumns
        << QList<QVariantList>{
               {"2024-01-29", 0, 8, 5.56, 5.56, 800, 800, 760, 6, 780, 78, 78},
               {"2024-01-30", 0, 9, 6.39, 6.39, 900, 900, 850, 6, 870, 87, 87},
               {"2024-02-01", 0, 11, 0.83, 0.83, 1100, 1100, 1000, 7, 1050, 105, 105}};
    QTest::newRow("account, activity hours, New Year") << "jsmith" << "101" << newYear << 1 << singleColumns
        << QList<QVariantList>{
               {"2023-12-31", 1, 4, 2.5, 2.5, 400, 400, 380, 2, 390, 39, 39},
               {"2024-01-02", 0, 12, 7.5, 7.5, 1250, 1200, 1100, 7, 1150, 120.25, 115.5}};
    QTest::newRow("quote in the user id, hours typed") << "O'Brien" << "101" << week5 << 2 << singleColumns
        << QList<QVariantList>{{"2024-01-29", 0, 5, 3.0, 3.0, 500, 500, 450, 3, 470, 47, 47}};
    QTest::newRow("quote in the user id, no activity that day") << "O'Brien" << "101" << week5 << 1 << singleColumns
        << QList<QVariantList>{{"2024-01-29", 0, 5, 0, 1.0, 500, 500, 450, 3, 470, 47, 47}};
    QTest::newRow("summary, hours typed: IHours added") << "jsmith" << "-2" << week5 << 2 << summaryColumns
        << QList<QVariantList>{
               {"2024-01-29", 1, 8, 5.5, 800, 760, 16, 6, 780, 78, 78},
               {"2024-01-30", 1, 11, 7.0, 1100, 1040, 22, 12, 1065, 106.5, 106.5},
               {"2024-02-01", 1, 11, 7.0, 1100, 1000, 22, 7, 1050, 105, 105}};
    QTest::newRow("summary, activity hours: largest IHours") << "jsmith" << "-2" << week5 << 1 << summaryColumns
        << QList<QVariantList>{
               {"2024-01-29", 1, 8, 5.56, 800, 760, 16, 6, 780, 78, 78},
               {"2024-01-30", 1, 11, 6.39, 1100, 1040, 22, 6, 1065, 106.5, 106.5},
               {"2024-02-01", 1, 11, 0.83, 1100, 1000, 22, 7, 1050, 105, 105}};
    QTest::newRow("summary, hours typed, New Year") << "jsmith" << "-2" << newYear << 2 << summaryColumns
        << QList<QVariantList>{
               {"2023-12-31", 1, 4, 2.0, 400, 380, 8, 2, 390, 39, 39},
               {"2024-01-02", 1, 15, 8.75, 1550, 1380, 30, 12, 1440, 149.25, 144.5}};
    QTest::newRow("summary, activity hours, New Year") << "jsmith" << "-2" << newYear << 1 << summaryColumns
        << QList<QVariantList>{
               {"2023-12-31", 1, 4, 2.5, 400, 380, 8, 2, 390, 39, 39},
               {"2024-01-02", 1, 15, 7.5, 1550, 1380, 30, 7, 1440, 149.25, 144.5}};
    QTest::newRow("week without rows") << "jsmith" << "101" << QDate(2024, 3, 3) << 1 << singleColumns
        << QList<QVariantList>{};
    // clang-format on
}

void TestDetailCorpus::dayStatement() {
    QFETCH(QString, transId);
    QFETCH(QString, account);
    QFETCH(QDate, start);
    QFETCH(int, hourMode);
    QFETCH(QStringList, columns);
    QFETCH(QList<QVariantList>, expected);
    CorpusFixture fx;
    auto rows = fx.open(buildDayStatement(transId, account, start, hourMode));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, columns, expected);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::dayStatementHasEveryColumnTheLoadReads_data() {
    QTest::addColumn<QString>("account");
    QTest::addColumn<int>("hourMode");
    QTest::newRow("account, hours typed") << "101" << 2;
    QTest::newRow("account, activity hours") << "101" << 1;
    QTest::newRow("summary, hours typed") << "-2" << 2;
    QTest::newRow("summary, activity hours") << "-2" << 1;
}

void TestDetailCorpus::dayStatementHasEveryColumnTheLoadReads() {
    QFETCH(QString, account);
    QFETCH(int, hourMode);
    CorpusFixture fx;
    auto rows =
        fx.open(buildDayStatement(QStringLiteral("jsmith"), account, QDate(2024, 1, 29), hourMode));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList wanted = {"locked",
                          "shift_date",
                          "num_incent_hours",
                          "num_incent_hours_typed_modified",
                          "num_incent_typed",
                          "num_incent_pay",
                          "num_chars",
                          "num_lines",
                          "num_reports",
                          "num_pages",
                          "num_orig_incent_pay"};
    if (account != QLatin1String("-2"))
        wanted << "num_orig_incent_hours"
               << "num_orig_incent_hours_typed"
               << "num_orig_incent_typed"
               << "num_orig_chars"
               << "num_orig_lines"
               << "num_orig_reports";
    for (const QString& column : wanted)
        QVERIFY2(rows->fieldIndex(column) >= 0, qPrintable(column));
}

void TestDetailCorpus::emptyDayHoursComeFromTheActivityLog_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QString>("day");
    QTest::addColumn<double>("hours");
    QTest::newRow("0.125 hours round up") << "jsmith"
                                          << "2024-01-31" << 0.13;
    QTest::newRow("2.675 hours round up, not down") << "jsmith"
                                                    << "2024-02-02" << 2.68;
    QTest::newRow("the sum is rounded, not each piece") << "jsmith"
                                                        << "2024-02-01" << 0.83;
    QTest::newRow("uncounted rows count, update type 6 and other work do not")
        << "jsmith"
        << "2024-01-02" << 7.5;
    QTest::newRow("trans_id in another letter case counts") << "jsmith"
                                                            << "2024-01-30" << 6.39;
    QTest::newRow("quote in the user id") << "O'Brien"
                                          << "2024-01-30" << 1.0;
    QTest::newRow("day without activity is 0, not NULL") << "jsmith"
                                                         << "2024-02-03" << 0.0;
}

void TestDetailCorpus::emptyDayHoursComeFromTheActivityLog() {
    QFETCH(QString, transId);
    QFETCH(QString, day);
    QFETCH(double, hours);
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral(
            "SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) ") +
        QStringLiteral("FROM Trans_activity TA1 ") + QStringLiteral("WHERE TA1.shift_date = '") +
        day + QStringLiteral("' AND ") + QStringLiteral("TA1.trans_id = '") + quoteSql(transId) +
        QStringLiteral("' AND ") +
        QStringLiteral("TA1.work_type = 1 AND TA1.update_type = 9),0) AS num_incent_hours"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {QStringLiteral("num_incent_hours")}, {{hours}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::lastLockedDateIsTheLatestLockedRowOfAnyUser() {
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive "
                                       "WHERE locked=1), '1980-01-01')"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toString(), QStringLiteral("2024-01-15")); // k.lee's locked day

    rows = fx.open(QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->value(0).toString(), QStringLiteral("2024-01-15"));
}

void TestDetailCorpus::lastLockedDateDefaultsWhenNothingIsLocked() {
    TestDatabase db;
    try {
        velora::db::Recordset rows = db.connection().openRecordset(
            QStringLiteral("SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive WHERE "
                           "locked=1), '1980-01-01')"));
        QCOMPARE(rows.value(0).toString(), QStringLiteral("1980-01-01"));
        rows = db.connection().openRecordset(
            QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1"));
        QVERIFY(!rows.eof());
        QVERIFY(rows.value(0).isNull());
    } catch (const velora::db::DbError& e) {
        QFAIL(qPrintable(e.description()));
    }
}

void TestDetailCorpus::userGroupOfTheDetailHeader_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QList<QVariantList>>("expected");
    QTest::newRow("quote") << "O'Brien" << QList<QVariantList>{{2}};
    QTest::newRow("letter case") << "JSMITH" << QList<QVariantList>{{2}};
    QTest::newRow("dot") << "k.lee" << QList<QVariantList>{{3}};
    QTest::newRow("unknown user") << "nobody" << QList<QVariantList>{};
}

void TestDetailCorpus::userGroupOfTheDetailHeader() {
    QFETCH(QString, transId);
    QFETCH(QList<QVariantList>, expected);
    CorpusFixture fx;
    auto rows =
        fx.open(QStringLiteral("SELECT incentive_group_id FROM Trans_info WHERE trans_id = '") +
                quoteSql(transId) + QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {QStringLiteral("incentive_group_id")}, expected);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::saveUpdatesOnlyTheListedColumnsOfOneDay() {
    CorpusFixture fx;
    // Every bit of the change mask, in the save's order.
    auto affected = fx.execute(saveUpdate(
        {"number_rpts_modified = 9, ", "hours_typed_modified = 6.25, ", "chars_modified = 850, ",
         "lines_modified = 800, ", "incent_hours_typed_modified = 6.5, ",
         "incent_typed_modified = 800, ", "incent_pay_modified = 80.5, "},
        QStringLiteral("jsmith"), 101, QStringLiteral("2024-01-29")));
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);
    // Only IPay, negative, for the user with a quote.
    affected = fx.execute(saveUpdate({"incent_pay_modified = -0.5, "}, QStringLiteral("O'Brien"),
                                     101, QStringLiteral("2024-01-29")));
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);

    auto rows = fx.open(QStringLiteral(
        "SELECT trans_id, shift_date, number_rpts, number_rpts_modified, hours_typed, "
        "hours_typed_modified, chars_modified, lines_modified, incent_hours_typed_modified, "
        "incent_typed_modified, incent_pay, incent_pay_modified FROM trans_incentive WHERE "
        "hosp_acct_id = 101 AND shift_date BETWEEN '2024-01-29' AND '2024-01-30' ORDER BY "
        "shift_date, trans_id"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(
        *rows,
        {"trans_id", "shift_date", "number_rpts", "number_rpts_modified", "hours_typed",
         "hours_typed_modified", "chars_modified", "lines_modified", "incent_hours_typed_modified",
         "incent_typed_modified", "incent_pay", "incent_pay_modified"},
        {
            {"jsmith", "2024-01-29", 8, 9, 5.0, 6.25, 850, 800, 6.5, 800, 78, 80.5},
            {"O'Brien", "2024-01-29", 5, 5, 3.0, 3.0, 500, 450, 3, 470, 47, -0.5},
            {"jsmith", "2024-01-30", 9, 9, 6.0, 6.0, 900, 850, 6, 870, 87, 87},
        });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::saveInHourModeOneRefreshesHoursFromTheLog_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QVariantList>("expected"); // system, other, system modified, other modified
    QTest::newRow("every kind of activity row")
        << "jsmith"
        << "2024-01-02" << QVariantList{8.0, 0.35, 7.5, 0.25};
    QTest::newRow("no activity: zeros, not NULL") << "O'Brien"
                                                  << "2024-01-29" << QVariantList{0, 0, 0, 0};
}

void TestDetailCorpus::saveInHourModeOneRefreshesHoursFromTheLog() {
    QFETCH(QString, transId);
    QFETCH(QString, day);
    QFETCH(QVariantList, expected);
    CorpusFixture fx;
    const QStringList clauses = activityHourClauses(transId, day)
                                << QStringLiteral("chars_modified = 1300, ");
    auto affected = fx.execute(saveUpdate(clauses, transId, 101, day));
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);

    auto rows =
        fx.open(QStringLiteral("SELECT hours_system, hours_other, hours_system_modified, "
                               "hours_other_modified, chars_modified FROM trans_incentive") +
                dayKey(transId, 101, day));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    expected.append(1300);
    const QString mismatch = compareRows(*rows,
                                         {"hours_system", "hours_other", "hours_system_modified",
                                          "hours_other_modified", "chars_modified"},
                                         {expected});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::saveInsertsANewDay_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("transId");
    QTest::addColumn<int>("account");
    QTest::addColumn<QVariantList>("expected"); // reports, hours typed, chars, lines (modified)
    QTest::newRow("activity hours: no hours column")
        << QStringLiteral("INSERT INTO trans_incentive (number_rpts_modified, chars_modified, "
                          "lines_modified, trans_id, hosp_acct_id, shift_date, dept_id) VALUES(") +
               QStringLiteral("3") + QStringLiteral(", ") + QStringLiteral("250") +
               QStringLiteral(", ") + QStringLiteral("240") + QStringLiteral(", '") +
               quoteSql(QStringLiteral("O'Brien")) + QStringLiteral("', ") + QStringLiteral("101") +
               QStringLiteral(", '") + QStringLiteral("2024-01-31") + QStringLiteral("', 0)")
        << "O'Brien" << 101 << QVariantList{3, 0, 250, 240};
    QTest::newRow("hours typed")
        << QStringLiteral(
               "INSERT INTO trans_incentive (number_rpts_modified, hours_typed_modified, "
               "chars_modified, lines_modified, trans_id, hosp_acct_id, shift_date, "
               "dept_id) VALUES(") +
               QStringLiteral("2") + QStringLiteral(", ") + QStringLiteral("1.75") +
               QStringLiteral(", ") + QStringLiteral("150") + QStringLiteral(", ") +
               QStringLiteral("140") + QStringLiteral(", '") + quoteSql(QStringLiteral("k.lee")) +
               QStringLiteral("', ") + QStringLiteral("102") + QStringLiteral(", '") +
               QStringLiteral("2024-01-31") + QStringLiteral("', 0)")
        << "k.lee" << 102 << QVariantList{2, 1.75, 150, 140};
}

void TestDetailCorpus::saveInsertsANewDay() {
    QFETCH(QString, statement);
    QFETCH(QString, transId);
    QFETCH(int, account);
    QFETCH(QVariantList, expected);
    CorpusFixture fx;
    auto affected = fx.execute(statement);
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);

    // The collected figures, the lock and the results take the table's defaults.
    auto rows =
        fx.open(QStringLiteral("SELECT trans_id, number_rpts_modified, hours_typed_modified, "
                               "chars_modified, lines_modified, number_rpts, chars, locked, "
                               "dept_id, incent_pay_modified FROM trans_incentive") +
                dayKey(transId, account, QStringLiteral("2024-01-31")));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QVariantList row = QVariantList{transId} + expected + QVariantList{0, 0, 0, 0, 0};
    const QString mismatch = compareRows(
        *rows,
        {"trans_id", "number_rpts_modified", "hours_typed_modified", "chars_modified",
         "lines_modified", "number_rpts", "chars", "locked", "dept_id", "incent_pay_modified"},
        {row});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::revertCopiesTheCollectedValueBack_data() {
    QTest::addColumn<QString>("clause");
    QTest::addColumn<QString>("modifiedColumn");
    QTest::addColumn<double>("collected"); // of jsmith's row on account 101, 2024-01-02
    QTest::newRow("reports") << "number_rpts_modified = number_rpts "
                             << "number_rpts_modified" << 12.0;
    QTest::newRow("hours, activity hours") << "hours_system_modified = hours_system "
                                           << "hours_system_modified" << 7.0;
    QTest::newRow("hours, hours typed") << "hours_typed_modified = hours_typed "
                                        << "hours_typed_modified" << 7.25;
    QTest::newRow("char lines") << "chars_modified = chars "
                                << "chars_modified" << 1200.0;
    QTest::newRow("true lines") << "lines_modified = lines "
                                << "lines_modified" << 1100.0;
    QTest::newRow("IHours") << "incent_hours_typed_modified = incent_hours_typed "
                            << "incent_hours_typed_modified" << 7.0;
    QTest::newRow("ITyped") << "incent_typed_modified = incent_typed "
                            << "incent_typed_modified" << 1150.0;
    QTest::newRow("IPay") << "incent_pay_modified = incent_pay "
                          << "incent_pay_modified" << 115.5;
}

void TestDetailCorpus::revertCopiesTheCollectedValueBack() {
    QFETCH(QString, clause);
    QFETCH(QString, modifiedColumn);
    QFETCH(double, collected);
    CorpusFixture fx;
    // A correction on both of jsmith's accounts that day; the revert undoes one of them.
    QVERIFY2(fx.execute(QStringLiteral("UPDATE trans_incentive SET ") + modifiedColumn +
                        QStringLiteral(" = 999 WHERE trans_id = 'jsmith' AND shift_date = "
                                       "'2024-01-02'")),
             qPrintable(fx.lastError()));

    auto affected = fx.execute(
        QStringLiteral("UPDATE Trans_incentive SET ") + clause +
        QStringLiteral("WHERE trans_id = '") + quoteSql(QStringLiteral("jsmith")) +
        QStringLiteral("' AND hosp_acct_id = ") + QStringLiteral("101") +
        QStringLiteral(" AND shift_date = '") + QStringLiteral("2024-01-02") + QStringLiteral("'"));
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);

    auto rows = fx.open(QStringLiteral("SELECT hosp_acct_id, ") + modifiedColumn +
                        QStringLiteral(" FROM trans_incentive WHERE trans_id = 'jsmith' AND "
                                       "shift_date = '2024-01-02' ORDER BY hosp_acct_id"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {QStringLiteral("hosp_acct_id"), modifiedColumn},
                                         {{101, collected}, {102, 999}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDetailCorpus::revertOfTheLastCorrectionDeletesTheRow() {
    CorpusFixture fx;
    // O'Brien's row of 2024-02-01 on account 102 holds only a corrected report count.
    auto affected = fx.execute(
        QStringLiteral("DELETE FROM Trans_incentive ") + QStringLiteral("WHERE trans_id = '") +
        quoteSql(QStringLiteral("O'Brien")) + QStringLiteral("' AND hosp_acct_id = ") +
        QStringLiteral("102") + QStringLiteral(" AND shift_date = '") +
        QStringLiteral("2024-02-01") + QStringLiteral("'"));
    QVERIFY2(affected, qPrintable(fx.lastError()));
    QCOMPARE(*affected, 1);

    auto rows = fx.open(QStringLiteral("SELECT hosp_acct_id, shift_date FROM trans_incentive WHERE "
                                       "trans_id = 'O''Brien'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList left =
        rowTexts(*rows, {QStringLiteral("hosp_acct_id"), QStringLiteral("shift_date")});
    left.sort();
    QCOMPARE(left, QStringList({"101|2024-01-15", "101|2024-01-29"}));
}

VELORA_TEST(TestDetailCorpus)
#include "TestDetailCorpus.moc"
