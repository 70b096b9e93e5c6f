#include "SqliteBusyWait.h"

#include <sqlite3.h>
#include <thread>

namespace velora::db {

void SqliteBusyWait::install(sqlite3* db) {
    sqlite3_busy_handler(db, &SqliteBusyWait::retry, this);
}

// SQLite calls this with attempt 0, 1, 2... while one statement finds the database locked;
// non-zero asks for another try.
int SqliteBusyWait::retry(void* self, int attempt) {
    auto* wait = static_cast<SqliteBusyWait*>(self);
    if (attempt == 0)
        wait->waiting_.start();
    if (wait->waiting_.hasExpired(wait->timeoutMs_))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 20 ? 1 : 3));
    return 1;
}

} // namespace velora::db
