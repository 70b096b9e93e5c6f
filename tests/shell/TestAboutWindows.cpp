#include "common/TestMain.h"
#include "TestPaths.h"
#include "shell/AboutDialog.h"
#include "shell/ConnectionStringMask.h"
#include "shell/HelpLocator.h"
#include "shell/HelpWindow.h"
#include "shell/ProgramRelease.h"
#include "shell/SystemInfoProbe.h"
#include "shell/SystemInformationDialog.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace velora::shell;

namespace {

void writeFile(const QString& path, const QString& text) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString labelText(const QWidget& form, const char* name) {
    const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
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

// Clicks the link whose visible text is `text` in a browser that is on screen.
void clickLink(QTextBrowser& browser, const QString& text) {
    QTextCursor found = browser.document()->find(text);
    QVERIFY2(!found.isNull(), qPrintable(text));
    found.setPosition(found.selectionStart() + 1);
    const QPoint at = browser.cursorRect(found).center();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
}

SystemInfo sampleSystemInfo() {
    SystemInfo info;
    info.connection = {QStringLiteral("SQL Server (ODBC)"), QStringLiteral("DBSRV01 / Incentive"),
                       QStringLiteral("Provider=SQLOLEDB;Data Source=DBSRV01;User ID=inc;"
                                      "Password=S3cr3t!;Initial Catalog=Incentive")};
    info.configurationFile = QStringLiteral("/opt/halvex/HALVEX/SYSTEM/HALVEX.INI");
    info.user = {QStringLiteral("mlopez"),
                 QStringLiteral("Maria Lopez"),
                 42,
                 QStringLiteral("T0420"),
                 3,
                 QStringLiteral("North"),
                 {18, 16, 17, 16}};
    info.workstation = {QStringLiteral("ws-17"),
                        QStringLiteral("Debian GNU/Linux 12"),
                        QStringLiteral("linux 6.1.0"),
                        QStringLiteral("6.4.2"),
                        QSize(1920, 1080),
                        QStringLiteral("en_US"),
                        QStringLiteral("M/d/yyyy")};
    return info;
}

} // namespace

// Records the addresses that the desktop would have been asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

class TestAboutWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void maskPassword_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("provider string")
            << "Provider=SQLOLEDB;Data Source=srv;User ID=sa;Password=secret;Initial Catalog=inc"
            << "Provider=SQLOLEDB;Data Source=srv;User ID=sa;Password=****;Initial Catalog=inc";
        QTest::newRow("ODBC last pair") << "DSN=velora;UID=sa;PWD=secret"
                                        << "DSN=velora;UID=sa;PWD=****";
        QTest::newRow("lower case key") << "pwd=secret;DSN=x"
                                        << "pwd=****;DSN=x";
        QTest::newRow("upper case key") << "PASSWORD=secret"
                                        << "PASSWORD=****";
        QTest::newRow("blanks around the key") << "UID=a; Password = secret ;X=1"
                                               << "UID=a; Password = ****;X=1";
        QTest::newRow("braced value with semicolons") << "PWD={se;cr}}et};DSN=x"
                                                      << "PWD=****;DSN=x";
        QTest::newRow("quoted value with semicolons") << "Password=\"a;b\"\"c\";X=1"
                                                      << "Password=****;X=1";
        QTest::newRow("single-quoted value") << "Password='a;b';X=1"
                                             << "Password=****;X=1";
        QTest::newRow("unterminated brace masks the rest") << "PWD={abc;DSN=x"
                                                           << "PWD=****";
        QTest::newRow("empty password") << "PWD=;DSN=x"
                                        << "PWD=****;DSN=x";
        QTest::newRow("two passwords") << "PWD=a;Password=b"
                                       << "PWD=****;Password=****";
        QTest::newRow("value that looks like a key") << "UID=password;Persist Security Info=PWD"
                                                     << "UID=password;Persist Security Info=PWD";
        QTest::newRow("longer key") << "Old Password=x;PWDX=y"
                                    << "Old Password=x;PWDX=y";
        QTest::newRow("embedded, no password")
            << "Initial Catalog=incentive.sqlite;Data Source=(embedded);"
            << "Initial Catalog=incentive.sqlite;Data Source=(embedded);";
        QTest::newRow("part without a value") << "Trusted;PWD=x;"
                                              << "Trusted;PWD=****;";
        QTest::newRow("equals sign in a value") << "PWD=a=b;X=c=d"
                                                << "PWD=****;X=c=d";
        QTest::newRow("empty") << ""
                               << "";
    }

    void maskPassword() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(velora::shell::maskPassword(text), expected);
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
        QCOMPARE(HelpLocator::find(programDir, builtIn), builtIn + QStringLiteral("/index.html"));
        QVERIFY(QFile::remove(builtIn + QStringLiteral("/index.html")));
        QCOMPARE(HelpLocator::find(programDir, builtIn), QString());
    }

    void helpLocatorIgnoresAFolderNamedIndex() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin/help/index.html")));
        QCOMPARE(HelpLocator::find(root.filePath(QStringLiteral("bin")), QString()), QString());
    }

    void helpLocatorFallsBackToTheSourceTree() {
        QTemporaryDir nowhere;
        QCOMPARE(HelpLocator::find(nowhere.path()),
                 QDir::cleanPath(QStringLiteral(VELORA_SOURCE_DIR "/docs/help/index.html")));
        QCOMPARE(HelpLocator::folders(QString(), QStringLiteral("/x/help")),
                 QStringList{QStringLiteral("/x/help")});
    }

    void helpWindowShowsTheRealHelp() {
        QWidget owner;
        HelpWindow help(HelpLocator::find(QString()), &owner);
        QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
        QCOMPARE(help.parentWidget(), &owner);
        QVERIFY(help.isWindow());
        QVERIFY(help.hasHelp());
        QCOMPARE(help.browser()->documentTitle(), QStringLiteral("Velora Incentive Help"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Velora Incentive Help"));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Logging in")));
    }

    void helpWindowWithoutHelpSaysSo() {
        QTemporaryDir root;
        const QString missing = root.filePath(QStringLiteral("help/index.html"));
        HelpWindow help(missing, nullptr, {root.filePath(QStringLiteral("help"))});
        QVERIFY(!help.hasHelp());
        const QString shown = help.browser()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("could not be found")), qPrintable(shown));
        QVERIFY(shown.contains(missing));
        QVERIFY(!help.findChild<QToolButton*>(QStringLiteral("cmdHelpHome"))->isEnabled());
        help.showDefaultTopic(); // must not fail without a help file
        QVERIFY(help.isVisible());
    }

    void helpWindowFollowsLinks() {
        QTemporaryDir root;
        const QString index = root.filePath(QStringLiteral("index.html"));
        writeFile(index, QStringLiteral("<html><head><title>Start</title></head><body>"
                                        "<p><a href=\"page2.html\">next page</a></p>"
                                        "<p><a href=\"https://example.org/velora\">web site</a>"
                                        "</p></body></html>"));
        writeFile(root.filePath(QStringLiteral("page2.html")),
                  QStringLiteral("<html><head><title>Second</title></head><body>"
                                 "<p>Second page</p></body></html>"));
        UrlRecorder desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &desktop, "open");

        HelpWindow help(index, nullptr);
        help.showDefaultTopic();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* back = help.findChild<QToolButton*>(QStringLiteral("cmdHelpBack"));
        auto* home = help.findChild<QToolButton*>(QStringLiteral("cmdHelpHome"));
        QVERIFY(!back->isEnabled());

        clickLink(*help.browser(), QStringLiteral("next page"));
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("page2.html"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Second"));
        QVERIFY(back->isEnabled());
        home->click();
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("index.html"));

        clickLink(*help.browser(), QStringLiteral("web site"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(desktop.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.org/velora"))});
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("index.html"));
    }

    void aboutShowsWhatItIsGiven() {
        AboutInfo info;
        info.version = QStringLiteral("2.7.13");
        info.releaseDate = QStringLiteral("2026-12-05");
        info.databaseVersion = QStringLiteral("5.2");
        info.userName = QStringLiteral("mlopez");
        info.firstName = QStringLiteral("Maria");
        info.lastName = QStringLiteral("Lopez");
        info.transId = QStringLiteral("T0420");
        info.isAdministrator = true;
        AboutDialog about(info);
        QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(labelText(about, "lblProgramName"), QStringLiteral("Velora Incentive"));
        QVERIFY(labelText(about, "lblVersion").contains(QStringLiteral("2.7.13")));
        QVERIFY(labelText(about, "lblReleaseDate").contains(QStringLiteral("2026-12-05")));
        QCOMPARE(labelText(about, "lblDatabaseVersion"), QStringLiteral("5.2"));
        QCOMPARE(labelText(about, "lblUserName"), QStringLiteral("mlopez"));
        QCOMPARE(labelText(about, "lblFullName"), QStringLiteral("Maria Lopez"));
        QCOMPARE(labelText(about, "lblTransId"), QStringLiteral("T0420"));
        QCOMPARE(labelText(about, "lblAdministrator"), QStringLiteral("Yes"));
    }

    void aboutShowsMissingValuesAsNone() {
        AboutInfo info;
        info.userName = QStringLiteral("clerk");
        info.lastName = QStringLiteral("Smith");
        AboutDialog about(info);
        QCOMPARE(labelText(about, "lblFullName"), QStringLiteral("Smith"));
        QCOMPARE(labelText(about, "lblTransId"), QStringLiteral("(none)"));
        QCOMPARE(labelText(about, "lblDatabaseVersion"), QStringLiteral("(none)"));
        QCOMPARE(labelText(about, "lblAdministrator"), QStringLiteral("No"));
        about.show();
        about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void programReleaseIsThreePartVersion() {
        static const QRegularExpression threeParts(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"));
        QVERIFY2(threeParts.match(ProgramRelease::version()).hasMatch(),
                 qPrintable(ProgramRelease::version()));
        QVERIFY(QDate::fromString(ProgramRelease::releaseDate(), Qt::ISODate).isValid());
    }

    void systemInfoShowsWhatItIsGiven() {
        SystemInformationDialog dialog(sampleSystemInfo());
        QCOMPARE(dialog.objectName(), QStringLiteral("frmSystemInfo"));
        const QTableWidget& table = *dialog.tblSystemInfo();
        QCOMPARE(tableValue(table, "Connection", "Engine"), QStringLiteral("SQL Server (ODBC)"));
        QCOMPARE(tableValue(table, "Connection", "Database"),
                 QStringLiteral("DBSRV01 / Incentive"));
        QCOMPARE(tableValue(table, "Connection", "Connection string"),
                 QStringLiteral("Provider=SQLOLEDB;Data Source=DBSRV01;User ID=inc;"
                                "Password=****;Initial Catalog=Incentive"));
        QCOMPARE(tableValue(table, "Connection", "Configuration file"),
                 QStringLiteral("/opt/halvex/HALVEX/SYSTEM/HALVEX.INI"));
        QCOMPARE(tableValue(table, "User", "User name"), QStringLiteral("mlopez"));
        QCOMPARE(tableValue(table, "User", "User ID"), QStringLiteral("42"));
        QCOMPARE(tableValue(table, "User", "Transcriptionist ID"), QStringLiteral("T0420"));
        QCOMPARE(tableValue(table, "User", "Partition"), QStringLiteral("3 (North)"));
        QCOMPARE(tableValue(table, "User", "Rights"), QStringLiteral("16, 17, 18"));
        QCOMPARE(tableValue(table, "Workstation", "Host name"), QStringLiteral("ws-17"));
        QCOMPARE(tableValue(table, "Workstation", "Screen size"), QStringLiteral("1920 x 1080"));
        QCOMPARE(tableValue(table, "Workstation", "Date format"), QStringLiteral("M/d/yyyy"));
    }

    void copyPutsTheReportOnTheClipboard() {
        SystemInformationDialog dialog(sampleSystemInfo());
        QGuiApplication::clipboard()->clear();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, dialog.reportText());
        QVERIFY(!copied.contains(QStringLiteral("S3cr3t")));
        QVERIFY(copied.contains(QStringLiteral("\nUser\n")));
        QVERIFY(copied.contains(QRegularExpression(QStringLiteral("\n  Rights: +16, 17, 18\n"))));
        QVERIFY(copied.contains(QRegularExpression(QStringLiteral("\n  Host name: +ws-17\n"))));
    }

    void probeDescribesTheConnection_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("target");
        QTest::newRow("embedded, relative file")
            << "Initial Catalog=incentive.sqlite;Data Source=(embedded)"
            << "Embedded (SQLite)"
            << "/opt/halvex/HALVEX/SYSTEM/incentive.sqlite";
        QTest::newRow("embedded, absolute file")
            << "Initial Catalog=/data/inc.sqlite;Data Source=(EMBEDDED)"
            << "Embedded (SQLite)"
            << "/data/inc.sqlite";
        QTest::newRow("ODBC data source") << "DSN=Velora;UID=a;PWD=b"
                                          << "SQL Server (ODBC data source)"
                                          << "Velora";
        QTest::newRow("provider string")
            << "Provider=SQLOLEDB;Data Source=DBSRV01;Initial Catalog=Incentive"
            << "SQL Server (ODBC)"
            << "DBSRV01 / Incentive";
    }

    void probeDescribesTheConnection() {
        QFETCH(QString, text);
        QFETCH(QString, engine);
        QFETCH(QString, target);
        const auto connection =
            SystemInfoProbe::connection(text, QStringLiteral("/opt/halvex/HALVEX/SYSTEM"));
        QCOMPARE(connection.engine, engine);
        QCOMPARE(connection.target, target);
        QCOMPARE(connection.connectionString, text);
    }
};

VELORA_TEST(TestAboutWindows)
#include "TestAboutWindows.moc"
