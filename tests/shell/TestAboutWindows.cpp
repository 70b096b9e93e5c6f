#include "TestPaths.h"
#include "common/TestMain.h"
#include "db/ConnectionString.h"
#include "shell/ConnectionStringMask.h"
#include "shell/HelpLocator.h"
#include "shell/SystemInformationDialog.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velora::shell;

namespace {

void writeFile(const QString& path, const QString& text) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// The value shown for an item of a section (a heading row spans both columns), or a marker
// when the row is missing. Zero-width spaces (break opportunities) are left out.
QString tableValue(const QTableWidget& table, const QString& section, const QString& item) {
    QString current;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.columnSpan(row, 0) == 2)
            current = table.item(row, 0)->text();
        else if (current == section && table.item(row, 0)->text() == item)
            return table.item(row, 1)->text().remove(QChar(0x200B));
    }
    return QStringLiteral("<no row %1/%2>").arg(section, item);
}

} // namespace

class TestAboutWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Passwords are masked wherever they stand and however they are written; values in
    // braces or quotes may hold ";".
    void maskPassword_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QList<QPair<const char*, const char*>> rows{
            {"Provider=SQLOLEDB;Data Source=srv;Password=secret;Initial Catalog=inc",
             "Provider=SQLOLEDB;Data Source=srv;Password=****;Initial Catalog=inc"},
            {"UID=a; Password = secret ;X=1", "UID=a; Password = ****;X=1"},
            {"PWD={se;cr}}et};DSN=x", "PWD=****;DSN=x"},
            {"Password=\"a;b\"\"c\";X=1", "Password=****;X=1"},
            {"PWD={abc;DSN=x", "PWD=****"},
            {"Trusted;PWD=;Password=b", "Trusted;PWD=****;Password=****"},
            {"UID=password;Old Password=x;PWDX=y", "UID=password;Old Password=x;PWDX=y"}};
        for (const auto& [text, expected] : rows)
            QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(expected);
    }

    void maskPassword() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(velora::shell::maskPassword(text), expected);
    }

    // A value written as ConnectionString::quoted gives it is read back whole, so a path or a
    // password with ";" cannot add pairs of its own (such as another Data Source).
    void connectionStringValuesComeBackWhole() {
        using velora::db::ConnectionString;
        for (const QString& value : {QStringLiteral("/data/a;Data Source=srv;b/incentive.sqlite"),
                                     QStringLiteral(" blank ends "), QStringLiteral("\"quoted\" ;"),
                                     QStringLiteral("{braced}"), QString()}) {
            const ConnectionString parsed = ConnectionString::parse(
                QStringLiteral("Initial Catalog=") + ConnectionString::quoted(value) +
                QStringLiteral(";Data Source=(embedded);PWD=") + ConnectionString::quoted(value));
            QCOMPARE(parsed.value(QStringLiteral("Initial Catalog")), value);
            QCOMPARE(parsed.value(QStringLiteral("PWD")), value);
            QVERIFY(parsed.isEmbedded());
            // The ODBC text keeps each value in one attribute as well.
            const ConnectionString odbc =
                ConnectionString::parse(parsed.odbcConnectionText(QStringLiteral("D}")));
            QCOMPARE(odbc.value(QStringLiteral("DATABASE")), value);
            QCOMPARE(odbc.value(QStringLiteral("PWD")), value);
            QCOMPARE(odbc.value(QStringLiteral("DRIVER")), QStringLiteral("D}"));
            QCOMPARE(odbc.value(QStringLiteral("SERVER")), QStringLiteral("(embedded)"));
        }
    }

    void helpLocatorSearchesInOrder() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString programDir = root.filePath(QStringLiteral("prefix/bin"));
        const QString shared = root.filePath(QStringLiteral("prefix/share/velora/help/index.html"));
        const QString beside = root.filePath(QStringLiteral("prefix/bin/help/index.html"));
        const QString builtIn = root.filePath(QStringLiteral("source/docs/help"));
        writeFile(shared, QStringLiteral("shared"));
        writeFile(beside, QStringLiteral("beside"));
        writeFile(builtIn + QStringLiteral("/index.html"), QStringLiteral("built in"));
        QCOMPARE(HelpLocator::find(programDir, builtIn), shared);
        QVERIFY(QFile::remove(shared));
        QCOMPARE(HelpLocator::find(programDir, builtIn), beside);
        QVERIFY(QFile::remove(beside));
        QVERIFY(QDir(programDir).mkpath(QStringLiteral("help/index.html"))); // a folder
        QCOMPARE(HelpLocator::find(programDir, builtIn), builtIn + QStringLiteral("/index.html"));
        QVERIFY(QFile::remove(builtIn + QStringLiteral("/index.html")));
        QCOMPARE(HelpLocator::find(programDir, builtIn), QString());
        QCOMPARE(HelpLocator::find(root.path()),
                 QDir::cleanPath(QStringLiteral(VELORA_SOURCE_DIR "/docs/help/index.html")));
    }

    void systemInfoShowsAndCopiesWithoutThePassword() {
        SystemInfo info;
        info.connection.connectionString =
            QStringLiteral("Provider=SQLOLEDB;Data Source=DBSRV01;User ID=inc;Password=S3cr3t!;"
                           "Initial Catalog=Incentive");
        info.user.rights = {18, 16, 17, 16};
        SystemInformationDialog dialog(info);
        const QTableWidget& table = *dialog.tblSystemInfo();
        QCOMPARE(tableValue(table, "Connection", "Connection string"),
                 QStringLiteral("Provider=SQLOLEDB;Data Source=DBSRV01;User ID=inc;"
                                "Password=****;Initial Catalog=Incentive"));
        QCOMPARE(tableValue(table, "User", "Rights"), QStringLiteral("16, 17, 18"));
        QGuiApplication::clipboard()->clear();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, dialog.reportText());
        QVERIFY(!copied.contains(QStringLiteral("S3cr3t")));
        QVERIFY(copied.contains(QRegularExpression(QStringLiteral("\n  Rights: +16, 17, 18\n"))));
    }
};

VELORA_TEST(TestAboutWindows)
#include "TestAboutWindows.moc"
