#include "SqliteRowUpdater.h"

#include "db/DbError.h"
#include "db/SqliteStatement.h"

#include <QElapsedTimer>
#include <sqlite3.h>

namespace velora::engine {

namespace {

// The columns a slice reads, in this order.
enum Column {
    ColRowid,
    ColTransId,
    ColAccount,
    ColShiftDate,
    ColFirstInput, // the seven production figures, in RowInputs order
    ColFirstResult = ColFirstInput + 7,
    ColCount = ColFirstResult + 3
};

constexpr const char* kReadColumns =
    "rowid, trans_id, hosp_acct_id, shift_date, number_rpts_modified, chars_modified, "
    "lines_modified, pages_modified, hours_typed_modified, hours_system_modified, "
    "hours_other_modified, incent_hours_typed, incent_typed, incent_pay";

constexpr const char* kRowsToDo = "locked = 0 AND shift_date BETWEEN ?1 AND ?2 AND trans_id IN "
                                  "(SELECT trans_id FROM temp.vl_recalc_scope)";

// collected = new; modified follows unless it holds a correction (differs from collected). The
// row must still be unlocked and hold the figures and results it was read with.
constexpr const char* kWrite =
    "UPDATE Trans_incentive SET "
    "incent_hours_typed_modified = CASE WHEN incent_hours_typed_modified = incent_hours_typed "
    "THEN ?1 ELSE incent_hours_typed_modified END, "
    "incent_typed_modified = CASE WHEN incent_typed_modified = incent_typed THEN ?2 "
    "ELSE incent_typed_modified END, "
    "incent_pay_modified = CASE WHEN incent_pay_modified = incent_pay THEN ?3 "
    "ELSE incent_pay_modified END, "
    "incent_hours_typed = ?1, incent_typed = ?2, incent_pay = ?3 "
    "WHERE rowid = ?4 AND locked = 0 AND number_rpts_modified = ?5 AND chars_modified = ?6 AND "
    "lines_modified = ?7 AND pages_modified = ?8 AND hours_typed_modified = ?9 AND "
    "hours_system_modified = ?10 AND hours_other_modified = ?11 AND incent_hours_typed = ?12 AND "
    "incent_typed = ?13 AND incent_pay = ?14";

QDate parseStoredDate(const unsigned char* text, int length) {
    if (!text || length < 10)
        return {};
    auto digits = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    return QDate(digits(0, 4), digits(5, 2), digits(8, 2));
}

void executeNative(sqlite3* db, const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        db::throwSqliteError(db, rc, QString::fromUtf8(sql));
}

void stepToEnd(sqlite3* db, sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        db::throwSqliteError(db, rc);
}

// Rolls the open write transaction back unless it was committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db)
        : db_(db) {
        executeNative(db_, "BEGIN IMMEDIATE");
        timer_.start();
    }
    ~WriteTransaction() {
        if (open_)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    bool heldFor(int ms) const { return timer_.hasExpired(ms); }
    void commit() {
        executeNative(db_, "COMMIT");
        open_ = false;
    }

private:
    sqlite3* db_;
    QElapsedTimer timer_;
    bool open_ = true;
};

} // namespace

SqliteRowUpdater::SqliteRowUpdater(Context context)
    : context_(context)
    , calculator_(context.periods) {
    row_.hourMode = context_.hourMode;
}

SqliteRowUpdater::~SqliteRowUpdater() {
    write_.reset();
    sqlite3_exec(context_.db, "DROP TABLE IF EXISTS temp.vl_recalc_scope", nullptr, nullptr,
                 nullptr);
}

void SqliteRowUpdater::throwIfCancelled() const {
    if (context_.observer.cancelRequested())
        throw db::DbError(kRecalcCancelledError, QStringLiteral("Update cancelled by user."));
}

void SqliteRowUpdater::fillScopeTable() {
    executeNative(context_.db, "DROP TABLE IF EXISTS temp.vl_recalc_scope;"
                               "CREATE TEMP TABLE vl_recalc_scope "
                               "(trans_id TEXT COLLATE TEXTCI PRIMARY KEY) WITHOUT ROWID");
    db::SqliteStatement insert(context_.db, QStringLiteral("INSERT OR IGNORE INTO "
                                                           "temp.vl_recalc_scope VALUES (?1)"));
    for (const auto& [key, user] : context_.scope.users()) {
        insert.bind(1, user.transId);
        insert.step();
        insert.reset();
    }
}

qint64 SqliteRowUpdater::countRowsToDo(const RecalcRequest& request) {
    db::SqliteStatement count(context_.db,
                              QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE ") +
                                  QLatin1String(kRowsToDo));
    count.bind(1, request.startDate.toString(Qt::ISODate));
    count.bind(2, request.endDate.toString(Qt::ISODate));
    count.step();
    return count.column(0).toLongLong();
}

// The rowids of the table as [first, last]; first > last when it is empty.
std::pair<qint64, qint64> SqliteRowUpdater::rowidSpan() {
    db::SqliteStatement span(context_.db,
                             QStringLiteral("SELECT MIN(rowid), MAX(rowid) FROM Trans_incentive"));
    span.step();
    return {span.column(0).toLongLong(), span.column(1).toLongLong()};
}

// Computes one row read by a slice; a row whose results change joins the slice's changes.
void SqliteRowUpdater::computeRow(sqlite3_stmt* row) {
    const auto* transId = sqlite3_column_text(row, ColTransId);
    const RecalcScope::User* user = context_.scope.find(reinterpret_cast<const char*>(transId),
                                                        sqlite3_column_bytes(row, ColTransId));
    if (!user)
        return; // not covered: keep the row as it is
    Change change;
    change.rowid = sqlite3_column_int64(row, ColRowid);
    for (int i = 0; i < kInputs; ++i)
        change.inputs[i] = sqlite3_column_double(row, ColFirstInput + i);
    for (int i = 0; i < kResults; ++i)
        change.old[i] = sqlite3_column_double(row, ColFirstResult + i);
    row_.accountId = sqlite3_column_int(row, ColAccount);
    row_.shiftDate = parseStoredDate(sqlite3_column_text(row, ColShiftDate),
                                     sqlite3_column_bytes(row, ColShiftDate));
    double* figures[kInputs] = {&row_.reports,    &row_.charLines,   &row_.trueLines, &row_.pages,
                                &row_.hoursTyped, &row_.systemHours, &row_.otherHours};
    for (int i = 0; i < kInputs; ++i)
        *figures[i] = change.inputs[i];
    row_.transId = user->transId;
    row_.groupId = user->groupId;
    row_.partitionId = user->partitionId;
    calculator_.calculate(context_.assignments.lookup(user->groupId, row_.accountId), row_,
                          outcome_);
    if (!outcome_.ok()) {
        context_.errors.report(outcome_.failedFormulaId, outcome_.error, user->transId,
                               row_.accountId, row_.shiftDate);
        return;
    }
    ++computed_;
    const FormulaResults& r = outcome_.results;
    change.results = {r.hours, r.lines, r.pay};
    if (change.results != change.old)
        changes_.push_back(change);
}

// Reads and computes the rows of one slice (every row to do without a range); returns the rows
// gone through. The read ends before anything is written: a table is never written while a
// statement of the same connection is stepping over it.
qint64 SqliteRowUpdater::readSlice(db::SqliteStatement& read, const RecalcRequest& request,
                                   const std::optional<RowidRange>& range) {
    read.reset();
    read.bind(1, request.startDate.toString(Qt::ISODate));
    read.bind(2, request.endDate.toString(Qt::ISODate));
    if (range) {
        read.bind(3, range->first);
        read.bind(4, range->end);
    }
    changes_.clear();
    qint64 rows = 0;
    while (read.step()) {
        if ((++rows & 1023) == 0)
            throwIfCancelled();
        computeRow(read.handle());
    }
    read.reset();
    return rows;
}

void SqliteRowUpdater::bindChange(sqlite3_stmt* write, const Change& change) const {
    for (int i = 0; i < kResults; ++i)
        sqlite3_bind_double(write, 1 + i, change.results[i]);
    sqlite3_bind_int64(write, 4, change.rowid);
    for (int i = 0; i < kInputs; ++i)
        sqlite3_bind_double(write, 5 + i, change.inputs[i]);
    for (int i = 0; i < kResults; ++i)
        sqlite3_bind_double(write, 5 + kInputs + i, change.old[i]);
}

// Writes the slice's changes, committing whenever the transaction has held the write lock for
// kWriteLockMs, so that other programs' writes get their turn in between.
void SqliteRowUpdater::writeChanges() {
    if (changes_.empty())
        return;
    if (!write_)
        write_ = std::make_unique<db::SqliteStatement>(context_.db, QLatin1String(kWrite));
    sqlite3_stmt* write = write_->handle();
    std::size_t next = 0;
    while (next < changes_.size()) {
        throwIfCancelled();
        WriteTransaction transaction(context_.db);
        do {
            bindChange(write, changes_[next++]);
            stepToEnd(context_.db, write);
            written_ += sqlite3_changes(context_.db);
        } while (next < changes_.size() &&
                 ((next & 63) != 0 || !transaction.heldFor(kWriteLockMs)));
        throwIfCancelled();
        transaction.commit();
    }
    changes_.clear();
}

qint64 SqliteRowUpdater::run(const RecalcRequest& request, RecalcSummary& summary) {
    fillScopeTable();
    computed_ = 0;
    written_ = 0;
    summary.rowsToDo = countRowsToDo(request);
    context_.observer.progress(0, summary.rowsToDo);
    if (summary.rowsToDo == 0)
        return 0;
    const QString select = QStringLiteral("SELECT ") + QLatin1String(kReadColumns) +
                           QStringLiteral(" FROM Trans_incentive ");
    // Few rows: one slice, through whichever index SQLite finds best.
    if (summary.rowsToDo <= context_.batchRows) {
        db::SqliteStatement read(context_.db,
                                 select + QStringLiteral("WHERE ") + QLatin1String(kRowsToDo));
        throwIfCancelled();
        const qint64 passed = readSlice(read, request, std::nullopt);
        writeChanges();
        summary.rowsWritten = written_;
        context_.observer.progress(passed, summary.rowsToDo);
        return computed_;
    }
    // Many rows: the table in rowid slices, each read in order (NOT INDEXED keeps SQLite from
    // walking an index once per slice).
    db::SqliteStatement read(context_.db, select + QStringLiteral("NOT INDEXED WHERE ") +
                                              QLatin1String(kRowsToDo) +
                                              QStringLiteral(" AND rowid >= ?3 AND rowid < ?4"));
    const auto [first, last] = rowidSpan();
    qint64 passed = 0;
    for (qint64 start = first; start <= last; start += context_.batchRows) {
        throwIfCancelled();
        passed += readSlice(read, request, RowidRange{start, start + context_.batchRows});
        writeChanges();
        summary.rowsWritten = written_;
        context_.observer.progress(passed, summary.rowsToDo);
    }
    return computed_;
}

} // namespace velora::engine
