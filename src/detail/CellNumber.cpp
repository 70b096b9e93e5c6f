#include "CellNumber.h"

#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

namespace velora::detail {

namespace {

bool hasGrouping(const QString& text, const QLocale& locale) {
    const QString separator = locale.groupSeparator();
    if (separator.isEmpty() || separator == locale.decimalPoint())
        return false;
    // Locales that group with a (no-break) space: any space inside the number is grouping.
    if (separator.at(0).isSpace()) {
        for (QChar c : text) {
            if (c.isSpace())
                return true;
        }
        return false;
    }
    return text.contains(separator);
}

[[noreturn]] void refuse(const QString& text, const suite::HXRegion& region) {
    throw suite::SuiteError(
        suite::SuiteErrorNumber::TypeMismatch,
        QStringLiteral("\"%1\" is not a number the grid takes. Type the digits without any "
                       "grouping, with \"%2\" as the decimal separator.")
            .arg(text, region.DecimalSep()));
}

} // namespace

QString CellNumber::toPlain(const QString& text, const suite::HXRegion& region) {
    const QString trimmed = text.trimmed();
    if (hasGrouping(trimmed, region.locale()))
        refuse(text, region);
    try {
        return region.UnWrapNumeric(trimmed);
    } catch (const suite::SuiteError&) {
        refuse(text, region);
    }
}

float CellNumber::value(const QString& text, const suite::HXRegion& region) {
    bool ok = false;
    const float number = toPlain(text, region).toFloat(&ok);
    if (!ok)
        refuse(text, region);
    return number;
}

} // namespace velora::detail
