#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FakePeriodSource;
using velora::test::FormulaRun;

// The documented example formula, the period functions, and what a compiled formula tells
// the engine about itself.
class TestCompiledFormula : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exampleFormula_data();
    void exampleFormula();
    void periodFunctionArguments_data();
    void periodFunctionArguments();
    void whatAFormulaUses_data();
    void whatAFormulaUses();
    void compiledFormulaKeepsItsText();
};

namespace {

const char* const Example =
    "' Line rate with a monthly tier and a productivity bonus\n"
    "Dim rate\n"
    "If MonthToDate(\"TrueLines\") > 30000 Then\n"
    "    rate = 0.09\n"
    "Else\n"
    "    rate = 0.08\n"
    "End If\n"
    "Results.ILines = TrueLines\n"
    "Results.IHours = Hours\n"
    "Results.IPay = Round(TrueLines * rate, 2)\n"
    "If Hours > 0 And TrueLines / Hours >= 180 Then Results.IPay = Results.IPay + 5\n";

} // namespace

void TestCompiledFormula::exampleFormula_data() {
    QTest::addColumn<double>("monthToDate");
    QTest::addColumn<double>("lines");
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("pay");
    QTest::newRow("lower tier, no bonus") << 1000.0 << 1000.0 << 8.0 << 80.0;
    QTest::newRow("upper tier, no bonus") << 40000.0 << 1000.0 << 8.0 << 90.0;
    QTest::newRow("tier boundary is exclusive") << 30000.0 << 1000.0 << 8.0 << 80.0;
    QTest::newRow("bonus at 180 lines an hour") << 1000.0 << 1440.0 << 8.0 << 120.2;
    QTest::newRow("bonus and upper tier") << 40000.0 << 2000.0 << 8.0 << 185.0;
    QTest::newRow("half a cent down to the even cent") << 40000.0 << 12.5 << 8.0 << 1.12;
    QTest::newRow("half a cent up to the even cent") << 40000.0 << 37.5 << 8.0 << 3.38;
}

void TestCompiledFormula::exampleFormula() {
    QFETCH(double, monthToDate);
    QFETCH(double, lines);
    QFETCH(double, hours);
    QFETCH(double, pay);
    FakePeriodSource periods;
    periods.answer = monthToDate;
    engine::RowInputs row;
    row.trueLines = lines;
    row.systemHours = hours;
    row.transId = QStringLiteral("jsmith");
    FormulaRun run(QString::fromUtf8(Example), row, &periods);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, pay);
    QCOMPARE(run.results.lines, lines);
    QCOMPARE(run.results.hours, hours);
    QCOMPARE(periods.questions.size(), size_t(1));
    QCOMPARE(periods.questions[0].period, engine::Period::Month);
    QCOMPARE(periods.questions[0].measure, engine::Measure::TrueLines);
    QCOMPARE(periods.questions[0].allAccounts, false);
    QCOMPARE(periods.questions[0].transId, QStringLiteral("jsmith"));
}

void TestCompiledFormula::periodFunctionArguments_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("measure");
    QTest::addColumn<bool>("allAccounts");
    using engine::Measure;
    using engine::Period;
    auto add = [](const char* call, Period period, Measure measure, bool all) {
        QTest::newRow(call) << QString::fromUtf8(call) << int(period) << int(measure) << all;
    };
    add("WeekToDate(\"Reports\")", Period::Week, Measure::Reports, false);
    add("WeekToDate(\"CharLines\", True)", Period::Week, Measure::CharLines, true);
    add("MonthToDate(\"pages\", False)", Period::Month, Measure::Pages, false);
    add("MonthToDate(\"Hours\", 1)", Period::Month, Measure::Hours, true);
    add("YearToDate(\"IHours\", TrueLines > 0)", Period::Year, Measure::IHours, true);
    add("YearToDate(\"I\" & \"Typed\")", Period::Year, Measure::ITyped, false);
    add("YearToDate(name)", Period::Year, Measure::IPay, false);
    add("WeekToDate(LCase(name), all)", Period::Week, Measure::IPay, true);
}

void TestCompiledFormula::periodFunctionArguments() {
    QFETCH(QString, call);
    QFETCH(int, period);
    QFETCH(int, measure);
    QFETCH(bool, allAccounts);
    FakePeriodSource periods;
    periods.answer = 12.5;
    engine::RowInputs row;
    row.trueLines = 1;
    FormulaRun run(QStringLiteral("name = \"IPay\" : all = True\nResults.IPay = ") + call, row,
                   &periods);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, 12.5);
    QCOMPARE(periods.questions.size(), size_t(1));
    QCOMPARE(int(periods.questions[0].period), period);
    QCOMPARE(int(periods.questions[0].measure), measure);
    QCOMPARE(periods.questions[0].allAccounts, allAccounts);
    QVERIFY(run.formula->usesPeriodFunctions());
}

void TestCompiledFormula::whatAFormulaUses_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("incentive");
    QTest::addColumn<bool>("period");
    QTest::newRow("neither") << QStringLiteral("Results.IPay = TrueLines * 0.1") << false << false;
    QTest::newRow("typed lines") << QStringLiteral("Results.IPay = ITypedLines * 0.1") << true
                                 << false;
    QTest::newRow("hours worked, any case")
        << QStringLiteral("If ihoursworked > 0 Then x = 1") << true << false;
    QTest::newRow("period") << QStringLiteral("x = YearToDate(\"IPay\")") << false << true;
    QTest::newRow("both, on a branch never taken")
        << QStringLiteral("If False Then x = WeekToDate(\"Hours\") + IHoursWorked") << true << true;
    QTest::newRow("names in comments and text do not count")
        << QStringLiteral("' ITypedLines MonthToDate\nx = \"IHoursWorked\"") << false << false;
}

void TestCompiledFormula::whatAFormulaUses() {
    QFETCH(QString, formula);
    QFETCH(bool, incentive);
    QFETCH(bool, period);
    engine::FormulaError error;
    const auto compiled = engine::CompiledFormula::compile(formula, error);
    QVERIFY2(compiled, qPrintable(error.description));
    QCOMPARE(compiled->usesIncentiveFunctions(), incentive);
    QCOMPARE(compiled->usesPeriodFunctions(), period);
}

void TestCompiledFormula::compiledFormulaKeepsItsText() {
    engine::FormulaError error;
    const QString text = QStringLiteral("Results.IPay = 1\r\n");
    const auto compiled = engine::CompiledFormula::compile(text, error);
    QVERIFY(compiled);
    QCOMPARE(compiled->text(), text);
}

VELORA_TEST(TestCompiledFormula)
#include "TestCompiledFormula.moc"
