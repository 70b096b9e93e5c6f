#include "RecalcQueue.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSysInfo>
#include <QTimeZone>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace velora::engine {

namespace {

const QString kTable = QStringLiteral("Incentive_recalc_request");

QString utcText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

// A stored heartbeat: ISO text on the embedded engine, a datetime through ODBC; UTC either way.
QDateTime storedUtc(const QVariant& value) {
    const QDateTime stored = value.toDateTime();
    return stored.isValid() ? QDateTime(stored.date(), stored.time(), QTimeZone::utc())
                            : QDateTime();
}

// Whether a process of this host still exists. Without a way to ask, it is taken to exist and
// only its heartbeat tells.
bool processExists(qint64 pid) {
#ifdef Q_OS_UNIX
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
#else
    Q_UNUSED(pid);
    return true;
#endif
}

} // namespace

QueueServerId QueueServerId::current() {
    QString host = QSysInfo::machineHostName();
    if (host.isEmpty())
        host = QString::fromLatin1(QSysInfo::machineUniqueId().toHex());
    return {host, QCoreApplication::applicationPid()};
}

void RecalcQueue::enqueue(db::Connection& connection, const RecalcRequest& request,
                          const QString& requestedBy) {
    connection.execute(
        QStringLiteral("INSERT INTO Incentive_recalc_request (requested_at, requested_by, "
                       "filter, start_date, end_date, status) VALUES (") +
        db::sqlTextLiteral(QDateTime::currentDateTime().toString(Qt::ISODate)) +
        QStringLiteral(", ") + db::sqlTextLiteral(requestedBy) + QStringLiteral(", ") +
        db::sqlTextLiteral(request.filter) + QStringLiteral(", '") +
        request.startDate.toString(Qt::ISODate) + QStringLiteral("', '") +
        request.endDate.toString(Qt::ISODate) + QStringLiteral("', 0)"));
}

void RecalcQueue::requireClaimColumns(db::Connection& connection) {
    try {
        connection.openRecordset(QStringLiteral("SELECT claim_host, claim_pid, heartbeat_at, "
                                                "attempts FROM ") +
                                 kTable + QStringLiteral(" WHERE 1 = 0"));
    } catch (const db::DbError& e) {
        if (e.number() != db::ErrorNumber::CommandError)
            throw;
        throw db::DbError(e.number(),
                          QStringLiteral("The table %1 lacks the columns claim_host, claim_pid, "
                                         "heartbeat_at and attempts that serving the queue "
                                         "needs; add them as the schema shows (%2).")
                              .arg(kTable, e.description()));
    }
}

RecalcQueue::RecalcQueue(db::Connection& connection, QueueServerId self, Policy policy)
    : connection_(connection)
    , self_(std::move(self))
    , policy_(policy) {}

RecalcQueue::Claimer RecalcQueue::claimer(qint64 requestId, const QString& host, qint64 pid,
                                          const QDateTime& heartbeat) const {
    // A claim in this process's name that this queue does not hold was left by an earlier
    // process that had the same id.
    const bool earlierSelf = pid == self_.pid && !held_.contains(requestId);
    if (!host.isEmpty() && host == self_.host && (earlierSelf || !processExists(pid)))
        return Claimer::Gone;
    if (!heartbeat.isValid() ||
        heartbeat.secsTo(QDateTime::currentDateTimeUtc()) > policy_.staleSeconds)
        return Claimer::Silent;
    return Claimer::Alive;
}

// Back to the queue, or failed after too many attempts. The condition repeats what made the
// request look abandoned, so that a reclaim by another server, or a heartbeat renewed
// meanwhile, wins over this one.
bool RecalcQueue::putBack(qint64 requestId, int attempts, Claimer claimer) {
    QString statement = QStringLiteral("UPDATE ") + kTable + QStringLiteral(" SET ");
    if (attempts >= policy_.maxAttempts)
        statement +=
            QStringLiteral("status = 3, done_at = ") +
            db::sqlTextLiteral(QDateTime::currentDateTime().toString(Qt::ISODate)) +
            QStringLiteral(", message = ") +
            db::sqlTextLiteral(
                QStringLiteral("Abandoned by its server %1 times; not run again.").arg(attempts));
    else
        statement +=
            QStringLiteral("status = 0, claim_host = NULL, claim_pid = NULL, heartbeat_at = NULL");
    statement += QStringLiteral(" WHERE request_id = ") + QString::number(requestId) +
                 QStringLiteral(" AND status = 1 AND attempts = ") + QString::number(attempts);
    if (claimer == Claimer::Silent)
        statement += QStringLiteral(" AND (heartbeat_at IS NULL OR heartbeat_at < '") +
                     utcText(QDateTime::currentDateTimeUtc().addSecs(-policy_.staleSeconds)) +
                     QStringLiteral("')");
    return connection_.execute(statement) != 0;
}

QList<RecalcQueue::Reclaimed> RecalcQueue::reclaimAbandoned() {
    struct RunningRequest {
        qint64 id;
        int attempts;
        Claimer claimer;
    };
    std::vector<RunningRequest> running;
    for (db::Recordset rs = connection_.openRecordset(
             QStringLiteral("SELECT request_id, attempts, claim_host, claim_pid, heartbeat_at "
                            "FROM ") +
             kTable + QStringLiteral(" WHERE status = 1 ORDER BY request_id"));
         !rs.eof(); rs.moveNext())
        running.push_back({rs.value(0).toLongLong(), rs.value(1).toInt(),
                           claimer(rs.value(0).toLongLong(), rs.value(2).toString(),
                                   rs.value(3).toLongLong(), storedUtc(rs.value(4)))});
    QList<Reclaimed> reclaimed;
    for (const RunningRequest& request : running) {
        if (request.claimer != Claimer::Alive &&
            putBack(request.id, request.attempts, request.claimer))
            reclaimed.append(
                {request.id, request.attempts >= policy_.maxAttempts ? Failed : Queued});
    }
    return reclaimed;
}

bool RecalcQueue::tryClaim(qint64 requestId, int attempts) {
    const QString id = QString::number(requestId);
    const int changed = connection_.execute(
        QStringLiteral("UPDATE ") + kTable + QStringLiteral(" SET status = 1, claim_host = ") +
        db::sqlTextLiteral(self_.host) + QStringLiteral(", claim_pid = ") +
        QString::number(self_.pid) + QStringLiteral(", heartbeat_at = '") +
        utcText(QDateTime::currentDateTimeUtc()) +
        QStringLiteral("', attempts = attempts + 1 WHERE request_id = ") + id +
        QStringLiteral(" AND status = 0 AND attempts = ") + QString::number(attempts));
    if (changed >= 0)
        return changed == 1;
    // The engine cannot count changed rows: the row tells who holds it now.
    db::Recordset rs = connection_.openRecordset(QStringLiteral("SELECT request_id FROM ") +
                                                 kTable + QStringLiteral(" WHERE ") +
                                                 claimCondition({requestId, attempts + 1, {}}));
    return !rs.eof();
}

std::optional<RecalcClaim> RecalcQueue::claim(qint64 requestId, int attemptsSeen) {
    if (!tryClaim(requestId, attemptsSeen))
        return std::nullopt;
    held_.insert(requestId);
    return readClaim(requestId);
}

RecalcClaim RecalcQueue::readClaim(qint64 requestId) {
    db::Recordset rs = connection_.openRecordset(
        QStringLiteral("SELECT attempts, filter, start_date, end_date FROM ") + kTable +
        QStringLiteral(" WHERE request_id = ") + QString::number(requestId));
    RecalcClaim claim;
    claim.requestId = requestId;
    claim.attempt = rs.value(0).toInt();
    claim.request.filter = rs.value(1).toString();
    claim.request.startDate = rs.date(QStringLiteral("start_date"));
    claim.request.endDate = rs.date(QStringLiteral("end_date"));
    return claim;
}

std::optional<RecalcClaim> RecalcQueue::claimNext() {
    for (;;) {
        const db::Recordset next =
            connection_.openRecordset(QStringLiteral("SELECT request_id, attempts FROM ") + kTable +
                                      QStringLiteral(" WHERE status = 0 ORDER BY request_id"));
        if (next.eof())
            return std::nullopt;
        const qint64 id = next.value(0).toLongLong();
        const int attempts = next.value(1).toInt();
        // Another server that took it first leaves this UPDATE without a row: try the next.
        if (auto claimed = claim(id, attempts))
            return claimed;
    }
}

QString RecalcQueue::claimCondition(const RecalcClaim& claim) const {
    return QStringLiteral("request_id = ") + QString::number(claim.requestId) +
           QStringLiteral(" AND status = 1 AND claim_host = ") + db::sqlTextLiteral(self_.host) +
           QStringLiteral(" AND claim_pid = ") + QString::number(self_.pid) +
           QStringLiteral(" AND attempts = ") + QString::number(claim.attempt);
}

bool RecalcQueue::heartbeat(const RecalcClaim& claim) {
    const bool held = connection_.execute(QStringLiteral("UPDATE ") + kTable +
                                          QStringLiteral(" SET heartbeat_at = '") +
                                          utcText(QDateTime::currentDateTimeUtc()) +
                                          QStringLiteral("' WHERE ") + claimCondition(claim)) != 0;
    if (!held)
        held_.erase(claim.requestId);
    return held;
}

bool RecalcQueue::finish(const RecalcClaim& claim, Status status, const QString& message) {
    held_.erase(claim.requestId);
    return connection_.execute(
               QStringLiteral("UPDATE ") + kTable + QStringLiteral(" SET status = ") +
               QString::number(status) + QStringLiteral(", done_at = ") +
               db::sqlTextLiteral(QDateTime::currentDateTime().toString(Qt::ISODate)) +
               QStringLiteral(", message = ") + db::sqlTextLiteral(message) +
               QStringLiteral(" WHERE ") + claimCondition(claim)) != 0;
}

} // namespace velora::engine
