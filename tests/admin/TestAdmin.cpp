#include "AdminRun.h"
#include "common/TestMain.h"
#include "config/PasswordScrambling.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <array>

using velora::test::AdminRun;

class TestAdmin : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString database_;

    // A fresh database made by "init" for each test.
    QString initDatabase() {
        const AdminRun init = AdminRun::run({QStringLiteral("init"), database_});
        if (init.exitCode != 0)
            qWarning("init failed: %s", qPrintable(init.err));
        return database_;
    }

    static bool isNumberedError(const QString& text) {
        static const QRegularExpression pattern(QStringLiteral("^Error -?\\d+: \\S.*\\n$"));
        return pattern.match(text).hasMatch();
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        database_ = dir_.filePath(QStringLiteral("%1.sqlite").arg(QTest::currentTestFunction()));
        QFile::remove(database_);
    }

    // A new database has the schema and its base rows; it holds everyone's pay, so neither it
    // nor the files SQLite keeps beside it may be readable by others. An existing file is
    // never overwritten.
    void init_createsAPrivateDatabaseOnce() {
        QCOMPARE(AdminRun::run({QStringLiteral("init"), database_}).exitCode, 0);
        auto connection = velora::test::openDatabase(database_);
        connection->execute(QStringLiteral("UPDATE Incentive_group SET group_name = 'x'"));
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            const QFileInfo file(database_ + suffix);
            QVERIFY2(file.exists(), qPrintable(file.filePath()));
            QCOMPARE(file.permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                     QFile::Permissions());
            QVERIFY(file.permissions() & QFile::ReadOwner);
        }
        const AdminRun again = AdminRun::run({QStringLiteral("init"), database_});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(isNumberedError(again.err), qPrintable(again.err));
        QVERIFY(again.err.contains(QStringLiteral("already exists")));
        const AdminRun count = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("SELECT COUNT(*) AS formulas, MIN(group_name) FROM Incentive_formula, "
                            "Incentive_group")});
        QCOMPARE(count.out, QStringLiteral("formulas\tMIN(group_name)\n1\tx\n"));
    }

    void badArguments_showUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        for (const char* line :
             {"", "create", "init", "init a b", "sql x.sqlite", "demo", "demo d --users many",
              "demo d --days=0", "demo d --seed", "demo d --size 3", "demo d --today 03/15/2024",
              "demo d e", "scramble", "scramble a b"})
            QTest::newRow(*line ? line : "nothing")
                << QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts);
    }

    void badArguments_showUsage() {
        QFETCH(QStringList, arguments);
        const QString workingDirectory = QDir::currentPath();
        QDir::setCurrent(dir_.path()); // nothing may be created by a refused command line
        const AdminRun run = AdminRun::run(arguments);
        QDir::setCurrent(workingDirectory);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(QStringLiteral("usage:")), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("d"))));
    }

    // Rows print as tab-separated text under a header, each on one line (line breaks escaped),
    // NULL as NULL; statements of the program's dialect run as the program sends them; a
    // statement without rows reports how many it changed.
    void sql_output_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("output");
        QTest::newRow("header and rows")
            << "SELECT partition_id, partition_name, delete_date FROM System_partitions"
            << "partition_id\tpartition_name\tdelete_date\n0\tBase\tNULL\n";
        QTest::newRow("line breaks escaped")
            << "SELECT formula_text FROM Incentive_formula WHERE formula_id = 1"
            << "formula_text\nResults.IHours = 0\\r\\nResults.ILines = 0\\r\\nResults.IPay = 0\n";
        QTest::newRow("the program's dialect")
            << "SELECT label = RTRIM(group_name) + ' (' + 'Default' + ')' FROM Incentive_group "
               "WHERE group_name = 'DEFAULT GROUP  '"
            << "label\nDefault Group (Default)\n";
        QTest::newRow("rows changed") << "UPDATE Incentive_group SET group_name = 'x' WHERE "
                                         "group_id = 1"
                                      << "1 row(s) affected\n";
        QTest::newRow("no rows changed")
            << "DELETE FROM Incentive_group_formula WHERE group_id = 99"
            << "0 row(s) affected\n";
        QTest::newRow("a procedure") << "EXEC partition_select_children 0"
                                     << "0\t0\tBase\tBase partition\t";
    }

    void sql_output() {
        QFETCH(QString, statement);
        QFETCH(QString, output);
        initDatabase();
        const AdminRun run = AdminRun::run({QStringLiteral("sql"), database_, statement});
        QCOMPARE(run.exitCode, 0);
        if (statement.startsWith(QStringLiteral("EXEC")))
            QVERIFY2(run.out.section(u'\n', 1, 1).startsWith(output), qPrintable(run.out));
        else
            QCOMPARE(run.out, output);
    }

    // A date typed in the regional form means what it means to the program on that
    // workstation: day first in en_GB and de_DE, month first in en_US.
    void sql_readsDatesTheRegionalWay_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        for (const auto& [locale, typed, stored] : {std::array{"en_GB", "04/12/2026", "2026-12-04"},
                                                    {"en_US", "04/12/2026", "2026-04-12"},
                                                    {"de_DE", "04.12.2026", "2026-12-04"},
                                                    {"en_GB", "2026-04-12", "2026-04-12"}})
            QTest::addRow("%s %s", locale, typed)
                << QString::fromLatin1(locale) << QString::fromLatin1(typed)
                << QString::fromLatin1(stored);
    }

    void sql_readsDatesTheRegionalWay() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        initDatabase();
        const AdminRun insert = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date) "
                            "VALUES ('ann', 5, '%1')")
                 .arg(typed)},
            locale);
        QVERIFY2(insert.exitCode == 0, qPrintable(insert.err));
        const AdminRun read = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("SELECT shift_date FROM Trans_incentive WHERE shift_date = '%1'")
                 .arg(typed)},
            locale);
        QCOMPARE(read.out, QStringLiteral("shift_date\n") + stored + QLatin1Char('\n'));
    }

    void sql_reportsErrors_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("locale");
        QTest::newRow("unknown table") << ""
                                       << "SELECT * FROM No_such_table"
                                       << "";
        QTest::newRow("syntax error") << ""
                                      << "SELEC formula_id FROM x"
                                      << "";
        QTest::newRow("unterminated text") << ""
                                           << "SELECT 'abc FROM Incentive_formula"
                                           << "";
        QTest::newRow("unknown locale") << ""
                                        << "SELECT 1"
                                        << "xx_QQ";
        QTest::newRow("missing file") << "missing.sqlite"
                                      << "SELECT 1"
                                      << "";
    }

    void sql_reportsErrors() {
        QFETCH(QString, file);
        QFETCH(QString, statement);
        QFETCH(QString, locale);
        initDatabase();
        const QString path = file.isEmpty() ? database_ : dir_.filePath(file);
        const AdminRun run = AdminRun::run({QStringLiteral("sql"), path, statement}, locale);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(isNumberedError(run.err), qPrintable(run.err));
        if (!file.isEmpty())
            QVERIFY(!QFile::exists(path)); // a missing database is not created by sql
    }

    // The scrambled password, put into a configuration file, is what the program reads back
    // as the password; from standard input it stays out of the shell's history.
    void scramble_givesWhatTheConfigurationReaderUnscrambles() {
        const QString password = QStringLiteral("p@ss w'rd;42");
        const AdminRun run = AdminRun::run({QStringLiteral("scramble"), password});
        QCOMPARE(run.exitCode, 0);
        const QString scrambled = run.out.trimmed();
        QVERIFY(scrambled != password);
        QCOMPARE(velora::config::UnencryptedText(scrambled), password);

        QProcess fromInput;
        fromInput.start(QStringLiteral(VELORA_ADMIN_PATH),
                        {QStringLiteral("scramble"), QStringLiteral("-")});
        fromInput.write(password.toUtf8() + "\n");
        fromInput.closeWriteChannel();
        QVERIFY(fromInput.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(fromInput.readAllStandardOutput()).trimmed(), scrambled);
    }
};

VELORA_TEST(TestAdmin)
#include "TestAdmin.moc"
