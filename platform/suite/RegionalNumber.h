#pragma once

#include <QLocale>
#include <QString>

namespace velora::suite {

// Reads a number typed the regional way and writes it in the plain form SQL accepts: an
// optional "-", digits, and "." with more digits; no grouping, no exponent. The integer part
// may carry the locale's group separator between groups of three digits (or grouped exactly as
// the locale itself writes the number). Anything else is refused with SuiteError TypeMismatch,
// so a text can never reach a statement through here.
class RegionalNumber {
public:
    static QString toPlain(const QString& text, const QLocale& locale);

private:
    struct Parts {
        bool negative = false;
        QStringList groups; // integer part split at group separators, digits in ASCII
        QString fraction;   // ASCII digits
        bool hasDecimalSeparator = false;
    };

    static Parts split(const QString& text, const QLocale& locale);
    static bool groupingValid(const Parts& parts, const QLocale& locale);
    static bool isGroupSeparator(QChar c, const QLocale& locale);
};

} // namespace velora::suite
