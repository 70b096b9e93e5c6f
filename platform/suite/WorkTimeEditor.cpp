#include "WorkTimeEditor.h"

#include "RegionalNumber.h"
#include "SuiteError.h"

#include "db/Connection.h"
#include "db/SqlText.h"

#include <cmath>

namespace velora::suite {

WorkTimeEditor::WorkTimeEditor(db::Connection& connection)
    : connection_(connection) {}

QString WorkTimeEditor::dayFilter(const QString& transID, const QDate& day) const {
    return QStringLiteral(" WHERE trans_id = ") + db::sqlTextLiteral(transID) +
           QStringLiteral(" AND shift_date = '") + day.toString(QStringLiteral("yyyy-MM-dd")) +
           QLatin1Char('\'');
}

std::vector<WorkTimeActivity> WorkTimeEditor::activities(const QString& transID, const QDate& day) {
    db::Recordset rows = connection_.openRecordset(
        QStringLiteral("SELECT activity_id, activity_time, work_type, update_type, "
                       "count_activity FROM Trans_activity") +
        dayFilter(transID, day) + QStringLiteral(" ORDER BY activity_id"));
    std::vector<WorkTimeActivity> result;
    for (; !rows.eof(); rows.moveNext()) {
        WorkTimeActivity activity;
        activity.activityId = rows.value(QStringLiteral("activity_id")).toLongLong();
        activity.activityTime = rows.value(QStringLiteral("activity_time")).toInt();
        activity.workType = rows.value(QStringLiteral("work_type")).toInt();
        activity.updateType = rows.value(QStringLiteral("update_type")).toInt();
        activity.countActivity = rows.value(QStringLiteral("count_activity")).toInt();
        result.push_back(activity);
    }
    return result;
}

int WorkTimeEditor::systemSeconds(const std::vector<WorkTimeActivity>& activities) {
    int seconds = 0;
    for (const WorkTimeActivity& activity : activities) {
        if (activity.workType == kSystemWork && activity.updateType == kCountedUpdate)
            seconds += activity.activityTime;
    }
    return seconds;
}

void WorkTimeEditor::replaceSystemTime(const QString& transID, const QDate& day, int seconds) {
    if (seconds < 0 || seconds > kSecondsPerDay)
        throw SuiteError(SuiteErrorNumber::InvalidArgument,
                         QStringLiteral("The work time of a day must lie between 0 and 24 hours "
                                        "(%1 seconds given).")
                             .arg(seconds));
    if (!day.isValid())
        throw SuiteError(SuiteErrorNumber::InvalidArgument,
                         QStringLiteral("The day of the work time is not a date."));
    db::Transaction transaction(connection_);
    connection_.execute(QStringLiteral("DELETE FROM Trans_activity") + dayFilter(transID, day) +
                        QStringLiteral(" AND work_type = 1 AND update_type = 9"));
    connection_.execute(
        QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                       "work_type, update_type, count_activity) VALUES (") +
        db::sqlTextLiteral(transID) + QStringLiteral(", '") +
        day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("', ") +
        QString::number(seconds) + QStringLiteral(", 1, 9, 1)"));
    transaction.commit();
}

QString WorkTimeEditor::hoursText(int seconds, const QLocale& locale) {
    QString text = QString::number(std::round(seconds / 36.0) / 100.0, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

int WorkTimeEditor::secondsOfHours(const QString& text, const QLocale& locale) {
    const double hours = RegionalNumber::toPlain(text, locale).toDouble();
    const double seconds = std::round(hours * 3600.0);
    if (seconds < 0 || seconds > kSecondsPerDay)
        throw SuiteError(SuiteErrorNumber::InvalidArgument,
                         QStringLiteral("The work time of a day must lie between 0 and 24 "
                                        "hours; \"%1\" does not.")
                             .arg(text));
    return static_cast<int>(seconds);
}

} // namespace velora::suite
