#pragma once

#include "ReportTable.h"

#include <QList>
#include <QString>
#include <map>
#include <vector>

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::report {

// What a report covers besides its period: the hour mode (the INCENT_HOUR_TYPE preference:
// 2 takes the typed hours, anything else the activity-log hours) and the partitions whose
// users it lists (empty: every user).
struct ReportScope {
    int hourMode = 1;
    QList<int> partitions;
};

// The pay-period report: per user, and per user and account, the period's reports, true
// lines, hours, IHours, ITyped and IPay from the stored (corrected) values, added up exactly
// as the weekly detail's period totals add them up. A user's line equals the account
// summary's totals; an account's line equals that account's totals:
// - hour mode 2: hours are the typed hours; IHours are summed;
// - hour mode 1: hours are the user's activity-log system hours of the period, rounded to two
//   decimals (the same on every account line); a user's IHours count each day's largest
//   value once, so hours worked on two accounts on one day are not paid twice.
// Each form is one set-based statement over the period. Users are those with production rows
// in the period. Database failures reach the caller as db::DbError.
class PayPeriodReport {
public:
    explicit PayPeriodReport(db::Connection& connection);

    // One line per user, ordered by name, with the total.
    ReportTable users(const PayPeriod& period, const ReportScope& scope);
    // Every listed user's account lines under userKey(trans_id), each list ordered by account
    // name.
    std::map<QString, std::vector<ReportLine>> accounts(const PayPeriod& period,
                                                        const ReportScope& scope);

    // The key of a user's account lines: trans_id compares without regard to letter case and
    // trailing blanks, so rows spelt "ABC " and "abc" belong to one user.
    static QString userKey(const QString& transID) { return transID.trimmed().toUpper(); }

    static QString usersStatement(const PayPeriod& period, const ReportScope& scope);
    static QString accountsStatement(const PayPeriod& period, const ReportScope& scope);

private:
    static ReportFigures readFigures(const db::Recordset& row);

    db::Connection& connection_;
};

} // namespace velora::report
