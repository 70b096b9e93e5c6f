#include "EngineFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "db/SqliteEngine.h"
#include "db/SqliteFunctions.h"
#include "engine/RecalcJob.h"

#include <QTest>

using velora::engine::RecalcJob;
using velora::engine::RecalcRequest;
using velora::test::EngineFixture;

namespace {

struct RecordingObserver final : velora::engine::RecalcObserver {
    void progress(qint64 done, qint64) override { lastDone = done, ++progressCalls; }
    void rowError(int number, const QString& text) override {
        errors << QString::number(number) + ' ' + text;
    }
    bool cancelRequested() const override {
        return cancelAfter > 0 && progressCalls >= cancelAfter;
    }

    QStringList errors;
    qint64 lastDone = 0;
    int progressCalls = 0;
    int cancelAfter = 0; // progress calls after which to cancel; 0: never
};

const QString kLineRate = QStringLiteral("Results.ILines = TrueLines\r\n"
                                         "Results.IHours = Hours\r\n"
                                         "Results.IPay = Round(TrueLines * 0.01, 2)");
const QString kDay = QStringLiteral("2026-03-02");

void addPaths() {
    QTest::addColumn<RecalcJob::Path>("path");
    QTest::newRow("set-based") << RecalcJob::Path::Automatic;
    QTest::newRow("row by row") << RecalcJob::Path::Generic;
}

// Whether the engine's user keys of two ids are equal exactly when the database's collation
// finds the ids equal.
bool keysAgree(const QString& a, const QString& b) {
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    std::string keys[2];
    velora::db::foldTextCi(x.constData(), static_cast<int>(x.size()), keys[0]);
    velora::db::foldTextCi(y.constData(), static_cast<int>(y.size()), keys[1]);
    return (keys[0] == keys[1]) ==
           (velora::db::compareTextCi(x.constData(), static_cast<int>(x.size()), y.constData(),
                                      static_cast<int>(y.size())) == 0);
}

} // namespace

class TestRecalcJob : public QObject {
    Q_OBJECT

private:
    velora::engine::RecalcSummary recalc(EngineFixture& f, RecordingObserver& observer,
                                         const QString& filter = {},
                                         RecalcJob::Path path = RecalcJob::Path::Automatic) {
        RecalcJob job(f.connection(), observer, path);
        job.setToday(QDate(2026, 3, 20));
        return job.run(RecalcRequest{.filter = filter});
    }

private Q_SLOTS:
    void writesResultsKeepsCorrectionsAndLockedRows_data() { addPaths(); }
    void writesResultsKeepsCorrectionsAndLockedRows() {
        QFETCH(RecalcJob::Path, path);
        EngineFixture f;
        f.setPreference(QStringLiteral("INCENT_AUTO_LOCKING"), QStringLiteral("10"));
        f.setFormula(1, kLineRate);
        const QString ann = QStringLiteral("ann");
        const QString recent = QStringLiteral("2026-03-10"); // 10 days old: stays unlocked
        f.addRow(ann, 10, recent, 1500, 7.5);
        f.addRow(ann, 10, QStringLiteral("2026-03-11"), 2000, 8);
        f.addRow(ann, 10, QStringLiteral("2026-03-09"), 1000, 6);
        f.addRow(ann, 10, QStringLiteral("2026-02-27"), 1000, 6, 0, 1);
        f.addRow(QStringLiteral("o'brien"), 10, recent, 100, 1);
        f.addRow(QStringLiteral("admin"), 10, recent, 100, 1);
        // A supervisor's correction of the pay: modified differs from collected.
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay_modified = 99 "
                                         "WHERE shift_date = '2026-03-11'"));
        RecordingObserver observer;
        // A filtered run covers its user only and locks nothing automatically.
        const auto one = recalc(f, observer, QStringLiteral("Trans_info.trans_id = 'o''brien'"));
        QVERIFY(one.rowsDone == 1 && one.rowsAutoLocked == 0);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, recent), 1.0);
        QCOMPARE(f.value("incent_pay", ann, 10, recent), 0.0);
        // A full run first locks the rows older than 10 days.
        const auto all = recalc(f, observer, {}, path);
        QVERIFY(all.rowsAutoLocked == 1 && all.rowsToDo == 3 && all.rowsDone == 3);
        QVERIFY(observer.errors.isEmpty() && observer.lastDone == 3);
        QCOMPARE(f.results(ann, 10, recent), QStringLiteral("1500 7.5 15"));
        QCOMPARE(f.value("incent_pay_modified", ann, 10, recent), 15.0);
        QCOMPARE(f.value("incent_typed_modified", ann, 10, recent), 1500.0);
        QCOMPARE(f.value("incent_hours_typed_modified", ann, 10, recent), 7.5);
        // The correction survives; its collected twin takes the new value.
        QCOMPARE(f.results(ann, 10, "2026-03-11"), QStringLiteral("2000 8 20"));
        QCOMPARE(f.value("incent_pay_modified", ann, 10, "2026-03-11"), 99.0);
        // Locked rows are never touched, nor are rows of users who are not transcriptionists.
        QCOMPARE(f.value("locked", ann, 10, "2026-03-09"), 1.0);
        for (const char* day : {"2026-03-09", "2026-02-27"})
            QCOMPARE(f.results(ann, 10, QLatin1String(day)), QStringLiteral("0 0 0"));
        QCOMPARE(f.results("admin", 10, recent), QStringLiteral("0 0 0"));

        // Run again, every row is computed and none is written: no result changes. A changed
        // figure rewrites its own row only, correction kept.
        auto* sqlite = dynamic_cast<velora::db::SqliteEngine*>(f.connection().engine());
        sqlite->executeNative(QStringLiteral(
            "CREATE TABLE written (id INTEGER); CREATE TRIGGER count_writes AFTER UPDATE ON "
            "Trans_incentive BEGIN INSERT INTO written VALUES (NEW.rowid); END"));
        const auto again = recalc(f, observer, {}, path);
        QVERIFY(again.rowsDone == 3 && again.rowsWritten == 0);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET lines_modified = 2500 WHERE "
                                         "shift_date = '2026-03-11'"));
        f.database().exec(QStringLiteral("DELETE FROM written"));
        const auto changed = recalc(f, observer, {}, path);
        QVERIFY(changed.rowsDone == 3 && changed.rowsWritten == 1);
        QCOMPARE(f.database().scalar(QStringLiteral("SELECT COUNT(*) FROM written")),
                 QStringLiteral("1"));
        QCOMPARE(f.results(ann, 10, "2026-03-11"), QStringLiteral("2500 8 25"));
        QCOMPARE(f.value("incent_pay_modified", ann, 10, "2026-03-11"), 99.0);
    }

    void formulaSetsFollowTheGroupsAssignments() {
        EngineFixture f;
        f.setFormula(1, QStringLiteral("Results.IPay = 1"));
        f.setFormula(5, QStringLiteral("Results.IPay = 5 : Results.ILines = 50"));
        f.setFormula(6, QStringLiteral("Results.IPay = 6 : Results.ILines = 60 : "
                                       "Results.IHours = 6"));
        f.setFormula(7, QStringLiteral("Results.IHours = Hours + 1"));
        f.setFormula(8, QStringLiteral("Results.IPay = ITypedLines / 10 + IHoursWorked"));
        // Group 2: account 20 has its own row with a NULL typed formula (= the pay formula);
        // other accounts fall back to -1. Group 1's pay formula reads the other two results.
        f.assign(2, 20, QStringLiteral("NULL"), QStringLiteral("7"), QStringLiteral("6"));
        f.assign(2, -1, QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"));
        f.assign(1, -1, QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("8"));
        f.addRow(QStringLiteral("o'brien"), 20, kDay, 100, 1);
        f.addRow(QStringLiteral("o'brien"), 10, kDay, 100, 1);
        f.addRow(QStringLiteral("ann"), 10, kDay, 100, 7);
        // A user whose group has no rows at all gets formula 1 for all three.
        f.addRow(QStringLiteral("kim"), 10, kDay, 100, 1);
        RecordingObserver observer;
        recalc(f, observer);

        QCOMPARE(f.results("o'brien", 20, kDay), QStringLiteral("60 2 6"));
        QCOMPARE(f.results("o'brien", 10, kDay), QStringLiteral("50 0 5"));
        QCOMPARE(f.results("ann", 10, kDay), QStringLiteral("50 8 13"));
        QCOMPARE(f.results("kim", 10, kDay), QStringLiteral("0 0 1"));
    }

    // Rows stored under another spelling of a user's id (case of an accented letter, trailing
    // blank) belong to that user, as they do for the database; rows that fail stay as they were,
    // are reported, and are not counted as recalculated.
    void everyRowOfACoveredUserIsComputedOrReported_data() { addPaths(); }
    void everyRowOfACoveredUserIsComputedOrReported() {
        QFETCH(RecalcJob::Path, path);
        EngineFixture f;
        f.setFormula(1, QStringLiteral("Results.IPay = TrueLines / Hours"));
        f.setFormula(8, QStringLiteral("Results.IPay = NoSuchInput"));
        f.assign(2, -1, QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8"));
        f.addRow(QStringLiteral("JOSÉ"), 10, kDay, 300, 6);
        f.addRow(QStringLiteral("José "), 10, QStringLiteral("2026-03-03"), 600, 6);
        f.addRow(QStringLiteral("ann"), 10, kDay, 300, 0);
        f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-03"), 300, 6);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-03-03"), 300, 6);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 3, "
                                         "incent_pay_modified = 3"));
        RecordingObserver observer;
        const auto summary = recalc(f, observer, {}, path);

        QCOMPARE(f.value("incent_pay", "josé", 10, kDay), 50.0);
        QCOMPARE(f.value("incent_pay_modified", "josé", 10, "2026-03-03"), 100.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-03"), 50.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, kDay), 3.0);
        QCOMPARE(f.value("incent_pay", "o'brien", 10, "2026-03-03"), 3.0);
        QVERIFY(summary.rowsToDo == 5 && summary.rowsDone == 3 && summary.rowsFailed == 2);
        const QString errors = observer.errors.join('\n');
        QCOMPARE(observer.errors.size(), 2);
        for (const char* part : {"11 ", "ann", "2026-03-02", "F8", "o'brien"})
            QVERIFY2(errors.contains(QLatin1String(part)), qPrintable(errors));
    }

    // The engine's user keys fold every letter as the database's collation compares it.
    void userKeysAgreeWithTheDatabaseComparison() {
        for (char32_t c = 0x80; c < 0x110000; ++c) {
            if (QChar::isSurrogate(c) ||
                (QChar::toUpper(c) == c && QChar::toLower(c) == c && QChar::toCaseFolded(c) == c))
                continue;
            const QString text = QStringLiteral("a") + QString::fromUcs4(&c, 1);
            for (const QString& other : QStringList{text.toUpper(), text.toLower() + "  ",
                                                    text.toCaseFolded(), QStringLiteral("a?")})
                QVERIFY2(keysAgree(text, other), qPrintable(QString::number(c, 16)));
        }
    }

    void batchesCommitOneByOneAndCancelKeepsTheDoneOnes_data() { addPaths(); }
    void batchesCommitOneByOneAndCancelKeepsTheDoneOnes() {
        QFETCH(RecalcJob::Path, path);
        EngineFixture f;
        f.setFormula(1, kLineRate);
        for (int day = 2; day <= 6; ++day)
            f.addRow(QStringLiteral("ann"), 10, QStringLiteral("2026-03-0%1").arg(day), 100, 1);
        const QString done = QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE incent_pay "
                                            "= 1 AND incent_pay_modified = 1");
        // Cancelled after the start, after the first batch of two rows, or never.
        for (const auto& [cancelAfter, rowsKept] : {std::pair{1, 0}, {2, 2}, {0, 5}}) {
            f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay = 0, "
                                             "incent_pay_modified = 0"));
            RecordingObserver observer;
            observer.cancelAfter = cancelAfter;
            RecalcJob job(f.connection(), observer, path);
            job.setBatchRows(2);
            try {
                QCOMPARE(job.run(RecalcRequest{}).rowsDone, 5);
                QCOMPARE(observer.progressCalls, 4); // start and three batches
                QCOMPARE(cancelAfter, 0);
            } catch (const velora::db::DbError& e) {
                QCOMPARE(e.number(), 6);
            }
            QCOMPARE(f.database().scalar(done), QString::number(rowsKept));
        }
    }

    // Period sums are the values stored when the run began; with blank month-end rows on, a
    // past month without a row on its last day gets one, so month-end formulas run there.
    void periodFunctionsAndBlankMonthEndRows() {
        EngineFixture f;
        f.setPreference(QStringLiteral("INCENT_ADD_BLANK_EOM_VALUES"), QStringLiteral("True"));
        f.setPreference(QStringLiteral("INCENT_FIRST_DAY_OF_WEEK"), QStringLiteral("2")); // Monday
        f.setFormula(1, QStringLiteral("Results.ILines = WeekToDate(\"TrueLines\")\r\n"
                                       "Results.IHours = MonthToDate(\"TrueLines\", True)\r\n"
                                       "If IsLastDayOfMonth Then\r\n"
                                       "Results.IPay = MonthToDate(\"TrueLines\") / 100\r\n"
                                       "Else\r\nResults.IPay = YearToDate(\"Reports\")\r\nEnd If"));
        const int lines[] = {100, 300, 200, 100, 200, 400};
        int row = 0;
        for (const char* day :
             {"2026-01-05", "2026-02-10", "2026-02-12", "2026-02-27", "2026-03-02", "2026-03-03"})
            f.addRow(QStringLiteral("ann"), 10, QLatin1String(day), lines[row++], 1);
        f.addRow(QStringLiteral("ann"), 20, QStringLiteral("2026-03-03"), 800, 1);
        f.addRow(QStringLiteral("o'brien"), 10, QStringLiteral("2026-01-31"), 100, 1, 0, 1);
        f.database().exec(QStringLiteral("UPDATE Trans_incentive SET number_rpts_modified = 1"));
        RecordingObserver observer;
        // January ends on the last locked day, so it stays as it is; March is the current month.
        QCOMPARE(recalc(f, observer).blankRowsAdded, 1);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-02-28"), 6.0);
        QCOMPARE(f.database().scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE "
                                                    "shift_date IN ('2026-01-31', '2026-03-31')")),
                 QStringLiteral("1"));
        QCOMPARE(f.value("incent_typed", "ann", 10, "2026-03-03"), 600.0);
        QCOMPARE(f.value("incent_typed", "ann", 10, kDay), 200.0);
        QCOMPARE(f.value("incent_hours_typed", "ann", 10, "2026-03-03"), 1400.0);
        QCOMPARE(f.value("incent_pay", "ann", 10, "2026-03-03"), 6.0);
    }
};

VELORA_TEST(TestRecalcJob)
#include "TestRecalcJob.moc"
