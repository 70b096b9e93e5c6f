#include "HXRegion.h"

#include "RegionalNumber.h"
#include "SuiteError.h"

namespace velora::suite {

namespace {

bool isCLocale(const QLocale& locale) {
    return locale.language() == QLocale::C;
}

// Rewrites the day, month and year fields of a QDate format text, leaving quoted literals and
// separators alone. field(letter, run length) gives the replacement of a run of one letter.
template <typename Field> QString rewriteFields(const QString& format, Field field) {
    QString result;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? format.size() : end + 1;
            result += format.mid(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        result += field(c, run, format.mid(i, run));
        i += run;
    }
    return result;
}

} // namespace

HXRegion::HXRegion()
    : HXRegion(environmentLocale()) {}

HXRegion::HXRegion(const QLocale& locale)
    : locale_(isCLocale(locale) ? QLocale(QLocale::English, QLocale::UnitedStates) : locale)
    , dateFormat_(shortDateFormat(locale_)) {
    // Typing may leave out leading zeros; "M" and "d" read one or two digits.
    parseFormat_ = rewriteFields(dateFormat_, [](QChar c, qsizetype run, const QString& text) {
        if ((c == QLatin1Char('M') || c == QLatin1Char('d')) && run == 2)
            return QString(c);
        return text;
    });
}

QLocale HXRegion::environmentLocale() {
    const QString name = qEnvironmentVariable("VELORA_LOCALE").trimmed();
    if (name.isEmpty())
        return QLocale::system();
    const QLocale locale(name);
    const bool asksForC = name == QLatin1String("C") || name == QLatin1String("POSIX");
    if (isCLocale(locale) && !asksForC)
        throw SuiteError(
            SuiteErrorNumber::InvalidArgument,
            QStringLiteral("VELORA_LOCALE names the unknown locale \"%1\".").arg(name));
    return locale;
}

QString HXRegion::shortDateFormat(const QLocale& locale) {
    return rewriteFields(locale.dateFormat(QLocale::ShortFormat),
                         [](QChar c, qsizetype run, const QString& text) {
                             if (c == QLatin1Char('y'))
                                 return QStringLiteral("yyyy");
                             if ((c == QLatin1Char('M') || c == QLatin1Char('d')) && run <= 2)
                                 return QString(2, c);
                             return text;
                         });
}

QString HXRegion::formatDate(const QDate& date) const {
    return locale_.toString(date, dateFormat_);
}

QDate HXRegion::parseDate(const QString& text) const {
    const QString trimmed = text.trimmed();
    const QDate regional = locale_.toDate(trimmed, parseFormat_);
    if (regional.isValid())
        return regional;
    return QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd"));
}

QString HXRegion::ConvertUSToRegion(const QString& usDate) const {
    const QDate date = QDate::fromString(usDate.trimmed(), QStringLiteral("M/d/yyyy"));
    if (!date.isValid())
        throw SuiteError(SuiteErrorNumber::TypeMismatch,
                         QStringLiteral("Type mismatch: \"%1\" is not a date written "
                                        "month/day/year.")
                             .arg(usDate));
    return formatDate(date);
}

QString HXRegion::UnWrapNumeric(const QString& text) const {
    return RegionalNumber::toPlain(text, locale_);
}

} // namespace velora::suite
