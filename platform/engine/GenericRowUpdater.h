#pragma once

#include "FormulaAssignments.h"
#include "RecalcRequest.h"
#include "RecalcScope.h"
#include "RowCalculator.h"
#include "RowErrorReporter.h"

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::engine {

// Recalculates through the plain statement interface, user by user: read the user's rows to
// do, compute, and write back by its key each row whose results change, batchRows rows per
// transaction.
// Serves engines that cannot call back into the engine from SQL (SQL Server through ODBC).
class GenericRowUpdater {
public:
    static constexpr int kDefaultBatchRows = 500;

    struct Context {
        db::Connection& connection;
        RecalcScope& scope;
        FormulaAssignments& assignments;
        PeriodSource* periods;
        int hourMode;
        RowErrorReporter& errors;
        RecalcObserver& observer;
        int batchRows = kDefaultBatchRows;
    };

    explicit GenericRowUpdater(Context context);

    // Returns the number of rows computed; a row whose formula failed is not counted. Progress
    // counts every row gone through.
    qint64 run(const RecalcRequest& request, RecalcSummary& summary);

private:
    qint64 countRowsToDo(const RecalcRequest& request);
    void updateUser(const RecalcScope::User& user, const RecalcRequest& request);
    void writeRow(const RecalcScope::User& user, const db::Recordset& rs);
    void commitBatchIfFull(bool force);
    void throwIfCancelled();

    Context context_;
    RowCalculator calculator_;
    RowInputs row_;
    RowCalculator::Outcome outcome_;
    qint64 done_ = 0;    // rows computed
    qint64 written_ = 0; // rows whose results changed
    qint64 passed_ = 0;  // rows gone through
    qint64 rowsToDo_ = 0;
    int inBatch_ = 0;
    bool transactionOpen_ = false;
};

} // namespace velora::engine
