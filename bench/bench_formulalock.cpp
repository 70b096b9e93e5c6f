// The formula save's lock-out on a large demo database: the statement that locks the days
// before the effective date of every user whose group uses the formula, for a formula used by
// one group and for the default formula (which every row without an assignment falls back to).
// Each is run on a fresh copy of the database with the effective date after the last day (every
// row of those users locked: the worst case), then once more on the same copy (nothing left to
// lock). Reading the rows (a COUNT over the same condition) is printed beside as the yardstick.
//
//   velora-admin demo /tmp/demo1000 --users 1000 --days 1095
//   bench_formulalock /tmp/demo1000            (or the database file itself)
#include "BenchDatabase.h"
#include "db/Connection.h"
#include "formulas/FormulaEditing.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace velora;
using namespace velora::bench;

namespace {

// A formula that exactly one group names, or 0.
int formulaOfOneGroup(db::Connection& connection) {
    db::Recordset rows = connection.openRecordset(QStringLiteral(
        "SELECT f, COUNT(DISTINCT group_id) FROM (SELECT group_id, pay_formula_id AS f FROM "
        "Incentive_group_formula UNION ALL SELECT group_id, typed_formula_id FROM "
        "Incentive_group_formula UNION ALL SELECT group_id, hours_worked_formula_id FROM "
        "Incentive_group_formula) WHERE f > 1 GROUP BY f HAVING COUNT(DISTINCT group_id) = 1"));
    return rows.eof() ? 0 : rows.value(0).toInt();
}

void measure(const QString& source, int formulaID, const char* label) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("incentive.sqlite"));
    QFile::copy(source, copy);
    db::Connection connection;
    openDatabase(connection, copy);
    db::Recordset last =
        connection.openRecordset(QStringLiteral("SELECT MAX(shift_date) FROM Trans_incentive"));
    const QString date = last.date(last.columnNames().value(0)).addDays(1).toString(Qt::ISODate);
    const QString lock = formulas::FormulaEditing::lockStatement(formulaID, date, false);
    QString count = lock;
    count.replace(QStringLiteral("UPDATE trans_incentive SET locked = 1 Where"),
                  QStringLiteral("SELECT COUNT(*) FROM trans_incentive Where"));

    auto start = Clock::now();
    db::Recordset counted = connection.openRecordset(count);
    const qint64 rows = counted.value(0).toLongLong();
    const double read = secondsSince(start);
    start = Clock::now();
    const int first = connection.execute(lock);
    const double firstLock = secondsSince(start);
    start = Clock::now();
    const int second = connection.execute(lock);
    const double secondLock = secondsSince(start);
    std::printf("%-26s formula %4d: %9lld rows  read %.3f s  lock %.3f s (%d rows, %.1fx read)  "
                "again %.3f s (%.1fx read)\n",
                label, formulaID, static_cast<long long>(rows), read, firstLock, first,
                firstLock / read, secondLock, secondLock / read);
    std::printf("%-26s               (second lock rewrote %d rows)\n", "", second);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_formulalock DEMO-DIR-OR-DATABASE\n");
        return 2;
    }
    const QString path = databasePath(QString::fromLocal8Bit(argv[1]));
    int oneGroup = 0;
    {
        db::Connection connection;
        openDatabase(connection, path);
        oneGroup = formulaOfOneGroup(connection);
    }
    if (oneGroup > 0)
        measure(path, oneGroup, "used by one group");
    else
        std::printf("no formula is used by exactly one group\n");
    measure(path, 1, "default formula");
    return 0;
}
