#pragma once

#include <QString>
#include <memory>

namespace velora::db {
class Connection;
}

namespace velora::common {

// Keeps an embedded database open for as long as the program runs. The program's own
// operations open their connection and close it again, so between them nothing would show
// that the file is in use; this idle connection does, and velora-admin restore refuses to
// replace a database that the program has open. It never writes and never blocks a writer.
class DatabasePresence {
public:
    // A connection like `connection` to the same database, or nothing for a database that is
    // not embedded or cannot be opened (the program runs on without it).
    static std::unique_ptr<db::Connection> hold(const db::Connection& connection,
                                                const QString& connectionString);
};

} // namespace velora::common
