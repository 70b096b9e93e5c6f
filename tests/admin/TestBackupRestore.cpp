#include "AdminRun.h"
#include "BackupCommand.h"
#include "DatabaseCopy.h"
#include "SqliteFile.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

using velora::admin::BackupCommand;
using velora::admin::DatabaseCopy;
using velora::admin::SqliteFile;
using velora::test::AdminRun;
using velora::test::TestDatabase;

namespace {

constexpr int kRows = 3000;

// kRows production rows of 10 each, enough pages for a copy in many steps.
void fillProduction(SqliteFile& db) {
    db.execute(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, incent_pay) "
            "SELECT 'u' || (i % 40), i / 40, date('2024-01-01', '+' || (i % 60) || ' days'), 10 "
            "FROM n")
            .arg(kRows));
}

// First column of the first row, read on the raw connection (the embedded engine's own
// connection would switch the file to WAL mode).
QString scalar(SqliteFile& db, const char* statement) {
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db.handle(), statement, -1, &prepared, nullptr);
    QString value;
    if (prepared && sqlite3_step(prepared) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(prepared, 0)));
    sqlite3_finalize(prepared);
    return value;
}

} // namespace

class TestBackupRestore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Another connection moves pay between two rows in one transaction between the copy's
    // steps, as the program and the engine do while a backup runs. The copy must be one state
    // of the database: sound, no pay lost or doubled, the writes it holds a whole prefix. When
    // the writes stop, the copy goes on by steps and holds them all; when they never stop,
    // it still ends.
    void backup_whileAnotherConnectionWrites_isOneConsistentState_data() {
        QTest::addColumn<int>("writeLimit");
        QTest::addColumn<int>("restartsBeforeOneStep");
        QTest::newRow("writes stop") << 20 << 1000;
        QTest::newRow("writes never stop") << 1000000 << 6;
    }
    void backup_whileAnotherConnectionWrites_isOneConsistentState() {
        QFETCH(int, writeLimit);
        QFETCH(int, restartsBeforeOneStep);
        TestDatabase database;
        SqliteFile writer(database.path(), SqliteFile::Mode::ReadWrite);
        writer.execute(QStringLiteral("PRAGMA busy_timeout = 5000"));
        fillProduction(writer);

        DatabaseCopy copier(DatabaseCopy::Options{.pagesPerStep = 2,
                                                  .restartsBeforeOneStep = restartsBeforeOneStep});
        int steps = 0;
        int writes = 0;
        copier.setBetweenSteps([&] {
            ++steps;
            if (writes >= writeLimit)
                return;
            ++writes;
            writer.execute(
                QStringLiteral("BEGIN; UPDATE Trans_incentive SET incent_pay = incent_pay + 1 "
                               "WHERE rowid = %1; UPDATE Trans_incentive SET incent_pay = "
                               "incent_pay - 1 WHERE rowid = %2; COMMIT;")
                    .arg(writes)
                    .arg(writes + 1000));
        });
        const QString target = database.folder() + QStringLiteral("/backup.sqlite");
        QString output;
        QTextStream out(&output);
        QCOMPARE(BackupCommand(copier).run({database.path(), target}, out), 0);
        if (writes == writeLimit)
            QVERIFY(steps > writes); // went on by steps once the writes stopped
        else
            QVERIFY(writes < 1000); // ended while the writes went on

        SqliteFile copy(target, SqliteFile::Mode::ReadOnly);
        QCOMPARE(copy.integrityProblems(), QString());
        QCOMPARE(scalar(copy, "SELECT COUNT(*) FROM Trans_incentive"), QString::number(kRows));
        QCOMPARE(scalar(copy, "SELECT CAST(SUM(incent_pay) AS INTEGER) FROM Trans_incentive"),
                 QString::number(kRows * 10));
        const QString raised =
            scalar(copy, "SELECT COUNT(*) FROM Trans_incentive WHERE incent_pay = 11");
        QCOMPARE(scalar(copy, "SELECT COUNT(*) FROM Trans_incentive WHERE incent_pay = 9"), raised);
        // Every write came between two steps, so the copy, made after the last one, holds them.
        QCOMPARE(raised, QString::number(writes));
        // A single file: the copy is not left in WAL mode, and no temporary file stays behind.
        QCOMPARE(scalar(copy, "PRAGMA journal_mode"), QStringLiteral("delete"));
        QCOMPARE(QDir(database.folder()).entryList({QStringLiteral("*partial*")}), QStringList());
    }

    // Every refusal leaves the database as it was: a backup never overwrites a file (arguments
    // given the wrong way round would otherwise destroy the database), a backup that is not a
    // sound incentive database is not restored, and a database that is open elsewhere is not
    // replaced.
    void refusals_changeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("backup onto the database") << "swapped" << 1 << "already exists";
        QTest::newRow("restore a text file") << "text" << 1 << "integrity check";
        QTest::newRow("restore a damaged backup") << "damaged" << 1 << "integrity check";
        QTest::newRow("restore another database") << "foreign" << 1 << "no table Trans_incentive";
        QTest::newRow("restore over a database in use") << "in use" << 3 << "is in use";
    }
    void refusals_changeNothing() {
        QFETCH(QString, kind);
        TestDatabase database;
        database.exec(QStringLiteral("UPDATE Incentive_formula SET formula_name = 'kept'"));
        const QString backup = database.folder() + QStringLiteral("/backup.sqlite");
        QCOMPARE(AdminRun::run({QStringLiteral("backup"), database.path(), backup}).exitCode, 0);
        if (kind == QLatin1String("text"))
            writeFile(backup, QByteArray("not a database\n"), 0);
        else if (kind == QLatin1String("damaged"))
            writeFile(backup, QByteArray(3 * 4096, '\0'), 4096);
        else if (kind == QLatin1String("foreign"))
            makeForeignDatabase(backup);
        const QStringList arguments =
            kind == QLatin1String("swapped")
                ? QStringList{QStringLiteral("backup"), backup, database.path()}
                : QStringList{QStringLiteral("restore"), backup, database.path()};
        database.exec(QStringLiteral("UPDATE Incentive_formula SET formula_name = 'changed'"));

        const AdminRun run = AdminRun::run(arguments);
        QTEST(run.exitCode, "exitCode");
        QFETCH(QString, message);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(database.scalar(QStringLiteral("SELECT MIN(formula_name) FROM Incentive_formula")),
                 QStringLiteral("changed"));
        QCOMPARE(QDir(database.folder()).entryList({QStringLiteral("*before-restore*")}),
                 QStringList());
    }

    // Once nothing has the database open, restore puts the backup back and keeps the database
    // as it was beside it.
    void restore_putsTheBackupBack_andKeepsWhatItReplaced() {
        TestDatabase database;
        database.exec(QStringLiteral("UPDATE Incentive_formula SET formula_name = 'backed up'"));
        const QString backup = database.folder() + QStringLiteral("/backup.sqlite");
        QCOMPARE(AdminRun::run({QStringLiteral("backup"), database.path(), backup}).exitCode, 0);
        database.exec(QStringLiteral("UPDATE Incentive_formula SET formula_name = 'later'"));
        database.connection().close();

        const AdminRun run = AdminRun::run({QStringLiteral("restore"), backup, database.path()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        database.connection().open(database.connectionString());
        QCOMPARE(database.scalar(QStringLiteral("SELECT MIN(formula_name) FROM Incentive_formula")),
                 QStringLiteral("backed up"));
        const QStringList kept =
            QDir(database.folder()).entryList({QStringLiteral("*.before-restore-*")});
        QCOMPARE(kept.size(), 1);
        auto previous = velora::test::openDatabase(database.folder() + u'/' + kept.first());
        QCOMPARE(previous
                     ->openRecordset(QStringLiteral("SELECT MIN(formula_name) FROM "
                                                    "Incentive_formula"))
                     .value(0)
                     .toString(),
                 QStringLiteral("later"));
    }

private:
    static void writeFile(const QString& path, const QByteArray& bytes, qint64 at) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (at == 0)
            file.resize(0);
        QVERIFY(file.seek(at));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static void makeForeignDatabase(const QString& path) {
        QFile::remove(path);
        SqliteFile foreign(path, SqliteFile::Mode::CreateNew);
        foreign.execute(QStringLiteral("CREATE TABLE notes (text TEXT)"));
    }
};

VELORA_TEST(TestBackupRestore)
#include "TestBackupRestore.moc"
