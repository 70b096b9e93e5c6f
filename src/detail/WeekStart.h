#pragma once

#include <QDate>

namespace velora::detail {

// The first day of the week the grid starts on: weekdays numbered Sunday = 1 to Saturday = 7,
// as the preference INCENT_FIRST_DAY_OF_WEEK stores them.
class WeekStart {
public:
    // Weekday of a date, Sunday = 1.
    static int weekday(const QDate& date);
    // Days to go back from a day of weekday w to the latest day of weekday firstDay on or before
    // it: 0 to 6.
    static int daysBack(int w, int firstDay);
    // The latest day on or before date whose weekday is firstDay. A firstDay outside 1..7 is
    // taken as Sunday, the preference's default.
    static QDate adjust(const QDate& date, int firstDay);
    static int validFirstDay(int firstDay);
};

} // namespace velora::detail
