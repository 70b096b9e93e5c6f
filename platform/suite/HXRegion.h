#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace velora::suite {

// The suite's regional-settings component (HXRegion.HXRegionClass): dates and numbers the way
// the workstation's locale writes them. The locale is the system's, or the one named by
// $VELORA_LOCALE (such as en_US or de_DE) when that is set.
//
// DateFormat keeps the order and the separators of the locale's short date form and writes
// days and months with two digits and the year with four: en_US gives "MM/dd/yyyy", de_DE
// "dd.MM.yyyy", sv_SE "yyyy-MM-dd". Fixed widths keep dates aligned in grids and make every
// date text the program writes one that it reads back. The C locale has no regional form of
// its own and uses the American one.
class HXRegion {
public:
    // Throws SuiteError when $VELORA_LOCALE names a locale that does not exist.
    HXRegion();
    explicit HXRegion(const QLocale& locale);

    const QLocale& locale() const { return locale_; }

    // QDate format text in which every date is shown and typed.
    QString DateFormat() const { return dateFormat_; }
    // "01/01/1980" (month/day/year, with or without leading zeros) in the regional form.
    // Throws SuiteError TypeMismatch when the text is not such a date.
    QString ConvertUSToRegion(const QString& usDate) const;
    // A regional number as plain SQL number text ("1.234,5" in de_DE gives "1234.5"). Throws
    // SuiteError TypeMismatch for anything that is not a number.
    QString UnWrapNumeric(const QString& text) const;
    QString DecimalSep() const { return locale_.decimalPoint(); }

    QString formatDate(const QDate& date) const;
    // The date of a text in DateFormat (leading zeros optional) or in YYYY-MM-DD; a null date
    // when the text is neither.
    QDate parseDate(const QString& text) const;

    // The short date form of a locale as described above.
    static QString shortDateFormat(const QLocale& locale);

private:
    static QLocale environmentLocale();

    QLocale locale_;
    QString dateFormat_;
    QString parseFormat_;
};

} // namespace velora::suite
