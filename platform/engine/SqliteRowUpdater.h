#pragma once

#include "FormulaAssignments.h"
#include "RecalcRequest.h"
#include "RecalcScope.h"
#include "RowCalculator.h"
#include "RowErrorReporter.h"

#include <array>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velora::db {
class SqliteStatement;
}

namespace velora::engine {

// Recalculates on the embedded engine slice by slice. A slice is read outside any write lock:
// every row to do when they fit in one slice; else, when they are few beside the table (most
// rows locked, as at start-up), the next batchRows of them in the order of the index of unlocked
// rows; else the rows to do among the next batchRows rowids of the table. Its rows are
// computed and compared with the results they hold, and only the rows whose results change are
// written, by rowid, in short write transactions. A row written is one that still holds the
// figures and results it was read with: a row saved, locked or recalculated by another program
// in between is left to that program. A cancel rolls back the open write transaction.
class SqliteRowUpdater {
public:
    static constexpr qint64 kDefaultBatchRows = 20000;
    // A write transaction commits once it has held the lock this long, so other programs' writes
    // wait tens of milliseconds at most.
    static constexpr int kWriteLockMs = 25;

    struct Context {
        sqlite3* db;
        RecalcScope& scope;
        FormulaAssignments& assignments;
        PeriodSource* periods;
        int hourMode;
        RowErrorReporter& errors;
        RecalcObserver& observer;
        qint64 batchRows = kDefaultBatchRows;
    };

    explicit SqliteRowUpdater(Context context);
    ~SqliteRowUpdater();
    SqliteRowUpdater(const SqliteRowUpdater&) = delete;
    SqliteRowUpdater& operator=(const SqliteRowUpdater&) = delete;

    // Recalculates every row to do; returns the number of rows computed (a row whose formula
    // failed, or that no covered user claims, is passed over and not counted). Progress counts
    // every row gone through. Throws DbError, with number 6 when cancelled.
    qint64 run(const RecalcRequest& request, RecalcSummary& summary);

private:
    static constexpr int kInputs = 7;  // the production figures a formula reads
    static constexpr int kResults = 3; // IHours, ITyped, IPay

    // A row whose results change: what it was read with, and what it gets.
    struct Change {
        qint64 rowid;
        std::array<double, kInputs> inputs;
        std::array<double, kResults> old;
        std::array<double, kResults> results;
    };

    void fillScopeTable();
    qint64 countRowsToDo(const RecalcRequest& request);
    std::pair<qint64, qint64> rowidSpan();
    std::unique_ptr<db::SqliteStatement> prepareRead(const QString& tail,
                                                     const RecalcRequest& request);
    qint64 runInOneSlice(const RecalcRequest& request, RecalcSummary& summary);
    qint64 runByDay(const RecalcRequest& request, RecalcSummary& summary);
    qint64 runByRowid(const RecalcRequest& request, RecalcSummary& summary);
    qint64 readSlice(db::SqliteStatement& read);
    void finishSlice(qint64 passed, RecalcSummary& summary);
    void computeRow(sqlite3_stmt* row);
    void writeChanges();
    void bindChange(sqlite3_stmt* write, const Change& change) const;
    void throwIfCancelled() const;

    Context context_;
    RowCalculator calculator_;
    RowInputs row_;
    RowCalculator::Outcome outcome_;
    std::vector<Change> changes_; // of the slice being worked on
    std::unique_ptr<db::SqliteStatement> write_;
    qint64 computed_ = 0;
    qint64 written_ = 0;
    QByteArray lastDay_; // key of the last row read, where the next slice by day starts
    qint64 lastRowid_ = 0;
};

} // namespace velora::engine
