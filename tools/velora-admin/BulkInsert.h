#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace velora::admin {

// One prepared statement on a raw SQLite handle, run once per row with its values bound by
// position: insert(a, b, c) binds ?1, ?2, ?3, steps and resets. Made for millions of rows,
// so values are bound without conversion through QVariant. Failures throw DbError.
class BulkInsert {
public:
    BulkInsert(sqlite3* db, const char* sql);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    template <typename... Values> void insert(const Values&... values) {
        int index = 0;
        (bind(++index, values), ...);
        stepAndReset();
    }

    std::int64_t rowsInserted() const { return rows_; }

private:
    void bind(int index, int value);
    void bind(int index, std::int64_t value);
    void bind(int index, double value);
    void bind(int index, bool value) { bind(index, value ? 1 : 0); }
    // Text is bound without a copy: it must live until insert() returns, which it does for
    // the caller's arguments.
    void bind(int index, const std::string& value);
    void bind(int index, const QByteArray& value);
    void bind(int index, const QString& value);
    void bind(int index, const std::optional<int>& value);
    void bind(int index, std::nullptr_t);
    void check(int resultCode) const;
    void stepAndReset();

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    std::int64_t rows_ = 0;
};

} // namespace velora::admin
