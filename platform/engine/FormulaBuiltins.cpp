#include "FormulaBuiltins.h"

#include "FormulaArithmetic.h"
#include "FormulaDate.h"
#include "FormulaOperators.h"

#include <array>
#include <cfloat>
#include <cmath>

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;

constexpr TypeSet NumberType = typeBit(ValueType::Number);
constexpr TypeSet BooleanType = typeBit(ValueType::Boolean);
constexpr TypeSet StringType = typeBit(ValueType::String);
constexpr TypeSet DateType = typeBit(ValueType::Date);
constexpr TypeSet SingleType = typeBit(ValueType::Single);

// ---- argument conversions: each fails with the function's fault (subject added later)

bool numberArg(FormulaRuntime& rt, const FormulaValue& v, double& x) {
    return toNumber(v, x) || rt.failArgument(v);
}

bool longArg(FormulaRuntime& rt, const FormulaValue& v, std::int32_t& x) {
    double number = 0;
    if (!numberArg(rt, v, number))
        return false;
    return roundToLong(number, x) || rt.fail(N::Overflow);
}

bool dateArg(FormulaRuntime& rt, const FormulaValue& v, double& date) {
    if (!toDate(v, date))
        return rt.failArgument(v);
    return FormulaDate::isValid(date) || rt.fail(N::InvalidArgument);
}

bool setNumber(FormulaValue& out, double value) {
    out = FormulaValue::makeNumber(value);
    return true;
}

bool setChecked(FormulaRuntime& rt, FormulaValue& out, double value) {
    if (!std::isfinite(value))
        return rt.fail(N::Overflow);
    return setNumber(out, value);
}

template <double (*Math)(double)>
bool mathFunction(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    return numberArg(rt, a[0], x) && setChecked(rt, out, Math(x));
}

double atanOf(double x) {
    return std::atan(x);
}
double cosOf(double x) {
    return std::cos(x);
}
double sinOf(double x) {
    return std::sin(x);
}
double tanOf(double x) {
    return std::tan(x);
}
double expOf(double x) {
    return std::exp(x);
}
double sgnOf(double x) {
    return x < 0 ? -1 : (x > 0 ? 1 : 0);
}

bool fnLog(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    return x > 0 ? setNumber(out, std::log(x)) : rt.fail(N::InvalidArgument);
}

bool fnSqr(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    return x >= 0 ? setNumber(out, std::sqrt(x)) : rt.fail(N::InvalidArgument);
}

// Abs, Int, Fix and Round return a Single for a Single, and the last three a date for a date.
ValueType keptType(const FormulaValue& argument, bool keepsDate) {
    if (argument.type == ValueType::Single || (keepsDate && argument.type == ValueType::Date))
        return argument.type;
    return ValueType::Number;
}

bool fnAbs(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    out = FormulaValue::make(std::fabs(x), keptType(a[0], false));
    return true;
}

template <double (*Whole)(double)>
bool wholeFunction(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    const double r = Whole(x);
    out = FormulaValue::make(r == 0 ? 0.0 : r, keptType(a[0], true));
    return true;
}

double floorOf(double x) {
    return std::floor(x);
}
double truncOf(double x) {
    return std::trunc(x);
}

bool fnRound(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    double x = 0;
    double digits = 0;
    if (!numberArg(rt, a[0], x) || (count > 1 && !numberArg(rt, a[1], digits)))
        return false;
    double r = 0;
    const ArithmeticFault fault = arithmetic::round(x, digits, r);
    if (fault != ArithmeticFault::None)
        return rt.fail(arithmetic::faultNumber(fault));
    const ValueType type = keptType(a[0], true);
    out = FormulaValue::make(type == ValueType::Single ? double(float(r)) : r, type);
    return true;
}

// ---- conversions

bool fnCBool(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    bool truth = false;
    if (!toBoolean(a[0], truth))
        return rt.failArgument(a[0]);
    out = FormulaValue::makeBoolean(truth);
    return true;
}

bool fnCDbl(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    return numberArg(rt, a[0], x) && setNumber(out, x);
}

bool fnCInt(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    const double r = roundHalfEven(x);
    if (!(r >= -32768 && r <= 32767))
        return rt.fail(N::Overflow);
    return setNumber(out, r == 0 ? 0.0 : r);
}

bool fnCLng(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    std::int32_t x = 0;
    return longArg(rt, a[0], x) && setNumber(out, x);
}

bool fnCSng(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    if (!numberArg(rt, a[0], x))
        return false;
    if (std::fabs(x) > FLT_MAX)
        return rt.fail(N::Overflow);
    out = FormulaValue::makeSingle(float(x));
    return true;
}

bool fnCStr(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    out = a[0].isString() ? a[0] : rt.makeString(valueText(a[0]));
    return true;
}

bool fnIsNumeric(FormulaRuntime&, const FormulaValue* a, int, FormulaValue& out) {
    double x = 0;
    const bool numeric =
        a[0].isString() ? parseNumberText(a[0].string(), x) : a[0].type != ValueType::Date;
    out = FormulaValue::makeBoolean(numeric);
    return true;
}

// ---- strings

QString textArg(const FormulaValue& v) {
    return v.isString() ? v.string() : valueText(v);
}

bool fnLen(FormulaRuntime&, const FormulaValue* a, int, FormulaValue& out) {
    return setNumber(out, double(a[0].isString() ? a[0].string().size() : textArg(a[0]).size()));
}

bool fnLCase(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    out = rt.makeString(textArg(a[0]).toLower());
    return true;
}

bool fnUCase(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    out = rt.makeString(textArg(a[0]).toUpper());
    return true;
}

// Trim, LTrim and RTrim remove spaces only, not tabs.
QString trimSpaces(const QString& text, bool left, bool right) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (left && begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (right && end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

template <bool Left, bool Right>
bool trimFunction(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    out = rt.makeString(trimSpaces(textArg(a[0]), Left, Right));
    return true;
}

bool lengthArg(FormulaRuntime& rt, const FormulaValue& v, std::int32_t& length) {
    if (!longArg(rt, v, length))
        return false;
    return length >= 0 || rt.fail(N::InvalidArgument);
}

bool fnLeft(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    std::int32_t length = 0;
    if (!lengthArg(rt, a[1], length))
        return false;
    out = rt.makeString(textArg(a[0]).left(length));
    return true;
}

bool fnRight(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    std::int32_t length = 0;
    if (!lengthArg(rt, a[1], length))
        return false;
    out = rt.makeString(textArg(a[0]).right(length));
    return true;
}

bool fnMid(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    std::int32_t start = 0;
    std::int32_t length = -1;
    if (!longArg(rt, a[1], start) || (count > 2 && !lengthArg(rt, a[2], length)))
        return false;
    if (start < 1)
        return rt.fail(N::InvalidArgument);
    const QString text = textArg(a[0]);
    out = rt.makeString(start > text.size() ? QString() : text.mid(start - 1, length));
    return true;
}

// InStr([start,] text, sought[, compare]): 1-based position, 0 when absent.
bool fnInStr(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    std::int32_t start = 1;
    std::int32_t compare = 0;
    const FormulaValue* strings = a;
    if (count >= 3) {
        if (!longArg(rt, a[0], start))
            return false;
        strings = a + 1;
        if (count == 4 && !longArg(rt, a[3], compare))
            return false;
    }
    if (start < 1 || compare < 0 || compare > 1)
        return rt.fail(N::InvalidArgument);
    const QString text = textArg(strings[0]);
    const QString sought = textArg(strings[1]);
    if (text.isEmpty() || start > text.size())
        return setNumber(out, 0);
    if (sought.isEmpty())
        return setNumber(out, start);
    const Qt::CaseSensitivity sensitivity = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return setNumber(out, double(text.indexOf(sought, start - 1, sensitivity) + 1));
}

// ---- dates

// Day, Month and Year: which part of the date they return.
template <int Part>
bool datePartFunction(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double date = 0;
    if (!dateArg(rt, a[0], date))
        return false;
    int parts[3] = {0, 0, 0};
    FormulaDate::parts(date, parts[0], parts[1], parts[2]);
    return setNumber(out, parts[Part]);
}

// The first day of the week as given (0 = the system's, Sunday here; 1 Sunday .. 7 Saturday).
bool firstDayArg(FormulaRuntime& rt, const FormulaValue* a, int count, int at, int& first) {
    std::int32_t value = 1;
    if (count > at && !longArg(rt, a[at], value))
        return false;
    if (value < 0 || value > 7)
        return rt.fail(N::InvalidArgument);
    first = value == 0 ? 1 : value;
    return true;
}

int weekdayFrom(double date, int first) {
    return (FormulaDate::weekday(date) - first + 7) % 7 + 1;
}

bool fnWeekday(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    double date = 0;
    int first = 1;
    return dateArg(rt, a[0], date) && firstDayArg(rt, a, count, 1, first) &&
           setNumber(out, weekdayFrom(date, first));
}

bool fnIsLastDayOfMonth(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    double date = 0;
    if (!dateArg(rt, a[0], date))
        return false;
    int year = 0;
    int month = 0;
    int day = 0;
    FormulaDate::parts(date, year, month, day);
    out = FormulaValue::makeBoolean(day == FormulaDate::daysInMonth(year, month));
    return true;
}

bool integerArg(FormulaRuntime& rt, const FormulaValue& v, int& x) {
    double number = 0;
    if (!numberArg(rt, v, number))
        return false;
    const double r = roundHalfEven(number);
    if (!(r >= -32768 && r <= 32767))
        return rt.fail(N::Overflow);
    x = int(r);
    return true;
}

qint64 floorDivide(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The date `months` months after year/month/day, with the day held within the month.
bool addMonths(FormulaRuntime& rt, int year, int month, int day, qint64 months, double& date) {
    const qint64 total = qint64(year) * 12 + (month - 1) + months;
    const qint64 newYear = floorDivide(total, 12);
    const int newMonth = int(total - newYear * 12) + 1;
    if (newYear < 100 || newYear > 9999)
        return rt.fail(N::InvalidArgument);
    const int newDay = std::min(day, FormulaDate::daysInMonth(int(newYear), newMonth));
    date = FormulaDate::fromQDate(QDate(int(newYear), newMonth, newDay));
    return true;
}

bool fnDateSerial(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (!integerArg(rt, a[0], year) || !integerArg(rt, a[1], month) || !integerArg(rt, a[2], day))
        return false;
    if (year >= 0 && year <= 99)
        year += year < 30 ? 2000 : 1900;
    double first = 0;
    if (!addMonths(rt, year, 1, 1, month - 1, first))
        return false;
    const double date = first + (day - 1);
    if (!FormulaDate::isValid(date))
        return rt.fail(N::InvalidArgument);
    out = FormulaValue::makeDate(date);
    return true;
}

// The intervals of DateAdd and DateDiff.
enum class Interval { Day, Week, Month, Year };

bool intervalNamed(const QString& text, Interval& interval) {
    const QString name = text.toLower();
    if (name == QLatin1String("d"))
        interval = Interval::Day;
    else if (name == QLatin1String("ww"))
        interval = Interval::Week;
    else if (name == QLatin1String("m"))
        interval = Interval::Month;
    else if (name == QLatin1String("yyyy"))
        interval = Interval::Year;
    else
        return false;
    return true;
}

bool intervalArg(FormulaRuntime& rt, const FormulaValue& v, Interval& interval) {
    return intervalNamed(textArg(v), interval) || rt.fail(N::InvalidArgument);
}

bool fnDateAdd(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    Interval interval = Interval::Day;
    std::int32_t count = 0;
    double date = 0;
    if (!intervalArg(rt, a[0], interval) || !longArg(rt, a[1], count) || !dateArg(rt, a[2], date))
        return false;
    qint64 day = 0;
    double time = 0;
    FormulaDate::split(date, day, time);
    double result = 0;
    if (interval == Interval::Day || interval == Interval::Week) {
        result = double(day) + double(count) * (interval == Interval::Week ? 7 : 1);
    } else {
        int year = 0;
        int month = 0;
        int dayOfMonth = 0;
        FormulaDate::parts(date, year, month, dayOfMonth);
        const qint64 months = qint64(count) * (interval == Interval::Year ? 12 : 1);
        if (!addMonths(rt, year, month, dayOfMonth, months, result))
            return false;
    }
    if (!FormulaDate::isValid(result))
        return rt.fail(N::InvalidArgument);
    out = FormulaValue::makeDate(FormulaDate::join(qint64(result), time));
    return true;
}

qint64 dayNumber(double date) {
    qint64 day = 0;
    double time = 0;
    FormulaDate::split(date, day, time);
    return day;
}

// "ww" counts the first days of the week after date1 up to and including date2.
qint64 weekStart(double date, int first) {
    return dayNumber(date) - (weekdayFrom(date, first) - 1);
}

bool fnDateDiff(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    Interval interval = Interval::Day;
    double from = 0;
    double to = 0;
    int first = 1;
    if (!intervalArg(rt, a[0], interval) || !dateArg(rt, a[1], from) || !dateArg(rt, a[2], to) ||
        !firstDayArg(rt, a, count, 3, first))
        return false;
    int y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
    FormulaDate::parts(from, y1, m1, d1);
    FormulaDate::parts(to, y2, m2, d2);
    switch (interval) {
    case Interval::Day:
        return setNumber(out, double(dayNumber(to) - dayNumber(from)));
    case Interval::Week:
        return setNumber(out, double((weekStart(to, first) - weekStart(from, first)) / 7));
    case Interval::Month:
        return setNumber(out, double((y2 * 12 + m2) - (y1 * 12 + m1)));
    case Interval::Year:
        return setNumber(out, double(y2 - y1));
    }
    return rt.fail(N::InvalidArgument);
}

// ---- additions

template <bool Smallest>
bool extremeFunction(FormulaRuntime& rt, const FormulaValue* a, int count, FormulaValue& out) {
    double best = 0;
    for (int i = 0; i < count; ++i) {
        double x = 0;
        if (!numberArg(rt, a[i], x))
            return false;
        if (i == 0 || (Smallest ? x < best : x > best))
            best = x;
    }
    return setNumber(out, best);
}

bool fnIIf(FormulaRuntime& rt, const FormulaValue* a, int, FormulaValue& out) {
    bool condition = false;
    if (!toBoolean(a[0], condition))
        return rt.failArgument(a[0]);
    out = condition ? a[1] : a[2];
    return true;
}

constexpr TypeSet DateOrSingle = DateType | SingleType;

const std::array<BuiltinInfo, size_t(BuiltinId::Count)> Builtins = {{
    {"Abs", fnAbs, 1, 1, NumberType, SingleType, true},
    {"Atn", mathFunction<atanOf>, 1, 1, NumberType, 0, true},
    {"Cos", mathFunction<cosOf>, 1, 1, NumberType, 0, true},
    {"Exp", mathFunction<expOf>, 1, 1, NumberType, 0, true},
    {"Fix", wholeFunction<truncOf>, 1, 1, NumberType, DateOrSingle, true},
    {"Int", wholeFunction<floorOf>, 1, 1, NumberType, DateOrSingle, true},
    {"Log", fnLog, 1, 1, NumberType, 0, true},
    {"Round", fnRound, 1, 2, NumberType, DateOrSingle, true},
    {"Sgn", mathFunction<sgnOf>, 1, 1, NumberType, 0, true},
    {"Sin", mathFunction<sinOf>, 1, 1, NumberType, 0, true},
    {"Sqr", fnSqr, 1, 1, NumberType, 0, true},
    {"Tan", mathFunction<tanOf>, 1, 1, NumberType, 0, true},
    {"CBool", fnCBool, 1, 1, BooleanType, 0, true},
    {"CDbl", fnCDbl, 1, 1, NumberType, 0, true},
    {"CInt", fnCInt, 1, 1, NumberType, 0, true},
    {"CLng", fnCLng, 1, 1, NumberType, 0, true},
    {"CSng", fnCSng, 1, 1, SingleType, 0, true},
    {"CStr", fnCStr, 1, 1, StringType, 0, true},
    {"IsNumeric", fnIsNumeric, 1, 1, BooleanType, 0, true},
    {"Len", fnLen, 1, 1, NumberType, 0, true},
    {"LCase", fnLCase, 1, 1, StringType, 0, true},
    {"UCase", fnUCase, 1, 1, StringType, 0, true},
    {"Trim", trimFunction<true, true>, 1, 1, StringType, 0, true},
    {"LTrim", trimFunction<true, false>, 1, 1, StringType, 0, true},
    {"RTrim", trimFunction<false, true>, 1, 1, StringType, 0, true},
    {"Left", fnLeft, 2, 2, StringType, 0, true},
    {"Right", fnRight, 2, 2, StringType, 0, true},
    {"Mid", fnMid, 2, 3, StringType, 0, true},
    {"InStr", fnInStr, 2, 4, NumberType, 0, true},
    {"Day", datePartFunction<2>, 1, 1, NumberType, 0, true},
    {"Month", datePartFunction<1>, 1, 1, NumberType, 0, true},
    {"Year", datePartFunction<0>, 1, 1, NumberType, 0, true},
    {"Weekday", fnWeekday, 1, 2, NumberType, 0, true},
    {"DateSerial", fnDateSerial, 3, 3, DateType, 0, true},
    {"DateAdd", fnDateAdd, 3, 3, DateType, 0, true},
    {"DateDiff", fnDateDiff, 3, 4, NumberType, 0, true},
    {"IsLastDayOfMonth", fnIsLastDayOfMonth, 0, 1, BooleanType, 0, true},
    {"Min", extremeFunction<true>, 1, 255, NumberType, 0, true},
    {"Max", extremeFunction<false>, 1, 255, NumberType, 0, true},
    {"IIf", fnIIf, 3, 3, AnyType, 0, true},
    {"WeekToDate", nullptr, 1, 2, NumberType, 0, false},
    {"MonthToDate", nullptr, 1, 2, NumberType, 0, false},
    {"YearToDate", nullptr, 1, 2, NumberType, 0, false},
}};

} // namespace

bool FormulaBuiltins::isInterval(const QString& name) {
    Interval interval = Interval::Day;
    return intervalNamed(name, interval);
}

const BuiltinInfo& FormulaBuiltins::info(BuiltinId id) {
    return Builtins[size_t(id)];
}

} // namespace velora::engine
