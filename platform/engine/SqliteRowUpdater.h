#pragma once

#include "FormulaAssignments.h"
#include "RecalcRequest.h"
#include "RecalcScope.h"
#include "RowCalculator.h"
#include "RowErrorReporter.h"

#include <vector>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace velora::engine {

// Recalculates on the embedded engine by letting SQLite drive the rows: one set-based UPDATE
// per batch whose new values come from a registered function that runs the compiled formulas.
// Each batch (a range of rowids holding kBatchRows rows to do) is its own transaction; a
// cancel interrupts the open batch, which is rolled back.
class SqliteRowUpdater {
public:
    static constexpr qint64 kBatchRows = 50000;

    struct Context {
        sqlite3* db;
        RecalcScope& scope;
        FormulaAssignments& assignments;
        PeriodSource* periods;
        int hourMode;
        RowErrorReporter& errors;
        RecalcObserver& observer;
    };

    explicit SqliteRowUpdater(Context context);
    ~SqliteRowUpdater();
    SqliteRowUpdater(const SqliteRowUpdater&) = delete;
    SqliteRowUpdater& operator=(const SqliteRowUpdater&) = delete;

    // Updates every row to do; returns the number of rows rewritten. Throws DbError, with
    // number 6 when cancelled.
    qint64 run(const RecalcRequest& request, RecalcSummary& summary);

private:
    static void recalcFunction(sqlite3_context* context, int argc, sqlite3_value** argv);
    static int progressHandler(void* self);

    void fillScopeTable();
    std::vector<qint64> batchBoundaries(const RecalcRequest& request, qint64& rowsToDo);
    qint64 runBatch(qint64 firstRowid, qint64 lastRowid, const RecalcRequest& request);
    void computeRow(sqlite3_value** argv);

    Context context_;
    RowCalculator calculator_;
    RowInputs row_;
    RowCalculator::Outcome outcome_;
    qint64 currentRowid_ = -1;
    bool currentOk_ = false;
};

} // namespace velora::engine
