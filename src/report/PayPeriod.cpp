#include "PayPeriod.h"

#include "detail/WeekStart.h"

namespace velora::report {

PayPeriod::PayPeriod(Kind kind, const QDate& from, const QDate& to)
    : kind_(kind)
    , from_(from)
    , to_(to) {}

PayPeriod PayPeriod::week(const QDate& day, int firstDayOfWeek) {
    const QDate start = detail::WeekStart::adjust(day, firstDayOfWeek);
    return {Kind::Week, start, start.addDays(6)};
}

PayPeriod PayPeriod::biWeek(const QDate& day, int firstDayOfWeek) {
    const QDate start = detail::WeekStart::adjust(day, firstDayOfWeek);
    return {Kind::BiWeek, start.addDays(-7), start.addDays(6)};
}

PayPeriod PayPeriod::month(const QDate& day) {
    const QDate first(day.year(), day.month(), 1);
    return {Kind::Month, first, first.addDays(day.daysInMonth() - 1)};
}

PayPeriod PayPeriod::range(const QDate& from, const QDate& to) {
    return {Kind::Range, from, to};
}

PayPeriod PayPeriod::of(Kind kind, const QDate& day, const QDate& to, int firstDayOfWeek) {
    switch (kind) {
    case Kind::Week:
        return week(day, firstDayOfWeek);
    case Kind::BiWeek:
        return biWeek(day, firstDayOfWeek);
    case Kind::Month:
        return month(day);
    case Kind::Range:
        break;
    }
    return range(day, to);
}

bool PayPeriod::isValid() const {
    return from_.isValid() && to_.isValid() && from_ <= to_;
}

QString PayPeriod::title() const {
    return from_.toString(Qt::ISODate) + QStringLiteral(" to ") + to_.toString(Qt::ISODate);
}

} // namespace velora::report
