#include "ExchangeFile.h"
#include "FormulaTemplate.h"
#include "TestPaths.h"
#include "common/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velora::wizard;

// The built inc_wiz, started the way the main window starts it, on a demo installation whose
// path holds blanks.
class TestWizardProgram : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString ini_;
    QString exchange_;

    struct Run {
        int exitCode = -1;
        QString err;
    };

    Run run(const QString& user, const QString& password, const QString& answers) {
        QFile::remove(exchange_);
        const QString script = dir_.filePath(QStringLiteral("answers one.txt"));
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(answers.toUtf8());
        file.close();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELORA_LOCALE"), QStringLiteral("en_US"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        // One argument text, as the hand-off builds it.
        process.setProgram(QStringLiteral(VELORA_WIZARD_PATH));
        process.setArguments({QStringLiteral("/INI=") + ini_ + QStringLiteral(" /UNAME=") + user +
                              QStringLiteral(" /PASSWORD=") + password +
                              QStringLiteral(" /SCRIPT=") + script});
        process.start();
        Run result;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString root = dir_.filePath(QStringLiteral("my suite"));
        QProcess admin;
        admin.start(QStringLiteral(VELORA_ADMIN_PATH),
                    {QStringLiteral("demo"), root, QStringLiteral("--users"), QStringLiteral("6"),
                     QStringLiteral("--days"), QStringLiteral("40"), QStringLiteral("--seed"),
                     QStringLiteral("5")});
        QVERIFY(admin.waitForFinished(120000) && admin.exitCode() == 0);
        ini_ = root + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        exchange_ = root + QStringLiteral("/HALVEX/TEMP/FORMULA.TXT");
    }

    // The pages turn the typed numbers into the formula the template writes for them.
    void scriptedFinishWritesTheFormula() {
        const Run result = run(QStringLiteral("supervisor"), QStringLiteral("supervisor"),
                               QStringLiteral("shape=tiered\nband=1,000:0.07\nband=2000:.08\n"
                                              "lastrate=0.09\nlines=char\nhours=system\n"
                                              "name=Night shift tiers\n"));
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        SchemeAnswers expected;
        expected.shape = SchemeShape::TieredRates;
        expected.bands = {{1000, 0.07}, {2000, 0.08}};
        expected.lastBandRate = 0.09;
        expected.lines = LineMeasure::CharLines;
        expected.hours = HourMeasure::SystemHours;
        QFile file(exchange_);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), ExchangeFile::compose(QStringLiteral("Night shift tiers"),
                                                       QStringLiteral("Tiered rates per line"),
                                                       FormulaTemplate::generate(expected)));
    }

    void failuresWriteNothing_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString good = QStringLiteral("shape=line-rate\nrate=0.08\nname=Plain\n");
        QTest::newRow("wrong password") << "nope" << good << 3 << "The password is invalid.";
        QTest::newRow("cancel") << "supervisor" << good + "finish=no\n" << 1 << "";
        QTest::newRow("negative rate") << "supervisor"
                                       << "shape=line-rate\nrate=-0.08\nname=X\n"
                                       << 4 << "rate: A rate cannot be negative.";
        QTest::newRow("name of 50") << "supervisor"
                                    << "shape=line-rate\nrate=0.08\nname=" + QString(50, 'n') << 4
                                    << "The formula can only contain 50 characters.";
        QTest::newRow("name taken")
            << "supervisor"
            << "shape=minimum\nrate=0.08\nminimum=9\nname=line RATE" << 4 << "already exists";
        QTest::newRow("unknown account") << "supervisor"
                                         << "shape=account-rates\nrate=1\naccount=999999:2\n"
                                         << 4 << "Account 999999 is not in the database.";
    }
    void failuresWriteNothing() {
        QFETCH(QString, password);
        QFETCH(QString, answers);
        QFETCH(QString, message);
        const Run result = run(QStringLiteral("supervisor"), password, answers);
        QTEST(result.exitCode, "exitCode");
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QVERIFY(!QFile::exists(exchange_));
    }

    void missingConfigurationWritesNothing() {
        QProcess process;
        process.start(QStringLiteral(VELORA_WIZARD_PATH),
                      {QStringLiteral("/INI=") + dir_.filePath(QStringLiteral("none.ini")),
                       QStringLiteral("/UNAME=a"), QStringLiteral("/PASSWORD=b"),
                       QStringLiteral("/SCRIPT=x")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardError().contains("could not be found"));
    }
};

VELORA_TEST(TestWizardProgram)
#include "TestWizardProgram.moc"
