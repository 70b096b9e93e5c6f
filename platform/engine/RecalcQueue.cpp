#include "RecalcQueue.h"

#include "RecalcJob.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"

#include <QDateTime>

namespace velora::engine {

namespace {

void markRequest(db::Connection& connection, qint64 id, int status, const QString& message) {
    connection.execute(QStringLiteral("UPDATE Incentive_recalc_request SET status = ") +
                       QString::number(status) + QStringLiteral(", done_at = ") +
                       db::sqlTextLiteral(QDateTime::currentDateTime().toString(Qt::ISODate)) +
                       QStringLiteral(", message = ") + db::sqlTextLiteral(message) +
                       QStringLiteral(" WHERE request_id = ") + QString::number(id));
}

} // namespace

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

int RecalcQueue::processPending(db::Connection& connection, RecalcObserver& observer) {
    int processed = 0;
    for (;;) {
        db::Recordset next = connection.openRecordset(
            QStringLiteral("SELECT request_id, filter, start_date, end_date FROM "
                           "Incentive_recalc_request WHERE status = 0 ORDER BY request_id"));
        if (next.eof())
            return processed;
        const qint64 id = next.value(0).toLongLong();
        RecalcRequest request;
        request.filter = next.value(1).toString();
        request.startDate = next.date(QStringLiteral("start_date"));
        request.endDate = next.date(QStringLiteral("end_date"));
        markRequest(connection, id, Running, QString());
        try {
            RecalcJob job(connection, observer);
            const RecalcSummary summary = job.run(request);
            markRequest(connection, id, Done,
                        QStringLiteral("%1 rows recalculated, %2 failed")
                            .arg(summary.rowsDone)
                            .arg(summary.rowsFailed));
        } catch (const db::DbError& e) {
            markRequest(connection, id, Failed,
                        QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
        }
        ++processed;
    }
}

} // namespace velora::engine
