#include "TsqlDateReader.h"

#include <vector>

namespace velora::db {

namespace {

// Reads digits into `value`, at least `min` and at most `max` of them.
bool readNumber(QStringView text, qsizetype& pos, int min, int max, int& value) {
    value = 0;
    int count = 0;
    while (pos < text.size() && count < max && text[pos].isDigit() && text[pos].unicode() < 128) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++count;
    }
    return count >= min;
}

bool readChar(QStringView text, qsizetype& pos, QChar c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// What may follow a date: nothing, or a time "hh:mm[:ss[.fff]] [AM|PM]" after a blank or a T.
bool isTimePart(QStringView rest) {
    if (rest.isEmpty())
        return true;
    qsizetype pos = 0;
    if (rest[0] == QLatin1Char('T')) {
        pos = 1;
    } else {
        while (pos < rest.size() && rest[pos] == QLatin1Char(' '))
            ++pos;
        if (pos == 0)
            return false;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    int fraction = 0;
    if (!readNumber(rest, pos, 1, 2, hour) || !readChar(rest, pos, QLatin1Char(':')) ||
        !readNumber(rest, pos, 2, 2, minute) || minute > 59)
        return false;
    if (readChar(rest, pos, QLatin1Char(':')) &&
        (!readNumber(rest, pos, 2, 2, second) || second > 59))
        return false;
    if (readChar(rest, pos, QLatin1Char('.')) && !readNumber(rest, pos, 1, 7, fraction))
        return false;
    const QStringView meridiem = rest.mid(pos).trimmed();
    if (meridiem.isEmpty())
        return hour <= 23;
    return hour >= 1 && hour <= 12 &&
           (meridiem.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0 ||
            meridiem.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0);
}

} // namespace

QDate TsqlDateReader::isoDate(QStringView text) {
    qsizetype pos = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!readNumber(text, pos, 4, 4, year))
        return {};
    if (readChar(text, pos, QLatin1Char('-'))) {
        if (!readNumber(text, pos, 1, 2, month) || !readChar(text, pos, QLatin1Char('-')) ||
            !readNumber(text, pos, 1, 2, day))
            return {};
    } else if (!readNumber(text, pos, 2, 2, month) || !readNumber(text, pos, 2, 2, day)) {
        return {};
    }
    if (!isTimePart(text.mid(pos)))
        return {};
    return QDate(year, month, day);
}

QDate TsqlDateReader::regionalDate(QStringView text, const QString& format) {
    struct Field {
        QChar letter;
        QChar separator; // what follows the field; null for the last one
    };
    std::vector<Field> fields;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = i;
        while (run < format.size() && format[run] == c)
            ++run;
        const qsizetype length = run - i;
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if ((c != QLatin1Char('y') && length > 2) ||
                (c == QLatin1Char('y') && length != 2 && length != 4))
                return QDate::fromString(text.toString(), format);
            fields.push_back({c, QChar()});
        } else if (length == 1 && !fields.empty() && fields.back().separator.isNull()) {
            fields.back().separator = c;
        } else {
            return QDate::fromString(text.toString(), format);
        }
        i = run;
    }
    if (fields.size() != 3)
        return QDate::fromString(text.toString(), format);
    qsizetype pos = 0;
    int day = 0;
    int month = 0;
    int year = 0;
    for (const Field& field : fields) {
        int value = 0;
        if (field.letter == QLatin1Char('y')) {
            const qsizetype start = pos;
            if (!readNumber(text, pos, 2, 4, value) || pos - start == 3)
                return {};
            if (pos - start == 2) // SQL Server's two-digit year cutoff is 2049
                value += value < 50 ? 2000 : 1900;
            year = value;
        } else {
            if (!readNumber(text, pos, 1, 2, value))
                return {};
            (field.letter == QLatin1Char('d') ? day : month) = value;
        }
        if (!field.separator.isNull() && !readChar(text, pos, field.separator))
            return {};
    }
    if (!isTimePart(text.mid(pos)))
        return {};
    return QDate(year, month, day);
}

} // namespace velora::db
