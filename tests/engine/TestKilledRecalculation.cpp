// The update engine killed at any point of a run (between rows, before a write transaction, with
// one open) leaves the database intact, locked rows and corrections as they were, and a second
// run gives the same figures as a run that was never interrupted.
#include "EngineFixture.h"
#include "TestPaths.h"
#include "common/TestMain.h"
#include "db/SqliteEngine.h"
#include "db/SqliteStatement.h"

#include <QProcess>
#include <QTest>

using velora::test::EngineFixture;

namespace {

velora::db::SqliteEngine& sqlite(EngineFixture& f) {
    return *dynamic_cast<velora::db::SqliteEngine*>(f.connection().engine());
}

// The rows that meet a condition, each with its lock and all six results, one line a row.
QString rowsWhere(EngineFixture& f, const char* condition) {
    velora::db::SqliteStatement read(
        sqlite(f).handle(),
        QStringLiteral("SELECT trans_id, hosp_acct_id, shift_date, locked, incent_typed, "
                       "incent_typed_modified, incent_hours_typed, incent_hours_typed_modified, "
                       "incent_pay, incent_pay_modified FROM Trans_incentive WHERE ") +
            QLatin1String(condition) +
            QStringLiteral(" ORDER BY trans_id, hosp_acct_id, shift_date"));
    QStringList rows;
    while (read.step()) {
        QStringList values;
        for (int i = 0; i < read.columnCount(); ++i)
            values << read.column(i).toString();
        rows << values.join(u' ');
    }
    return rows.join(u'\n');
}

// Four users, two accounts, ten days; a pay formula that reads the week's other rows. Ann's first
// three days are locked with results of their own, or every day but the last is locked; two rows
// hold a correction of the pay.
void seed(EngineFixture& f, const QString& lockedBefore) {
    f.setFormula(1, QStringLiteral("Results.ILines = TrueLines\r\nResults.IHours = Hours\r\n"
                                   "Results.IPay = Round(WeekToDate(\"TrueLines\") * 0.01, 2)"));
    for (const char* user : {"ann", "o'brien", "josé", "kim"})
        for (int account : {10, 20})
            for (int day = 1; day <= 10; ++day)
                f.addRow(QString::fromUtf8(user), account,
                         QStringLiteral("2026-03-%1").arg(day, 2, 10, QLatin1Char('0')),
                         100 * day + account, day % 4);
    f.database().exec(QStringLiteral("UPDATE Trans_incentive SET locked = 1, incent_pay = 7, "
                                     "incent_pay_modified = 7 WHERE trans_id = 'ann' AND "
                                     "shift_date <= '2026-03-03'"));
    f.database().exec(QStringLiteral("UPDATE Trans_incentive SET locked = 1 WHERE shift_date < '") +
                      lockedBefore + QLatin1Char('\''));
    f.database().exec(QStringLiteral("UPDATE Trans_incentive SET incent_pay_modified = 99 WHERE "
                                     "shift_date = '2026-03-05' AND hosp_acct_id = 20"));
}

// Runs velora-engine recalc over the fixture in slices of five rows; dieAt > 0 has it kill
// itself at that check for a cancel. True when it ran to its end.
bool runEngine(EngineFixture& f, int dieAt) {
    QProcess engine;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELORA_ENGINE_DIE_AT"), QString::number(dieAt));
    engine.setProcessEnvironment(environment);
    engine.start(QStringLiteral(VELORA_ENGINE_PATH),
                 {QStringLiteral("recalc"), f.database().path(), QStringLiteral("--batch-rows"),
                  QStringLiteral("5")});
    engine.waitForFinished(60000);
    return engine.exitStatus() == QProcess::NormalExit && engine.exitCode() == 0;
}

QString integrity(EngineFixture& f) {
    velora::db::SqliteStatement check(sqlite(f).handle(), QStringLiteral("PRAGMA integrity_check"));
    check.step();
    return check.column(0).toString();
}

} // namespace

class TestKilledRecalculation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Most rows to do are read in slices of the table; a few beside many locked ones in slices
    // of the unlocked rows.
    void killedRunsLeaveWhatARerunCompletes_data() {
        QTest::addColumn<QString>("lockedBefore");
        QTest::addColumn<int>("leastKills");
        QTest::newRow("most rows to do") << QStringLiteral("2026-03-01") << 10;
        QTest::newRow("last day to do") << QStringLiteral("2026-03-10") << 2;
    }
    void killedRunsLeaveWhatARerunCompletes() {
        QFETCH(QString, lockedBefore);
        QFETCH(int, leastKills);
        EngineFixture uninterrupted;
        seed(uninterrupted, lockedBefore);
        QVERIFY(runEngine(uninterrupted, 0));
        const QString expected = rowsWhere(uninterrupted, "1 = 1");
        QVERIFY(expected.contains(QStringLiteral("ann 10 2026-03-10 0 1010 1010 2 2 27.3 27.3")));

        int kills = 0;
        for (int dieAt = 1;; dieAt += 2) {
            EngineFixture f;
            seed(f, lockedBefore);
            const QString locked = rowsWhere(f, "locked = 1");
            if (runEngine(f, dieAt))
                break;
            ++kills;
            QCOMPARE(integrity(f), QStringLiteral("ok"));
            QCOMPARE(rowsWhere(f, "locked = 1"), locked);
            QCOMPARE(f.database().scalar(QStringLiteral(
                         "SELECT COUNT(*) FROM Trans_incentive WHERE incent_pay_modified = 99")),
                     QStringLiteral("4"));
            QVERIFY(runEngine(f, 0));
            QCOMPARE(rowsWhere(f, "1 = 1"), expected);
        }
        QVERIFY2(kills >= leastKills, qPrintable(QString::number(kills)));
    }
};

VELORA_TEST(TestKilledRecalculation)
#include "TestKilledRecalculation.moc"
