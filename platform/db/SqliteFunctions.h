#pragma once

struct sqlite3;

namespace velora::db {

// Registers on an SQLite connection what translated statements rely on: the TEXTCI
// collation (letter case and trailing blanks ignored, as SQL Server compares text) and the
// functions vl_add (SQL Server's "+"), Month and Year. Returns an SQLite result code.
int registerSqliteFunctions(sqlite3* db);

// TEXTCI's comparison, exposed for tests: <0, 0, >0.
int compareTextCi(const char* a, int aLength, const char* b, int bLength);

} // namespace velora::db
