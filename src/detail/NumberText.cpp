#include "NumberText.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace velora::detail {

namespace {

// A finite non-zero value as its 15 significant decimal digits and the power of ten of the
// first one: 1234.5 gives "123450000000000" and 3.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

DecimalDigits decimalDigits(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    DecimalDigits result;
    const char* p = buffer;
    if (*p == '-') {
        result.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            result.digits.push_back(*p);
    }
    result.exponent = std::atoi(p + 1);
    return result;
}

bool isZero(double value) {
    return value == 0.0 || !std::isfinite(value);
}

} // namespace

NumberText::NumberText(QString decimalSeparator)
    : decimalSeparator_(std::move(decimalSeparator)) {}

QString NumberText::fixed(double value) const {
    if (isZero(value))
        return QStringLiteral("0") + decimalSeparator_ + QStringLiteral("00");
    const DecimalDigits d = decimalDigits(value);
    // Hundredths as a whole number, from the digits down to the second decimal.
    const int kept = d.exponent + 3;
    if (kept > 17)
        return QString::number(value, 'f', 2).replace(QLatin1Char('.'), decimalSeparator_);
    long long hundredths = 0;
    for (int i = 0; i < kept; ++i)
        hundredths = hundredths * 10 + (i < 15 ? d.digits[static_cast<std::size_t>(i)] - '0' : 0);
    if (kept >= 0 && kept < 15 && d.digits[static_cast<std::size_t>(kept)] >= '5')
        ++hundredths;
    const bool negative = d.negative && hundredths != 0;
    QString fraction = QString::number(hundredths % 100);
    if (fraction.size() < 2)
        fraction.prepend(QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + QString::number(hundredths / 100) +
           decimalSeparator_ + fraction;
}

QString NumberText::plain(double value) const {
    if (isZero(value))
        return QStringLiteral("0");
    DecimalDigits d = decimalDigits(value);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    const QString digits = QString::fromLatin1(d.digits.c_str());
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    if (d.exponent >= 15 || d.exponent < -4) {
        QString mantissa = digits.left(1);
        if (digits.size() > 1)
            mantissa += decimalSeparator_ + digits.mid(1);
        const QString power =
            QString::number(std::abs(d.exponent)).rightJustified(2, QLatin1Char('0'));
        return sign + mantissa + (d.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
               power;
    }
    if (d.exponent < 0)
        return sign + QStringLiteral("0") + decimalSeparator_ +
               QString(-d.exponent - 1, QLatin1Char('0')) + digits;
    const int integerDigits = d.exponent + 1;
    if (digits.size() <= integerDigits)
        return sign + digits + QString(integerDigits - digits.size(), QLatin1Char('0'));
    return sign + digits.left(integerDigits) + decimalSeparator_ + digits.mid(integerDigits);
}

double NumberText::roundHalfEven(double value) {
    return std::nearbyint(value);
}

} // namespace velora::detail
