#include "RecalcQueueServer.h"

#include "RecalcJob.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QElapsedTimer>
#include <QThread>

namespace velora::engine {

namespace {

bool isBusy(const db::DbError& error) {
    return error.number() == db::ErrorNumber::Busy;
}

} // namespace

// Renews the claim's heartbeat between batches (at most every quarter of the stale period),
// cancels the recalculation once the claim is found to belong to another server, and passes
// row errors to the log.
class RecalcQueueServer::ClaimObserver final : public RecalcObserver {
public:
    ClaimObserver(RecalcQueue& queue, const RecalcClaim& claim, Log& log)
        : queue_(queue)
        , claim_(claim)
        , log_(log)
        , intervalMs_(std::max(1, queue.policy().staleSeconds / 4) * qint64{1000}) {
        sinceBeat_.start();
    }

    void progress(qint64, qint64) override {
        if (lost_ || sinceBeat_.elapsed() < intervalMs_)
            return;
        try {
            lost_ = !queue_.heartbeat(claim_);
            sinceBeat_.restart();
        } catch (const db::DbError& e) {
            if (!isBusy(e)) // a busy database only delays the heartbeat
                throw;
        }
    }
    void rowError(int number, const QString& description) override {
        log_.warning(QStringLiteral("request %1: Error %2: %3")
                         .arg(claim_.requestId)
                         .arg(number)
                         .arg(description));
    }
    bool cancelRequested() const override { return lost_; }
    bool claimLost() const { return lost_; }

private:
    RecalcQueue& queue_;
    const RecalcClaim& claim_;
    Log& log_;
    qint64 intervalMs_;
    QElapsedTimer sinceBeat_;
    bool lost_ = false;
};

RecalcQueueServer::RecalcQueueServer(OpenConnection open, QueueServerId self, Options options,
                                     Log& log)
    : open_(std::move(open))
    , self_(std::move(self))
    , options_(options)
    , log_(log) {}

void RecalcQueueServer::waitAfterBusy(const db::DbError& error) {
    const int wait = backoff_.next();
    log_.warning(QStringLiteral("database busy, trying again in %1 ms: %2")
                     .arg(wait)
                     .arg(error.description()));
    QThread::msleep(static_cast<unsigned long>(wait));
}

template <typename Step> auto RecalcQueueServer::untilNotBusy(Step step) {
    for (;;) {
        try {
            return step();
        } catch (const db::DbError& e) {
            if (!isBusy(e))
                throw;
            waitAfterBusy(e);
        }
    }
}

void RecalcQueueServer::serve() {
    std::unique_ptr<db::Connection> connection;
    for (;;) {
        const bool served = untilNotBusy([&] {
            if (!connection) {
                std::unique_ptr<db::Connection> opened = open_();
                RecalcQueue::requireClaimColumns(*opened);
                connection = std::move(opened);
            }
            return serveNext(*connection);
        });
        backoff_.reset();
        if (served)
            continue;
        if (options_.once)
            return;
        QThread::sleep(static_cast<unsigned long>(std::max(1, options_.idleSeconds)));
    }
}

bool RecalcQueueServer::serveNext(db::Connection& connection) {
    RecalcQueue queue(connection, self_, options_.policy);
    for (const RecalcQueue::Reclaimed& request : queue.reclaimAbandoned())
        log_.event(request.status == RecalcQueue::Failed
                       ? QStringLiteral("request %1 failed: its servers were gone too often")
                             .arg(request.requestId)
                       : QStringLiteral("request %1 queued again: its server is gone")
                             .arg(request.requestId));
    const std::optional<RecalcClaim> claim = queue.claimNext();
    if (!claim)
        return false;
    log_.event(QStringLiteral("request %1 claimed (attempt %2)")
                   .arg(claim->requestId)
                   .arg(claim->attempt));
    runClaim(connection, queue, *claim);
    return true;
}

void RecalcQueueServer::runClaim(db::Connection& connection, RecalcQueue& queue,
                                 const RecalcClaim& claim) {
    ClaimObserver observer(queue, claim, log_);
    for (;;) {
        try {
            RecalcJob job(connection, observer);
            const RecalcSummary summary = job.run(claim.request);
            finish(queue, claim, RecalcQueue::Done,
                   QStringLiteral("%1 rows recalculated, %2 failed")
                       .arg(summary.rowsDone)
                       .arg(summary.rowsFailed));
            return;
        } catch (const db::DbError& e) {
            if (observer.claimLost())
                break;
            if (!isBusy(e)) {
                finish(queue, claim, RecalcQueue::Failed,
                       QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
                return;
            }
            waitAfterBusy(e);
            if (!untilNotBusy([&] { return queue.heartbeat(claim); }))
                break;
        } catch (const std::exception& e) {
            finish(queue, claim, RecalcQueue::Failed, QString::fromUtf8(e.what()));
            return;
        }
    }
    log_.warning(QStringLiteral("request %1 was taken over by another server and is left to it")
                     .arg(claim.requestId));
}

void RecalcQueueServer::finish(RecalcQueue& queue, const RecalcClaim& claim,
                               RecalcQueue::Status status, const QString& message) {
    if (untilNotBusy([&] { return queue.finish(claim, status, message); }))
        log_.event(QStringLiteral("request %1 %2: %3")
                       .arg(claim.requestId)
                       .arg(status == RecalcQueue::Done ? QStringLiteral("done")
                                                        : QStringLiteral("failed"),
                            message));
    else
        log_.warning(QStringLiteral("request %1 was taken over by another server; its "
                                    "outcome is left to it")
                         .arg(claim.requestId));
}

} // namespace velora::engine
