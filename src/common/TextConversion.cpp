#include "TextConversion.h"

#include <QRegularExpression>
#include <cmath>

namespace velora::common {

namespace {

[[noreturn]] void throwTypeMismatch() {
    throw ConversionError(ConversionErrorNumber::TypeMismatch, QStringLiteral("Type mismatch"));
}

[[noreturn]] void throwOverflow() {
    throw ConversionError(ConversionErrorNumber::Overflow, QStringLiteral("Overflow"));
}

bool parseNumber(const QString& text, double& number) {
    static const QRegularExpression plainNumber(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString trimmed = text.trimmed();
    if (!plainNumber.match(trimmed).hasMatch())
        return false;
    // The pattern admits only what the C locale reads. An exponent beyond double's range reads
    // as infinity (which the range checks turn into an overflow) or as zero, so the failure
    // flag of toDouble does not matter here.
    number = trimmed.toDouble();
    return true;
}

double requireNumber(const QString& text) {
    double number = 0;
    if (!parseNumber(text, number))
        throwTypeMismatch();
    return number;
}

// Rounds half to even, as the integer conversions always have (2.5 gives 2, 3.5 gives 4).
double roundedInRange(double number, double minimum, double maximum) {
    const double rounded = std::nearbyint(number);
    if (!(rounded >= minimum && rounded <= maximum))
        throwOverflow();
    return rounded;
}

} // namespace

qint16 textToInteger(const QString& text) {
    return static_cast<qint16>(roundedInRange(requireNumber(text), -32768.0, 32767.0));
}

quint8 textToByte(const QString& text) {
    const qint16 integer = textToInteger(text);
    if (integer < 0 || integer > 255)
        throwOverflow();
    return static_cast<quint8>(integer);
}

bool textToBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return requireNumber(trimmed) != 0.0;
}

QString singleToText(float value) {
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0
    QString text = QString::number(static_cast<double>(value), 'g', 7);
    return text.replace(QLatin1Char('e'), QLatin1Char('E'));
}

} // namespace velora::common
