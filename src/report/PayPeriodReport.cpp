#include "PayPeriodReport.h"

#include "catalogue/QuoteSql.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QStringList>

namespace velora::report {

namespace {

QString s(const char* text) {
    return QString::fromLatin1(text);
}

bool typedHours(const ReportScope& scope) {
    return scope.hourMode == 2;
}

// "shift_date Between 'from' And 'to'"
QString dateFilter(const PayPeriod& period) {
    return s("shift_date Between '") + catalogue::QuoteSql(period.from().toString(Qt::ISODate)) +
           s("' And '") + catalogue::QuoteSql(period.to().toString(Qt::ISODate)) + s("'");
}

// The users' system hours of the period from the activity log, rounded as the weekly detail
// rounds them, joined to the lines of U.
QString activityHoursJoin(const PayPeriod& period) {
    return s("LEFT OUTER JOIN (SELECT trans_id, CONVERT(decimal(19,2), Sum(activity_time) / "
             "3600.0) AS ACTIVITY_HOURS FROM Trans_activity WHERE ") +
           dateFilter(period) +
           s(" AND work_type = 1 AND update_type = 9 GROUP BY trans_id) A ON A.trans_id = "
             "U.trans_id ");
}

QString hoursColumn(const ReportScope& scope) {
    return typedHours(scope) ? s("U.TOTAL_HOURS") : s("ISNULL(A.ACTIVITY_HOURS, 0)");
}

// Users of the chosen partitions only; the ids are integers, written as numbers.
QString partitionFilter(const ReportScope& scope) {
    if (scope.partitions.isEmpty())
        return {};
    QStringList ids;
    for (int id : scope.partitions)
        ids << QString::number(id);
    return s("WHERE ti.extra3 IN (") + ids.join(s(", ")) + s(") ");
}

const QString kUserName =
    QStringLiteral("RTRIM(ti.last_name) + ', ' + RTRIM(ti.first_name) AS USER_NAME");

double number(const db::Recordset& row, const char* column) {
    const QVariant value = row.value(QString::fromLatin1(column));
    return value.isNull() ? 0.0 : value.toDouble();
}

} // namespace

PayPeriodReport::PayPeriodReport(db::Connection& connection)
    : connection_(connection) {}

QString PayPeriodReport::usersStatement(const PayPeriod& period, const ReportScope& scope) {
    // Day by day first, so that hour mode 1 can take each day's largest IHours.
    const QString dayIHours = typedHours(scope) ? s("Sum") : s("Max");
    const QString days =
        s("SELECT trans_id, shift_date, Sum(number_rpts_modified) AS DAY_REPORTS, "
          "Sum(lines_modified) AS DAY_LINES, Sum(hours_typed_modified) AS DAY_HOURS, ") +
        dayIHours +
        s("(incent_hours_typed_modified) AS DAY_IHOURS, Sum(incent_typed_modified) AS "
          "DAY_ITYPED, Sum(incent_pay_modified) AS DAY_IPAY FROM Trans_incentive WHERE ") +
        dateFilter(period) + s(" GROUP BY trans_id, shift_date");
    const QString users =
        s("SELECT trans_id, Sum(DAY_REPORTS) AS TOTAL_REPORTS, Sum(DAY_LINES) AS TOTAL_LINES, "
          "Sum(DAY_HOURS) AS TOTAL_HOURS, Sum(DAY_IHOURS) AS TOTAL_IHOURS_TYPED, "
          "Sum(DAY_ITYPED) AS TOTAL_ITYPED, Sum(DAY_IPAY) AS TOTAL_IPAY FROM (") +
        days + s(") DY GROUP BY trans_id");
    return s("SELECT U.trans_id, ") + kUserName + s(", U.TOTAL_REPORTS, U.TOTAL_LINES, ") +
           hoursColumn(scope) +
           s(" AS TOTAL_HOURS, U.TOTAL_IHOURS_TYPED, U.TOTAL_ITYPED, U.TOTAL_IPAY FROM (") + users +
           s(") U ") + (typedHours(scope) ? QString() : activityHoursJoin(period)) +
           s("LEFT OUTER JOIN Trans_info ti ON ti.trans_id = U.trans_id ") +
           partitionFilter(scope) + s("ORDER BY USER_NAME, U.trans_id");
}

QString PayPeriodReport::accountsStatement(const PayPeriod& period, const ReportScope& scope) {
    const QString accounts =
        s("SELECT trans_id, hosp_acct_id, Sum(number_rpts_modified) AS TOTAL_REPORTS, "
          "Sum(lines_modified) AS TOTAL_LINES, Sum(hours_typed_modified) AS TOTAL_HOURS, "
          "Sum(incent_hours_typed_modified) AS TOTAL_IHOURS_TYPED, Sum(incent_typed_modified) AS "
          "TOTAL_ITYPED, Sum(incent_pay_modified) AS TOTAL_IPAY FROM Trans_incentive WHERE ") +
        dateFilter(period) + s(" GROUP BY trans_id, hosp_acct_id");
    return s("SELECT U.trans_id, U.hosp_acct_id, ai.hosp_acct_name, U.TOTAL_REPORTS, "
             "U.TOTAL_LINES, ") +
           hoursColumn(scope) +
           s(" AS TOTAL_HOURS, U.TOTAL_IHOURS_TYPED, U.TOTAL_ITYPED, U.TOTAL_IPAY FROM (") +
           accounts + s(") U ") + (typedHours(scope) ? QString() : activityHoursJoin(period)) +
           s("LEFT OUTER JOIN Trans_info ti ON ti.trans_id = U.trans_id "
             "LEFT OUTER JOIN Account_info ai ON ai.hosp_acct_id = U.hosp_acct_id ") +
           partitionFilter(scope) + s("ORDER BY U.trans_id, ai.hosp_acct_name, U.hosp_acct_id");
}

ReportFigures PayPeriodReport::readFigures(const db::Recordset& row) {
    return {number(row, "TOTAL_REPORTS"), number(row, "TOTAL_LINES"),
            number(row, "TOTAL_HOURS"),   number(row, "TOTAL_IHOURS_TYPED"),
            number(row, "TOTAL_ITYPED"),  number(row, "TOTAL_IPAY")};
}

ReportTable PayPeriodReport::users(const PayPeriod& period, const ReportScope& scope) {
    ReportTable table;
    table.period = period;
    db::Recordset rows = connection_.openRecordset(usersStatement(period, scope));
    for (; !rows.eof(); rows.moveNext()) {
        const QString transID = rows.text(QStringLiteral("trans_id"));
        // Without a Trans_info row or a name, the id stands in, as in the explorer.
        QString name = rows.text(QStringLiteral("USER_NAME")).trimmed();
        if (name.isEmpty() || name == QLatin1String(","))
            name = transID.trimmed();
        table.lines.push_back({transID, name, readFigures(rows)});
    }
    table.addUpTotal();
    return table;
}

std::map<QString, std::vector<ReportLine>> PayPeriodReport::accounts(const PayPeriod& period,
                                                                     const ReportScope& scope) {
    std::map<QString, std::vector<ReportLine>> byUser;
    db::Recordset rows = connection_.openRecordset(accountsStatement(period, scope));
    for (; !rows.eof(); rows.moveNext()) {
        const QString account = rows.text(QStringLiteral("hosp_acct_id"));
        QString name = rows.text(QStringLiteral("hosp_acct_name")).trimmed();
        if (name.isEmpty())
            name = account;
        byUser[userKey(rows.text(QStringLiteral("trans_id")))].push_back(
            {account, name, readFigures(rows)});
    }
    return byUser;
}

} // namespace velora::report
