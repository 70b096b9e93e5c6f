#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

namespace velora::engine {

// VBScript's dates: a number of days since 12/30/1899 whose fraction is the time of day. For
// dates before that day the fraction still counts forwards from midnight (-1.25 is 12/29/1899
// 6:00 AM), so day and time are split apart before any calendar arithmetic.
class FormulaDate {
public:
    static constexpr double First = -657434;          // 1/1/100
    static constexpr double Last = 2958466;           // just past 12/31/9999
    static constexpr qint64 EpochJulianDay = 2415019; // 12/30/1899

    // Whether the number is a day between 1/1/100 and 12/31/9999.
    static bool isValid(double date) { return date >= First && date < Last; }

    static void split(double date, qint64& day, double& time);
    static double join(qint64 day, double time);

    static QDate toQDate(double date);
    static double fromQDate(const QDate& day);
    // Year, month and day of a valid date.
    static void parts(double date, int& year, int& month, int& day);
    // Year, month and day of a Julian day number (integer arithmetic, no calendar object).
    static void julianDayParts(qint64 julianDay, int& year, int& month, int& day);
    static int daysInMonth(int year, int month);
    static bool isLastDayOfMonth(qint64 julianDay);
    // Sunday = 1 .. Saturday = 7.
    static int weekday(double date);

    // A date literal or date text: yyyy-mm-dd, m/d/yyyy (or two-digit year), either followed by
    // a time h:mm[:ss] [AM|PM], or a time alone. US order, as VBScript reads date literals.
    static bool parse(QStringView text, double& date);
    // CStr of a date: M/d/yyyy, with h:mm:ss AM when the time is not midnight; a time alone
    // when the day is 12/30/1899.
    static QString text(double date);
};

} // namespace velora::engine
