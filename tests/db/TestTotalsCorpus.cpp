// The period totals of the weekly detail (week, bi-week, month, year; single account and
// account summary; both hour modes) run on the embedded engine against the corpus fixture.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using velora::test::compareRows;
using velora::test::CorpusFixture;
using velora::test::isoDate;
using velora::test::quoteSql;

namespace {

enum Period { Week, BiWeek, Month, Year };

const QString columnListT =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ");

const QString columnListTY =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.hours_system_modified) AS TOTAL_SYSTEM_HOURS, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ");

const QString columnListS1 =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY, ");

// The values spliced into a totals statement.
struct Splice {
    QString q;  // quoted user id
    QString a;  // account id as the load received it
    QString mo; // month of the start date
    QString yr; // year of the start date
    QString d0; // start - 7
    QString d1; // start
    QString d2; // start + 6
};

Splice spliceFor(const QString& transId, const QString& accountId, const QDate& start) {
    return {quoteSql(transId),
            accountId,
            QString::number(start.month()),
            QString::number(start.year()),
            isoDate(start.addDays(-7)),
            isoDate(start),
            isoDate(start.addDays(6))};
}

QString singleTyped(Period period, const Splice& s) {
    switch (period) {
    case Week:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.hosp_acct_id)=") + s.a +
               QStringLiteral(") AND ((Trans_incentive.shift_date) Between '") + s.d1 +
               QStringLiteral("' And '") + s.d2 + QStringLiteral("'));");
    case BiWeek:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + s.q +
               QStringLiteral("' AND Trans_incentive.hosp_acct_id=") + s.a +
               QStringLiteral(" AND Trans_incentive.shift_date Between '") + s.d0 +
               QStringLiteral("' And '") + s.d2 + QStringLiteral("'");
    case Month:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.hosp_acct_id)=") + s.a +
               QStringLiteral(") AND ((Month(Trans_incentive.shift_date)) = ") + s.mo +
               QStringLiteral(")) AND ((Year(Trans_incentive.shift_date) = ") + s.yr +
               QStringLiteral("));");
    case Year:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.hosp_acct_id)=") + s.a +
               QStringLiteral(") AND ((Year(Trans_incentive.shift_date)) = ") + s.yr +
               QStringLiteral("));");
    }
    return {};
}

QString activityHoursHead() {
    return QStringLiteral("ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM "
                          "Trans_activity TA1 WHERE ");
}

QString activityHoursTail(const Splice& s) {
    return QStringLiteral(" AND TA1.trans_id = '") + s.q +
           QStringLiteral("' AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS TOTAL_HOURS ");
}

QString singleActivity(Period period, const Splice& s) {
    switch (period) {
    case Week:
    case BiWeek: {
        const QString& from = period == Week ? s.d1 : s.d0;
        return columnListS1 + activityHoursHead() + QStringLiteral("TA1.shift_date Between '") +
               from + QStringLiteral("' And '") + s.d2 + QStringLiteral("'") +
               activityHoursTail(s) +
               QStringLiteral("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + s.q +
               QStringLiteral("' AND Trans_incentive.hosp_acct_id='") + s.a +
               QStringLiteral("' AND Trans_incentive.shift_date Between '") + from +
               QStringLiteral("' And '") + s.d2 + QStringLiteral("'");
    }
    case Month:
        return columnListS1 + activityHoursHead() + QStringLiteral("((Month(TA1.shift_date)) = ") +
               s.mo + QStringLiteral(") AND ((Year(TA1.shift_date)) = ") + s.yr +
               QStringLiteral(")") + activityHoursTail(s) +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.hosp_acct_id)=") + s.a +
               QStringLiteral(") AND ((Month(Trans_incentive.shift_date)) = ") + s.mo +
               QStringLiteral(")) AND ((Year(Trans_incentive.shift_date) = ") + s.yr +
               QStringLiteral("));");
    case Year:
        return columnListS1 + activityHoursHead() + QStringLiteral("((Year(TA1.shift_date)) = ") +
               s.yr + QStringLiteral(")") + activityHoursTail(s) +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.hosp_acct_id)=") + s.a +
               QStringLiteral(") AND ((Year(Trans_incentive.shift_date)) = ") + s.yr +
               QStringLiteral("));");
    }
    return {};
}

QString summaryTyped(Period period, const Splice& s) {
    switch (period) {
    case Week:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Trans_incentive.shift_date) Between '") + s.d1 +
               QStringLiteral("' And '") + s.d2 + QStringLiteral("'));");
    case BiWeek:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + s.q +
               QStringLiteral("' AND Trans_incentive.shift_date Between '") + s.d0 +
               QStringLiteral("' And '") + s.d2 + QStringLiteral("'");
    case Month:
        return columnListT +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Month(Trans_incentive.shift_date)) = ") + s.mo +
               QStringLiteral(")) AND ((Year(Trans_incentive.shift_date) = ") + s.yr +
               QStringLiteral("));");
    case Year:
        return columnListTY +
               QStringLiteral("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + s.q +
               QStringLiteral("') AND ((Year(Trans_incentive.shift_date)) = ") + s.yr +
               QStringLiteral("));");
    }
    return {};
}

// The account summary in hour mode 1 counts each day's IHours once, from the row with the
// day's largest value (the smallest account on a tie). F1, F2 and F3 are the period filter in
// its three spellings.
QString summaryActivity(Period period, const Splice& s) {
    QString f1;
    QString f2;
    QString f3;
    switch (period) {
    case Week:
    case BiWeek: {
        const QString& from = period == Week ? s.d1 : s.d0;
        f1 = QStringLiteral("and shift_date between '") + from + QStringLiteral("' And '") + s.d2 +
             QStringLiteral("' and ");
        f2 = QStringLiteral("FROM Trans_activity TA1 WHERE TA1.shift_date Between '") + from +
             QStringLiteral("' And '") + s.d2 + QStringLiteral("' AND TA1.trans_id = '") + s.q;
        f3 = QStringLiteral("' and shift_date between '") + from + QStringLiteral("' And '") +
             s.d2 + QStringLiteral("'");
        break;
    }
    case Month:
        f1 = QStringLiteral("and ((Month(shift_date)) = ") + s.mo +
             QStringLiteral(") AND ((Year(shift_date) = ") + s.yr + QStringLiteral(")) and ");
        f2 = QStringLiteral("FROM Trans_activity TA1 WHERE ((Month(TA1.shift_date)) = ") + s.mo +
             QStringLiteral(") AND ((Year(TA1.shift_date)) = ") + s.yr +
             QStringLiteral(") AND TA1.trans_id = '") + s.q;
        f3 = QStringLiteral("' and ((Month(shift_date)) = ") + s.mo +
             QStringLiteral(") AND ((Year(shift_date) = ") + s.yr + QStringLiteral("))");
        break;
    case Year:
        f1 = QStringLiteral("and ((Year(shift_date) = ") + s.yr + QStringLiteral(")) and ");
        f2 = QStringLiteral("FROM Trans_activity TA1 WHERE ((Year(TA1.shift_date)) = ") + s.yr +
             QStringLiteral(") AND TA1.trans_id = '") + s.q;
        f3 = QStringLiteral("' and ((Year(shift_date) = ") + s.yr + QStringLiteral("))");
        break;
    }
    return QStringLiteral("SELECT TOTAL_IHOURS_TYPED = (select sum(incent_hours_typed_modified) "
                          "from Trans_incentive T1 where trans_id = '") +
           s.q + QStringLiteral("' ") + f1 +
           QStringLiteral("incent_hours_typed_modified = (SELECT MAX(incent_hours_typed_modified) "
                          "FROM Trans_incentive T2 WHERE T2.trans_id = T1.trans_id AND "
                          "T2.shift_date = T1.shift_date) ") +
           QStringLiteral("and NOT exists (SELECT * FROM Trans_incentive T3 WHERE "
                          "T1.incent_hours_typed_modified = T3.incent_hours_typed_modified AND "
                          "T1.trans_id = T3.trans_id AND ") +
           QStringLiteral("T1.shift_date = T3.shift_date AND T1.hosp_acct_id > T3.hosp_acct_id)), "
                          "sum(incent_hours_typed_modified) as SUM_IHOURS_TYPED, "
                          "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) ") +
           f2 + QStringLiteral("' AND ") +
           QStringLiteral("TA1.work_type = 1 AND TA1.update_type = 9),0) AS TOTAL_HOURS, "
                          "Sum(number_rpts_modified) AS TOTAL_REPORTS, Sum(chars_modified) AS "
                          "TOTAL_CHARS, ") +
           QStringLiteral("Sum(lines_modified) AS TOTAL_LINES, Sum(pages_modified) AS TOTAL_PAGES, "
                          "Sum(incent_typed_modified) AS TOTAL_ITYPED, Sum(incent_pay_modified) As "
                          "TOTAL_IPAY ") +
           QStringLiteral("From Trans_incentive where trans_id = '") + s.q + f3;
}

QString totalsStatement(Period period, const QString& transId, const QString& accountId,
                        const QDate& start, int hourMode) {
    const Splice s = spliceFor(transId, accountId, start);
    const bool summary = accountId == QLatin1String("-2");
    if (summary)
        return hourMode == 1 ? summaryActivity(period, s) : summaryTyped(period, s);
    return hourMode == 1 ? singleActivity(period, s) : singleTyped(period, s);
}

const QStringList shownColumns = {"TOTAL_REPORTS", "TOTAL_HOURS", "TOTAL_CHARS",
                                  "TOTAL_LINES",   "TOTAL_PAGES", "TOTAL_IHOURS_TYPED",
                                  "TOTAL_ITYPED",  "TOTAL_IPAY"};

const char* const periodNames[] = {"week", "bi-week", "month", "year"};

} // namespace

class TestTotalsCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void periodTotals_data();
    void periodTotals();
    void summaryCountsATiedDayOnce_data();
    void summaryCountsATiedDayOnce();
    void yearSummaryAlsoTotalsSystemHours();
    void emptyPeriodGivesOneRowOfNulls_data();
    void emptyPeriodGivesOneRowOfNulls();
};

void TestTotalsCorpus::periodTotals_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("hourMode");
    QTest::addColumn<int>("period");
    QTest::addColumn<QVariantList>("expected"); // the shown columns

    struct Case {
        const char* name;
        const char* transId;
        const char* account;
        QDate start;
        int hourMode;
        QList<QVariantList> perPeriod; // week, bi-week, month, year
    };
    // The week of Monday 29 January 2024 lies mostly in February: the month row totals
    // January. The week of Sunday 31 December 2023 totals December and 2023. Activity hours
    // are the user's whole log time of the period, rounded once.
    // clang-format off
    const Case cases[] = {
        {"account, hours typed", "jsmith", "101", QDate(2024, 1, 29), 2, {
            {28, 18.5, 2800, 2610, 56, 19, 2700, 270},
            {33, 22.5, 3300, 3090, 66, 23, 3190, 319},
            {34, 22.75, 3450, 3190, 68, 23, 3290, 334.25},
            {46, 30.25, 4650, 4280, 92, 31, 4435, 448.75}}},
        {"account, activity hours", "jsmith", "101", QDate(2024, 1, 29), 1, {
            {28, 15.58, 2800, 2610, 56, 19, 2700, 270},
            {33, 19.58, 3300, 3090, 66, 23, 3190, 319},
            {34, 23.57, 3450, 3190, 68, 23, 3290, 334.25},
            {46, 27.08, 4650, 4280, 92, 31, 4435, 448.75}}},
        {"summary, hours typed", "jsmith", "-2", QDate(2024, 1, 29), 2, {
            {30, 19.5, 3000, 2800, 60, 25, 2895, 289.5},
            {35, 23.5, 3500, 3280, 70, 29, 3385, 338.5},
            {45, 28.25, 4550, 4210, 90, 37, 4335, 438.75},
            {57, 35.75, 5750, 5300, 114, 45, 5480, 553.25}}},
        {"summary, activity hours", "jsmith", "-2", QDate(2024, 1, 29), 1, {
            {30, 15.58, 3000, 2800, 60, 19, 2895, 289.5},
            {35, 19.58, 3500, 3280, 70, 23, 3385, 338.5},
            {45, 23.57, 4550, 4210, 90, 26, 4335, 438.75},
            {57, 27.08, 5750, 5300, 114, 34, 5480, 553.25}}},
        {"New Year, account, hours typed", "jsmith", "101", QDate(2023, 12, 31), 2, {
            {16, 9.25, 1650, 1480, 32, 9, 1540, 159.25},
            {26, 15.75, 2650, 2380, 52, 15, 2490, 254.25},
            {14, 8.5, 1400, 1280, 28, 8, 1340, 134},
            {14, 8.5, 1400, 1280, 28, 8, 1340, 134}}},
        {"New Year, account, activity hours", "jsmith", "101", QDate(2023, 12, 31), 1, {
            {16, 10.0, 1650, 1480, 32, 9, 1540, 159.25},
            {26, 17.0, 2650, 2380, 52, 15, 2490, 254.25},
            {14, 9.5, 1400, 1280, 28, 8, 1340, 134},
            {14, 9.5, 1400, 1280, 28, 8, 1340, 134}}},
        {"New Year, summary, activity hours", "jsmith", "-2", QDate(2023, 12, 31), 1, {
            {19, 10.0, 1950, 1760, 38, 9, 1830, 188.25},
            {29, 17.0, 2950, 2660, 58, 15, 2780, 283.25},
            {14, 9.5, 1400, 1280, 28, 8, 1340, 134},
            {14, 9.5, 1400, 1280, 28, 8, 1340, 134}}},
        {"quote in the user id, hours typed", "O'Brien", "101", QDate(2024, 1, 29), 2, {
            {5, 3.0, 500, 450, 10, 3, 470, 47},
            {5, 3.0, 500, 450, 10, 3, 470, 47},
            {7, 4.0, 700, 630, 14, 4, 660, 66},
            {7, 4.0, 700, 630, 14, 4, 660, 66}}},
        {"quote in the user id, summary, activity hours", "O'Brien", "-2", QDate(2024, 1, 29), 1, {
            {9, 1.0, 500, 450, 10, 3, 470, 47},
            {9, 1.0, 500, 450, 10, 3, 470, 47},
            {7, 1.0, 700, 630, 14, 4, 660, 66},
            {11, 1.0, 700, 630, 14, 4, 660, 66}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        for (int period = Week; period <= Year; ++period) {
            QTest::addRow("%s, %s", c.name, periodNames[period])
                << QString::fromUtf8(c.transId) << QString::fromUtf8(c.account) << c.start
                << c.hourMode << period << c.perPeriod[period];
        }
    }
}

void TestTotalsCorpus::periodTotals() {
    QFETCH(QString, transId);
    QFETCH(QString, account);
    QFETCH(QDate, start);
    QFETCH(int, hourMode);
    QFETCH(int, period);
    QFETCH(QVariantList, expected);
    CorpusFixture fx;
    auto rows =
        fx.open(totalsStatement(static_cast<Period>(period), transId, account, start, hourMode));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, shownColumns, {expected});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestTotalsCorpus::summaryCountsATiedDayOnce_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QVariantList>("expected"); // TOTAL_IHOURS_TYPED, SUM_IHOURS_TYPED
    // k.lee's only day of the week has 6.00 IHours on two accounts.
    QTest::newRow("one tied day") << "k.lee" << QVariantList{6, 12};
    // jsmith: 6.00 on 29 Jan, 6.00 twice on 30 Jan, 7.00 on 1 Feb.
    QTest::newRow("tied day among others") << "jsmith" << QVariantList{19, 25};
}

void TestTotalsCorpus::summaryCountsATiedDayOnce() {
    QFETCH(QString, transId);
    QFETCH(QVariantList, expected);
    CorpusFixture fx;
    auto rows =
        fx.open(totalsStatement(Week, transId, QStringLiteral("-2"), QDate(2024, 1, 29), 1));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(
        *rows, {QStringLiteral("TOTAL_IHOURS_TYPED"), QStringLiteral("SUM_IHOURS_TYPED")},
        {expected});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestTotalsCorpus::yearSummaryAlsoTotalsSystemHours() {
    CorpusFixture fx;
    auto rows = fx.open(totalsStatement(Year, QStringLiteral("jsmith"), QStringLiteral("-2"),
                                        QDate(2024, 1, 29), 2));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {QStringLiteral("TOTAL_SYSTEM_HOURS")}, {{24.28}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestTotalsCorpus::emptyPeriodGivesOneRowOfNulls_data() {
    QTest::addColumn<QString>("account");
    QTest::addColumn<int>("hourMode");
    QTest::addColumn<int>("period");
    const struct {
        const char* name;
        const char* account;
        int hourMode;
    } variants[] = {{"account, hours typed", "101", 2},
                    {"account, activity hours", "101", 1},
                    {"summary, hours typed", "-2", 2},
                    {"summary, activity hours", "-2", 1}};
    for (const auto& v : variants) {
        for (int period = Week; period <= Year; ++period)
            QTest::addRow("%s, %s", v.name, periodNames[period])
                << QString::fromUtf8(v.account) << v.hourMode << period;
    }
}

void TestTotalsCorpus::emptyPeriodGivesOneRowOfNulls() {
    QFETCH(QString, account);
    QFETCH(int, hourMode);
    QFETCH(int, period);
    CorpusFixture fx;
    auto rows = fx.open(totalsStatement(static_cast<Period>(period), QStringLiteral("jsmith"),
                                        account, QDate(2025, 3, 3), hourMode));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    // Activity hours come through ISNULL(..., 0); every sum of no rows is NULL.
    const QVariant hours = hourMode == 1 ? QVariant(0) : QVariant();
    const QVariantList nulls{QVariant(), hours,      QVariant(), QVariant(),
                             QVariant(), QVariant(), QVariant(), QVariant()};
    const QString mismatch = compareRows(*rows, shownColumns, {nulls});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

VELORA_TEST(TestTotalsCorpus)
#include "TestTotalsCorpus.moc"
