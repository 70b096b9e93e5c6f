#include "WeekStatements.h"

#include "catalogue/QuoteSql.h"
#include "suite/SuiteError.h"

namespace velora::detail {

namespace {

// The day's system hours from the activity log, for the row of the outer query (alias TI).
const QString kRowActivityHours = QStringLiteral(
    "ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) FROM Trans_activity TA1 "
    "WHERE TA1.shift_date = TI.shift_date AND TA1.trans_id = TI.trans_id AND TA1.work_type = 1 "
    "AND TA1.update_type = 9),0) AS num_incent_hours ");

QString dayFilter(const QString& q, const QString& d1, const QString& d2) {
    return QStringLiteral("trans_id = '") + q + QStringLiteral("' AND shift_date BETWEEN '") + d1 +
           QStringLiteral("' AND '") + d2 + QStringLiteral("'");
}

} // namespace

const QString& WeekStatements::summaryAccountID() {
    static const QString id = QStringLiteral("-2");
    return id;
}

QString WeekStatements::accountNumber(const QString& accountID) {
    bool ok = false;
    const int number = accountID.trimmed().toInt(&ok);
    if (!ok)
        throw suite::SuiteError(
            suite::SuiteErrorNumber::TypeMismatch,
            QStringLiteral("Type mismatch: account id \"%1\" is not a number.").arg(accountID));
    return QString::number(number);
}

QString WeekStatements::lastLockedDate() {
    return QStringLiteral("SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive WHERE "
                          "locked=1), '1980-01-01')");
}

QString WeekStatements::userGroup(const QString& transID) {
    return QStringLiteral("SELECT incentive_group_id FROM Trans_info WHERE trans_id = '") +
           catalogue::QuoteSql(transID) + QStringLiteral("'");
}

QString WeekStatements::days(const QString& transID, const QString& accountID, const QDate& start,
                             int hourMode) {
    const QString q = catalogue::QuoteSql(transID);
    const QString d1 = sqlDate(start);
    const QString d2 = sqlDate(start.addDays(6));
    const QString a = accountNumber(accountID);
    const bool summary = a == summaryAccountID();
    if (hourMode == 2)
        return summary ? summaryHourMode2(q, d1, d2) : singleAccountHourMode2(q, a, d1, d2);
    if (hourMode == 1)
        return summary ? summaryHourMode1(q, d1, d2) : singleAccountHourMode1(q, a, d1, d2);
    return {};
}

QString WeekStatements::singleAccountHourMode2(const QString& q, const QString& a,
                                               const QString& d1, const QString& d2) {
    return QStringLiteral(
               "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, "
               "hours_typed_modified AS num_incent_hours, chars_modified AS num_chars, "
               "lines_modified AS num_lines, pages_modified AS num_pages, "
               "incent_hours_typed_modified AS num_incent_hours_typed_modified, "
               "incent_typed_modified AS num_incent_typed, incent_pay_modified AS num_incent_pay, "
               "number_rpts AS num_orig_reports, hours_typed as num_orig_incent_hours, "
               "chars AS num_orig_chars, lines AS num_orig_lines, pages AS num_orig_pages, "
               "incent_hours_typed AS num_orig_incent_hours_typed, "
               "incent_typed AS num_orig_incent_typed, incent_pay AS num_orig_incent_pay "
               "FROM trans_incentive WHERE trans_id = '") +
           q + QStringLiteral("' AND hosp_acct_id = ") + a +
           QStringLiteral(" AND shift_date BETWEEN '") + d1 + QStringLiteral("' AND '") + d2 +
           QStringLiteral("' ORDER BY shift_date");
}

QString WeekStatements::singleAccountHourMode1(const QString& q, const QString& a,
                                               const QString& d1, const QString& d2) {
    return QStringLiteral(
               "SELECT hosp_acct_id, locked, shift_date, number_rpts_modified AS num_reports, "
               "chars_modified AS num_chars, lines_modified AS num_lines, "
               "pages_modified AS num_pages, "
               "incent_hours_typed_modified as num_incent_hours_typed_modified, "
               "incent_typed_modified AS num_incent_typed, incent_pay_modified AS num_incent_pay, "
               "number_rpts AS num_orig_reports, chars AS num_orig_chars, "
               "lines AS num_orig_lines, pages AS num_orig_pages, "
               "hours_system_modified AS num_orig_incent_hours, "
               "incent_hours_typed AS num_orig_incent_hours_typed, "
               "incent_typed AS num_orig_incent_typed, incent_pay AS num_orig_incent_pay, ") +
           kRowActivityHours + QStringLiteral("FROM trans_incentive TI WHERE trans_id = '") + q +
           QStringLiteral("' AND hosp_acct_id = ") + a +
           QStringLiteral(" AND shift_date BETWEEN '") + d1 + QStringLiteral("' AND '") + d2 +
           QStringLiteral("' ORDER BY shift_date");
}

QString WeekStatements::summaryHourMode2(const QString& q, const QString& d1, const QString& d2) {
    return QStringLiteral(
               "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
               "SUM(hours_typed_modified) AS num_incent_hours, SUM(chars_modified) AS num_chars, "
               "SUM(lines_modified) AS num_lines, SUM(pages_modified) AS num_pages, "
               "SUM(incent_hours_typed_modified) AS num_incent_hours_typed_modified, "
               "SUM(incent_typed_modified) AS num_incent_typed, "
               "SUM(incent_pay_modified) AS num_incent_pay, sum(incent_pay) AS "
               "num_orig_incent_pay FROM trans_incentive WHERE ") +
           dayFilter(q, d1, d2) + QStringLiteral(" GROUP BY shift_date ORDER BY shift_date");
}

QString WeekStatements::summaryHourMode1(const QString& q, const QString& d1, const QString& d2) {
    return QStringLiteral(
               "SELECT shift_date, 1 AS locked, SUM(number_rpts_modified) AS num_reports, "
               "SUM(chars_modified) AS num_chars, SUM(lines_modified) AS num_lines, "
               "SUM(pages_modified) AS num_pages, "
               "MAX(incent_hours_typed_modified) AS num_incent_hours_typed_modified, "
               "SUM(incent_typed_modified) AS num_incent_typed, "
               "SUM(incent_pay_modified) AS num_incent_pay, sum(incent_pay) AS "
               "num_orig_incent_pay, ") +
           kRowActivityHours + QStringLiteral("FROM trans_incentive TI WHERE ") +
           dayFilter(q, d1, d2) +
           QStringLiteral(" GROUP BY trans_id, shift_date ORDER BY shift_date");
}

QString WeekStatements::activityHours(const QString& transID, const QDate& day) {
    return QStringLiteral("SELECT ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / "
                          "3600.0) FROM Trans_activity TA1 WHERE TA1.shift_date = '") +
           sqlDate(day) + QStringLiteral("' AND TA1.trans_id = '") + catalogue::QuoteSql(transID) +
           QStringLiteral("' AND TA1.work_type = 1 AND TA1.update_type = 9),0) AS "
                          "num_incent_hours");
}

} // namespace velora::detail
