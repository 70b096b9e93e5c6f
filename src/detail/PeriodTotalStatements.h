#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace velora::detail {

// The four periods totalled under the week: the week itself, the week with the one before it,
// and the calendar month and year of the week's first day.
enum class TotalPeriod { Week, BiWeek, Month, Year };

// The labels and statements of the period totals. Each statement returns one row with
// TOTAL_HOURS, TOTAL_IHOURS_TYPED, TOTAL_IPAY, TOTAL_ITYPED, TOTAL_CHARS, TOTAL_LINES and
// TOTAL_REPORTS, summed over the user's rows of one account, or of all accounts for the
// account summary (-2). In hour mode 1 the hours are the user's activity-log hours of the
// period, and the summary counts each day's incentive hours once (the day's largest value).
class PeriodTotalStatements {
public:
    // "Week (Nov 04-Nov 10):", "Bi-Week (Oct 28-Nov 10):", "Month (Nov '12):", "Year (2012):"
    // for a week starting on 4 November 2012; month names are the locale's short ones.
    static QString label(TotalPeriod period, const QDate& start, const QLocale& locale);

    // The statement of one period for a week starting on start; "" for hour modes other than
    // 1 and 2.
    static QString statement(TotalPeriod period, const QString& transID, const QString& accountID,
                             const QDate& start, int hourMode);

private:
    struct Values; // the spliced pieces: Q, A, Mo, Yr, D0, D1, D2

    static QString singleAccountHourMode2(TotalPeriod period, const Values& v);
    static QString singleAccountHourMode1(TotalPeriod period, const Values& v);
    static QString summaryHourMode2(TotalPeriod period, const Values& v);
    static QString summaryHourMode1(TotalPeriod period, const Values& v);
};

} // namespace velora::detail
