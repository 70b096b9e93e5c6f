#include "ManPage.h"
#include "ProgramHelp.h"
#include "TestPaths.h"
#include "common/ErrorLog.h"
#include "common/LoggedMessages.h"
#include "common/ScriptedMessages.h"
#include "common/TestMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using velora::cli::ManPage;
using velora::cli::ProgramHelp;
using velora::common::ErrorLog;
using velora::common::LoggedMessages;
using velora::common::MessageAnswer;
using velora::common::MessageButtons;
using velora::common::MessageIcon;

class TestProgramConventions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --help and --version answer without a display and without logging in; an unknown
    // option is a command-line error with its own status. inc_wiz keeps its /KEY=value
    // grammar, the tools their subcommands.
    void everyProgram_answersHelpAndVersion_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("velora-incentive") << VELORA_INCENTIVE_PATH << "velora-incentive";
        QTest::newRow("velora-admin") << VELORA_ADMIN_PATH << "velora-admin";
        QTest::newRow("velora-engine") << VELORA_ENGINE_PATH << "velora-engine";
        QTest::newRow("inc_wiz") << VELORA_WIZARD_PATH << "inc_wiz";
    }
    void everyProgram_answersHelpAndVersion() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        const Run help = run(path, {QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: ") + name + u' '),
                 qPrintable(help.out));
        QVERIFY(help.out.contains(QStringLiteral("\nExit status:\n  0\n")));
        QCOMPARE(help.err, QString());
        const Run version = run(path, {QStringLiteral("-v")});
        QCOMPARE(version.out, name + QStringLiteral(" 1.0.0\n"));
        const Run wrong = run(path, {QStringLiteral("--frobnicate")});
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.contains(QStringLiteral("--help")), qPrintable(wrong.err));
        QCOMPARE(wrong.out, QString());
    }

    // The manual page says what --help says: synopsis, name, description, each section with
    // its terms, text that troff would misread made plain, tables kept as they stand.
    void manPage_isTheHelpText() {
        ProgramHelp help(QStringLiteral("velora-admin"), QStringLiteral("1.0.0"),
                         QStringLiteral("create and back up databases"));
        help.usage(QStringLiteral("backup DB FILE")).usage(QStringLiteral("init FILE"));
        help.paragraph(QStringLiteral(".dots start a line\nC:\\path and \"quotes\""));
        help.section(QStringLiteral("Commands"),
                     {{QStringLiteral("backup DB FILE"),
                       QStringLiteral("Copies the database.\n        key=value   kept as is")}});
        help.exitStatus(3, QStringLiteral("In use."));
        const QString page =
            ManPage::fromHelp(help.text(), {QStringLiteral("velora-admin"), QStringLiteral("1.0.0"),
                                            QStringLiteral("2026-12-05")});
        QCOMPARE(page.section(u'\n', 0, 6),
                 QStringLiteral(".TH \"VELORA\\-ADMIN\" 1 \"2026\\-12\\-05\" \"Velora Incentive "
                                "1.0.0\" \"Velora Incentive\"\n"
                                ".SH NAME\n"
                                "velora\\-admin \\- create and back up databases\n"
                                ".SH SYNOPSIS\n.nf\n"
                                "velora\\-admin backup DB FILE\n"
                                "velora\\-admin init FILE"));
        for (const char* expected :
             {"\n.SH DESCRIPTION\n\\&.dots start a line\nC:\\epath and \\(dqquotes\\(dq\n",
              "\n.SH \"OPTIONS\"\n.TP\n.B \"\\-h, \\-\\-help\"\nPrints this text and exits.\n",
              "\n.TP\n.B \"backup DB FILE\"\nCopies the database.\n.nf\n        key=value   kept "
              "as is\n.fi\n",
              "\n.SH \"EXIT STATUS\"\n.TP\n.B \"3\"\nIn use.\n"})
            QVERIFY2(page.contains(QString::fromLatin1(expected)), expected);
    }

    // Errors go to the log with their number and time before the box shows; notices and
    // questions do not. The answer of the box comes back unchanged.
    void errors_areLoggedWithTheirNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("logged");
        QTest::newRow("critical without number")
            << "The password is invalid." << int(MessageIcon::Critical)
            << "\tError\tVelora Incentive\tThe password is invalid.\n";
        QTest::newRow("start-up error, no icon")
            << "Error Number:-2147467259\r\nError Description:Cannot open" << int(MessageIcon::None)
            << "\tError -2147467259\tVelora Incentive\tError Number:-2147467259 | Error "
               "Description:Cannot open\n";
        QTest::newRow("numbered, after two line breaks")
            << "Cannot save.\n\nError 53:File\tnot found" << int(MessageIcon::Information)
            << "\tError 53\tVelora Incentive\tCannot save. |  | Error 53:File not found\n";
        QTest::newRow("explorer error")
            << "Zarererov Avudezez Error 7:x" << int(MessageIcon::Critical)
            << "\tError 7\tVelora Incentive\tZarererov Avudezez Error 7:x\n";
        QTest::newRow("warning") << "Enter a number." << int(MessageIcon::Warning) << "";
        QTest::newRow("question") << "Error 5 again: retry?" << int(MessageIcon::Question) << "";
    }
    void errors_areLoggedWithTheirNumber() {
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, logged);
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        const ErrorLog log(ErrorLog::defaultPath());
        QCOMPARE(log.path(), state.filePath(QStringLiteral("velora/velora.log")));
        velora::test::ScriptedMessages shown;
        shown.queue(MessageAnswer::No);
        LoggedMessages messages(shown, log);
        QCOMPARE(messages.show(text, QStringLiteral("Velora Incentive"),
                               static_cast<MessageIcon>(icon), MessageButtons::YesNo),
                 MessageAnswer::No);
        QCOMPARE(shown.shown.size(), 1);
        QFile file(log.path());
        if (logged.isEmpty()) {
            QVERIFY(!file.exists());
            return;
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString line = QString::fromUtf8(file.readAll());
        const QString time = line.section(u'\t', 0, 0);
        QVERIFY2(QDateTime::fromString(time, Qt::ISODateWithMs).isValid(), qPrintable(time));
        QCOMPARE(line.mid(time.size()), logged);
        QCOMPARE(file.permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    }

    // A full log moves aside and a new one starts; the log of a folder that cannot be made
    // is skipped, never an error of its own.
    void errorLog_rotatesAndNeverFails() {
        QTemporaryDir state;
        const ErrorLog log(state.filePath(QStringLiteral("velora/velora.log")));
        QVERIFY(log.append(QDateTime::currentDateTime(), QStringLiteral("t"), QStringLiteral("a")));
        QFile full(log.path());
        QVERIFY(full.open(QIODevice::Append));
        full.write(QByteArray(ErrorLog::kRotateBytes, 'x'));
        full.close();
        QVERIFY(log.append(QDateTime::currentDateTime(), QStringLiteral("t"), QStringLiteral("b")));
        QVERIFY(QFileInfo(log.path() + QStringLiteral(".1")).size() > ErrorLog::kRotateBytes);
        QVERIFY(QFileInfo(log.path()).size() < 200);

        QFile blocker(state.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const ErrorLog impossible(state.filePath(QStringLiteral("file/velora.log")));
        QVERIFY(!impossible.append(QDateTime::currentDateTime(), QStringLiteral("t"),
                                   QStringLiteral("c")));
    }

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    static Run run(const QString& program, const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // Were it to log in, it would find no installation here.
        environment.insert(QStringLiteral("VELORA_REGISTRY"), QStringLiteral("/nonexistent"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        Run result;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
};

VELORA_TEST(TestProgramConventions)
#include "TestProgramConventions.moc"
