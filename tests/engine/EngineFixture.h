#pragma once

#include "common/TestDatabase.h"

namespace velora::test {

// A small incentive database for engine tests: three groups (3 without formula rows), four
// transcriptionists and an administrator, two accounts, no automatic locking, and helpers to
// set preferences and formulas and read results back.
class EngineFixture {
public:
    EngineFixture();

    TestDatabase& database() { return db_; }
    db::Connection& connection() { return db_.connection(); }

    // A system-level preference.
    void setPreference(const QString& key, const QString& value);
    // Stores a formula under an id (replacing it) and returns the id.
    int setFormula(int id, const QString& text);
    void assign(int groupId, int accountId, const QString& typed, const QString& hours,
                const QString& pay);
    void addRow(const QString& transId, int account, const QString& day, double lines,
                double hoursSystem, double hoursTyped = 0, int locked = 0);
    // A result column of one row, as a double.
    double value(const QString& column, const QString& transId, int account, const QString& day);
    // The three results of one row as "typed hours pay".
    QString results(const QString& transId, int account, const QString& day);

private:
    TestDatabase db_;
};

} // namespace velora::test
