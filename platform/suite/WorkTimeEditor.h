#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <vector>

namespace velora::db {
class Connection;
}

namespace velora::suite {

// One row of the suite's activity log (Trans_activity) for a user's day.
struct WorkTimeActivity {
    qint64 activityId = 0;
    int activityTime = 0; // seconds
    int workType = 1;     // 1 transcription (system time), 2 other work
    int updateType = 0;   // 9 counted time, 6 left out
    int countActivity = 1;
};

// The work time of one user's day as the suite keeps it. The system hours of a day are its
// transcription rows of update type 9; changing them replaces those rows by one row holding the
// new total, so the day's other activity stays as collected.
class WorkTimeEditor {
public:
    static constexpr int kSystemWork = 1;
    static constexpr int kCountedUpdate = 9;
    static constexpr int kSecondsPerDay = 24 * 3600;

    explicit WorkTimeEditor(db::Connection& connection);

    // The day's activity rows, in the order they were logged. The connection must be open.
    std::vector<WorkTimeActivity> activities(const QString& transID, const QDate& day);
    // Seconds of system time among the rows (transcription, update type 9).
    static int systemSeconds(const std::vector<WorkTimeActivity>& activities);

    // Replaces the day's system-time rows by one row of the given seconds, in one transaction.
    // Throws SuiteError (InvalidArgument) for a total outside one day, DbError for the database.
    void replaceSystemTime(const QString& transID, const QDate& day, int seconds);

    // Hours of a number of seconds, rounded to hundredths, written as the grid shows a plain
    // number: regional decimal separator, no grouping, no trailing zeros ("7.5", "8").
    static QString hoursText(int seconds, const QLocale& locale);
    // Seconds of an hours value typed in the regional form; SuiteError for anything that is not
    // a number of hours within one day.
    static int secondsOfHours(const QString& text, const QLocale& locale);

private:
    QString dayFilter(const QString& transID, const QDate& day) const;

    db::Connection& connection_;
};

} // namespace velora::suite
