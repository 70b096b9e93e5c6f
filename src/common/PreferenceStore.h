#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace velora::db {
class Connection;
}

namespace velora::common {

// Whose preferences a store reads and writes: the logged-in operator's user id, their
// partition, and whether the database runs in partition mode (then every call names the
// partition).
struct PreferenceScope {
    int userId = 0;
    int partitionId = 0;
    bool partitionMode = false;
};

// Reads and writes preference rows through the two preference procedures, on the program's
// shared connection, opening it when it is closed. Database failures reach the caller as
// db::DbError.
class PreferenceStore {
public:
    using StatementObserver = std::function<void(const QString& statement)>;

    PreferenceStore(db::Connection& connection, PreferenceScope scope);

    const PreferenceScope& scope() const { return scope_; }
    void setScope(const PreferenceScope& scope) { scope_ = scope; }

    // The stored value of key at system level (user id -1) or at the operator's level, or
    // defaultValue when there is no row. In partition mode a system-level key without a row
    // for the partition falls back to the row stored for no partition.
    QString GetPreferenceValue(const QString& key, const QString& defaultValue, bool systemLevel);
    // Stores value under key at system or user level, replacing any earlier row.
    bool SetPreferenceValue(const QString& key, const QString& value, bool systemLevel);

    // Sees every statement the store sends, in order (for diagnostics and tests).
    void setStatementObserver(StatementObserver observer) { observer_ = std::move(observer); }

    // Key and value go between quotes through QuoteSql; the ids are numbers. A partition id
    // is passed only when given.
    static QString getStatement(const QString& key, int userId,
                                std::optional<int> partitionId = std::nullopt);
    static QString addStatement(const QString& key, const QString& value, int userId,
                                std::optional<int> partitionId = std::nullopt);

private:
    int levelUserId(bool systemLevel) const;
    std::optional<int> partitionArgument() const;
    // The first column of the first row as text; false when there is no row.
    bool readFirstValue(const QString& statement, QString& value);
    void send(const QString& statement);

    db::Connection& connection_;
    PreferenceScope scope_;
    StatementObserver observer_;
};

} // namespace velora::common
