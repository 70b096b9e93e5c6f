#include "DatabasePresence.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqliteEngine.h"

namespace velora::common {

std::unique_ptr<db::Connection> DatabasePresence::hold(const db::Connection& connection,
                                                       const QString& connectionString) {
    auto presence = std::make_unique<db::Connection>(connection.options());
    try {
        presence->open(connectionString);
    } catch (const db::DbError&) {
        return nullptr;
    }
    if (!dynamic_cast<db::SqliteEngine*>(presence->engine()))
        return nullptr;
    return presence;
}

} // namespace velora::common
