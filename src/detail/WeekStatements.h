#pragma once

#include <QDate>
#include <QString>

namespace velora::detail {

// The statements with which the weekly grid reads one user's week: the last locked date, the
// user's group, the day rows of one account or of the account summary (-2) in either hour
// mode, and the activity-log hours of a day without a row. Dates are written YYYY-MM-DD; user
// ids are quoted; account ids are checked to be numbers.
class WeekStatements {
public:
    static const QString& summaryAccountID(); // "-2"

    // One value: the latest shift_date of any locked row, or 1980-01-01.
    static QString lastLockedDate();
    static QString userGroup(const QString& transID);
    // The rows of the week starting on start, ordered by day. accountID is the decimal account
    // id as given, or "-2" for the account summary. Only hour modes 1 and 2 have a statement;
    // any other mode gives "".
    static QString days(const QString& transID, const QString& accountID, const QDate& start,
                        int hourMode);
    // num_incent_hours: the user's activity-log system hours of one day (hour mode 1).
    static QString activityHours(const QString& transID, const QDate& day);

    // The account id as a statement takes it: a whole number written plainly. Throws
    // SuiteError (TypeMismatch) for any other text, so nothing else is ever spliced in.
    static QString accountNumber(const QString& accountID);

    static QString sqlDate(const QDate& date) {
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    }

private:
    static QString singleAccountHourMode2(const QString& q, const QString& a, const QString& d1,
                                          const QString& d2);
    static QString singleAccountHourMode1(const QString& q, const QString& a, const QString& d1,
                                          const QString& d2);
    static QString summaryHourMode2(const QString& q, const QString& d1, const QString& d2);
    static QString summaryHourMode1(const QString& q, const QString& d1, const QString& d2);
};

} // namespace velora::detail
