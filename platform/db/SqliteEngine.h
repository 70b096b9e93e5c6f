#pragma once

#include "ConnectionOptions.h"
#include "DatabaseEngine.h"
#include "SqliteBusyWait.h"
#include "TsqlTranslator.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace velora::db {

// The embedded engine: an SQLite file in WAL mode that waits out other writers (SqliteBusyWait),
// the TEXTCI collation, the functions the translated statements call, and the five procedures of
// the schema implemented here. Every statement passes through TsqlTranslator first.
class SqliteEngine final : public DatabaseEngine {
public:
    enum class OpenMode { Existing, Create };

    SqliteEngine(const QString& path, const ConnectionOptions& options,
                 OpenMode mode = OpenMode::Existing);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine&) = delete;
    SqliteEngine& operator=(const SqliteEngine&) = delete;

    int execute(const QString& statement) override;
    Recordset query(const QString& statement) override;
    Recordset callProcedure(const QString& name, ProcedureParameters& parameters) override;
    void beginTransaction() override;
    void commit() override;
    void rollback() override;

    // Runs SQLite text as it stands (several statements allowed), bypassing the translator.
    // For the schema, the tools and the update engine.
    void executeNative(const QString& sqliteText);
    // The raw handle, with the collation and functions registered, for bulk work in tools.
    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

private:
    Recordset runSql(const QString& sqliteText, int* rowsAffected);
    Recordset runExec(const TranslatedStatement& statement);
    [[noreturn]] void fail(int resultCode, const QString& context) const;

    QString path_;
    sqlite3* db_ = nullptr;
    TsqlTranslator translator_;
    SqliteBusyWait busyWait_;
};

} // namespace velora::db
