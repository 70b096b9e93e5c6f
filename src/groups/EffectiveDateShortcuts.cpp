#include "EffectiveDateShortcuts.h"

namespace velora::groups {

QDate EffectiveDateShortcuts::currentMonth(const QDate& today) {
    return today.addDays(1 - today.day());
}

QDate EffectiveDateShortcuts::currentWeek(const QDate& today, Qt::DayOfWeek firstDay) {
    return today.addDays(1 - weekday(today, firstDay));
}

QDate EffectiveDateShortcuts::previousWeek(const QDate& today, Qt::DayOfWeek firstDay) {
    return today.addDays(-weekday(today, firstDay) - 6);
}

int EffectiveDateShortcuts::weekday(const QDate& today, Qt::DayOfWeek firstDay) {
    return (today.dayOfWeek() - static_cast<int>(firstDay) + 7) % 7 + 1;
}

} // namespace velora::groups
