#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace velora::widgets {

// Dates as the operator reads and types them, in the regional short date format (Qt format
// text such as "MM/dd/yyyy"). A text is a date when, trimmed, it reads in that format (one-digit
// days and months accepted where the format has two) or as YYYY-MM-DD, with a year from 100 to
// 9999. The format itself is what the regional settings say; this class does not look it up.
class DateText {
public:
    // An empty format fails with 5.
    explicit DateText(const QString& format = QStringLiteral("MM/dd/yyyy"));

    const QString& format() const { return format_; }

    std::optional<QDate> parse(const QString& text) const;
    bool isDate(const QString& text) const { return parse(text).has_value(); }
    // The short date text of a date; "" for an invalid date.
    QString toText(const QDate& date) const;

    // The regional first day of the week, 1 = Sunday to 7 = Saturday, as Qt's day; any other
    // number fails with 5.
    static Qt::DayOfWeek dayOfWeek(int firstDayOfWeek);

private:
    static bool inRange(const QDate& date);

    QString format_;
    QString relaxedFormat_;
};

} // namespace velora::widgets
