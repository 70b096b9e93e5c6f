#pragma once

#include <QDate>

namespace velora::groups {

// The days the effective-date dialog's quick buttons offer, counted from today.
class EffectiveDateShortcuts {
public:
    // The first day of today's month.
    static QDate currentMonth(const QDate& today);
    // The first day of today's week, weeks starting on `firstDay`.
    static QDate currentWeek(const QDate& today, Qt::DayOfWeek firstDay);
    // The first day of the week before today's.
    static QDate previousWeek(const QDate& today, Qt::DayOfWeek firstDay);

private:
    // Today's place in its week, 1 for the first day of the week up to 7.
    static int weekday(const QDate& today, Qt::DayOfWeek firstDay);
};

} // namespace velora::groups
