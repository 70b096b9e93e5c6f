#pragma once

#include <QDate>
#include <QString>

namespace velora::report {

// The days a pay-period report covers, both ends included. A week and a bi-week follow the
// first-day-of-week preference exactly as the weekly detail's totals do: the week holding a
// day, and that week with the one before it. A month is a calendar month; a range is any two
// dates.
class PayPeriod {
public:
    enum class Kind { Week, BiWeek, Month, Range };

    PayPeriod() = default;

    // firstDayOfWeek: Sunday = 1 .. Saturday = 7; anything else is taken as Sunday.
    static PayPeriod week(const QDate& day, int firstDayOfWeek);
    static PayPeriod biWeek(const QDate& day, int firstDayOfWeek);
    static PayPeriod month(const QDate& day);
    static PayPeriod range(const QDate& from, const QDate& to);
    // The period of one kind around a day; a range runs from day to `to`.
    static PayPeriod of(Kind kind, const QDate& day, const QDate& to, int firstDayOfWeek);

    Kind kind() const { return kind_; }
    const QDate& from() const { return from_; }
    const QDate& to() const { return to_; }
    // Both dates valid and the first not after the last.
    bool isValid() const;
    qint64 days() const { return isValid() ? from_.daysTo(to_) + 1 : 0; }

    // "2012-11-04 to 2012-11-10": short enough for a sheet name, sortable, the same in every
    // locale.
    QString title() const;

private:
    PayPeriod(Kind kind, const QDate& from, const QDate& to);

    Kind kind_ = Kind::Range;
    QDate from_;
    QDate to_;
};

} // namespace velora::report
