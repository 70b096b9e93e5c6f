#include "WeekStart.h"

namespace velora::detail {

int WeekStart::weekday(const QDate& date) {
    // Qt counts Monday = 1 to Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

int WeekStart::validFirstDay(int firstDay) {
    return firstDay >= 1 && firstDay <= 7 ? firstDay : 1;
}

int WeekStart::daysBack(int w, int firstDay) {
    if (w > firstDay)
        return w - firstDay;
    if (w < firstDay)
        return 7 - (firstDay - w);
    return 0;
}

QDate WeekStart::adjust(const QDate& date, int firstDay) {
    return date.addDays(-daysBack(weekday(date), validFirstDay(firstDay)));
}

} // namespace velora::detail
