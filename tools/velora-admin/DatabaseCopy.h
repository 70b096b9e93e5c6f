#pragma once

#include <functional>

namespace velora::admin {

class SqliteFile;

// Copies a whole database into another with SQLite's online backup, a few pages at a time, so
// that the program and the engine keep working on the source meanwhile. When another
// connection writes to the source between two steps, SQLite starts the copy again from the
// first page; after a few such restarts the rest is copied in one step, inside one read
// transaction, which in WAL mode holds up no writer. A source or destination that is busy is
// waited for a while and then reported. The copy is always one consistent state of the source.
class DatabaseCopy {
public:
    struct Options {
        int pagesPerStep = 512;
        int restartsBeforeOneStep = 4;
        int busyPauseMs = 25;
        int busyGiveUpMs = 60000;
    };

    explicit DatabaseCopy(Options options)
        : options_(options) {}
    DatabaseCopy()
        : DatabaseCopy(Options{}) {}

    // Called after every step that left pages to copy (tests write to the source there).
    void setBetweenSteps(std::function<void()> betweenSteps) {
        betweenSteps_ = std::move(betweenSteps);
    }

    // Every page of source's main database into destination's; DbError on failure. Returns
    // the number of pages copied.
    int copy(SqliteFile& source, SqliteFile& destination) const;

private:
    Options options_;
    std::function<void()> betweenSteps_;
};

} // namespace velora::admin
