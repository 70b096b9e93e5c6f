#pragma once

#include "FormulaAssignments.h"
#include "RecalcRequest.h"
#include "RecalcScope.h"
#include "RowCalculator.h"
#include "RowErrorReporter.h"

#include <optional>
#include <utility>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace velora::engine {

// Recalculates on the embedded engine by letting SQLite drive the rows: one set-based UPDATE
// per batch whose new values come from a registered function that runs the compiled formulas.
// Each batch (a range of batchRows rowids) is its own transaction; a cancel interrupts the
// open batch, which is rolled back.
class SqliteRowUpdater {
public:
    static constexpr qint64 kDefaultBatchRows = 50000;

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

    // Updates every row to do; returns the number of rows computed (a row whose formula failed,
    // or that no covered user claims, is passed over and not counted). Progress counts every
    // row the batches went through. Throws DbError, with number 6 when cancelled.
    qint64 run(const RecalcRequest& request, RecalcSummary& summary);

private:
    static void recalcFunction(sqlite3_context* context, int argc, sqlite3_value** argv);
    static void keptResultFunction(sqlite3_context* context, int argc, sqlite3_value** argv);
    void setResult(sqlite3_context* context, int which, sqlite3_value* old) const;
    static int progressHandler(void* self);

    void fillScopeTable();
    struct RowidRange {
        qint64 first;
        qint64 end; // one past the last
    };

    qint64 countRowsToDo(const RecalcRequest& request);
    std::pair<qint64, qint64> rowidSpan();
    qint64 runBatch(const std::optional<RowidRange>& range, const RecalcRequest& request,
                    bool retried = false);
    void throwIfCancelled() const;
    void computeRow(sqlite3_value** argv);

    Context context_;
    RowCalculator calculator_;
    RowInputs row_;
    RowCalculator::Outcome outcome_;
    qint64 currentRowid_ = -1;
    bool currentOk_ = false;
    qint64 batchComputed_ = 0; // rows computed in the open batch
    qint64 computed_ = 0;      // rows computed in committed batches
    bool keptResultsBroken_ = false;
};

} // namespace velora::engine
