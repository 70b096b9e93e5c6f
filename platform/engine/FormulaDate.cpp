#include "FormulaDate.h"

#include <cmath>
#include <vector>

namespace velora::engine {

namespace {

constexpr double SecondsPerDay = 86400.0;

// The pieces of a date or time text: runs of digits, runs of letters, and single separators.
struct DatePiece {
    enum class Kind { Number, Word, Separator } kind;
    int value = 0;
    int digits = 0;
    QStringView text;
};

bool splitPieces(QStringView text, std::vector<DatePiece>& pieces) {
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            ++i;
            continue;
        }
        qsizetype end = i;
        if (c.isDigit() && c.unicode() < 128) {
            int value = 0;
            while (end < text.size() && text[end].unicode() >= '0' && text[end].unicode() <= '9') {
                if (value > 99999)
                    return false;
                value = value * 10 + (text[end].unicode() - '0');
                ++end;
            }
            pieces.push_back({DatePiece::Kind::Number, value, int(end - i), text.mid(i, end - i)});
        } else if (c.isLetter()) {
            while (end < text.size() && text[end].isLetter())
                ++end;
            pieces.push_back({DatePiece::Kind::Word, 0, 0, text.mid(i, end - i)});
        } else {
            end = i + 1;
            pieces.push_back({DatePiece::Kind::Separator, 0, 0, text.mid(i, 1)});
        }
        i = end;
    }
    return true;
}

bool isSeparator(const DatePiece& piece, char c) {
    return piece.kind == DatePiece::Kind::Separator && piece.text[0] == QLatin1Char(c);
}

bool isNumber(const std::vector<DatePiece>& pieces, size_t at) {
    return at < pieces.size() && pieces[at].kind == DatePiece::Kind::Number;
}

// Two-digit years as VBScript reads them: 0-29 are 2000-2029, 30-99 are 1930-1999.
int fullYear(const DatePiece& year) {
    if (year.digits > 2)
        return year.value;
    return year.value < 30 ? 2000 + year.value : 1900 + year.value;
}

// Reads a date at `at` (yyyy-mm-dd or m/d/yyyy); advances `at` past it.
bool readDay(const std::vector<DatePiece>& pieces, size_t& at, double& date) {
    if (!isNumber(pieces, at) || !isNumber(pieces, at + 2) || !isNumber(pieces, at + 4))
        return false;
    const DatePiece& sep1 = pieces[at + 1];
    const DatePiece& sep2 = pieces[at + 3];
    const bool slash = isSeparator(sep1, '/') && isSeparator(sep2, '/');
    const bool dash = isSeparator(sep1, '-') && isSeparator(sep2, '-');
    if (!slash && !dash)
        return false;
    int year = 0;
    int month = 0;
    int day = 0;
    if (pieces[at].digits >= 3) {
        year = pieces[at].value;
        month = pieces[at + 2].value;
        day = pieces[at + 4].value;
    } else {
        month = pieces[at].value;
        day = pieces[at + 2].value;
        year = fullYear(pieces[at + 4]);
    }
    if (year < 100 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    date = FormulaDate::fromQDate(QDate(year, month, day));
    at += 5;
    return true;
}

// Reads a time at `at` (h:mm[:ss] [AM|PM]) as a fraction of a day; advances `at` past it.
bool readTime(const std::vector<DatePiece>& pieces, size_t& at, double& time) {
    size_t i = at;
    if (!isNumber(pieces, i) || !isNumber(pieces, i + 2) || !isSeparator(pieces[i + 1], ':'))
        return false;
    int hour = pieces[i].value;
    const int minute = pieces[i + 2].value;
    int second = 0;
    i += 3;
    if (i + 1 < pieces.size() && isSeparator(pieces[i], ':') && isNumber(pieces, i + 1)) {
        second = pieces[i + 1].value;
        i += 2;
    }
    if (i < pieces.size() && pieces[i].kind == DatePiece::Kind::Word) {
        const bool am = pieces[i].text.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0;
        const bool pm = pieces[i].text.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
        if ((!am && !pm) || hour < 1 || hour > 12)
            return false;
        hour = (hour % 12) + (pm ? 12 : 0);
        ++i;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    time = (hour * 3600 + minute * 60 + second) / SecondsPerDay;
    at = i;
    return true;
}

} // namespace

void FormulaDate::split(double date, qint64& day, double& time) {
    const double whole = std::trunc(date);
    day = static_cast<qint64>(whole);
    time = std::fabs(date - whole);
}

double FormulaDate::join(qint64 day, double time) {
    return day >= 0 ? double(day) + time : double(day) - time;
}

QDate FormulaDate::toQDate(double date) {
    qint64 day = 0;
    double time = 0;
    split(date, day, time);
    return QDate::fromJulianDay(day + EpochJulianDay);
}

double FormulaDate::fromQDate(const QDate& day) {
    return double(day.toJulianDay() - EpochJulianDay);
}

void FormulaDate::parts(double date, int& year, int& month, int& day) {
    qint64 days = 0;
    double time = 0;
    split(date, days, time);
    julianDayParts(days + EpochJulianDay, year, month, day);
}

// The proleptic Gregorian calendar in 400-year eras of 146097 days, counted from March so
// that the leap day falls at the end of a year.
void FormulaDate::julianDayParts(qint64 julianDay, int& year, int& month, int& day) {
    const qint64 z = julianDay - 1721120; // days since 0000-03-01
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    // Within an era everything is small and unsigned, which divides by constants cheaply.
    const unsigned dayOfEra = unsigned(z - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = int(qint64(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0));
}

int FormulaDate::daysInMonth(int year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
}

bool FormulaDate::isLastDayOfMonth(qint64 julianDay) {
    int year = 0;
    int month = 0;
    int day = 0;
    julianDayParts(julianDay, year, month, day);
    return day == daysInMonth(year, month);
}

int FormulaDate::weekday(double date) {
    qint64 days = 0;
    double time = 0;
    split(date, days, time);
    const qint64 julianDay = days + EpochJulianDay; // Julian day 0 was a Monday
    return int(((julianDay + 1) % 7 + 7) % 7) + 1;
}

bool FormulaDate::parse(QStringView text, double& date) {
    std::vector<DatePiece> pieces;
    if (!splitPieces(text, pieces) || pieces.empty())
        return false;
    size_t at = 0;
    double day = 0;
    double time = 0;
    const bool hasDay = readDay(pieces, at, day);
    const bool hasTime = readTime(pieces, at, time);
    if ((!hasDay && !hasTime) || at != pieces.size())
        return false;
    date = join(static_cast<qint64>(day), time);
    return true;
}

QString FormulaDate::text(double date) {
    qint64 day = 0;
    double time = 0;
    split(date, day, time);
    QString result;
    if (day != 0) {
        const QDate calendar = QDate::fromJulianDay(day + EpochJulianDay);
        result = QString::number(calendar.month()) + QLatin1Char('/') +
                 QString::number(calendar.day()) + QLatin1Char('/') +
                 QString::number(calendar.year());
    }
    if (time != 0 || day == 0) {
        const qint64 seconds = std::llround(time * SecondsPerDay) % 86400;
        const qint64 hour = seconds / 3600;
        const qint64 hour12 = hour % 12 == 0 ? 12 : hour % 12;
        if (!result.isEmpty())
            result += QLatin1Char(' ');
        result += QString::number(hour12) + QLatin1Char(':') +
                  QStringLiteral("%1:%2")
                      .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                      .arg(seconds % 60, 2, 10, QLatin1Char('0')) +
                  (hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
    }
    return result;
}

} // namespace velora::engine
