#pragma once

#include <QElapsedTimer>

struct sqlite3;

namespace velora::db {

// How a connection waits while another program holds the database's write lock: it tries again
// every few milliseconds until the lock is free or the timeout has passed, and only then fails
// with "busy". SQLite's own wait sleeps up to 100 ms between tries, so a writer that commits
// every few tens of milliseconds (the update engine, another workstation) could keep such a
// waiter out far longer than it holds the lock; short tries take the lock soon after it is free.
class SqliteBusyWait {
public:
    explicit SqliteBusyWait(int timeoutMs)
        : timeoutMs_(timeoutMs) {}

    // Installs the wait on the connection; the object must outlive it.
    void install(sqlite3* db);

private:
    static int retry(void* self, int attempt);

    int timeoutMs_;
    QElapsedTimer waiting_;
};

} // namespace velora::db
