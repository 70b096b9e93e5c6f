#include "EngineFixture.h"
#include "TestPaths.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "db/SqliteEngine.h"
#include "engine/FormulaEvaluator.h"
#include "engine/RecalcQueue.h"
#include "engine/UpdateEngine.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using velora::engine::RecalcQueue;
using velora::engine::UpdateEngine;
using velora::test::EngineFixture;

namespace {

void pointAtFixture(UpdateEngine& engine, EngineFixture& f) {
    velora::db::ConnectionOptions options;
    options.baseDirectory = f.database().folder();
    engine.setConnectionOptions(options);
    engine.ServerName(QStringLiteral("(embedded)"));
    engine.DatabaseName(QStringLiteral("incentive.sqlite"));
    engine.UserName(QStringLiteral("sa"));
}

// A velora-engine serve-queue process and its output (both channels) as read so far.
struct QueueServer {
    explicit QueueServer(const QString& database) {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(VELORA_ENGINE_PATH),
                      {QStringLiteral("serve-queue"), database, QStringLiteral("--once"),
                       QStringLiteral("--busy-timeout"), QStringLiteral("20")});
    }
    // Reads until the output holds text; false when the process ended or time ran out first.
    bool waitFor(const char* text, const QDeadlineTimer& deadline = QDeadlineTimer(30000)) {
        for (;;) {
            output += process.readAll();
            if (output.contains(text))
                return true;
            if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
        }
    }
    QProcess process;
    QByteArray output;
};

} // namespace

class TestUpdateEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Two servers on other hosts: a claim is one server's; a silent server's request goes back
    // to the queue and its late writes change nothing; the last allowed attempt fails it.
    void queueClaimsAreExclusiveAndSilentServersLoseThem() {
        EngineFixture f;
        auto other = f.database().openAnother();
        RecalcQueue a(f.connection(), {QStringLiteral("host-a"), 11}, {60, 2});
        RecalcQueue b(*other, {QStringLiteral("host-b"), 22}, {60, 2});
        RecalcQueue::enqueue(f.connection(), {}, QStringLiteral("x"));
        RecalcQueue::enqueue(f.connection(), {}, QStringLiteral("x"));
        const auto first = a.claimNext();
        const auto second = b.claimNext();
        QVERIFY(first && second && first->requestId != second->requestId);
        QVERIFY(!a.claimNext());
        QVERIFY(!b.claim(first->requestId, 0)); // seen queued before a claimed it
        QVERIFY(a.heartbeat(*first));
        QVERIFY(b.reclaimAbandoned().isEmpty());

        f.database().exec(QStringLiteral("UPDATE Incentive_recalc_request SET heartbeat_at = "
                                         "'2000-01-01T00:00:00' WHERE claim_host = 'host-a'"));
        QCOMPARE(b.reclaimAbandoned().size(), 1);
        QVERIFY(!b.claim(first->requestId, 0)); // queued again, but claimed once since
        const auto again = b.claimNext();
        QVERIFY(again && again->requestId == first->requestId && again->attempt == 2);
        QVERIFY(!a.heartbeat(*first));
        QVERIFY(!a.finish(*first, RecalcQueue::Done, QStringLiteral("late")));
        QVERIFY(b.finish(*second, RecalcQueue::Done, QStringLiteral("ok")));

        f.database().exec(QStringLiteral("UPDATE Incentive_recalc_request SET heartbeat_at = "
                                         "NULL WHERE status = 1"));
        QCOMPARE(a.reclaimAbandoned().value(0).status, RecalcQueue::Failed);
        QCOMPARE(f.database().scalar(QStringLiteral("SELECT message FROM Incentive_recalc_request "
                                                    "WHERE status = 3")),
                 QStringLiteral("Abandoned by its server 2 times; not run again."));
    }

    // The engine computes on its own thread, or with local updates disabled queues requests.
    // The real queue server: one is killed while it holds a request; two more start while
    // another program holds the database's write lock, wait it out, take the killed server's
    // request back and share out the rest, every request done exactly once.
    void runComputesOrQueuesAndServersOutliveLocksKillsAndRivals() {
        EngineFixture f;
        f.setFormula(1, QStringLiteral("Results.IPay = TrueLines / 10"));
        for (int day = 1; day <= 28; ++day) {
            const QString date = QStringLiteral("2026-02-%1").arg(day, 2, 10, QLatin1Char('0'));
            f.addRow(QStringLiteral("ann"), 10, date, day * 10, 1);
            f.addRow(QStringLiteral("o'brien"), 10, date, day * 20, 1);
        }
        const QStringList filters = {QString(), QStringLiteral("Trans_info.trans_id = 'ann'"),
                                     QStringLiteral("Trans_info.trans_id = 'o''brien'")};
        UpdateEngine engine;
        pointAtFixture(engine, f);
        engine.Filter(filters[2]);
        QSignalSpy complete(&engine, &UpdateEngine::OnUpdateComplete);
        QSignalSpy progress(&engine, &UpdateEngine::progress);
        engine.Run();
        // The completion event is delivered after Run has returned, not during it.
        QCOMPARE(complete.count(), 0);
        QVERIFY(complete.wait(5000) && !progress.isEmpty());
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-02-28"), 56.0);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 0"));

        constexpr int kRequests = 30;
        bool disabled = true;
        engine.LocalUpdatesDisabled(disabled);
        for (int i = 0; i < kRequests; ++i) {
            engine.Filter(filters[i % 3]);
            engine.Run();
        }
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-02-28"), 0.0);
        const QString running =
            QStringLiteral("SELECT COUNT(*) FROM Incentive_recalc_request WHERE status = 1");
        QByteArray log;
        for (int tries = 0; tries < 10 && f.database().scalar(running) == QStringLiteral("0");
             ++tries) {
            QueueServer killed(f.database().path());
            QVERIFY2(killed.waitFor("claimed"), killed.output.constData());
            killed.process.kill();
            QVERIFY(killed.process.waitForFinished());
            log += killed.output + killed.process.readAll();
        }
        QCOMPARE(f.database().scalar(running), QStringLiteral("1"));

        auto& sqlite = dynamic_cast<velora::db::SqliteEngine&>(*f.connection().engine());
        sqlite.executeNative(QStringLiteral("BEGIN IMMEDIATE"));
        QueueServer first(f.database().path());
        QueueServer second(f.database().path());
        const bool bothWaited = first.waitFor("database busy") && second.waitFor("database busy");
        sqlite.executeNative(QStringLiteral("ROLLBACK"));
        QVERIFY2(bothWaited, QByteArray(first.output + second.output).constData());
        for (QueueServer* server : {&first, &second}) {
            QVERIFY(server->process.waitForFinished(60000));
            log += server->output + server->process.readAll();
            QVERIFY2(server->process.exitCode() == 0, log.constData());
        }
        // Never twice. A killed server may finish a request and die before it says so, so the
        // database, not the log, tells that every request was done.
        for (int id = 1; id <= kRequests; ++id)
            QVERIFY2(log.count(QByteArray("request " + QByteArray::number(id) + " done")) <= 1,
                     log.constData());
        QCOMPARE(f.database().scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM Incentive_recalc_request WHERE status <> 2")),
                 QStringLiteral("0"));
        const QString done = QStringLiteral(
            "SELECT COUNT(*) FROM Incentive_recalc_request WHERE status = 2 AND attempts = ");
        QCOMPARE(f.database().scalar(done + "1"), QString::number(kRequests - 1));
        QCOMPARE(f.database().scalar(done + "2"), QStringLiteral("1")); // the killed server's
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-02-28"), 56.0);

        engine.DatabaseName(QStringLiteral("/nonexistent/folder/x.sqlite"));
        try {
            engine.Run();
            QFAIL("Run must fail");
        } catch (const velora::db::DbError& e) {
            QVERIFY(e.number() != 0 && e.number() != 6 && !e.description().isEmpty());
        }
        QVERIFY(!engine.isRunning());
    }

    void evaluatorReadsTheRowKeepsInputsAndErrors() {
        EngineFixture f;
        f.setFormula(5, QStringLiteral("Results.ILines = TrueLines * 2"));
        f.setFormula(6, QStringLiteral("Results.IHours = 4"));
        f.assign(1, -1, QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("1"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 1200, 6);
        velora::engine::FormulaEvaluator evaluator(f.connection());
        evaluator.ShiftDate(QDate(2026, 3, 2));
        evaluator.TransID(QStringLiteral("ann"));
        evaluator.AccountID(10);
        evaluator.Evaluate(QStringLiteral("Results.IPay = TrueLines / Hours"));
        QCOMPARE(evaluator.ResultPay(), 200.0f);
        QCOMPARE(evaluator.ResultHours(), 0.0f); // only IPay is set
        // Inputs are kept: a second evaluation without setting them reads the same row, and
        // the incentive functions come from the user's group.
        evaluator.Evaluate(QStringLiteral("Results.IPay = ITypedLines + IHoursWorked"));
        QCOMPARE(evaluator.ResultPay(), 2404.0f);
        // A day without a row reads as zeros.
        evaluator.ShiftDate(QDate(2026, 3, 3));
        evaluator.Evaluate(QStringLiteral("Results.ILines = TrueLines + 1"));
        QCOMPARE(evaluator.ResultLines(), 1.0f);
        // An error stays until Reset.
        evaluator.Evaluate(QStringLiteral("x = 1\r\nResults.IPay = 1 / 0"));
        QCOMPARE(evaluator.ErrorNumber(), 11);
        QCOMPARE(evaluator.ErrorLine(), 2);
        QCOMPARE(evaluator.ErrorText(), QStringLiteral("Results.IPay = 1 / 0"));
        evaluator.Evaluate(QStringLiteral("Results.IPay = 2"));
        QCOMPARE(evaluator.ErrorNumber(), 11);
        evaluator.Reset();
        evaluator.Evaluate(QStringLiteral("Results.IPay = 2"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QCOMPARE(evaluator.ResultPay(), 2.0f);
    }
};

VELORA_TEST(TestUpdateEngine)
#include "TestUpdateEngine.moc"
