#include "SqliteFile.h"

#include "AdminError.h"

#include "db/DbError.h"
#include "db/SqliteFunctions.h"
#include "db/SqliteStatement.h"

#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

namespace velora::admin {

namespace {

int openFlags(SqliteFile::Mode mode) {
    switch (mode) {
    case SqliteFile::Mode::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case SqliteFile::Mode::ReadWrite:
        return SQLITE_OPEN_READWRITE;
    case SqliteFile::Mode::CreateNew:
        break;
    }
    return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

} // namespace

SqliteFile::SqliteFile(const QString& path, Mode mode)
    : path_(QFileInfo(path).absoluteFilePath()) {
    // SQLite would create a missing file on a read-write open, and would read a name that
    // begins with "file:" as a URI; the path is absolute and checked first.
    const bool exists = QFileInfo::exists(path_);
    if (mode == Mode::CreateNew && exists)
        throw AdminError(
            AdminError::FileAlreadyExists,
            QStringLiteral("The file %1 already exists; it is not overwritten.").arg(path_));
    if (mode != Mode::CreateNew && !QFileInfo(path_).isFile())
        throw AdminError(AdminError::FileNotFound,
                         QStringLiteral("The database %1 does not exist.").arg(path_));
    const int rc = sqlite3_open_v2(path_.toUtf8().constData(), &db_,
                                   openFlags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw db::DbError(db::ErrorNumber::ConnectionFailed,
                          QStringLiteral("Cannot open database \"%1\": %2").arg(path_, message));
    }
    sqlite3_extended_result_codes(db_, 1);
    if (db::registerSqliteFunctions(db_) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close(db_);
        db_ = nullptr;
        throw db::DbError(db::ErrorNumber::ConnectionFailed, message);
    }
}

SqliteFile::~SqliteFile() {
    sqlite3_close(db_);
}

void SqliteFile::execute(const QString& sqliteText) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sqliteText.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        db::throwSqliteError(db_, rc, text);
    }
}

QString SqliteFile::integrityProblems() {
    // A file that is not a database at all fails the pragma itself ("file is not a
    // database"); that is a problem to report, not an error of the command.
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &statement, nullptr);
    QStringList problems;
    while (statement && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        const QString line = QString::fromUtf8(text ? text : "");
        if (line != QLatin1String("ok"))
            problems.append(line);
    }
    if (rc != SQLITE_DONE)
        problems.append(QString::fromUtf8(sqlite3_errmsg(db_)));
    sqlite3_finalize(statement);
    return problems.join(QLatin1Char('\n'));
}

} // namespace velora::admin
