#include "BulkInsert.h"

#include "db/SqliteStatement.h"

#include <sqlite3.h>

namespace velora::admin {

BulkInsert::BulkInsert(sqlite3* db, const char* sql)
    : db_(db) {
    check(sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr));
}

BulkInsert::~BulkInsert() {
    sqlite3_finalize(statement_);
}

void BulkInsert::check(int resultCode) const {
    if (resultCode != SQLITE_OK)
        db::throwSqliteError(db_, resultCode, QString::fromUtf8(sqlite3_sql(statement_)));
}

void BulkInsert::bind(int index, int value) {
    check(sqlite3_bind_int(statement_, index, value));
}

void BulkInsert::bind(int index, std::int64_t value) {
    check(sqlite3_bind_int64(statement_, index, value));
}

void BulkInsert::bind(int index, double value) {
    check(sqlite3_bind_double(statement_, index, value));
}

void BulkInsert::bind(int index, const std::string& value) {
    check(sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_STATIC));
}

void BulkInsert::bind(int index, const QByteArray& value) {
    check(sqlite3_bind_text(statement_, index, value.constData(), static_cast<int>(value.size()),
                            SQLITE_STATIC));
}

void BulkInsert::bind(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text(statement_, index, utf8.constData(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT));
}

void BulkInsert::bind(int index, const std::optional<int>& value) {
    if (value)
        bind(index, *value);
    else
        bind(index, nullptr);
}

void BulkInsert::bind(int index, std::nullptr_t) {
    check(sqlite3_bind_null(statement_, index));
}

void BulkInsert::stepAndReset() {
    const int rc = sqlite3_step(statement_);
    if (rc != SQLITE_DONE)
        db::throwSqliteError(db_, rc, QString::fromUtf8(sqlite3_sql(statement_)));
    sqlite3_reset(statement_);
    ++rows_;
}

} // namespace velora::admin
