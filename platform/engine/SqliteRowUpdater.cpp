#include "SqliteRowUpdater.h"

#include "db/DbError.h"
#include "db/SqliteStatement.h"

#include <sqlite3.h>

namespace velora::engine {

namespace {

// The row's values as the update function receives them, after (which, rowid).
enum Argument {
    ArgWhich,
    ArgRowid,
    ArgTransId,
    ArgAccount,
    ArgShiftDate,
    ArgReports,
    ArgChars,
    ArgLines,
    ArgPages,
    ArgHoursTyped,
    ArgHoursSystem,
    ArgHoursOther,
    ArgOldValue,
    ArgCount
};

constexpr const char* kRowArguments =
    "rowid, trans_id, hosp_acct_id, shift_date, number_rpts_modified, chars_modified, "
    "lines_modified, pages_modified, hours_typed_modified, hours_system_modified, "
    "hours_other_modified";

constexpr const char* kRowsToDo = "locked = 0 AND shift_date BETWEEN ?1 AND ?2 AND trans_id IN "
                                  "(SELECT trans_id FROM temp.vl_recalc_scope)";

QString fullCall(int which, const char* column) {
    return QStringLiteral("vl_recalc(%1, %2, %3)")
        .arg(which)
        .arg(QLatin1String(kRowArguments), QLatin1String(column));
}

QString keptCall(int which, const char* column) {
    return QStringLiteral("vl_result(%1, rowid, %2)").arg(which).arg(QLatin1String(column));
}

// collected = f(row); modified = f(row) unless it holds a correction (differs from collected).
// SQLite computes the new values in the table's column order, so only the first assignment
// (incent_hours_typed) passes the row; the others read the results kept for that rowid. When
// keptResults is false every assignment passes the row.
QString assignments(bool keptResults) {
    const struct {
        int which;
        const char* collected;
        const char* modified;
    } results[] = {{0, "incent_hours_typed", "incent_hours_typed_modified"},
                   {1, "incent_typed", "incent_typed_modified"},
                   {2, "incent_pay", "incent_pay_modified"}};
    QStringList parts;
    for (const auto& r : results) {
        const bool first = r.which == 0;
        parts << QStringLiteral("%1 = %2").arg(
            QLatin1String(r.collected), first || !keptResults ? fullCall(r.which, r.collected)
                                                              : keptCall(r.which, r.collected));
        parts << QStringLiteral("%1 = CASE WHEN %1 = %2 THEN %3 ELSE %1 END")
                     .arg(QLatin1String(r.modified), QLatin1String(r.collected),
                          keptResults ? keptCall(r.which, r.collected)
                                      : fullCall(r.which, r.collected));
    }
    return parts.join(QStringLiteral(", "));
}

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

} // namespace

SqliteRowUpdater::SqliteRowUpdater(Context context)
    : context_(context)
    , calculator_(context.periods) {
    row_.hourMode = context_.hourMode;
    int rc = sqlite3_create_function_v2(context_.db, "vl_recalc", ArgCount, SQLITE_UTF8, this,
                                        recalcFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(context_.db, "vl_result", 3, SQLITE_UTF8, this,
                                        keptResultFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        db::throwSqliteError(context_.db, rc);
    sqlite3_progress_handler(context_.db, 20000, progressHandler, this);
}

SqliteRowUpdater::~SqliteRowUpdater() {
    sqlite3_progress_handler(context_.db, 0, nullptr, nullptr);
    sqlite3_create_function_v2(context_.db, "vl_recalc", ArgCount, SQLITE_UTF8, nullptr, nullptr,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(context_.db, "vl_result", 3, SQLITE_UTF8, nullptr, nullptr, nullptr,
                               nullptr, nullptr);
    sqlite3_exec(context_.db, "DROP TABLE IF EXISTS temp.vl_recalc_scope", nullptr, nullptr,
                 nullptr);
}

int SqliteRowUpdater::progressHandler(void* self) {
    return static_cast<SqliteRowUpdater*>(self)->context_.observer.cancelRequested() ? 1 : 0;
}

void SqliteRowUpdater::computeRow(sqlite3_value** argv) {
    const auto* transId = sqlite3_value_text(argv[ArgTransId]);
    const int transIdLength = sqlite3_value_bytes(argv[ArgTransId]);
    const RecalcScope::User* user =
        context_.scope.find(reinterpret_cast<const char*>(transId), transIdLength);
    row_.accountId = sqlite3_value_int(argv[ArgAccount]);
    row_.shiftDate = parseStoredDate(sqlite3_value_text(argv[ArgShiftDate]),
                                     sqlite3_value_bytes(argv[ArgShiftDate]));
    row_.reports = sqlite3_value_double(argv[ArgReports]);
    row_.charLines = sqlite3_value_double(argv[ArgChars]);
    row_.trueLines = sqlite3_value_double(argv[ArgLines]);
    row_.pages = sqlite3_value_double(argv[ArgPages]);
    row_.hoursTyped = sqlite3_value_double(argv[ArgHoursTyped]);
    row_.systemHours = sqlite3_value_double(argv[ArgHoursSystem]);
    row_.otherHours = sqlite3_value_double(argv[ArgHoursOther]);
    if (!user) {
        currentOk_ = false; // not covered: keep the row as it is
        return;
    }
    row_.transId = user->transId;
    row_.groupId = user->groupId;
    row_.partitionId = user->partitionId;
    const FormulaSet& set = context_.assignments.lookup(user->groupId, row_.accountId);
    calculator_.calculate(set, row_, outcome_);
    currentOk_ = outcome_.ok();
    if (currentOk_)
        ++batchComputed_;
    else
        context_.errors.report(outcome_.failedFormulaId, outcome_.error, user->transId,
                               row_.accountId, row_.shiftDate);
}

void SqliteRowUpdater::setResult(sqlite3_context* context, int which, sqlite3_value* old) const {
    if (!currentOk_) {
        sqlite3_result_value(context, old);
        return;
    }
    const FormulaResults& r = outcome_.results;
    sqlite3_result_double(context, which == 0 ? r.hours : which == 1 ? r.lines : r.pay);
}

// vl_recalc(which, row..., old): the row's result `which` (0 IHours, 1 ITyped, 2 IPay). The
// formulas run once per row; later calls for the same row read the kept results. A row whose
// formula fails keeps its old values.
void SqliteRowUpdater::recalcFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    auto* self = static_cast<SqliteRowUpdater*>(sqlite3_user_data(context));
    const qint64 rowid = sqlite3_value_int64(argv[ArgRowid]);
    if (rowid != self->currentRowid_) {
        self->currentRowid_ = rowid;
        self->computeRow(argv);
    }
    self->setResult(context, sqlite3_value_int(argv[ArgWhich]), argv[ArgOldValue]);
}

// vl_result(which, rowid, old): a result kept by vl_recalc for this rowid. Called for another
// row, the statement fails and the batch is run again with vl_recalc everywhere.
void SqliteRowUpdater::keptResultFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    auto* self = static_cast<SqliteRowUpdater*>(sqlite3_user_data(context));
    if (sqlite3_value_int64(argv[1]) != self->currentRowid_) {
        self->keptResultsBroken_ = true;
        sqlite3_result_error(context, "results read before they were computed", -1);
        return;
    }
    self->setResult(context, sqlite3_value_int(argv[0]), argv[2]);
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

// A batch over a rowid range reads that slice of the table in order (NOT INDEXED keeps SQLite
// from walking a user index once per batch); a run small enough for one batch lets SQLite use
// the user index instead of reading the whole table.
qint64 SqliteRowUpdater::runBatch(const std::optional<RowidRange>& range,
                                  const RecalcRequest& request, bool retried) {
    QString sql = QStringLiteral("UPDATE Trans_incentive ") +
                  (range ? QStringLiteral("NOT INDEXED ") : QString()) + QStringLiteral("SET ") +
                  assignments(!keptResultsBroken_) + QStringLiteral(" WHERE ") +
                  QLatin1String(kRowsToDo);
    if (range)
        sql += QStringLiteral(" AND rowid >= ?3 AND rowid < ?4");
    db::SqliteStatement update(context_.db, sql);
    update.bind(1, request.startDate.toString(Qt::ISODate));
    update.bind(2, request.endDate.toString(Qt::ISODate));
    if (range) {
        update.bind(3, range->first);
        update.bind(4, range->end);
    }
    currentRowid_ = -1;
    batchComputed_ = 0;
    executeNative(context_.db, "BEGIN IMMEDIATE");
    try {
        update.step();
        executeNative(context_.db, "COMMIT");
        computed_ += batchComputed_;
    } catch (const db::DbError&) {
        sqlite3_exec(context_.db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (context_.observer.cancelRequested())
            throw db::DbError(kRecalcCancelledError, QStringLiteral("Update cancelled by user."));
        // The order is the same for every row, so a wrong guess fails on the batch's first
        // row, before any row was computed or reported.
        if (keptResultsBroken_ && !retried)
            return runBatch(range, request, true);
        throw;
    }
    return sqlite3_changes(context_.db);
}

qint64 SqliteRowUpdater::run(const RecalcRequest& request, RecalcSummary& summary) {
    fillScopeTable();
    computed_ = 0;
    summary.rowsToDo = countRowsToDo(request);
    context_.observer.progress(0, summary.rowsToDo);
    if (summary.rowsToDo == 0)
        return 0;
    if (summary.rowsToDo <= context_.batchRows) {
        throwIfCancelled();
        context_.observer.progress(runBatch(std::nullopt, request), summary.rowsToDo);
        return computed_;
    }
    const auto [first, last] = rowidSpan();
    qint64 passed = 0;
    for (qint64 start = first; start <= last; start += context_.batchRows) {
        throwIfCancelled();
        passed += runBatch(RowidRange{start, start + context_.batchRows}, request);
        context_.observer.progress(passed, summary.rowsToDo);
    }
    return computed_;
}

void SqliteRowUpdater::throwIfCancelled() const {
    if (context_.observer.cancelRequested())
        throw db::DbError(kRecalcCancelledError, QStringLiteral("Update cancelled by user."));
}

} // namespace velora::engine
