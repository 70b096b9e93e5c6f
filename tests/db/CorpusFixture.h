#pragma once

#include "common/TestDatabase.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace velora::test {

// A small, hand-made incentive database for running the program's statement texts on the
// embedded engine. The rows are written with plain INSERTs straight into SQLite (not through
// the T-SQL translator), so a translator fault shows in the statement under test and not in
// the set-up.
//
// Partitions: 0 Base; 1 North (parent 0); 2 South (0); 3 North East (1); 4 North West (1,
// deleted); 5 Far North East (3).
// Accounts: 0 Unassigned, 101 Mercy Hospital (p1), 102 St. Luke's Clinic (p3),
// 103 Harbor Radiology (p2, deleted), 104 county general (p2).
// Users (trans_type 1 unless noted): jsmith "Smith, Ann" (p1, group 2); O'Brien "O'Brien, Pat"
// (p1, group 2); k.lee "lee   ", "Kim  " (p3, group 3); mgone "Gone, Max" (p2, group 1,
// deleted); sboss (trans_type 2); tnull (no first name, no partition, group 99 which does not
// exist).
// Formulas: 1 Default Formula, 2 Line Rate, 3 Hourly Bonus (lines-typed formula of group 2 on
// account 101, pay formula of group 3 on 102), 4 accuracy tier (unused).
// Groups: 1 Default Group, 2 Day Shift, 3 night shift, 4 Empty Group (no users).
// Production rows of jsmith span December 2023 to February 2024 (locked on 2023-12-28,
// 2023-12-31 and 2024-01-10); k.lee's row of 2024-01-15 is locked, the latest locked day.
// On 2024-01-30 (jsmith) and 2024-02-01 (k.lee) two accounts of a user share the day's
// largest IHours, 6.00.
// The activity log has rows of every work type, update type and count_activity value.
class CorpusFixture {
public:
    explicit CorpusFixture(const QString& regionalDateFormat = QStringLiteral("MM/dd/yyyy"));

    TestDatabase& database() { return database_; }
    db::Connection& connection() { return database_.connection(); }

    // The rows of a query as "value|value|..." texts, of every column or of the named ones;
    // NULL reads "NULL", a number has at most 12 significant digits. A DbError gives the one
    // text "Error <number>: <description>", so that a comparison shows what failed.
    QStringList rows(const QString& statement, const QStringList& columns = {});
    // The number of rows a statement changed; -1 after a DbError, which is logged.
    int execute(const QString& statement);

private:
    void insertRows();

    TestDatabase database_;
};

// A statement that writes, and the number of rows it must change.
struct Write {
    QString statement;
    int changes = 1;
};
using Writes = QList<Write>;

// Corpus tables: in a fresh fixture read in the regional date format, the writes run in order,
// then the query must give the expected rows. A query without ORDER BY promises no order, so
// both sides are then compared sorted.
void addCorpusColumns();
void corpusRow(const QByteArray& name, const QString& query, const QStringList& expected,
               const Writes& writes = {},
               const QString& regionalDateFormat = QStringLiteral("MM/dd/yyyy"));
void runCorpusRow();

} // namespace velora::test

Q_DECLARE_METATYPE(velora::test::Writes)
