#include "PeriodTotalStatements.h"

#include "WeekStatements.h"
#include "catalogue/QuoteSql.h"

namespace velora::detail {

struct PeriodTotalStatements::Values {
    QString q;  // quoted user id
    QString a;  // account id as given
    QString mo; // month of the start date, 1..12
    QString yr; // four-digit year of the start date
    QString d0; // start - 7
    QString d1; // start
    QString d2; // start + 6
};

namespace {

// Hour mode 2 and the account summary.
const QString kColumnsT =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ");

// The account summary's year in hour mode 2 also sums the system hours.
const QString kColumnsTY =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.hours_typed_modified) AS TOTAL_HOURS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.hours_system_modified) AS TOTAL_SYSTEM_HOURS, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY ");

// A single account in hour mode 1; TOTAL_HOURS follows from the activity log.
const QString kColumnsS1 =
    QStringLiteral("SELECT Sum(Trans_incentive.number_rpts_modified) AS TOTAL_REPORTS, "
                   "Sum(Trans_incentive.chars_modified) AS TOTAL_CHARS, "
                   "Sum(Trans_incentive.lines_modified) AS TOTAL_LINES, "
                   "Sum(Trans_incentive.pages_modified) AS TOTAL_PAGES, "
                   "Sum(Trans_incentive.incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, "
                   "Sum(Trans_incentive.incent_typed_modified) AS TOTAL_ITYPED, "
                   "Sum(Trans_incentive.incent_pay_modified) AS TOTAL_IPAY, ");

const QString kActivityHoursStart =
    QStringLiteral("ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) ");
const QString kSystemHoursOnly =
    QStringLiteral("' AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS TOTAL_HOURS ");

QString s(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

QString PeriodTotalStatements::label(TotalPeriod period, const QDate& start,
                                     const QLocale& locale) {
    const auto monthDay = [&locale](const QDate& date) -> QString {
        return locale.monthName(date.month(), QLocale::ShortFormat) + QLatin1Char(' ') +
               date.toString(QStringLiteral("dd"));
    };
    const QDate end = start.addDays(6);
    switch (period) {
    case TotalPeriod::Week:
        return s("Week (") + monthDay(start) + s("-") + monthDay(end) + s("):");
    case TotalPeriod::BiWeek:
        return s("Bi-Week (") + monthDay(start.addDays(-7)) + s("-") + monthDay(end) + s("):");
    case TotalPeriod::Month:
        return s("Month (") + locale.monthName(start.month(), QLocale::ShortFormat) + s(" '") +
               start.toString(QStringLiteral("yy")) + s("):");
    case TotalPeriod::Year:
        return s("Year (") + start.toString(QStringLiteral("yyyy")) + s("):");
    }
    return {};
}

QString PeriodTotalStatements::statement(TotalPeriod period, const QString& transID,
                                         const QString& accountID, const QDate& start,
                                         int hourMode) {
    const Values v{catalogue::QuoteSql(transID),
                   WeekStatements::accountNumber(accountID),
                   QString::number(start.month()),
                   QString::number(start.year()),
                   WeekStatements::sqlDate(start.addDays(-7)),
                   WeekStatements::sqlDate(start),
                   WeekStatements::sqlDate(start.addDays(6))};
    const bool summary = v.a == WeekStatements::summaryAccountID();
    if (hourMode == 2)
        return summary ? summaryHourMode2(period, v) : singleAccountHourMode2(period, v);
    if (hourMode == 1)
        return summary ? summaryHourMode1(period, v) : singleAccountHourMode1(period, v);
    return {};
}

QString PeriodTotalStatements::singleAccountHourMode2(TotalPeriod period, const Values& v) {
    const QString userAndAccount = s("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") +
                                   v.q + s("') AND ((Trans_incentive.hosp_acct_id)=") + v.a +
                                   s(") AND ");
    switch (period) {
    case TotalPeriod::Week:
        return kColumnsT + userAndAccount + s("((Trans_incentive.shift_date) Between '") + v.d1 +
               s("' And '") + v.d2 + s("'));");
    case TotalPeriod::BiWeek:
        return kColumnsT + s("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + v.q +
               s("' AND Trans_incentive.hosp_acct_id=") + v.a +
               s(" AND Trans_incentive.shift_date Between '") + v.d0 + s("' And '") + v.d2 + s("'");
    case TotalPeriod::Month:
        return kColumnsT + userAndAccount + s("((Month(Trans_incentive.shift_date)) = ") + v.mo +
               s(")) AND ((Year(Trans_incentive.shift_date) = ") + v.yr + s("));");
    case TotalPeriod::Year:
        return kColumnsT + userAndAccount + s("((Year(Trans_incentive.shift_date)) = ") + v.yr +
               s("));");
    }
    return {};
}

QString PeriodTotalStatements::singleAccountHourMode1(TotalPeriod period, const Values& v) {
    const QString userAndAccount = s("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") +
                                   v.q + s("') AND ((Trans_incentive.hosp_acct_id)=") + v.a +
                                   s(") AND ");
    const auto range = [&](const QString& from) -> QString {
        return kColumnsS1 + kActivityHoursStart +
               s("FROM Trans_activity TA1 WHERE TA1.shift_date Between '") + from + s("' And '") +
               v.d2 + s("' AND TA1.trans_id = '") + v.q + kSystemHoursOnly +
               s("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + v.q +
               s("' AND Trans_incentive.hosp_acct_id='") + v.a +
               s("' AND Trans_incentive.shift_date Between '") + from + s("' And '") + v.d2 +
               s("'");
    };
    switch (period) {
    case TotalPeriod::Week:
        return range(v.d1);
    case TotalPeriod::BiWeek:
        return range(v.d0);
    case TotalPeriod::Month:
        return kColumnsS1 + kActivityHoursStart +
               s("FROM Trans_activity TA1 WHERE ((Month(TA1.shift_date)) = ") + v.mo +
               s(") AND ((Year(TA1.shift_date)) = ") + v.yr + s(") AND TA1.trans_id = '") + v.q +
               kSystemHoursOnly + userAndAccount + s("((Month(Trans_incentive.shift_date)) = ") +
               v.mo + s(")) AND ((Year(Trans_incentive.shift_date) = ") + v.yr + s("));");
    case TotalPeriod::Year:
        return kColumnsS1 + kActivityHoursStart +
               s("FROM Trans_activity TA1 WHERE ((Year(TA1.shift_date)) = ") + v.yr +
               s(") AND TA1.trans_id = '") + v.q + kSystemHoursOnly + userAndAccount +
               s("((Year(Trans_incentive.shift_date)) = ") + v.yr + s("));");
    }
    return {};
}

QString PeriodTotalStatements::summaryHourMode2(TotalPeriod period, const Values& v) {
    const QString user =
        s("FROM Trans_incentive WHERE (((Trans_incentive.trans_id)='") + v.q + s("') AND ");
    switch (period) {
    case TotalPeriod::Week:
        return kColumnsT + user + s("((Trans_incentive.shift_date) Between '") + v.d1 +
               s("' And '") + v.d2 + s("'));");
    case TotalPeriod::BiWeek:
        return kColumnsT + s("FROM Trans_incentive WHERE Trans_incentive.trans_id='") + v.q +
               s("' AND Trans_incentive.shift_date Between '") + v.d0 + s("' And '") + v.d2 +
               s("'");
    case TotalPeriod::Month:
        return kColumnsT + user + s("((Month(Trans_incentive.shift_date)) = ") + v.mo +
               s(")) AND ((Year(Trans_incentive.shift_date) = ") + v.yr + s("));");
    case TotalPeriod::Year:
        return kColumnsTY + user + s("((Year(Trans_incentive.shift_date)) = ") + v.yr + s("));");
    }
    return {};
}

QString PeriodTotalStatements::summaryHourMode1(TotalPeriod period, const Values& v) {
    // The period filter in its three spellings: inside the T1 sub-select, on the activity log
    // (ending with the user id) and on the outer query.
    QString f1;
    QString f2;
    QString f3;
    switch (period) {
    case TotalPeriod::Week:
    case TotalPeriod::BiWeek: {
        const QString& from = period == TotalPeriod::Week ? v.d1 : v.d0;
        f1 = s("and shift_date between '") + from + s("' And '") + v.d2 + s("' and ");
        f2 = s("FROM Trans_activity TA1 WHERE TA1.shift_date Between '") + from + s("' And '") +
             v.d2 + s("' AND TA1.trans_id = '") + v.q;
        f3 = s("' and shift_date between '") + from + s("' And '") + v.d2 + s("'");
        break;
    }
    case TotalPeriod::Month:
        f1 = s("and ((Month(shift_date)) = ") + v.mo + s(") AND ((Year(shift_date) = ") + v.yr +
             s(")) and ");
        f2 = s("FROM Trans_activity TA1 WHERE ((Month(TA1.shift_date)) = ") + v.mo +
             s(") AND ((Year(TA1.shift_date)) = ") + v.yr + s(") AND TA1.trans_id = '") + v.q;
        f3 = s("' and ((Month(shift_date)) = ") + v.mo + s(") AND ((Year(shift_date) = ") + v.yr +
             s("))");
        break;
    case TotalPeriod::Year:
        f1 = s("and ((Year(shift_date) = ") + v.yr + s(")) and ");
        f2 = s("FROM Trans_activity TA1 WHERE ((Year(TA1.shift_date)) = ") + v.yr +
             s(") AND TA1.trans_id = '") + v.q;
        f3 = s("' and ((Year(shift_date) = ") + v.yr + s("))");
        break;
    }
    // Each day's incentive hours count once: the row with the day's largest value, and of rows
    // sharing it the one with the smallest account id.
    return s("SELECT TOTAL_IHOURS_TYPED = (select sum(incent_hours_typed_modified) from "
             "Trans_incentive T1 where trans_id = '") +
           v.q + s("' ") + f1 +
           s("incent_hours_typed_modified = (SELECT MAX(incent_hours_typed_modified) FROM "
             "Trans_incentive T2 WHERE T2.trans_id = T1.trans_id AND T2.shift_date = "
             "T1.shift_date) and NOT exists (SELECT * FROM Trans_incentive T3 WHERE "
             "T1.incent_hours_typed_modified = T3.incent_hours_typed_modified AND T1.trans_id = "
             "T3.trans_id AND T1.shift_date = T3.shift_date AND T1.hosp_acct_id > "
             "T3.hosp_acct_id)), sum(incent_hours_typed_modified) as SUM_IHOURS_TYPED, ") +
           kActivityHoursStart + f2 +
           s("' AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS TOTAL_HOURS, "
             "Sum(number_rpts_modified) AS TOTAL_REPORTS, Sum(chars_modified) AS TOTAL_CHARS, "
             "Sum(lines_modified) AS TOTAL_LINES, Sum(pages_modified) AS TOTAL_PAGES, "
             "Sum(incent_typed_modified) AS TOTAL_ITYPED, Sum(incent_pay_modified) As TOTAL_IPAY "
             "From Trans_incentive where trans_id = '") +
           v.q + f3;
}

} // namespace velora::detail
