#pragma once

#include <QString>

namespace velora::db {

// The database schema of the embedded engine and the creation of a new database from it
// (tables, indexes and the base rows: partition 0, the default formula and group, the
// database version).
class Schema {
public:
    static const char* sqliteText();
    // Creates a new database file; fails with DbError when the file already exists.
    static void createSqliteDatabase(const QString& path);
};

} // namespace velora::db
