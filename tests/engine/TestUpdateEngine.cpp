#include "EngineFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "engine/FormulaEvaluator.h"
#include "engine/RecalcQueue.h"
#include "engine/UpdateEngine.h"

#include <QSignalSpy>
#include <QTest>

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

class NullObserver final : public velora::engine::RecalcObserver {
public:
    void progress(qint64, qint64) override {}
    void rowError(int, const QString&) override {}
    bool cancelRequested() const override { return false; }
};

} // namespace

class TestUpdateEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runRecalculatesAndCompletesAfterReturning() {
        EngineFixture f;
        f.setFormula(1, QStringLiteral("Results.IPay = TrueLines / 10"));
        f.addRow(QStringLiteral("o'brien"), 10, QDate::currentDate().toString(Qt::ISODate), 50, 1);
        UpdateEngine engine;
        pointAtFixture(engine, f);
        engine.Filter(QStringLiteral("Trans_info.trans_id = 'o''brien'"));
        QSignalSpy complete(&engine, &UpdateEngine::OnUpdateComplete);
        QSignalSpy progress(&engine, &UpdateEngine::progress);
        engine.Run();
        // The completion event is delivered after Run has returned, not during it.
        QCOMPARE(complete.count(), 0);
        QVERIFY(complete.wait(5000));
        QVERIFY(progress.count() >= 1);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, QDate::currentDate().toString(Qt::ISODate)),
                 5.0);
    }

    void unreachableDatabaseFailsRun() {
        UpdateEngine engine;
        engine.ServerName(QStringLiteral("(embedded)"));
        engine.DatabaseName(QStringLiteral("/nonexistent/folder/x.sqlite"));
        try {
            engine.Run();
            QFAIL("Run must fail");
        } catch (const velora::db::DbError& e) {
            QVERIFY(e.number() != 0 && e.number() != 6);
            QVERIFY(!e.description().isEmpty());
        }
        QVERIFY(!engine.isRunning());
    }

    void disabledLocalUpdatesQueueTheRequest() {
        EngineFixture f;
        f.setFormula(1, QStringLiteral("Results.IPay = 7"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        f.addRow(QStringLiteral("ann"), 10, today, 50, 1);
        UpdateEngine engine;
        pointAtFixture(engine, f);
        bool disabled = true;
        engine.LocalUpdatesDisabled(disabled);
        engine.Filter(QStringLiteral("Trans_info.trans_id = 'ann'"));
        QSignalSpy complete(&engine, &UpdateEngine::OnUpdateComplete);
        engine.Run();
        QVERIFY(complete.wait(5000));
        QCOMPARE(f.value("incent_pay", "ann", 10, today), 0.0);
        QCOMPARE(f.database().scalar(QStringLiteral(
                     "SELECT filter FROM Incentive_recalc_request WHERE status = 0")),
                 QStringLiteral("Trans_info.trans_id = 'ann'"));

        NullObserver observer;
        QCOMPARE(velora::engine::RecalcQueue::processPending(f.connection(), observer), 1);
        QCOMPARE(f.value("incent_pay", "ann", 10, today), 7.0);
        QCOMPARE(f.database().scalar(QStringLiteral("SELECT status FROM Incentive_recalc_request")),
                 QStringLiteral("2"));
    }

    void evaluatorReadsTheRowAndKeepsInputs() {
        EngineFixture f;
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 1200, 6);
        velora::engine::FormulaEvaluator evaluator(f.connection());
        evaluator.ShiftDate(QDate(2026, 3, 2));
        evaluator.TransID(QStringLiteral("ann"));
        evaluator.AccountID(10);
        evaluator.Evaluate(QStringLiteral("Results.IPay = TrueLines / Hours"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QCOMPARE(evaluator.ResultPay(), 200.0f);
        QCOMPARE(evaluator.ResultHours(), 0.0f); // only IPay is set
        // Inputs are kept: a second evaluation without setting them reads the same row.
        evaluator.Evaluate(QStringLiteral("Results.IHours = Hours"));
        QCOMPARE(evaluator.ResultHours(), 6.0f);
        // A day without a row reads as zeros.
        evaluator.ShiftDate(QDate(2026, 3, 3));
        evaluator.Evaluate(QStringLiteral("Results.ILines = TrueLines + 1"));
        QCOMPARE(evaluator.ResultLines(), 1.0f);
    }

    void evaluatorErrorStaysUntilReset() {
        EngineFixture f;
        velora::engine::FormulaEvaluator evaluator(f.connection());
        evaluator.TransID(QStringLiteral("ann"));
        evaluator.Evaluate(QStringLiteral("x = 1\r\nResults.IPay = 1 / 0"));
        QCOMPARE(evaluator.ErrorNumber(), 11);
        QCOMPARE(evaluator.ErrorLine(), 2);
        QCOMPARE(evaluator.ErrorText(), QStringLiteral("Results.IPay = 1 / 0"));
        evaluator.Evaluate(QStringLiteral("Results.IPay = 2"));
        QCOMPARE(evaluator.ErrorNumber(), 11);
        evaluator.Reset();
        QCOMPARE(evaluator.ErrorNumber(), 0);
        evaluator.Evaluate(QStringLiteral("Results.IPay = 2"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QCOMPARE(evaluator.ResultPay(), 2.0f);
    }

    void evaluatorGivesIncentiveFunctionsFromTheGroup() {
        EngineFixture f;
        f.setFormula(5, QStringLiteral("Results.ILines = TrueLines * 2"));
        f.setFormula(6, QStringLiteral("Results.IHours = 4"));
        f.assign(1, -1, QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("1"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 100, 6);
        velora::engine::FormulaEvaluator evaluator(f.connection());
        evaluator.ShiftDate(QDate(2026, 3, 2));
        evaluator.TransID(QStringLiteral("ann"));
        evaluator.AccountID(10);
        evaluator.Evaluate(QStringLiteral("Results.IPay = ITypedLines + IHoursWorked"));
        QCOMPARE(evaluator.ErrorNumber(), 0);
        QCOMPARE(evaluator.ResultPay(), 204.0f);
    }
};

VELORA_TEST(TestUpdateEngine)
#include "TestUpdateEngine.moc"
