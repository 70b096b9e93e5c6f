#include "RecalcJob.h"

#include "DaySumsQuery.h"
#include "FormulaAssignments.h"
#include "GenericRowUpdater.h"
#include "RecalcScope.h"
#include "RowErrorReporter.h"
#include "SqliteRowUpdater.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"
#include "db/SqliteEngine.h"
#include "db/SqliteStatement.h"

#include <sqlite3.h>

namespace velora::engine {

namespace {

QString iso(const QDate& day) {
    return day.toString(Qt::ISODate);
}

} // namespace

RecalcJob::RecalcJob(db::Connection& connection, RecalcObserver& observer, Path path)
    : connection_(connection)
    , observer_(observer)
    , path_(path) {}

RecalcJob::~RecalcJob() = default;

// On the embedded engine a few rows to lock are found through the index of unlocked rows; many
// are locked in one pass over the table in storage order, which beats fetching each row through
// the index. The count reads the index alone.
qint64 RecalcJob::lockBefore(db::Connection& connection, const QDate& before) {
    const QString condition =
        QStringLiteral("WHERE locked = 0 AND shift_date < '") + iso(before) + QLatin1Char('\'');
    auto* sqlite = dynamic_cast<db::SqliteEngine*>(connection.engine());
    if (!sqlite)
        return connection.execute(QStringLiteral("UPDATE Trans_incentive SET locked = 1 ") +
                                  condition);
    qint64 toLock = 0;
    qint64 rows = 0;
    {
        // Ended before the lock-out: a read still open would make its write fail at once
        // when another program writes, instead of waiting for it.
        db::SqliteStatement count(sqlite->handle(),
                                  QStringLiteral("SELECT COUNT(*), (SELECT MAX(rowid) FROM "
                                                 "Trans_incentive) FROM Trans_incentive ") +
                                      condition);
        count.step();
        toLock = count.column(0).toLongLong();
        rows = count.column(1).toLongLong();
    }
    if (toLock == 0)
        return 0;
    const bool many = toLock > rows / 8;
    sqlite->executeNative(QStringLiteral("UPDATE Trans_incentive ") +
                          (many ? QStringLiteral("NOT INDEXED ") : QString()) +
                          QStringLiteral("SET locked = 1 ") + condition);
    return sqlite3_changes(sqlite->handle());
}

qint64 RecalcJob::autoLock(const RecalcSettings& settings) {
    if (settings.autoLockingDays <= 0)
        return 0;
    return lockBefore(connection_, today_.addDays(-settings.autoLockingDays));
}

QDate RecalcJob::lastLockedDay() {
    db::Recordset rs = connection_.openRecordset(
        QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1"));
    return rs.eof() || rs.value(0).isNull()
               ? QDate()
               : QDate::fromString(rs.value(0).toString().left(10), Qt::ISODate);
}

qint64 RecalcJob::addBlankEndOfMonthRows(const RecalcRequest& request) {
    const QDate currentMonth(today_.year(), today_.month(), 1);
    QDate from = request.startDate;
    const QDate locked = lastLockedDay();
    if (locked.isValid() && locked >= from)
        from = locked.addDays(1);
    db::Recordset months = connection_.openRecordset(
        QStringLiteral("SELECT DISTINCT trans_id, hosp_acct_id, Year(shift_date) AS y, "
                       "Month(shift_date) AS m FROM Trans_incentive WHERE shift_date >= '") +
        iso(QDate(from.year(), from.month(), 1)) + QStringLiteral("' AND shift_date < '") +
        iso(std::min(currentMonth, request.endDate.addDays(1))) +
        QStringLiteral("' AND trans_id IN (") + RecalcScope::userCondition(request) +
        QLatin1Char(')'));
    qint64 added = 0;
    db::Transaction transaction(connection_);
    for (; !months.eof(); months.moveNext()) {
        const QDate monthEnd =
            QDate(months.value(2).toInt(), months.value(3).toInt(), 1).addMonths(1).addDays(-1);
        if (monthEnd < from || monthEnd > request.endDate)
            continue;
        const QString transId = db::sqlTextLiteral(months.value(0).toString());
        const QString account = months.value(1).toString();
        added += connection_.execute(
            QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                           "dept_id) SELECT ") +
            transId + QStringLiteral(", ") + account + QStringLiteral(", '") + iso(monthEnd) +
            QStringLiteral("', 0 WHERE NOT EXISTS (SELECT * FROM Trans_incentive WHERE trans_id "
                           "= ") +
            transId + QStringLiteral(" AND hosp_acct_id = ") + account +
            QStringLiteral(" AND shift_date = '") + iso(monthEnd) + QStringLiteral("')"));
    }
    transaction.commit();
    return added;
}

// Period sums come from a read transaction opened before the first row is written, so every
// row of the run sees the values stored when it began, whatever order SQLite updates rows in.
PeriodSums::Fetch RecalcJob::snapshotFetch(db::SqliteEngine& sqlite) {
    snapshot_ = std::make_unique<db::SqliteEngine>(sqlite.path(), db::ConnectionOptions{});
    snapshot_->executeNative(
        QStringLiteral("BEGIN; SELECT COUNT(*) FROM (SELECT 1 FROM Trans_incentive LIMIT 1);"));
    auto byAccount = std::make_shared<db::SqliteStatement>(
        snapshot_->handle(),
        QStringLiteral("SELECT ") + QLatin1String(kDaySumColumns) +
            QStringLiteral(" FROM Trans_incentive WHERE trans_id = ?1 AND hosp_acct_id = ?2 AND "
                           "shift_date BETWEEN ?3 AND ?4 GROUP BY shift_date ORDER BY shift_date"));
    auto allAccounts = std::make_shared<db::SqliteStatement>(
        snapshot_->handle(),
        QStringLiteral("SELECT ") + QLatin1String(kDaySumColumns) +
            QStringLiteral(" FROM Trans_incentive WHERE trans_id = ?1 AND shift_date BETWEEN ?3 "
                           "AND ?4 GROUP BY shift_date ORDER BY shift_date"));
    return [byAccount, allAccounts](const QString& transId, const int* account, const QDate& from,
                                    const QDate& to) {
        db::SqliteStatement& statement = account ? *byAccount : *allAccounts;
        statement.reset();
        statement.bind(1, transId);
        if (account)
            statement.bind(2, *account);
        statement.bind(3, iso(from));
        statement.bind(4, iso(to));
        return readDaySums(statement.readAll());
    };
}

PeriodSums::Fetch RecalcJob::connectionFetch() {
    return [this](const QString& transId, const int* account, const QDate& from, const QDate& to) {
        return queryDaySums(connection_, transId, account, from, to);
    };
}

RecalcSummary RecalcJob::run(const RecalcRequest& request) {
    RecalcSummary summary;
    const RecalcSettings settings = RecalcSettings::read(connection_);
    if (request.isFullRun())
        summary.rowsAutoLocked = autoLock(settings);
    if (settings.addBlankEndOfMonthRows)
        summary.blankRowsAdded = addBlankEndOfMonthRows(request);

    RecalcScope scope = RecalcScope::load(connection_, request);
    FormulaAssignments assignments = FormulaAssignments::load(connection_, settings.partitionMode);
    RowErrorReporter errors(observer_, assignments.formulaNames());

    auto* sqlite = dynamic_cast<db::SqliteEngine*>(connection_.engine());
    if (sqlite && path_ == Path::Automatic) {
        PeriodSums periods(snapshotFetch(*sqlite), settings.firstDayOfWeek);
        SqliteRowUpdater updater(
            {sqlite->handle(), scope, assignments, &periods, settings.hourMode, errors, observer_,
             batchRows_ > 0 ? batchRows_ : SqliteRowUpdater::kDefaultBatchRows});
        summary.rowsDone = updater.run(request, summary);
        snapshot_.reset();
    } else {
        PeriodSums periods(connectionFetch(), settings.firstDayOfWeek);
        GenericRowUpdater updater(
            {connection_, scope, assignments, &periods, settings.hourMode, errors, observer_,
             batchRows_ > 0 ? batchRows_ : GenericRowUpdater::kDefaultBatchRows});
        summary.rowsDone = updater.run(request, summary);
    }
    summary.rowsFailed = errors.finish();
    return summary;
}

} // namespace velora::engine
