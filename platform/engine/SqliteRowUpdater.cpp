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

// The read of a slice: the rows to do, with the dates bound, and more conditions after.
std::unique_ptr<db::SqliteStatement> SqliteRowUpdater::prepareRead(const QString& tail,
                                                                   const RecalcRequest& request) {
    auto read = std::make_unique<db::SqliteStatement>(
        context_.db, QStringLiteral("SELECT ") + QLatin1String(kReadColumns) +
                         QStringLiteral(" FROM Trans_incentive ") + tail);
    read->bind(1, request.startDate.toString(Qt::ISODate));
    read->bind(2, request.endDate.toString(Qt::ISODate));
    return read;
}

// Reads and computes the rows of one slice; returns the rows gone through. The read ends before
// anything is written: a table is never written while a statement of the same connection is
// stepping over it.
qint64 SqliteRowUpdater::readSlice(db::SqliteStatement& read) {
    changes_.clear();
    qint64 rows = 0;
    sqlite3_stmt* row = read.handle();
    while (read.step()) {
        if ((++rows & 1023) == 0)
            throwIfCancelled();
        computeRow(row);
        lastRowid_ = sqlite3_column_int64(row, ColRowid);
        lastDay_ = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(row, ColShiftDate)),
                              sqlite3_column_bytes(row, ColShiftDate));
    }
    sqlite3_reset(row);
    return rows;
}

void SqliteRowUpdater::finishSlice(qint64 passed, RecalcSummary& summary) {
    writeChanges();
    summary.rowsWritten = written_;
    context_.observer.progress(passed, summary.rowsToDo);
}

// Few rows: one slice, through whichever index SQLite finds best.
qint64 SqliteRowUpdater::runInOneSlice(const RecalcRequest& request, RecalcSummary& summary) {
    const auto read = prepareRead(QStringLiteral("WHERE ") + QLatin1String(kRowsToDo), request);
    throwIfCancelled();
    finishSlice(readSlice(*read), summary);
    return computed_;
}

// Rows to do that are few beside the table: slices in the order of the unlocked rows' index, each
// starting after the last row of the one before, so that the locked rows are never read.
qint64 SqliteRowUpdater::runByDay(const RecalcRequest& request, RecalcSummary& summary) {
    const auto read = prepareRead(
        QStringLiteral("WHERE ") + QLatin1String(kRowsToDo) +
            QStringLiteral(
                " AND (shift_date, rowid) > (?3, ?4) ORDER BY shift_date, rowid LIMIT ?5"),
        request);
    lastDay_.clear();
    lastRowid_ = 0;
    qint64 passed = 0;
    for (;;) {
        throwIfCancelled();
        sqlite3_bind_text(read->handle(), 3, lastDay_.constData(),
                          static_cast<int>(lastDay_.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(read->handle(), 4, lastRowid_);
        sqlite3_bind_int64(read->handle(), 5, context_.batchRows);
        const qint64 rows = readSlice(*read);
        passed += rows;
        finishSlice(passed, summary);
        if (rows < context_.batchRows)
            return computed_;
    }
}

// Many rows: the table in rowid slices, each read in order (NOT INDEXED keeps SQLite from
// walking an index once per slice).
qint64 SqliteRowUpdater::runByRowid(const RecalcRequest& request, RecalcSummary& summary) {
    const auto read = prepareRead(QStringLiteral("NOT INDEXED WHERE ") + QLatin1String(kRowsToDo) +
                                      QStringLiteral(" AND rowid >= ?3 AND rowid < ?4"),
                                  request);
    const auto [first, last] = rowidSpan();
    qint64 passed = 0;
    for (qint64 start = first; start <= last; start += context_.batchRows) {
        throwIfCancelled();
        sqlite3_bind_int64(read->handle(), 3, start);
        sqlite3_bind_int64(read->handle(), 4, start + context_.batchRows);
        passed += readSlice(*read);
        finishSlice(passed, summary);
    }
    return computed_;
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
    if (summary.rowsToDo <= context_.batchRows)
        return runInOneSlice(request, summary);
    const auto [first, last] = rowidSpan();
    if (summary.rowsToDo * 8 < last - first)
        return runByDay(request, summary);
    return runByRowid(request, summary);
}

} // namespace velora::engine
