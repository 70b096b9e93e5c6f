#include "AdminRun.h"
#include "common/TestMain.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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

    void init_createsDatabaseFromSchema() {
        const AdminRun init = AdminRun::run({QStringLiteral("init"), database_});
        QCOMPARE(init.exitCode, 0);
        QVERIFY(QFile::exists(database_));
        const AdminRun count =
            AdminRun::run({QStringLiteral("sql"), database_,
                           QStringLiteral("SELECT COUNT(*) AS formulas FROM Incentive_formula")});
        QCOMPARE(count.exitCode, 0);
        QCOMPARE(count.out, QStringLiteral("formulas\n1\n"));
    }

    // The database holds everyone's pay: neither it nor the files SQLite keeps beside it may
    // be readable by others.
    void init_createsFilesForOwnerAndGroupOnly() {
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
    }

    void init_refusesExistingFile() {
        {
            QFile file(database_);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a database");
        }
        const AdminRun init = AdminRun::run({QStringLiteral("init"), database_});
        QCOMPARE(init.exitCode, 1);
        QVERIFY2(isNumberedError(init.err), qPrintable(init.err));
        QVERIFY(init.err.contains(QStringLiteral("already exists")));
        QFile file(database_);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a database"));
    }

    void badArguments_showUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{QStringLiteral("create")};
        QTest::newRow("init without file") << QStringList{QStringLiteral("init")};
        QTest::newRow("init with two files")
            << QStringList{QStringLiteral("init"), QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("sql without statement")
            << QStringList{QStringLiteral("sql"), QStringLiteral("x.sqlite")};
        QTest::newRow("demo without folder") << QStringList{QStringLiteral("demo")};
        QTest::newRow("demo number not a number")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("--users"),
                           QStringLiteral("many")};
        QTest::newRow("demo number out of range")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("--days=0")};
        QTest::newRow("demo option without value")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("--seed")};
        QTest::newRow("demo unknown option")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("--size"),
                           QStringLiteral("3")};
        QTest::newRow("demo bad date")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("--today"),
                           QStringLiteral("03/15/2024")};
        QTest::newRow("demo two folders")
            << QStringList{QStringLiteral("demo"), QStringLiteral("d"), QStringLiteral("e")};
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

    void sql_printsHeaderAndTabSeparatedRows() {
        initDatabase();
        const AdminRun run =
            AdminRun::run({QStringLiteral("sql"), database_,
                           QStringLiteral("SELECT partition_id, partition_name, delete_date "
                                          "FROM System_partitions")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("partition_id\tpartition_name\tdelete_date\n"
                                         "0\tBase\tNULL\n"));
    }

    void sql_keepsEachRowOnOneLine() {
        initDatabase();
        // The default formula's text has line breaks; they print escaped.
        const AdminRun run = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE formula_id = 1")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("formula_text\nResults.IHours = 0\\r\\nResults.ILines = "
                                         "0\\r\\nResults.IPay = 0\n"));
    }

    void sql_runsTheProgramsDialect() {
        initDatabase();
        const AdminRun concatenation = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("SELECT label = RTRIM(group_name) + ' (' + 'Default' + ')' "
                            "FROM Incentive_group WHERE group_name = 'DEFAULT GROUP  '")});
        QCOMPARE(concatenation.exitCode, 0);
        QCOMPARE(concatenation.out, QStringLiteral("label\nDefault Group (Default)\n"));

        const AdminRun exec = AdminRun::run(
            {QStringLiteral("sql"), database_, QStringLiteral("EXEC partition_select_children 0")});
        QCOMPARE(exec.exitCode, 0);
        const QStringList lines = exec.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("partition_id\tparent_id\tpartition_name")));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("0\t0\tBase")));
    }

    // A date typed in the regional form means what it means to the program on that
    // workstation: day first in en_GB and de_DE, month first in en_US.
    void sql_readsDatesTheRegionalWay_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("en_GB") << "en_GB"
                               << "04/12/2026"
                               << "2026-12-04";
        QTest::newRow("en_US") << "en_US"
                               << "04/12/2026"
                               << "2026-04-12";
        QTest::newRow("de_DE") << "de_DE"
                               << "04.12.2026"
                               << "2026-12-04";
        QTest::newRow("ISO anywhere") << "en_GB"
                                      << "2026-04-12"
                                      << "2026-04-12";
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
        const AdminRun unknown =
            AdminRun::run({QStringLiteral("sql"), database_, QStringLiteral("SELECT 1")},
                          QStringLiteral("xx_QQ"));
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY2(isNumberedError(unknown.err), qPrintable(unknown.err));
    }

    void sql_reportsRowsAffected() {
        initDatabase();
        const AdminRun update =
            AdminRun::run({QStringLiteral("sql"), database_,
                           QStringLiteral("UPDATE Incentive_group SET group_name = 'Everyone' "
                                          "WHERE group_id = 1")});
        QCOMPARE(update.exitCode, 0);
        QCOMPARE(update.out, QStringLiteral("1 row(s) affected\n"));
        const AdminRun none = AdminRun::run(
            {QStringLiteral("sql"), database_,
             QStringLiteral("DELETE FROM Incentive_group_formula WHERE group_id = 99")});
        QCOMPARE(none.out, QStringLiteral("0 row(s) affected\n"));
        const AdminRun check =
            AdminRun::run({QStringLiteral("sql"), database_,
                           QStringLiteral("SELECT group_name FROM Incentive_group")});
        QCOMPARE(check.out, QStringLiteral("group_name\nEveryone\n"));
    }

    void sql_reportsErrors_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("statement");
        QTest::newRow("unknown table")
            << QString() << QStringLiteral("SELECT * FROM No_such_table");
        QTest::newRow("syntax error") << QString() << QStringLiteral("SELEC formula_id FROM x");
        QTest::newRow("unterminated text")
            << QString() << QStringLiteral("SELECT 'abc FROM Incentive_formula");
        QTest::newRow("missing file")
            << QStringLiteral("missing.sqlite") << QStringLiteral("SELECT 1");
    }

    void sql_reportsErrors() {
        QFETCH(QString, file);
        QFETCH(QString, statement);
        initDatabase();
        const QString path = file.isEmpty() ? database_ : dir_.filePath(file);
        const AdminRun run = AdminRun::run({QStringLiteral("sql"), path, statement});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(isNumberedError(run.err), qPrintable(run.err));
        if (!file.isEmpty())
            QVERIFY(!QFile::exists(path)); // a missing database is not created by sql
    }
};

VELORA_TEST(TestAdmin)
#include "TestAdmin.moc"
