// Full recalculation of a demo database: rows per second of the update engine beside one
// set-based SQL UPDATE computing the same pay arithmetic on the same file (every row changes),
// a second run that changes nothing beside one set-based pass that only compares, the engine's
// peak memory for a quarter and for all of the rows, and the start-up recalculation once the
// automatic lock-out has locked the old rows. Prints figures and ratios; never fails on time.
//
//   velora-admin demo /tmp/bigdemo --users 1000 --days 1095
//   bench_recalc /tmp/bigdemo/HALVEX/SYSTEM/incentive.sqlite
#include "BenchFormulas.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqliteEngine.h"
#include "engine/RecalcJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

using namespace velora;
using Clock = std::chrono::steady_clock;

namespace {

class QuietObserver final : public engine::RecalcObserver {
public:
    void progress(qint64, qint64) override {}
    void rowError(int, const QString& description) override {
        if (++errors <= 3)
            std::fprintf(stderr, "  row error: %s\n", qPrintable(description));
    }
    bool cancelRequested() const override { return false; }
    int errors = 0;
};

std::unique_ptr<db::Connection> open(const QString& path) {
    auto connection = std::make_unique<db::Connection>();
    connection->open(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") + path +
                     QStringLiteral(";Data Source=(embedded)"));
    return connection;
}

db::SqliteEngine& sqlite(db::Connection& connection) {
    return *dynamic_cast<db::SqliteEngine*>(connection.engine());
}

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Every row unlocked and no automatic locking, so a full run rewrites every row.
void prepareCopy(const QString& source, const QString& copy) {
    QFile::remove(copy);
    auto connection = open(source);
    sqlite(*connection).executeNative(QStringLiteral("VACUUM INTO '") + copy + QStringLiteral("'"));
    connection = open(copy);
    connection->execute(QStringLiteral("UPDATE Trans_incentive SET locked = 0"));
    connection->execute(
        QStringLiteral("EXEC usp_incentive_add_preference -1, 4, 'INCENT_AUTO_LOCKING', '0'"));
    connection->execute(
        QStringLiteral("EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '1'"));
}

void useTieredFormulaEverywhere(db::Connection& connection) {
    QString text = bench::kTieredPayFormula;
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    connection.execute(QStringLiteral("DELETE FROM Incentive_formula WHERE formula_id = 9999"));
    connection.execute(
        QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                       "formula_text, partition_id) VALUES (9999, 'Bench Tiered', '") +
        text + QStringLiteral("', 0)"));
    connection.execute(QStringLiteral("DELETE FROM Incentive_group_formula"));
    connection.execute(
        QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                       "typed_formula_id, hours_worked_formula_id, pay_formula_id) "
                       "SELECT group_id, -1, 9999, 9999, 9999 FROM Incentive_group"));
}

// The tiered formula written as one set-based statement, with the same correction rule.
const char* kSetBasedUpdate = R"SQL(
UPDATE Trans_incentive NOT INDEXED SET
  incent_typed = lines_modified,
  incent_hours_typed = hours_system_modified,
  incent_pay = round(lines_modified * CASE WHEN lines_modified > 2000 THEN 0.095
       WHEN lines_modified > 1500 THEN 0.09 WHEN lines_modified > 1000 THEN 0.085 ELSE 0.08 END, 2)
     + CASE WHEN hours_system_modified > 0 AND lines_modified / hours_system_modified >= 180
       THEN 5 ELSE 0 END,
  incent_typed_modified = CASE WHEN incent_typed_modified = incent_typed THEN lines_modified
       ELSE incent_typed_modified END,
  incent_hours_typed_modified = CASE WHEN incent_hours_typed_modified = incent_hours_typed
       THEN hours_system_modified ELSE incent_hours_typed_modified END,
  incent_pay_modified = CASE WHEN incent_pay_modified = incent_pay THEN
       round(lines_modified * CASE WHEN lines_modified > 2000 THEN 0.095
       WHEN lines_modified > 1500 THEN 0.09 WHEN lines_modified > 1000 THEN 0.085 ELSE 0.08 END, 2)
     + CASE WHEN hours_system_modified > 0 AND lines_modified / hours_system_modified >= 180
       THEN 5 ELSE 0 END ELSE incent_pay_modified END
WHERE locked = 0 AND shift_date BETWEEN '1980-01-01' AND '2030-01-01'
  AND trans_id IN (SELECT trans_id FROM Trans_info WHERE trans_type = 1))SQL";

// The same rows and pay arithmetic, only compared with what the rows hold.
const char* kSetBasedCompare = R"SQL(
SELECT COUNT(*) FROM Trans_incentive NOT INDEXED
WHERE locked = 0 AND shift_date BETWEEN '1980-01-01' AND '2030-01-01'
  AND trans_id IN (SELECT trans_id FROM Trans_info WHERE trans_type = 1)
  AND (incent_typed <> lines_modified OR incent_hours_typed <> hours_system_modified
   OR incent_pay <> round(lines_modified * CASE WHEN lines_modified > 2000 THEN 0.095
       WHEN lines_modified > 1500 THEN 0.09 WHEN lines_modified > 1000 THEN 0.085 ELSE 0.08 END, 2)
     + CASE WHEN hours_system_modified > 0 AND lines_modified / hours_system_modified >= 180
       THEN 5 ELSE 0 END))SQL";

double sumOfPay(db::Connection& connection) {
    return connection.openRecordset(QStringLiteral("SELECT SUM(incent_pay) FROM Trans_incentive"))
        .value(0)
        .toDouble();
}

engine::RecalcSummary runEngine(db::Connection& connection, const engine::RecalcRequest& request,
                                double& elapsed) {
    QuietObserver observer;
    engine::RecalcJob job(connection, observer);
    const auto start = Clock::now();
    const engine::RecalcSummary summary = job.run(request);
    elapsed = seconds(start);
    return summary;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child mode: recalculate one date range and print the peak resident memory.
int child(const QString& path, const QString& from, const QString& to) {
    auto connection = open(path);
    engine::RecalcRequest request;
    request.startDate = QDate::fromString(from, Qt::ISODate);
    request.endDate = QDate::fromString(to, Qt::ISODate);
    double elapsed = 0;
    const auto summary = runEngine(*connection, request, elapsed);
    std::printf("%lld %ld\n", static_cast<long long>(summary.rowsDone), peakKilobytes());
    return 0;
}

void reportMemory(const QString& self, const QString& copy, const QDate& first, const QDate& last) {
    const qint64 span = first.daysTo(last);
    std::printf("peak memory of the engine (separate processes):\n");
    for (const auto& [label, days] :
         {std::pair{"a quarter of the days", span / 4}, std::pair{"all days", span}}) {
        QProcess process;
        process.start(self, {QStringLiteral("--child"), copy, first.toString(Qt::ISODate),
                             first.addDays(days).toString(Qt::ISODate)});
        process.waitForFinished(-1);
        const QStringList parts =
            QString::fromUtf8(process.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
        if (parts.size() == 2)
            std::printf("  %-22s %9s rows   peak %7.1f MiB\n", label, qPrintable(parts[0]),
                        parts[1].toDouble() / 1024.0);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--child"))
        return child(args[2], args[3], args[4]);
    if (args.size() != 2 || !QFileInfo::exists(args[1])) {
        std::fprintf(stderr, "usage: bench_recalc DATABASE\n  make one with: velora-admin demo "
                             "/tmp/bigdemo --users 1000 --days 1095\n");
        return 2;
    }
    const QString copy = QDir::temp().filePath(QStringLiteral("velora-bench-recalc.sqlite"));
    try {
        prepareCopy(args[1], copy);
        auto connection = open(copy);
        const engine::RecalcRequest everything;
        double demoSeconds = 0;
        const auto demo = runEngine(*connection, everything, demoSeconds);
        std::printf("full recalculation, demo formulas (mixed, period functions included)\n");
        std::printf("  %lld rows in %.2f s: %.0f rows/s (%lld failed)\n",
                    static_cast<long long>(demo.rowsDone), demoSeconds,
                    static_cast<double>(demo.rowsDone) / demoSeconds,
                    static_cast<long long>(demo.rowsFailed));

        useTieredFormulaEverywhere(*connection);
        double engineSeconds = 0;
        const auto tiered = runEngine(*connection, everything, engineSeconds);
        const double enginePay = sumOfPay(*connection);

        double unchangedSeconds = 0;
        const auto unchanged = runEngine(*connection, everything, unchangedSeconds);
        auto start = Clock::now();
        const QString differing =
            connection->openRecordset(QString::fromUtf8(kSetBasedCompare)).value(0).toString();
        const double compareSeconds = seconds(start);

        connection->execute(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 0"));
        start = Clock::now();
        sqlite(*connection).executeNative(QStringLiteral("BEGIN IMMEDIATE"));
        sqlite(*connection).executeNative(QString::fromUtf8(kSetBasedUpdate));
        sqlite(*connection).executeNative(QStringLiteral("COMMIT"));
        const double sqlSeconds = seconds(start);
        const double sqlPay = sumOfPay(*connection);

        const double rows = static_cast<double>(tiered.rowsDone);
        std::printf("full recalculation, one tiered pay formula for every group\n");
        std::printf("  update engine     %9.0f rows in %6.2f s: %9.0f rows/s\n", rows,
                    engineSeconds, rows / engineSeconds);
        std::printf("  set-based UPDATE  %9.0f rows in %6.2f s: %9.0f rows/s\n", rows, sqlSeconds,
                    rows / sqlSeconds);
        std::printf("  engine time / set-based time: %.2fx (target at most 1.1x)\n",
                    engineSeconds / sqlSeconds);
        std::printf("  sum of pay: engine %.2f, set-based %.2f\n", enginePay, sqlPay);
        std::printf("the same run again: nothing changes\n");
        std::printf("  update engine     %9lld rows in %6.2f s, %lld written\n",
                    static_cast<long long>(unchanged.rowsDone), unchangedSeconds,
                    static_cast<long long>(unchanged.rowsWritten));
        std::printf("  set-based compare %9.0f rows in %6.2f s, %s differ\n", rows, compareSeconds,
                    qPrintable(differing));
        std::printf("  engine time / compare time: %.2fx (target at most 2x)\n",
                    unchangedSeconds / compareSeconds);

        // The interactive case: one user's rows after a save.
        db::Recordset someone = connection->openRecordset(
            QStringLiteral("SELECT MIN(trans_id) FROM Trans_info WHERE trans_type = 1"));
        QString user = someone.value(0).toString();
        user.replace(QLatin1Char('\''), QStringLiteral("''"));
        engine::RecalcRequest oneUser;
        oneUser.filter = QStringLiteral("Trans_info.trans_id = '") + user + QLatin1Char('\'');
        double userSeconds = 0;
        const auto single = runEngine(*connection, oneUser, userSeconds);
        std::printf("one user's recalculation (the save of a week)\n");
        std::printf("  %lld rows in %.1f ms\n", static_cast<long long>(single.rowsDone),
                    userSeconds * 1000.0);

        db::Recordset span = connection->openRecordset(
            QStringLiteral("SELECT MIN(shift_date), MAX(shift_date) FROM Trans_incentive"));
        reportMemory(app.applicationFilePath(), copy, span.date(span.columnNames()[0]),
                     span.date(span.columnNames()[1]));

        // Start-up: the first run locks the rows older than 30 days; the next start finds the
        // rest unchanged.
        connection->execute(
            QStringLiteral("EXEC usp_incentive_add_preference -1, 4, 'INCENT_AUTO_LOCKING', '30'"));
        double firstSeconds = 0;
        const auto first = runEngine(*connection, everything, firstSeconds);
        double startupSeconds = 0;
        const auto startup = runEngine(*connection, everything, startupSeconds);
        std::printf("start-up recalculation with the automatic lock-out at 30 days\n");
        std::printf("  first: %lld rows locked, %lld computed, %lld written in %.2f s\n",
                    static_cast<long long>(first.rowsAutoLocked),
                    static_cast<long long>(first.rowsDone),
                    static_cast<long long>(first.rowsWritten), firstSeconds);
        std::printf("  next start, rows locked or unchanged: %lld computed, %lld written in "
                    "%.3f s (target < 0.5 s)\n",
                    static_cast<long long>(startup.rowsDone),
                    static_cast<long long>(startup.rowsWritten), startupSeconds);
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "Error %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    QFile::remove(copy);
    return 0;
}
