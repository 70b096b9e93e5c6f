#pragma once

#include <QString>

struct sqlite3;

namespace velora::admin {

// One raw SQLite connection to a database file for the backup and restore commands, with the
// collation and functions of the embedded engine registered (the schema's indexes use the
// collation, so an integrity check needs it). No busy timeout: these commands decide for
// themselves how long to wait. Closed when destroyed.
class SqliteFile {
public:
    enum class Mode {
        ReadOnly,  // an existing file, never written
        ReadWrite, // an existing file
        CreateNew  // a file that must not exist yet
    };

    SqliteFile(const QString& path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Runs SQLite text as it stands; DbError on failure.
    void execute(const QString& sqliteText);
    // The problems PRAGMA integrity_check reports, one a line; "" when the file is sound.
    QString integrityProblems();

private:
    QString path_;
    sqlite3* db_ = nullptr;
};

} // namespace velora::admin
