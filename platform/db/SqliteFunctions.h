#pragma once

#include <string>

struct sqlite3;

namespace velora::db {

// Registers on an SQLite connection what translated statements rely on: the TEXTCI
// collation (letter case and trailing blanks ignored, as SQL Server compares text) and the
// functions vl_add (SQL Server's "+"), Month and Year. Returns an SQLite result code.
int registerSqliteFunctions(sqlite3* db);

// TEXTCI's comparison, exposed for tests: <0, 0, >0.
int compareTextCi(const char* a, int aLength, const char* b, int bLength);

// The form under which TEXTCI finds texts equal: trailing blanks dropped and every character
// case-folded as compareTextCi folds it (UTF-8 in and out). compareTextCi(a, b) is 0 exactly
// when the folded forms are equal byte for byte, so a map keyed by it matches as the database
// does. Written into out, whose storage is reused.
void foldTextCi(const char* text, int length, std::string& out);

} // namespace velora::db
