#pragma once

#include "RecalcQueue.h"
#include "RetryBackoff.h"

#include <functional>
#include <memory>

namespace velora::db {
class Connection;
class DbError;
} // namespace velora::db

namespace velora::engine {

// Serves the request queue next to the database: takes back the requests of servers that are
// gone, claims the next request, recalculates it while renewing its heartbeat, and records the
// outcome. A busy or locked database is never a reason to stop: every step waits (bounded,
// growing waits) and tries again; a recalculation that meets a busy database starts over under
// the same claim, which is safe because a recalculation only ever writes what its inputs give.
class RecalcQueueServer {
public:
    // What the server tells its operator, one line each.
    class Log {
    public:
        virtual ~Log() = default;
        virtual void event(const QString& line) = 0;   // claimed, done, failed, taken back
        virtual void warning(const QString& line) = 0; // busy database, lost claim, row errors
    };

    struct Options {
        RecalcQueue::Policy policy;
        bool once = false;   // stop as soon as nothing is queued or to be taken back
        int idleSeconds = 2; // otherwise look again after this long
    };

    using OpenConnection = std::function<std::unique_ptr<db::Connection>()>;

    RecalcQueueServer(OpenConnection open, QueueServerId self, Options options, Log& log);

    // Serves until the queue is empty (once) or for ever. Throws db::DbError for what waiting
    // cannot cure: a database that cannot be opened, a missing table.
    void serve();

private:
    class ClaimObserver;

    bool serveNext(db::Connection& connection);
    void runClaim(db::Connection& connection, RecalcQueue& queue, const RecalcClaim& claim);
    void finish(RecalcQueue& queue, const RecalcClaim& claim, RecalcQueue::Status status,
                const QString& message);
    void waitAfterBusy(const db::DbError& error);
    template <typename Step> auto untilNotBusy(Step step);

    OpenConnection open_;
    QueueServerId self_;
    Options options_;
    Log& log_;
    RetryBackoff backoff_;
};

} // namespace velora::engine
