#pragma once

#include "RecalcRequest.h"

namespace velora::db {
class Connection;
}

namespace velora::engine {

// Recalculation requests kept in the database (Incentive_recalc_request) while local updates
// are disabled, and their processing next to the database.
class RecalcQueue {
public:
    enum Status { Queued = 0, Running = 1, Done = 2, Failed = 3 };

    static void enqueue(db::Connection& connection, const RecalcRequest& request,
                        const QString& requestedBy);

    // Runs every queued request in order; returns how many ran. A request that fails is marked
    // failed with its message and the next one runs.
    static int processPending(db::Connection& connection, RecalcObserver& observer);
};

} // namespace velora::engine
