#include "SqliteEngine.h"

#include "DbError.h"
#include "SqliteFunctions.h"
#include "SqliteProcedures.h"
#include "SqliteStatement.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velora::db {

namespace {

ProcedureParameters parametersFromExec(const QList<ExecArgument>& arguments) {
    ProcedureParameters parameters;
    for (const ExecArgument& argument : arguments) {
        ProcedureParameter parameter;
        parameter.value = argument.value;
        parameter.direction = argument.isOutput ? ProcedureParameter::Direction::Output
                                                : ProcedureParameter::Direction::Input;
        parameter.name = argument.name;
        parameters.append(parameter);
    }
    return parameters;
}

// An EXEC whose procedure returns no rows shows its output value as a one-row result, so a
// statement typed at a prompt reports the new id.
Recordset outputsAsRows(const ProcedureParameters& parameters) {
    for (const ProcedureParameter& parameter : parameters) {
        if (parameter.direction == ProcedureParameter::Direction::Output) {
            QString column = parameter.name.isEmpty() ? QStringLiteral("output") : parameter.name;
            if (column.startsWith(QLatin1Char('@')))
                column.remove(0, 1);
            return Recordset({column}, {{parameter.value}});
        }
    }
    return {};
}

// Creates the empty database file readable and writable by its owner and group only: it holds
// everyone's pay. SQLite gives its -wal and -shm files the mode of the database file, so they
// are covered too. The file must not exist yet.
void createPrivateFile(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
               S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP);
    if (fd < 0) {
        const int error = errno;
        throw DbError(
            error == EEXIST ? ErrorNumber::General : ErrorNumber::ConnectionFailed,
            error == EEXIST
                ? QStringLiteral("Cannot create database \"%1\": the file exists already.")
                      .arg(path)
                : QStringLiteral("Cannot create database \"%1\": %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(error))));
    }
    ::close(fd);
#else
    if (QFileInfo::exists(path))
        throw DbError(
            ErrorNumber::General,
            QStringLiteral("Cannot create database \"%1\": the file exists already.").arg(path));
#endif
}

} // namespace

// The path is made absolute first: SQLite would read a name that begins with "file:" as a URI
// with options of its own.
SqliteEngine::SqliteEngine(const QString& path, const ConnectionOptions& options, OpenMode mode)
    : path_(path.isEmpty() ? path : QFileInfo(path).absoluteFilePath())
    , translator_(options.regionalDateFormat)
    , busyWait_(options.busyTimeoutMs) {
    if (mode == OpenMode::Existing && !QFileInfo(path_).isFile())
        throw DbError(
            ErrorNumber::ConnectionFailed,
            QStringLiteral("Cannot open database \"%1\": the file does not exist.").arg(path));
    if (mode == OpenMode::Create)
        createPrivateFile(path_);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path_.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("Cannot open database \"%1\": %2").arg(path, message));
    }
    sqlite3_extended_result_codes(db_, 1);
    busyWait_.install(db_);
    if (registerSqliteFunctions(db_) != SQLITE_OK)
        fail(sqlite3_errcode(db_), QStringLiteral("registering functions"));
    try {
        // 16 MB of page cache (the default is 2 MB) keeps the indexes that a lock-out or a
        // recalculation walks in memory for the whole statement.
        executeNative(QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
                                     "PRAGMA cache_size = -16384;"));
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteEngine::~SqliteEngine() {
    sqlite3_close_v2(db_);
}

void SqliteEngine::fail(int resultCode, const QString& context) const {
    throwSqliteError(db_, resultCode, context);
}

void SqliteEngine::executeNative(const QString& sqliteText) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sqliteText.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        throwSqliteError(db_, rc, text);
    }
}

Recordset SqliteEngine::runSql(const QString& sqliteText, int* rowsAffected) {
    SqliteStatement statement(db_, sqliteText);
    Recordset rows = statement.readAll();
    if (rowsAffected)
        *rowsAffected = sqlite3_changes(db_);
    return rows;
}

Recordset SqliteEngine::runExec(const TranslatedStatement& statement) {
    ProcedureParameters parameters = parametersFromExec(statement.arguments);
    Recordset rows = callProcedure(statement.procedure, parameters);
    return rows.fieldCount() > 0 ? rows : outputsAsRows(parameters);
}

int SqliteEngine::execute(const QString& statement) {
    const TranslatedStatement translated = translator_.translate(statement);
    if (translated.kind == TranslatedStatement::Kind::Exec) {
        runExec(translated);
        return sqlite3_changes(db_);
    }
    int affected = 0;
    runSql(translated.sql, &affected);
    return affected;
}

Recordset SqliteEngine::query(const QString& statement) {
    const TranslatedStatement translated = translator_.translate(statement);
    if (translated.kind == TranslatedStatement::Kind::Exec)
        return runExec(translated);
    return runSql(translated.sql, nullptr);
}

Recordset SqliteEngine::callProcedure(const QString& name, ProcedureParameters& parameters) {
    SqliteProcedures procedures(db_);
    return procedures.call(name, parameters);
}

void SqliteEngine::beginTransaction() {
    executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteEngine::commit() {
    executeNative(QStringLiteral("COMMIT"));
}

void SqliteEngine::rollback() {
    if (!sqlite3_get_autocommit(db_))
        executeNative(QStringLiteral("ROLLBACK"));
}

} // namespace velora::db
