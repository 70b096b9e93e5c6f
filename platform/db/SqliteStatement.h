#pragma once

#include "Recordset.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace velora::db {

// The DbError for an SQLite result code on a connection, with the number the program shows.
[[noreturn]] void throwSqliteError(sqlite3* db, int resultCode, const QString& context = {});

// One prepared SQLite statement (RAII). Refuses text holding more than one statement.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const QString& sqliteText);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QVariant& value); // 1-based
    bool step();                                 // true while a row is available
    void reset();

    int columnCount() const;
    QVariant column(int index) const;
    // Steps through every row; a statement without result columns gives an empty Recordset.
    Recordset readAll();

    // For loops that read or bind many rows through the C interface.
    sqlite3_stmt* handle() const { return statement_; }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace velora::db
