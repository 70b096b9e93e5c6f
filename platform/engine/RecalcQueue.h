#pragma once

#include "RecalcRequest.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>
#include <set>

namespace velora::db {
class Connection;
}

namespace velora::engine {

// A queue server as its claims name it: the host it runs on and its process id there.
struct QueueServerId {
    QString host;
    qint64 pid = 0;

    static QueueServerId current();
};

// A request one server holds: its id, which claim of it this is (attempts after the claim) and
// what to recalculate.
struct RecalcClaim {
    qint64 requestId = 0;
    int attempt = 0;
    RecalcRequest request;
};

// Recalculation requests kept in the database (Incentive_recalc_request) while local updates
// are disabled, and the protocol by which servers next to the database share them out.
//
// Claiming: a server takes the oldest queued request with one UPDATE whose condition is the
// state it read (status queued, attempts as read); only one server's UPDATE can find that row,
// so a request is never run by two servers at once. The claim records the server's host and
// process id, counts one more attempt and sets the heartbeat time, which the server renews
// while it works. Every later write of the server (heartbeat, outcome) carries the same claim
// condition, so a server that lost its claim changes nothing.
//
// Reclaiming: a running request whose server is gone goes back to the queue. Gone means its
// process no longer exists when it ran on this host (or the claim names this very process but
// this queue does not hold it: an earlier process with the same id left it), or its heartbeat
// is older than the stale period whatever the host.
// Heartbeat times are UTC from the servers' clocks, so the stale period must exceed both the
// longest pause between two progress reports of a recalculation and the clock difference
// between hosts. A request abandoned maxAttempts times (it may be what kills its servers) is
// failed instead of being run again.
class RecalcQueue {
public:
    enum Status { Queued = 0, Running = 1, Done = 2, Failed = 3 };

    struct Policy {
        int staleSeconds = 120;
        int maxAttempts = 3;
    };

    static void enqueue(db::Connection& connection, const RecalcRequest& request,
                        const QString& requestedBy);

    // Fails with a message that says what to add when the table predates the claim columns.
    static void requireClaimColumns(db::Connection& connection);

    RecalcQueue(db::Connection& connection, QueueServerId self, Policy policy);

    // A running request whose server was gone: back in the queue (Queued) or given up (Failed).
    struct Reclaimed {
        qint64 requestId;
        Status status;
    };

    // Puts back in the queue (or fails) every running request whose server is gone.
    QList<Reclaimed> reclaimAbandoned();
    // Claims the oldest queued request; nothing when none is left.
    std::optional<RecalcClaim> claimNext();
    // Claims one request as it was seen queued, with attemptsSeen claims before; nothing when
    // it is no longer so (another server claimed it first).
    std::optional<RecalcClaim> claim(qint64 requestId, int attemptsSeen);
    // Renews the claim's heartbeat; false when the claim is no longer this server's.
    bool heartbeat(const RecalcClaim& claim);
    // Records the outcome (Done or Failed) with its message; false when the claim was lost and
    // nothing was written.
    bool finish(const RecalcClaim& claim, Status status, const QString& message);

    const Policy& policy() const { return policy_; }

private:
    // What a running request's claim says of its server.
    enum class Claimer { Alive, Gone, Silent };

    Claimer claimer(qint64 requestId, const QString& host, qint64 pid,
                    const QDateTime& heartbeat) const;
    bool putBack(qint64 requestId, int attempts, Claimer claimer);
    bool tryClaim(qint64 requestId, int attempts);
    RecalcClaim readClaim(qint64 requestId);
    QString claimCondition(const RecalcClaim& claim) const;

    db::Connection& connection_;
    QueueServerId self_;
    Policy policy_;
    std::set<qint64> held_; // requests claimed here and not yet finished or lost
};

} // namespace velora::engine
