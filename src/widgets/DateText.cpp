#include "DateText.h"

#include "WidgetError.h"

#include <QRegularExpression>

namespace velora::widgets {

namespace {

// "MM" and "dd" standing alone (not part of "MMM" or "ddd" names) accept one digit as well.
QString relaxed(QString format) {
    static const QRegularExpression twoDigitMonth(QStringLiteral("(?<!M)MM(?!M)"));
    static const QRegularExpression twoDigitDay(QStringLiteral("(?<!d)dd(?!d)"));
    format.replace(twoDigitMonth, QStringLiteral("M"));
    format.replace(twoDigitDay, QStringLiteral("d"));
    return format;
}

} // namespace

DateText::DateText(const QString& format)
    : format_(format.trimmed())
    , relaxedFormat_(relaxed(format_)) {
    if (format_.isEmpty())
        throw WidgetError(WidgetErrorNumber::InvalidArgument,
                          QStringLiteral("Invalid procedure call or argument: an empty date "
                                         "format"));
}

std::optional<QDate> DateText::parse(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QString& pattern : {format_, relaxedFormat_, QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QDate::fromString(trimmed, pattern);
        if (inRange(date))
            return date;
    }
    return std::nullopt;
}

QString DateText::toText(const QDate& date) const {
    return date.isValid() ? date.toString(format_) : QString();
}

Qt::DayOfWeek DateText::dayOfWeek(int firstDayOfWeek) {
    if (firstDayOfWeek < 1 || firstDayOfWeek > 7)
        throw WidgetError(WidgetErrorNumber::InvalidArgument,
                          QStringLiteral("Invalid procedure call or argument: first day of the "
                                         "week %1 (1 = Sunday to 7 = Saturday)")
                              .arg(firstDayOfWeek));
    return firstDayOfWeek == 1 ? Qt::Sunday : static_cast<Qt::DayOfWeek>(firstDayOfWeek - 1);
}

bool DateText::inRange(const QDate& date) {
    return date.isValid() && date.year() >= 100 && date.year() <= 9999;
}

} // namespace velora::widgets
