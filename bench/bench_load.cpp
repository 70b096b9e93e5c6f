// Several workstations on one database: four processes each save a week (seven rows in one
// transaction) and queue that user's recalculation every second and load weeks in between, while
// one velora-engine serve-queue works the queue, and each of the four starts a full
// recalculation at the same moment (as every workstation does at start-up). Before they start
// every unlocked row gets results that differ from its formulas' (a rule change), so the first
// recalculations have work to write. Prints the failed writes and the write waits with their
// targets; never fails on time.
//
//   velora-admin demo /tmp/demo1000 --users 1000 --days 1095
//   bench_load /tmp/demo1000 [SECONDS]       (default 60)
#include "BenchDatabase.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "detail/WeekStatements.h"
#include "engine/RecalcJob.h"
#include "engine/RecalcQueue.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace velora;
using namespace velora::bench;

namespace {

constexpr int kWorkstations = 4;

std::unique_ptr<db::Connection> open(const QString& path) {
    auto connection = std::make_unique<db::Connection>();
    connection->open(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") + path +
                     QStringLiteral(";Data Source=(embedded)"));
    return connection;
}

class QuietObserver final : public engine::RecalcObserver {
public:
    void progress(qint64, qint64) override {}
    void rowError(int, const QString&) override {}
    bool cancelRequested() const override { return false; }
};

// A user's unlocked week on one account: what a workstation saves.
struct Week {
    QString transId;
    int account = 0;
    QDate monday;
};

std::vector<Week> unlockedWeeks(db::Connection& connection) {
    std::vector<Week> weeks;
    for (db::Recordset rows = connection.openRecordset(QStringLiteral(
             "SELECT trans_id, hosp_acct_id, MIN(shift_date) FROM Trans_incentive WHERE locked = "
             "0 GROUP BY trans_id, hosp_acct_id"));
         !rows.eof(); rows.moveNext()) {
        const QDate first = QDate::fromString(rows.value(2).toString(), Qt::ISODate);
        weeks.push_back({rows.value(0).toString(), rows.value(1).toInt(),
                         first.addDays(8 - first.dayOfWeek())});
    }
    return weeks;
}

// One write as the program makes it: a transaction, timed from asking for the lock to commit.
template <typename Work> void timedWrite(db::Connection& connection, Work work) {
    QElapsedTimer timer;
    timer.start();
    bool ok = true;
    try {
        db::Transaction transaction(connection);
        work();
        transaction.commit();
    } catch (const db::DbError& e) {
        ok = false;
        std::fprintf(stderr, "  write failed: %s\n", qPrintable(e.description()));
    }
    std::printf("W %lld %d\n", static_cast<long long>(timer.elapsed()), ok ? 1 : 0);
    std::fflush(stdout);
}

void saveWeek(db::Connection& connection, const Week& week) {
    timedWrite(connection, [&] {
        for (int day = 0; day < 7; ++day)
            connection.execute(QStringLiteral("UPDATE Trans_incentive SET lines_modified = "
                                              "lines_modified + 1 WHERE trans_id = '") +
                               QString(week.transId).replace(u'\'', QStringLiteral("''")) +
                               QStringLiteral("' AND hosp_acct_id = ") +
                               QString::number(week.account) +
                               QStringLiteral(" AND shift_date = '") +
                               week.monday.addDays(day).toString(Qt::ISODate) +
                               QStringLiteral("' AND locked = 0"));
    });
    engine::RecalcRequest request;
    request.filter = QStringLiteral("Trans_info.trans_id = '") +
                     QString(week.transId).replace(u'\'', QStringLiteral("''")) + QLatin1Char('\'');
    timedWrite(connection,
               [&] { engine::RecalcQueue::enqueue(connection, request, QStringLiteral("bench")); });
}

void loadWeek(db::Connection& connection, const Week& week) {
    connection.openRecordset(detail::WeekStatements::lastLockedDate());
    connection.openRecordset(
        detail::WeekStatements::days(week.transId, QString::number(week.account), week.monday, 1));
}

// Child: the workstation's start-up recalculation on its own thread and connection; saves
// every second and week loads in between on the main one.
int workstation(const QString& path, int seconds, unsigned seed) {
    QThread* recalc = QThread::create([path] {
        auto connection = open(path);
        QuietObserver observer;
        QElapsedTimer timer;
        timer.start();
        try {
            engine::RecalcJob job(*connection, observer);
            const auto summary = job.run(engine::RecalcRequest{});
            std::printf("R %.2f %lld\n", static_cast<double>(timer.elapsed()) / 1000.0,
                        static_cast<long long>(summary.rowsWritten));
        } catch (const db::DbError& e) {
            std::printf("R failed\n");
            std::fprintf(stderr, "  recalculation failed: %s\n", qPrintable(e.description()));
        }
        std::fflush(stdout);
    });
    recalc->start();
    auto connection = open(path);
    const std::vector<Week> weeks = unlockedWeeks(*connection);
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, weeks.size() - 1);
    QElapsedTimer clock;
    clock.start();
    qint64 loads = 0;
    for (int second = 0; second < seconds; ++second) {
        saveWeek(*connection, weeks[pick(random)]);
        while (clock.elapsed() < (second + 1) * 1000LL) {
            loadWeek(*connection, weeks[pick(random)]);
            ++loads;
        }
    }
    recalc->wait();
    delete recalc;
    std::printf("L %lld\n", static_cast<long long>(loads));
    return 0;
}

// Every unlocked row gets results its formulas will not give, as after a rule change.
void prepare(const QString& source, const QString& copy) {
    QFile::copy(source, copy);
    auto connection = open(copy);
    connection->execute(QStringLiteral(
        "UPDATE Trans_incentive SET incent_pay = incent_pay + 1, incent_pay_modified = "
        "incent_pay_modified + 1 WHERE locked = 0"));
}

double percentile(std::vector<qint64> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return static_cast<double>(
        values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))]);
}

int parent(const QString& self, const QString& source, int seconds) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("incentive.sqlite"));
    prepare(source, copy);
    QProcess server;
    server.start(
        QFileInfo(self).absolutePath() + QStringLiteral("/../bin/velora-engine"),
        {QStringLiteral("serve-queue"), copy, QStringLiteral("--interval"), QStringLiteral("1")});
    std::vector<std::unique_ptr<QProcess>> stations;
    for (int i = 0; i < kWorkstations; ++i) {
        stations.push_back(std::make_unique<QProcess>());
        stations.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        stations.back()->start(self, {QStringLiteral("--workstation"), copy,
                                      QString::number(seconds), QString::number(i + 1)});
    }
    std::vector<qint64> waits;
    int failed = 0;
    qint64 loads = 0;
    QStringList recalcs;
    for (auto& station : stations) {
        station->waitForFinished(-1);
        for (const QByteArray& line : station->readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts[0] == "W" && parts.size() == 3) {
                waits.push_back(parts[1].toLongLong());
                failed += parts[2] == "0" ? 1 : 0;
            } else if (parts[0] == "R") {
                recalcs << QString::fromUtf8(line.mid(2));
            } else if (parts[0] == "L" && parts.size() == 2) {
                loads += parts[1].toLongLong();
            }
        }
    }
    server.terminate();
    server.waitForFinished(10000);
    auto queue = open(copy);
    const QString done =
        queue
            ->openRecordset(QStringLiteral("SELECT COUNT(*) FROM Incentive_recalc_request "
                                           "WHERE status = 2"))
            .value(0)
            .toString();
    std::printf("%d workstations for %d s, one serve-queue\n", kWorkstations, seconds);
    std::printf("  start-up recalculations (seconds, rows written): %s\n",
                qPrintable(recalcs.join(QStringLiteral("; "))));
    std::printf("  writes %zu, failed %d (target 0)\n", waits.size(), failed);
    std::printf("  write wait: median %.0f ms, p99 %.0f ms (target < 2000 ms), worst %.0f ms\n",
                percentile(waits, 0.5), percentile(waits, 0.99), percentile(waits, 1.0));
    std::printf("  week loads %lld; queued recalculations done by serve-queue: %s\n",
                static_cast<long long>(loads), qPrintable(done));
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--workstation"))
        return workstation(args[2], args[3].toInt(), args[4].toUInt());
    if (args.size() < 2 || !QFileInfo::exists(databasePath(args[1]))) {
        std::fprintf(stderr, "usage: bench_load DEMO-DIR-OR-DATABASE [SECONDS]\n");
        return 2;
    }
    return parent(app.applicationFilePath(), databasePath(args[1]),
                  args.size() > 2 ? args[2].toInt() : 60);
}
