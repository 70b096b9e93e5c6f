#include "RegionalNumber.h"

#include "SuiteError.h"

#include <optional>

namespace velora::suite {

namespace {

// Marks that right-to-left locales put around signs and separators; they carry no meaning.
bool isDirectionMark(QChar c) {
    return c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C);
}

QString withoutDirectionMarks(const QString& text) {
    QString result;
    for (QChar c : text) {
        if (!isDirectionMark(c))
            result += c;
    }
    return result;
}

// The value 0 to 9 of a decimal digit in any script.
std::optional<int> digitValue(QChar c) {
    if (!c.isDigit())
        return std::nullopt;
    return c.digitValue();
}

[[noreturn]] void refuse(const QString& text, const QLocale& locale) {
    throw SuiteError(SuiteErrorNumber::TypeMismatch,
                     QStringLiteral("Type mismatch: \"%1\" is not a number (decimal separator "
                                    "\"%2\", digit grouping \"%3\").")
                         .arg(text, locale.decimalPoint(), locale.groupSeparator()));
}

// The sign at the start of text, and how many characters it takes.
int signLength(const QString& text, const QLocale& locale, bool& negative) {
    const QString localeMinus = withoutDirectionMarks(locale.negativeSign());
    if (!localeMinus.isEmpty() && text.startsWith(localeMinus)) {
        negative = true;
        return static_cast<int>(localeMinus.size());
    }
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QChar(0x2212))) {
        negative = true;
        return 1;
    }
    if (text.startsWith(QLatin1Char('+')))
        return 1;
    return 0;
}

} // namespace

bool RegionalNumber::isGroupSeparator(QChar c, const QLocale& locale) {
    const QString separator = locale.groupSeparator();
    if (separator.size() != 1)
        return false;
    // Locales that group with a (narrow, no-break) space accept any space typed for it.
    if (separator.at(0).isSpace())
        return c.isSpace();
    return c == separator.at(0);
}

RegionalNumber::Parts RegionalNumber::split(const QString& text, const QLocale& locale) {
    const QString cleaned = withoutDirectionMarks(text).trimmed();
    Parts parts;
    int i = signLength(cleaned, locale, parts.negative);
    const QString decimal = locale.decimalPoint();
    QString group;
    for (; i < cleaned.size(); ++i) {
        const QChar c = cleaned.at(i);
        if (const std::optional<int> digit = digitValue(c)) {
            (parts.hasDecimalSeparator ? parts.fraction : group) += QChar(u'0' + *digit);
        } else if (!parts.hasDecimalSeparator && decimal.size() == 1 && c == decimal.at(0)) {
            parts.hasDecimalSeparator = true;
        } else if (!parts.hasDecimalSeparator && isGroupSeparator(c, locale) && !group.isEmpty()) {
            parts.groups.append(group);
            group.clear();
        } else {
            refuse(text, locale);
        }
    }
    // A separator with no digits after it ("1,") leaves an empty last group.
    if (group.isEmpty() && !parts.groups.isEmpty())
        refuse(text, locale);
    if (!group.isEmpty())
        parts.groups.append(group);
    if (parts.groups.isEmpty() && parts.fraction.isEmpty())
        refuse(text, locale);
    return parts;
}

bool RegionalNumber::groupingValid(const Parts& parts, const QLocale& locale) {
    if (parts.groups.size() <= 1)
        return true;
    bool threes = parts.groups.first().size() <= 3;
    for (qsizetype i = 1; i < parts.groups.size(); ++i)
        threes = threes && parts.groups.at(i).size() == 3;
    if (threes)
        return true;
    // Some locales group otherwise (two digits in India, none below 10 000 in Poland): the
    // number as the locale writes it is accepted too.
    const QString digits = parts.groups.join(QString());
    if (digits.size() > 18)
        return false;
    Parts own;
    try {
        own = split(locale.toString(digits.toULongLong()), locale);
    } catch (const SuiteError&) {
        return false;
    }
    return own.groups == parts.groups;
}

QString RegionalNumber::toPlain(const QString& text, const QLocale& locale) {
    const Parts parts = split(text, locale);
    if (!groupingValid(parts, locale))
        refuse(text, locale);
    QString plain = parts.negative ? QStringLiteral("-") : QString();
    plain += parts.groups.isEmpty() ? QStringLiteral("0") : parts.groups.join(QString());
    if (!parts.fraction.isEmpty())
        plain += QLatin1Char('.') + parts.fraction;
    return plain;
}

} // namespace velora::suite
