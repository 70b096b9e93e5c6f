#include "TestPaths.h"
#include "common/TestMain.h"
#include "db/ConnectionString.h"
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
    // Passwords are masked wherever they stand and however they are written; values in
    // braces or quotes may hold ";".
    void maskPassword_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QList<QPair<const char*, const char*>> rows{
            {"Provider=SQLOLEDB;Data Source=srv;Password=secret;Initial Catalog=inc",
             "Provider=SQLOLEDB;Data Source=srv;Password=****;Initial Catalog=inc"},
            {"DSN=velora;UID=sa;pwd=secret", "DSN=velora;UID=sa;pwd=****"},
            {"UID=a; Password = secret ;X=1", "UID=a; Password = ****;X=1"},
            {"PWD={se;cr}}et};DSN=x", "PWD=****;DSN=x"},
            {"Password=\"a;b\"\"c\";X=1", "Password=****;X=1"},
            {"Password='a;b';X=1", "Password=****;X=1"},
            {"PWD={abc;DSN=x", "PWD=****"},
            {"Trusted;PWD=;Password=b", "Trusted;PWD=****;Password=****"},
            {"UID=password;Old Password=x;PWDX=y", "UID=password;Old Password=x;PWDX=y"},
            {"PWD=a=b;X=c=d", "PWD=****;X=c=d"}};
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
                                     QStringLiteral("'single"), QStringLiteral("{braced}"),
                                     QStringLiteral("plain"), QString()}) {
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
        QCOMPARE(ConnectionString::quoted(QStringLiteral("plain")), QStringLiteral("plain"));
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

    void helpWindowShowsTheHelpOrSaysItIsMissing() {
        QWidget owner;
        HelpWindow help(HelpLocator::find(QString()), &owner);
        QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
        QVERIFY(help.isWindow() && help.hasHelp());
        QCOMPARE(help.windowTitle(), QStringLiteral("Velora Incentive Help"));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Logging in")));

        QTemporaryDir root;
        const QString missing = root.filePath(QStringLiteral("help/index.html"));
        HelpWindow none(missing, nullptr, {root.filePath(QStringLiteral("help"))});
        QVERIFY(!none.hasHelp());
        QVERIFY(none.browser()->toPlainText().contains(missing));
        QVERIFY(!none.findChild<QToolButton*>(QStringLiteral("cmdHelpHome"))->isEnabled());
        none.showDefaultTopic(); // must not fail without a help file
        QVERIFY(none.isVisible());
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
        info.version = ProgramRelease::version();
        info.releaseDate = ProgramRelease::releaseDate();
        info.userName = QStringLiteral("mlopez");
        info.firstName = QStringLiteral("Maria");
        info.lastName = QStringLiteral("Lopez");
        info.isAdministrator = true;
        AboutDialog about(info);
        QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
        QVERIFY(labelText(about, "lblVersion").contains(ProgramRelease::version()));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(ProgramRelease::version())
                    .hasMatch());
        QVERIFY(QDate::fromString(ProgramRelease::releaseDate(), Qt::ISODate).isValid());
        QCOMPARE(labelText(about, "lblFullName"), QStringLiteral("Maria Lopez"));
        QCOMPARE(labelText(about, "lblTransId"), QStringLiteral("(none)"));
        QCOMPARE(labelText(about, "lblAdministrator"), QStringLiteral("Yes"));
        about.show();
        about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void systemInfoShowsAndCopiesWithoutThePassword() {
        SystemInformationDialog dialog(sampleSystemInfo());
        QCOMPARE(dialog.objectName(), QStringLiteral("frmSystemInfo"));
        const QTableWidget& table = *dialog.tblSystemInfo();
        QCOMPARE(tableValue(table, "Connection", "Connection string"),
                 QStringLiteral("Provider=SQLOLEDB;Data Source=DBSRV01;User ID=inc;"
                                "Password=****;Initial Catalog=Incentive"));
        QCOMPARE(tableValue(table, "User", "Partition"), QStringLiteral("3 (North)"));
        QCOMPARE(tableValue(table, "User", "Rights"), QStringLiteral("16, 17, 18"));
        QCOMPARE(tableValue(table, "Workstation", "Screen size"), QStringLiteral("1920 x 1080"));
        QGuiApplication::clipboard()->clear();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, dialog.reportText());
        QVERIFY(!copied.contains(QStringLiteral("S3cr3t")));
        QVERIFY(copied.contains(QRegularExpression(QStringLiteral("\n  Rights: +16, 17, 18\n"))));
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
