#include "AnswersScript.h"
#include "ExchangeFile.h"
#include "FormulaName.h"
#include "SchemeValidator.h"
#include "WizardCommandLine.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "suite/HXRegion.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velora::wizard;

// What the wizard accepts from outside: its command line, the numbers typed on its pages, the
// name, an answers file, and the exchange file it writes.
class TestWizardInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandLineKeepsBlanksInsideValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("problem");
        QTest::newRow("as handed over")
            << "/INI=/srv/my suite/HALVEX/SYSTEM/HALVEX.INI /UNAME=supervisor /PASSWORD=p w"
            << "/srv/my suite/HALVEX/SYSTEM/HALVEX.INI"
            << "supervisor"
            << "p w"
            << "";
        QTest::newRow("any order, any case, empty password")
            << "/password= /uname=ann /Ini=/a b/c.ini"
            << "/a b/c.ini"
            << "ann"
            << ""
            << "";
        QTest::newRow("a slash inside a value") << "/INI=/x /y=z/HALVEX.INI /UNAME=a/b /PASSWORD=/c"
                                                << "/x /y=z/HALVEX.INI"
                                                << "a/b"
                                                << "/c"
                                                << "";
        QTest::newRow("no configuration") << "/UNAME=a /PASSWORD=b"
                                          << ""
                                          << "a"
                                          << "b"
                                          << "The switch /INI=<configuration file> is missing.";
        QTest::newRow("twice") << "/INI=a /INI=b"
                               << "a"
                               << ""
                               << ""
                               << "The switch /INI is given more than once.";
        QTest::newRow("stray text") << "junk /INI=a"
                                    << ""
                                    << ""
                                    << ""
                                    << "Unknown argument \"junk\".";
    }
    void commandLineKeepsBlanksInsideValues() {
        QFETCH(QString, text);
        const WizardCommandLine line(text);
        QTEST(line.ini(), "ini");
        QTEST(line.userName(), "user");
        QTEST(line.password(), "password");
        QTEST(line.problem(), "problem");
        // A launcher that splits the text at blanks hands over the same line.
        const WizardCommandLine split = WizardCommandLine::fromArguments(text.split(' '));
        QCOMPARE(split.ini(), line.ini());
        QCOMPARE(split.password(), line.password());
    }

    void numbersAreRefusedWithTheirReason_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("limits");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("problems");
        QTest::addColumn<double>("secondRate");
        const QStringList none;
        QTest::newRow("right") << "en_US" << QStringList{"1,000", "2000"}
                               << QStringList{"0.07", ".08"} << "0.09" << none << 0.08;
        QTest::newRow("regional form") << "de_DE" << QStringList{"1.000", "2000"}
                                       << QStringList{"0,07", "0,085"} << "0" << none << 0.085;
        QTest::newRow("out of order, negative")
            << "en_US" << QStringList{"2000", "1000"} << QStringList{"0.07", "-0.08"} << "0.09"
            << QStringList{"bandLimit_1: Tiers out of order: this limit must be above 2,000.",
                           "bandRate_1: A rate cannot be negative."}
            << -0.08;
        QTest::newRow("equal limits, zero limit, text")
            << "en_US" << QStringList{"0", "1000", "1000"} << QStringList{"1", "2", "3"} << "x"
            << QStringList{"bandLimit_0: Must be more than 0.",
                           "bandLimit_2: Tiers out of order: this limit must be above 1,000.",
                           "lastBandRate: Not a number; type it like 1,234.50."}
            << 2.0;
        QTest::newRow("a slipped decimal point")
            << "en_US" << QStringList{"1000", "2000"} << QStringList{"85", "0.08"} << "10"
            << QStringList{"bandRate_0: Out of range: at most 10.00 a line."} << 0.08;
        QTest::newRow("empty, decimals, another locale's form")
            << "en_US" << QStringList{"", "1.5"} << QStringList{"0.0000001", "0,07"} << "0.09"
            << QStringList{"bandLimit_0: Type a number.", "bandRate_0: At most 6 decimals.",
                           "bandRate_1: Not a number; type it like 1,234.50."}
            << 0.0;
    }
    void numbersAreRefusedWithTheirReason() {
        QFETCH(QString, locale);
        QFETCH(QStringList, limits);
        QFETCH(QStringList, rates);
        QFETCH(QString, last);
        const velora::suite::HXRegion region{QLocale(locale)};
        SchemeInput input;
        input.shape = SchemeShape::TieredRates;
        input.bandLimits = limits;
        input.bandRates = rates;
        input.lastBandRate = last;
        SchemeAnswers answers;
        QStringList problems;
        for (const FieldProblem& p : SchemeValidator(region).read(input, answers))
            problems << p.field + QStringLiteral(": ") + p.reason;
        QTEST(problems, "problems");
        QTEST(answers.bands.value(1).rate, "secondRate");
    }

    void everyShapeReadsOnlyItsOwnFields() {
        const velora::suite::HXRegion region{QLocale(QStringLiteral("en_US"))};
        SchemeInput input;
        input.rate = QStringLiteral("0.08");
        input.threshold = QStringLiteral("-5"); // not a field of these shapes
        SchemeAnswers answers;
        for (SchemeShape shape : {SchemeShape::LineRate, SchemeShape::MinimumGuarantee}) {
            input.shape = shape;
            input.minimumPerHour = QStringLiteral("12");
            QVERIFY(SchemeValidator(region).read(input, answers).isEmpty());
        }
        QCOMPARE(answers.minimumPerHour, 12.0);
        input.shape = SchemeShape::MonthlyBonus;
        QCOMPARE(SchemeValidator(region).read(input, answers).size(), 2); // threshold, bonus
        input.shape = SchemeShape::AccountRates;
        QCOMPARE(SchemeValidator(region).read(input, answers).value(0).field,
                 QStringLiteral("accounts"));
        input.shape = SchemeShape::ProductionStandard;
        QCOMPARE(SchemeValidator(region).read(input, answers).value(0).reason,
                 QStringLiteral("Type a number."));
    }

    void namesOfFiftyCharactersOrTakenAreRefused() {
        velora::test::TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                               "partition_id) VALUES (7, 'O''Neil rate', 0), (8, 'East', 2)"));
        QCOMPARE(FormulaName::problem(QString(49, QLatin1Char('n')), db.connection(), 0),
                 QString());
        QCOMPARE(FormulaName::problem(QString(50, QLatin1Char('n'))),
                 QStringLiteral("The formula can only contain 50 characters. Please try "
                                "creating a formula with a smaller formula name."));
        QCOMPARE(FormulaName::problem(QStringLiteral("  ")),
                 QStringLiteral("Type a name for the formula."));
        QCOMPARE(FormulaName::problem(QStringLiteral("o'neil RATE "), db.connection(), 0),
                 QStringLiteral("A formula named \"o'neil RATE\" already exists. Choose another "
                                "name."));
        QCOMPARE(FormulaName::problem(QStringLiteral("East"), db.connection(), 0), QString());
    }

    void answersFileNamesItsFaultyLine() {
        const AnswersScript good = AnswersScript::parse(QStringLiteral(
            "# tiers\nshape=TIERED\nband = 1000 : 0.07\nband=2000:0.08\nlastrate=0.09\n"
            "account=12:0.1\nlines=char\nhours=system\nname=Night = shift\nfinish=no\n"));
        QCOMPARE(good.problem, QString());
        QCOMPARE(good.input.shape, SchemeShape::TieredRates);
        QCOMPARE(good.input.bandLimits, (QStringList{"1000", "2000"}));
        QCOMPARE(good.input.bandRates, (QStringList{"0.07", "0.08"}));
        QCOMPARE(good.input.accounts.value(0).accountId, 12);
        QCOMPARE(good.lines, LineMeasure::CharLines);
        QCOMPARE(good.hours, HourMeasure::SystemHours);
        QCOMPARE(good.name, QStringLiteral("Night = shift"));
        QVERIFY(!good.finish);
        QCOMPARE(AnswersScript::parse(QStringLiteral("shape=line-rate\nband=1000\n")).problem,
                 QStringLiteral("Answers file, line 2: expected band=<number>:<rate>."));
        QCOMPARE(AnswersScript::parse(QStringLiteral("shape=hourly\n")).problem,
                 QStringLiteral("Answers file, line 1: unknown shape \"hourly\"."));
        QCOMPARE(AnswersScript::parse(QStringLiteral("rate 0.08\n")).problem,
                 QStringLiteral("Answers file, line 1: expected key=value."));
    }

    void exchangeFileHasTheHandOverLayout() {
        const QByteArray bytes =
            ExchangeFile::compose(QStringLiteral("Tiered 2027 – Zoë"), QStringLiteral("Tiered"),
                                  QStringLiteral("Dim a\na = 1\r\nResults.IPay = a\n\n"));
        QCOMPARE(bytes, QByteArray("VELORA INCENTIVE FORMULA WIZARD\r\n"
                                   "Tiered 2027 \xe2\x80\x93 Zo\xc3\xab\r\n"
                                   "Tiered\r\n"
                                   "Dim a\r\na = 1\r\nResults.IPay = a\r\n *****\r\n"));

        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("HALVEX/TEMP"));
        QCOMPARE(ExchangeFile::write(folder, QStringLiteral("N"), QStringLiteral("S"),
                                     QStringLiteral("Results.IPay = 1")),
                 QString());
        QFile written(QDir(folder).filePath(QStringLiteral("FORMULA.TXT")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), ExchangeFile::compose(QStringLiteral("N"), QStringLiteral("S"),
                                                          QStringLiteral("Results.IPay = 1")));
        written.close();

        // What the main window could not read back whole is never written.
        const QString big = QStringLiteral("' ") + QString(32800, QLatin1Char('x'));
        QVERIFY(ExchangeFile::write(folder, QStringLiteral("N"), QStringLiteral("S"), big)
                    .startsWith(QStringLiteral("The formula is too long to hand over")));
        QVERIFY(!ExchangeFile::write(folder, QStringLiteral("N"), QStringLiteral("S"),
                                     QStringLiteral("a = 1\n ***** b\nResults.IPay = a"))
                     .isEmpty());
        QVERIFY(!ExchangeFile::write(folder, QStringLiteral("N\nM"), QStringLiteral("S"),
                                     QStringLiteral("Results.IPay = 1"))
                     .isEmpty());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().endsWith("Results.IPay = 1\r\n *****\r\n"));
        const QByteArray largest =
            ExchangeFile::compose(QStringLiteral("N"), QStringLiteral("S"),
                                  QString(ExchangeFile::kMaxBytes - 49, QLatin1Char('a')));
        QCOMPARE(largest.size(), ExchangeFile::kMaxBytes);
        QCOMPARE(ExchangeFile::problem(QStringLiteral("N"), QStringLiteral("S"),
                                       QString(ExchangeFile::kMaxBytes - 49, QLatin1Char('a'))),
                 QString());
    }

    void exchangeFolderIsBesideTheSystemFolder() {
        QCOMPARE(ExchangeFile::suiteTempFolder(QStringLiteral("/opt/my suite/HALVEX/system/"
                                                              "HALVEX.INI")),
                 QStringLiteral("/opt/my suite/HALVEX/TEMP"));
        QCOMPARE(ExchangeFile::suiteTempFolder(QStringLiteral("/etc/halvex.ini")),
                 QDir(QDir::tempPath()).filePath(QStringLiteral("velora")));
        QCOMPARE(ExchangeFile::suiteTempFolder(QStringLiteral("/opt/SYSTEMS/HALVEX.INI")),
                 QDir(QDir::tempPath()).filePath(QStringLiteral("velora")));
    }
};

VELORA_TEST(TestWizardInput)
#include "TestWizardInput.moc"
