#pragma once

#include "db/Connection.h"

namespace velora::detail {

// The shared connection for one operation of the weekly detail: opened when it is closed, and
// closed again when the operation ends, on every path, as each of them leaves it.
class ConnectionUse {
public:
    explicit ConnectionUse(db::Connection& connection)
        : connection_(connection) {
        connection_.ensureOpen();
    }
    ~ConnectionUse() {
        if (connection_.isOpen())
            connection_.close();
    }
    ConnectionUse(const ConnectionUse&) = delete;
    ConnectionUse& operator=(const ConnectionUse&) = delete;

private:
    db::Connection& connection_;
};

} // namespace velora::detail
