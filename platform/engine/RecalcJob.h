#pragma once

#include "PeriodSums.h"
#include "RecalcRequest.h"
#include "RecalcSettings.h"

#include <QDate>
#include <memory>

namespace velora::db {
class Connection;
class SqliteEngine;
} // namespace velora::db

namespace velora::engine {

class RecalcScope;

// One recalculation on one connection, start to end:
// 1. a full run first locks the rows older than the auto-locking days;
// 2. with blank month-end rows on, a user and account with rows in a past month but none on
//    its last day get a zero row on that day (only after the last locked day, so no locked
//    period gains rows);
// 3. every unlocked row in the date range of a covered user gets the results of its group's
//    formulas; corrections (_modified differing from the collected value) are kept; a row
//    whose formula fails stays as it was and is reported.
class RecalcJob {
public:
    enum class Path { Automatic, Generic };

    RecalcJob(db::Connection& connection, RecalcObserver& observer, Path path = Path::Automatic);
    ~RecalcJob();

    // The day the run takes as today (tests pin it).
    void setToday(const QDate& today) { today_ = today; }
    // Rows per transaction (rowids per batch on the embedded engine); 0 keeps the default.
    void setBatchRows(int rows) { batchRows_ = rows; }

    // Throws DbError; number 6 when cancelled.
    RecalcSummary run(const RecalcRequest& request);

    // The automatic lock-out: locks every unlocked row before a day; returns the rows locked.
    static qint64 lockBefore(db::Connection& connection, const QDate& before);

private:
    qint64 autoLock(const RecalcSettings& settings);
    qint64 addBlankEndOfMonthRows(const RecalcRequest& request);
    QDate lastLockedDay();
    PeriodSums::Fetch snapshotFetch(db::SqliteEngine& sqlite);
    PeriodSums::Fetch connectionFetch();

    db::Connection& connection_;
    RecalcObserver& observer_;
    Path path_;
    QDate today_ = QDate::currentDate();
    int batchRows_ = 0;
    std::unique_ptr<db::SqliteEngine> snapshot_;
};

} // namespace velora::engine
