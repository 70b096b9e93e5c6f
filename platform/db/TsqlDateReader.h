#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

namespace velora::db {

// Reads the date in a date literal of a statement, as SQL Server reads a date string: ISO
// ("YYYY-MM-DD", "YYYYMMDD") or the regional short form, optionally followed by a time. An
// invalid QDate when the text is no date in that form. Internal to the translator.
class TsqlDateReader {
public:
    // "YYYY-MM-DD" (one-digit month and day accepted) or "YYYYMMDD", optionally with a time.
    static QDate isoDate(QStringView text);
    // The regional short form, read by the order of its day, month and year fields and its
    // separators, so that one-digit days and months are accepted too ("1/5/2024" for
    // "MM/dd/yyyy"). A format with other fields (month names) is left to QDate.
    static QDate regionalDate(QStringView text, const QString& format);
};

} // namespace velora::db
