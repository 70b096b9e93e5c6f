#include "EngineFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "engine/RecalcJob.h"

#include <QTest>

using velora::engine::RecalcJob;
using velora::engine::RecalcRequest;
using velora::test::EngineFixture;

namespace {

class RecordingObserver final : public velora::engine::RecalcObserver {
public:
    void progress(qint64 done, qint64 toDo) override {
        lastDone = done;
        lastToDo = toDo;
        ++progressCalls;
    }
    void rowError(int number, const QString& description) override {
        errors.append(QStringLiteral("%1 %2").arg(number).arg(description));
    }
    bool cancelRequested() const override {
        return cancelAfterProgressCalls > 0 && progressCalls >= cancelAfterProgressCalls;
    }

    QStringList errors;
    qint64 lastDone = 0;
    qint64 lastToDo = 0;
    int progressCalls = 0;
    int cancelAfterProgressCalls = 0; // 0: never cancel
};

const QString kLineRate = QStringLiteral("Results.ILines = TrueLines\r\n"
                                         "Results.IHours = Hours\r\n"
                                         "Results.IPay = Round(TrueLines * 0.01, 2)");

} // namespace

class TestRecalcJob : public QObject {
    Q_OBJECT

private:
    velora::engine::RecalcSummary recalc(EngineFixture& f, RecordingObserver& observer,
                                         const QString& filter = {},
                                         RecalcJob::Path path = RecalcJob::Path::Automatic) {
        RecalcJob job(f.connection(), observer, path);
        job.setToday(QDate(2026, 3, 20));
        RecalcRequest request;
        request.filter = filter;
        return job.run(request);
    }

private Q_SLOTS:
    void writesResultsKeepsCorrectionsAndLockedRows_data() {
        QTest::addColumn<int>("path");
        QTest::newRow("set-based") << static_cast<int>(RecalcJob::Path::Automatic);
        QTest::newRow("row by row") << static_cast<int>(RecalcJob::Path::Generic);
    }
    void writesResultsKeepsCorrectionsAndLockedRows() {
        QFETCH(int, path);
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(1, kLineRate);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 1500, 7.5);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-03"), 2000, 8);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-02-27"), 1000, 6, 0, 1);
        // A supervisor's correction of the pay: modified differs from collected.
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay_modified = 99 "
                                         "WHERE shift_date = '2026-03-03'"));
        RecordingObserver observer;
        const auto summary = recalc(f, observer, {}, static_cast<RecalcJob::Path>(path));

        QCOMPARE(summary.rowsToDo, 2);
        QCOMPARE(summary.rowsFailed, 0);
        QVERIFY(observer.errors.isEmpty());
        QCOMPARE(observer.lastDone, 2);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 15.0);
        QCOMPARE(f.value("incent_pay_modified", "ann", 10, "2026-03-02"), 15.0);
        QCOMPARE(f.value("incent_typed_modified", "ann", 10, "2026-03-02"), 1500.0);
        QCOMPARE(f.value("incent_hours_typed_modified", "ann", 10, "2026-03-02"), 7.5);
        // The correction survives; its collected twin takes the new value.
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-03"), 20.0);
        QCOMPARE(f.value("incent_pay_modified", "ann", 10, "2026-03-03"), 99.0);
        // The locked row is never touched.
        QCOMPARE(f.value("incent_pay_modified", "ann", 10, "2026-02-27"), 0.0);
        QCOMPARE(f.value("incent_typed", "ann", 10, "2026-02-27"), 0.0);
    }

    void assignmentLookupAndFallbacks() {
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(1, QStringLiteral("Results.IPay = 1"));
        f.setFormula(5, QStringLiteral("Results.IPay = 5 : Results.ILines = 50"));
        f.setFormula(6, QStringLiteral("Results.IPay = 6 : Results.ILines = 60 : "
                                       "Results.IHours = 6"));
        f.setFormula(7, QStringLiteral("Results.IHours = 7"));
        // Group 2: account 20 has its own row with a NULL typed formula (= the pay formula);
        // other accounts fall back to -1.
        f.assign(2, 20, QStringLiteral("NULL"), QStringLiteral("7"), QStringLiteral("6"));
        f.assign(2, -1, QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"));
        f.addRow(QStringLiteral("o'brien"), 20, QStringLiteral("2026-03-02"), 100, 1);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-03-02"), 100, 1);
        // A user whose group has no rows at all gets formula 1 for all three.
        f.database().exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name) "
                                         "VALUES (3, 'Empty')"));
        f.database().exec(QStringLiteral("UPDATE Trans_info SET incentive_group_id = 3 WHERE "
                                         "trans_id = 'ann'"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 100, 1);
        RecordingObserver observer;
        recalc(f, observer);

        QCOMPARE(f.value("incent_pay", "o'brien", 20, "2026-03-02"), 6.0);
        QCOMPARE(f.value("incent_typed", "o'brien", 20, "2026-03-02"), 60.0);
        QCOMPARE(f.value("incent_hours_typed", "o'brien", 20, "2026-03-02"), 7.0);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-03-02"), 5.0);
        QCOMPARE(f.value("incent_typed", "o'brien", 10, "2026-03-02"), 50.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 1.0);
    }

    void incentiveFunctionsFeedThePayFormula() {
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(5, QStringLiteral("Results.ILines = TrueLines * 2"));
        f.setFormula(6, QStringLiteral("Results.IHours = Hours + 1"));
        f.setFormula(7, QStringLiteral("Results.IPay = ITypedLines / 100 + IHoursWorked"));
        f.assign(1, -1, QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 300, 7);
        RecordingObserver observer;
        recalc(f, observer);
        QCOMPARE(f.value("incent_typed", "ann", 10, "2026-03-02"), 600.0);
        QCOMPARE(f.value("incent_hours_typed", "ann", 10, "2026-03-02"), 8.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 14.0);
    }

    void failingRowsStayUnchangedAndAreReported() {
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(1, QStringLiteral("Results.IPay = TrueLines / Hours"));
        f.setFormula(8, QStringLiteral("Results.IPay = NoSuchInput"));
        f.assign(2, -1, QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 300, 0);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-03"), 300, 6);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-03-03"), 300, 6);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 3, "
                                         "incent_pay_modified = 3"));
        RecordingObserver observer;
        const auto summary = recalc(f, observer);

        QCOMPARE(summary.rowsFailed, 2);
        QCOMPARE(observer.errors.size(), 2);
        QVERIFY2(observer.errors.join('\n').contains(QStringLiteral("11 ")),
                 qPrintable(observer.errors.join('\n')));
        QVERIFY(observer.errors.join('\n').contains(QStringLiteral("ann")));
        QVERIFY(observer.errors.join('\n').contains(QStringLiteral("2026-03-02")));
        QVERIFY(observer.errors.join('\n').contains(QStringLiteral("F8")));
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 3.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-03"), 50.0);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-03-03"), 3.0);
    }

    void filterLimitsTheRunToOneUser() {
        EngineFixture f;
        f.setFormula(1, kLineRate);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 100, 1);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-03-02"), 100, 1);
        f.addRow(QStringLiteral("admin"), 10, QStringLiteral("2026-03-02"), 100, 1);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2025-01-02"), 100, 1);
        RecordingObserver observer;
        const auto summary =
            recalc(f, observer, QStringLiteral("Trans_info.trans_id = 'o''brien'"));
        // A filtered run does not lock anything automatically.
        QCOMPARE(summary.rowsAutoLocked, 0);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-03-02"), 1.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 0.0);
        // Not a transcriptionist: never recalculated.
        recalc(f, observer);
        QCOMPARE(f.value("incent_pay", "admin", 10, "2026-03-02"), 0.0);
    }

    void fullRunLocksOldRowsFirst() {
        EngineFixture f;
        f.setFormula(1, kLineRate);
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '10'"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-09"), 100, 1); // 11 days old
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-10"), 100, 1); // 10 days old
        RecordingObserver observer;
        const auto summary = recalc(f, observer);
        QCOMPARE(summary.rowsAutoLocked, 1);
        QCOMPARE(f.value("locked", "ann", 10, "2026-03-09"), 1.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-09"), 0.0);
        QCOMPARE(f.value("locked", "ann", 10, "2026-03-10"), 0.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-10"), 1.0);
    }

    void blankMonthEndRowsLetMonthEndFormulasRun() {
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_ADD_BLANK_EOM_VALUES', 'True'"));
        f.setFormula(1, QStringLiteral("If IsLastDayOfMonth Then Results.IPay = "
                                       "MonthToDate(\"TrueLines\") / 100"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-01-05"), 100, 1);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-01-31"), 100, 1, 0, 1);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-02-10"), 300, 1);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-02-12"), 200, 1);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 200, 1);
        RecordingObserver observer;
        const auto summary = recalc(f, observer);
        // February gets its month-end row; January ends on the last locked day, so it stays as
        // it is; March is the current month.
        QCOMPARE(summary.blankRowsAdded, 1);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-02-28"), 5.0);
        QCOMPARE(f.database().scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM Trans_incentive WHERE shift_date = '2026-01-31'")),
                 QStringLiteral("1"));
        QCOMPARE(f.database().scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM Trans_incentive WHERE shift_date = '2026-03-31'")),
                 QStringLiteral("0"));
    }

    void cancelRollsBackTheOpenBatch_data() { writesResultsKeepsCorrectionsAndLockedRows_data(); }
    void cancelRollsBackTheOpenBatch() {
        QFETCH(int, path);
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(1, kLineRate);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 100, 1);
        RecordingObserver observer;
        observer.cancelAfterProgressCalls = 1;
        try {
            recalc(f, observer, {}, static_cast<RecalcJob::Path>(path));
            QFAIL("a cancelled run must fail");
        } catch (const velora::db::DbError& e) {
            QCOMPARE(e.number(), 6);
        }
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-02"), 0.0);
    }

    void batchesCommitOneByOneAndCancelKeepsTheDoneOnes_data() {
        writesResultsKeepsCorrectionsAndLockedRows_data();
    }
    void batchesCommitOneByOneAndCancelKeepsTheDoneOnes() {
        QFETCH(int, path);
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        f.setFormula(1, kLineRate);
        const QStringList days = {QStringLiteral("2026-03-02"), QStringLiteral("2026-03-03"),
                                  QStringLiteral("2026-03-04"), QStringLiteral("2026-03-05"),
                                  QStringLiteral("2026-03-06")};
        for (const QString& day : days)
            f.addRow(QStringLiteral("ann"), 10, day, 100, 1);

        // Uncancelled, every batch of two rows is done.
        RecordingObserver complete;
        RecalcJob all(f.connection(), complete, static_cast<RecalcJob::Path>(path));
        all.setBatchRows(2);
        QCOMPARE(all.run(RecalcRequest{}).rowsDone, 5);
        QCOMPARE(complete.progressCalls, 4); // start and three batches
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 0, "
                                         "incent_pay_modified = 0"));

        // Cancelled after the first batch: its rows stay done, the open batch is rolled back.
        RecordingObserver observer;
        observer.cancelAfterProgressCalls = 2;
        RecalcJob job(f.connection(), observer, static_cast<RecalcJob::Path>(path));
        job.setBatchRows(2);
        QVERIFY_THROWS_EXCEPTION(velora::db::DbError, job.run(RecalcRequest{}));
        const QString done = f.database().scalar(
            QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE incent_pay = 1 AND "
                           "incent_pay_modified = 1"));
        QCOMPARE(done, QStringLiteral("2"));
    }

    void periodFunctionsReadStoredValuesOfThePeriod() {
        EngineFixture f;
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_AUTO_LOCKING', '0'"));
        // Weeks start on Monday (2).
        f.database().exec(QStringLiteral("EXEC usp_incentive_add_preference -1, 4, "
                                         "'INCENT_FIRST_DAY_OF_WEEK', '2'"));
        f.setFormula(1, QStringLiteral("Results.ILines = WeekToDate(\"TrueLines\")\r\n"
                                       "Results.IHours = MonthToDate(\"TrueLines\", True)\r\n"
                                       "Results.IPay = YearToDate(\"Reports\")"));
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-02-27"), 100, 1); // Friday
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-02"), 200, 1); // Monday
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-03"), 400, 1);
        f.addRow(QStringLiteral("ann"), 20, QStringLiteral("2026-03-03"), 800, 1);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET number_rpts_modified = 1"));
        RecordingObserver observer;
        recalc(f, observer);
        QCOMPARE(f.value("incent_typed", "ann", 10, "2026-03-03"), 600.0);
        QCOMPARE(f.value("incent_typed", "ann", 10, "2026-03-02"), 200.0);
        QCOMPARE(f.value("incent_hours_typed", "ann", 10, "2026-03-03"), 1400.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-03"), 3.0);
    }
};

VELORA_TEST(TestRecalcJob)
#include "TestRecalcJob.moc"
