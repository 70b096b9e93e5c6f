// Every lock-out statement of the program on a large demo database, worst case first: all rows
// unlocked and the date after the last day, so the statement locks every row it covers. Then the
// same statement once more (nothing left to lock). Reading the covered rows (a COUNT over the
// same condition) is printed beside as the yardstick. Each statement starts from its own copy.
//
//   velora-admin demo /tmp/demo1000 --users 1000 --days 1095
//   bench_lockout /tmp/demo1000            (or the database file itself)
#include "BenchDatabase.h"
#include "db/Connection.h"
#include "engine/RecalcJob.h"
#include "formulas/FormulaEditing.h"
#include "groups/GroupAccount.h"
#include "groups/UserGroupAssignment.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace velora;
using namespace velora::bench;

namespace {

constexpr double kTargetSeconds = 1.0;

QString scalar(db::Connection& connection, const QString& statement) {
    db::Recordset rows = connection.openRecordset(statement);
    return rows.eof() ? QString() : rows.value(0).toString();
}

// The copy every statement starts from: every row unlocked.
QString unlockedCopy(const QString& source, QTemporaryDir& dir) {
    const QString copy = dir.filePath(QStringLiteral("unlocked.sqlite"));
    QFile::copy(source, copy);
    db::Connection connection;
    openDatabase(connection, copy);
    connection.execute(QStringLiteral("UPDATE Trans_incentive SET locked = 0 WHERE locked <> 0"));
    return copy;
}

struct Subjects {
    QString dayAfterLast; // as the operator would type it
    QString user;         // the user with the most rows
    int group = 0;        // the group with the most rows
    int formula = 0;      // a formula that exactly one group names
};

Subjects pickSubjects(db::Connection& connection) {
    Subjects s;
    s.dayAfterLast =
        QDate::fromString(scalar(connection, QStringLiteral("SELECT MAX(shift_date) FROM "
                                                            "Trans_incentive")),
                          Qt::ISODate)
            .addDays(1)
            .toString(QStringLiteral("MM/dd/yyyy"));
    s.user = scalar(connection,
                    QStringLiteral("SELECT trans_id FROM Trans_incentive GROUP BY trans_id ORDER "
                                   "BY COUNT(*) DESC LIMIT 1"));
    s.group =
        scalar(connection, QStringLiteral("SELECT incentive_group_id FROM Trans_info GROUP BY "
                                          "incentive_group_id ORDER BY COUNT(*) DESC LIMIT 1"))
            .toInt();
    s.formula =
        scalar(connection,
               QStringLiteral("SELECT f FROM (SELECT group_id, pay_formula_id AS f FROM "
                              "Incentive_group_formula UNION ALL SELECT group_id, "
                              "typed_formula_id FROM Incentive_group_formula UNION ALL SELECT "
                              "group_id, hours_worked_formula_id FROM Incentive_group_formula) "
                              "WHERE f > 1 GROUP BY f HAVING COUNT(DISTINCT group_id) = 1"))
            .toInt();
    return s;
}

// The statement's rows read instead of locked.
QString countOf(const QString& lock) {
    QString count = lock;
    count.replace(QRegularExpression(QStringLiteral("^UPDATE trans_incentive SET locked = 1 "),
                                     QRegularExpression::CaseInsensitiveOption),
                  QStringLiteral("SELECT COUNT(*) FROM trans_incentive "));
    return count;
}

using Lock = std::function<qint64(db::Connection&)>;

Lock statement(const QString& lock) {
    return [lock](db::Connection& connection) { return connection.execute(lock); };
}

void measure(const QString& unlocked, const char* label, const QString& count, const Lock& lock) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("incentive.sqlite"));
    QFile::copy(unlocked, copy);
    db::Connection connection;
    openDatabase(connection, copy);
    auto start = Clock::now();
    const QString rows = scalar(connection, count);
    const double read = secondsSince(start);
    start = Clock::now();
    const qint64 first = lock(connection);
    const double firstLock = secondsSince(start);
    start = Clock::now();
    const qint64 second = lock(connection);
    const double secondLock = secondsSince(start);
    std::printf("%-22s %8s rows  read %6.3f s  lock %6.3f s (target < %.0f s, %lld rows)  again "
                "%6.3f s = %4.1fx read (target ~1x, %lld rows rewritten)\n",
                label, qPrintable(rows), read, firstLock, kTargetSeconds,
                static_cast<long long>(first), secondLock, secondLock / read,
                static_cast<long long>(second));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_lockout DEMO-DIR-OR-DATABASE\n");
        return 2;
    }
    const QString path = databasePath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir dir;
    const QString unlocked = unlockedCopy(path, dir);
    Subjects s;
    {
        db::Connection connection;
        openDatabase(connection, unlocked);
        s = pickSubjects(connection);
    }
    const QDate after = QDate::fromString(s.dayAfterLast, QStringLiteral("MM/dd/yyyy"));
    std::printf("lock-outs of every covered row before %s (all rows unlocked at the start)\n",
                qPrintable(s.dayAfterLast));
    measure(unlocked, "auto-lock (every row)",
            QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE locked = 0 AND shift_date "
                           "< '") +
                after.toString(Qt::ISODate) + QLatin1Char('\''),
            [after](db::Connection& connection) {
                return engine::RecalcJob::lockBefore(connection, after);
            });
    const struct {
        const char* label;
        QString lock;
    } statements[] = {
        {"user lock-out", groups::UserGroupAssignment::lockStatement(s.user, s.dayAfterLast)},
        {"group lock-out", groups::GroupAccount::lockStatement(s.group, s.dayAfterLast)},
        {"formula of one group",
         formulas::FormulaEditing::lockStatement(s.formula, s.dayAfterLast, false)},
        {"default formula", formulas::FormulaEditing::lockStatement(1, s.dayAfterLast, false)}};
    for (const auto& [label, lock] : statements)
        measure(unlocked, label, countOf(lock), statement(lock));
    return 0;
}
