#include "FormulaValue.h"

#include "FormulaDate.h"

#include <charconv>
#include <cmath>
#include <string>

namespace velora::engine {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimmedBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = 99;
    if (u >= '0' && u <= '9')
        value = u - '0';
    else if (u >= 'a' && u <= 'f')
        value = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        value = u - 'A' + 10;
    return value < base ? value : -1;
}

// &H and &O numbers: up to &HFFFF they are 16-bit Integers (so &HFFFF is -1), then 32-bit Longs.
NumberText readRadixText(QStringView digits, int base, double& value) {
    if (digits.isEmpty())
        return NumberText::NotANumber;
    quint64 total = 0;
    bool tooLarge = false;
    for (QChar c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return NumberText::NotANumber;
        total = total * unsigned(base) + unsigned(digit);
        if (total > 0xFFFFFFFFull) {
            tooLarge = true;
            total = 0;
        }
    }
    if (tooLarge)
        return NumberText::OutOfRange;
    if (total <= 0xFFFF)
        value = static_cast<qint16>(static_cast<quint16>(total));
    else
        value = static_cast<qint32>(static_cast<quint32>(total));
    return NumberText::Number;
}

bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Decimal text into plain ASCII for from_chars: thousands commas dropped, D exponents as E.
bool decimalToAscii(QStringView text, std::string& ascii) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ascii += char(text[i++].unicode());
    int mantissaDigits = 0;
    while (i < text.size() &&
           (isDigit(text[i]) || (text[i] == QLatin1Char(',') && mantissaDigits))) {
        if (text[i] != QLatin1Char(','))
            ascii += char(text[i].unicode()), ++mantissaDigits;
        ++i;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ascii += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            ascii += char(text[i].unicode()), ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && QStringLiteral("eEdD").contains(text[i])) {
        ascii += 'e';
        ++i;
        if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ascii += char(text[i++].unicode());
        int exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ascii += char(text[i].unicode()), ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == text.size();
}

} // namespace

NumberText readNumberText(QStringView text, double& value) {
    const QStringView trimmed = trimmedBlanks(text);
    if (trimmed.size() > 2 && trimmed[0] == QLatin1Char('&')) {
        const QChar radix = trimmed[1].toUpper();
        if (radix == QLatin1Char('H'))
            return readRadixText(trimmed.mid(2), 16, value);
        if (radix == QLatin1Char('O'))
            return readRadixText(trimmed.mid(2), 8, value);
        return NumberText::NotANumber;
    }
    std::string ascii;
    if (!decimalToAscii(trimmed, ascii))
        return NumberText::NotANumber;
    const char* begin = ascii.data();
    if (*begin == '+')
        ++begin;
    double parsed = 0;
    const auto result = std::from_chars(begin, ascii.data() + ascii.size(), parsed);
    if (result.ec == std::errc::result_out_of_range)
        return NumberText::OutOfRange; // as the same text written as a literal
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() ||
        !std::isfinite(parsed))
        return NumberText::NotANumber;
    value = parsed;
    return NumberText::Number;
}

bool isNumberTextOutOfRange(const FormulaValue& value) {
    double number = 0;
    return value.isString() && readNumberText(value.string(), number) == NumberText::OutOfRange;
}

bool parseBooleanText(QStringView text, bool& value) {
    const QStringView trimmed = trimmedBlanks(text);
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    return false;
}

QString numberText(double value, int digits) {
    if (value == 0)
        return QStringLiteral("0"); // also -0
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString valueText(const FormulaValue& value) {
    switch (value.type) {
    case ValueType::Empty:
        return QString();
    case ValueType::Boolean:
        return value.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case ValueType::Number:
        return numberText(value.number);
    case ValueType::Single:
        return numberText(value.number, 7);
    case ValueType::String:
        return value.string();
    case ValueType::Date:
        return FormulaDate::text(value.number);
    }
    return QString();
}

bool toNumber(const FormulaValue& value, double& number) {
    if (!value.isString()) {
        number = value.number;
        return true;
    }
    return parseNumberText(value.string(), number);
}

bool toBoolean(const FormulaValue& value, bool& result) {
    if (!value.isString()) {
        result = value.number != 0;
        return true;
    }
    if (parseBooleanText(value.string(), result))
        return true;
    double number = 0;
    if (!parseNumberText(value.string(), number))
        return false;
    result = number != 0;
    return true;
}

bool toDate(const FormulaValue& value, double& date) {
    if (!value.isString()) {
        date = value.number;
        return true;
    }
    return FormulaDate::parse(value.string(), date) || parseNumberText(value.string(), date);
}

bool roundToLong(double value, std::int32_t& result) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return false;
    result = static_cast<std::int32_t>(rounded);
    return true;
}

QString mismatchSubject(const FormulaValue& value) {
    if (value.isString())
        return QStringLiteral("[string: \"") + value.string() + QStringLiteral("\"]");
    return valueText(value);
}

} // namespace velora::engine
