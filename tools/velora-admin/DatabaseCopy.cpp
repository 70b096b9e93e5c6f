#include "DatabaseCopy.h"

#include "SqliteFile.h"

#include "db/SqliteStatement.h"

#include <sqlite3.h>

namespace velora::admin {

namespace {

// Finishes the backup object on every way out of copy().
class BackupHandle {
public:
    explicit BackupHandle(sqlite3_backup* backup)
        : backup_(backup) {}
    ~BackupHandle() {
        if (backup_)
            sqlite3_backup_finish(backup_);
    }
    BackupHandle(const BackupHandle&) = delete;
    BackupHandle& operator=(const BackupHandle&) = delete;

    sqlite3_backup* get() const { return backup_; }
    int finish() {
        const int rc = sqlite3_backup_finish(backup_);
        backup_ = nullptr;
        return rc;
    }

private:
    sqlite3_backup* backup_;
};

bool isBusy(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace

int DatabaseCopy::copy(SqliteFile& source, SqliteFile& destination) const {
    sqlite3* target = destination.handle();
    BackupHandle backup(sqlite3_backup_init(target, "main", source.handle(), "main"));
    if (!backup.get())
        db::throwSqliteError(target, sqlite3_errcode(target),
                             QStringLiteral("Cannot start copying %1").arg(source.path()));

    int pagesPerStep = options_.pagesPerStep;
    int restarts = 0;
    int busyWaited = 0;
    int lastRemaining = -1;
    for (;;) {
        const int rc = sqlite3_backup_step(backup.get(), pagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (isBusy(rc)) {
            if (busyWaited >= options_.busyGiveUpMs)
                db::throwSqliteError(target, rc,
                                     QStringLiteral("%1 stayed locked for %2 s")
                                         .arg(source.path())
                                         .arg(busyWaited / 1000));
            sqlite3_sleep(options_.busyPauseMs);
            busyWaited += options_.busyPauseMs;
            continue;
        }
        if (rc != SQLITE_OK)
            db::throwSqliteError(target, rc,
                                 QStringLiteral("Copying %1 failed").arg(source.path()));
        busyWaited = 0;
        // Pages left that did not go down mean the copy started again after a write.
        const int remaining = sqlite3_backup_remaining(backup.get());
        if (lastRemaining >= 0 && remaining >= lastRemaining &&
            ++restarts >= options_.restartsBeforeOneStep)
            pagesPerStep = -1;
        lastRemaining = remaining;
        if (betweenSteps_)
            betweenSteps_();
    }
    const int pages = sqlite3_backup_pagecount(backup.get());
    const int rc = backup.finish();
    if (rc != SQLITE_OK)
        db::throwSqliteError(target, rc, QStringLiteral("Copying %1 failed").arg(source.path()));
    return pages;
}

} // namespace velora::admin
