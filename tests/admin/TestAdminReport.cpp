#include "AdminRun.h"
#include "common/TestMain.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using velora::test::AdminRun;

namespace {

// Rows of a CSV file as Python's csv module reads it (strict), or of an XLSX workbook as
// xlsx2csv converts it: what a spreadsheet or a payroll script would see.
QList<QStringList> readBack(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    QList<QStringList> rows;
    const QJsonArray parsed = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    for (const QJsonValue& row : parsed) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

const QString kCsvToJson =
    QStringLiteral("import csv, json, sys\n"
                   "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                   "    print(json.dumps(list(csv.reader(f, strict=True))))\n");

QList<QStringList> csvRows(const QString& path) {
    return readBack(QStringLiteral("python3"), {QStringLiteral("-c"), kCsvToJson, path});
}

QList<QStringList> xlsxRows(const QString& path) {
    const QString csv = path + QStringLiteral(".csv");
    QProcess convert;
    convert.start(QStringLiteral("xlsx2csv"), {path, csv});
    if (!convert.waitForFinished(60000) || convert.exitCode() != 0) {
        qWarning("xlsx2csv failed: %s", convert.readAllStandardError().constData());
        return {};
    }
    return csvRows(csv);
}

} // namespace

class TestAdminReport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString database_;

    QString output(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private Q_SLOTS:
    // One database for every test: names that a careless export would split or garble.
    void initTestCase() {
        QVERIFY(dir_.isValid());
        database_ = dir_.filePath(QStringLiteral("report.sqlite"));
        QCOMPARE(AdminRun::run({QStringLiteral("init"), database_}).exitCode, 0);
        auto connection = velora::test::openDatabase(database_);
        connection->execute(QStringLiteral(
            "INSERT INTO Trans_info (trans_id, first_name, last_name, extra3) VALUES "
            "('a,1', 'Zoë', 'Ångström', 0), ('q\"2', 'Ann \"Nan\"', 'Lee, Jr', 0), "
            "('n' + CHAR(13) + '3', 'Two' + CHAR(13) + CHAR(10) + 'Lines', '=Ng', 1)"));
        connection->execute(
            QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                           "number_rpts_modified, lines_modified, incent_hours_typed_modified, "
                           "incent_typed_modified, incent_pay_modified) VALUES "
                           "('a,1', 1, '2024-05-06', 3, 120.5, 4, 130, 1234.5), "
                           "('q\"2', 1, '2024-05-07', 1, 10, 1, 11, -2.25), "
                           "('n' + CHAR(13) + '3', 1, '2024-05-31', 2, 20, 2, 22, 3)"));
    }

    // The CSV and the XLSX read back field for field, whatever the names hold; numbers are
    // plain numbers; the total comes last. Holding everyone's pay, they are the owner's alone.
    void exportsReadBackExactly_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("csv") << QStringLiteral("csv");
        QTest::newRow("xlsx") << QStringLiteral("xlsx");
    }

    void exportsReadBackExactly() {
        QFETCH(QString, format);
        const QString file = dir_.filePath(QStringLiteral("may.") + format);
        const AdminRun run =
            AdminRun::run({QStringLiteral("report"), database_, QStringLiteral("--from"),
                           QStringLiteral("2024-05-01"), QStringLiteral("--to=2024-05-31"),
                           QStringLiteral("--format"), format, QStringLiteral("--output"), file});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(QFileInfo(file).permissions() &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        const QList<QStringList> rows =
            format == QLatin1String("csv") ? csvRows(file) : xlsxRows(file);
        const QList<QStringList> expected{
            {"User ID", "Name", "Reports", "True Lines", "Hours", "IHours", "ITyped", "IPay"},
            {"n\r3", "=Ng, Two\r\nLines", "2", "20", "0", "2", "22", "3"},
            {"q\"2", "Lee, Jr, Ann \"Nan\"", "1", "10", "0", "1", "11", "-2.25"},
            {"a,1", "Ångström, Zoë", "3", "120.5", "0", "4", "130", "1234.5"},
            {"Total", "", "6", "150.5", "0", "7", "163", "1235.25"}};
        QCOMPARE(rows.size(), expected.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QStringList want = expected.at(i);
            // A text a spreadsheet would run as a formula is kept as text in a workbook's cell,
            // and written with an apostrophe in front in a CSV file.
            if (format == QLatin1String("csv"))
                want.replaceInStrings(QRegularExpression(QStringLiteral("^=")),
                                      QStringLiteral("'="));
            // A workbook keeps a line break inside a cell as a bare line feed.
            if (format == QLatin1String("xlsx")) {
                want.replaceInStrings(QStringLiteral("\r\n"), QStringLiteral("\n"));
                want.replaceInStrings(QStringLiteral("\r"), QStringLiteral("\n"));
            }
            QCOMPARE(rows.at(i), want);
        }
    }

    // Every refused command line or failed export exits non-zero, says why on stderr and
    // leaves no file under the output name.
    void badInputWritesNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        // database, --from, --to, --format, --output ("-" leaves the option out), the message.
        const char* cases[][7] = {
            {"not a date", "db", "2024-02-30", "2024-05-31", "csv", "refused.csv", "YYYY-MM-DD"},
            {"regional date", "db", "05/01/2024", "2024-05-31", "csv", "refused.csv", "YYYY-MM-DD"},
            {"from after to", "db", "2024-05-31", "2024-05-01", "csv", "refused.csv", "is after"},
            {"unknown format", "db", "2024-05-01", "2024-05-31", "ods", "refused.csv",
             "csv or xlsx"},
            {"no such folder", "db", "2024-05-01", "2024-05-31", "xlsx", "missing/refused.csv",
             "could not be written"},
            {"output is a folder", "db", "2024-05-01", "2024-05-31", "csv", "",
             "could not be written"},
            {"no database", "none.sqlite", "2024-05-01", "2024-05-31", "csv", "refused.csv",
             "not found"},
            {"no output", "db", "2024-05-01", "2024-05-31", "csv", "-", "--output"},
            {"unknown partition", "db --partition=7", "2024-05-01", "2024-05-31", "csv",
             "refused.csv", "no such partition"}};
        for (const auto& c : cases) {
            // "db" is the test's database, optionally followed by more arguments.
            const QStringList database = QString::fromLatin1(c[1]).split(QLatin1Char(' '));
            QStringList arguments{QStringLiteral("report"), database.first() == QLatin1String("db")
                                                                ? database_
                                                                : output(c[1])};
            arguments << database.mid(1);
            const char* options[] = {"--from", "--to", "--format", "--output"};
            for (int i = 0; i < 4; ++i) {
                if (qstrcmp(c[2 + i], "-") != 0)
                    arguments << QLatin1String(options[i])
                              << (i == 3 ? output(c[2 + i]) : QLatin1String(c[2 + i]));
            }
            QTest::newRow(c[0]) << arguments << QString::fromLatin1(c[6]);
        }
    }

    void badInputWritesNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        const AdminRun run = AdminRun::run(arguments);
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QVERIFY(!QFile::exists(output("refused.csv")));
        QVERIFY(!QFile::exists(output("none.sqlite")));
        QCOMPARE(QDir(dir_.path())
                     .entryList({QStringLiteral("*.csv*")}, QDir::Files)
                     .filter(QStringLiteral("refused")),
                 QStringList());
    }
};

VELORA_TEST(TestAdminReport)
#include "TestAdminReport.moc"
