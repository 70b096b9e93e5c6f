#include "SqlNumber.h"

#include "CatalogueError.h"

namespace velora::catalogue {

namespace {

// Ids are 32-bit; a longer run of digits is no id of this system.
constexpr qsizetype kLongestDigits = 10;

} // namespace

bool IsSqlNumber(const QString& text) {
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype digits = text.size() - start;
    if (digits < 1 || digits > kLongestDigits)
        return false;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString SqlNumber(const QString& text) {
    if (!IsSqlNumber(text))
        throw CatalogueError(CatalogueErrorNumber::TypeMismatch,
                             QStringLiteral("Type mismatch: \"") + text +
                                 QStringLiteral("\" is not a number"));
    return text;
}

} // namespace velora::catalogue
