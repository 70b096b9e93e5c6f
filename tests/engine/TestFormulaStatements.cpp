#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FormulaRun;

// Statements: each formula sets Results.IPay from TrueLines (the `lines` column).
class TestFormulaStatements : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statement_data();
    void statement();
    void resultsNeverSetAreZero();
    void resultsAreReadBack();
    void localsStartEmptyOnEveryRow();
    void oneMachineRunsSeveralFormulas();
    void inputsOfTheRow();
    void hoursFollowTheHourMode();
    void textsOfStringFunctionsLastUntilTheNextRow();
};

void TestFormulaStatements::statement_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("lines");
    QTest::addColumn<double>("pay");

    const QString oneLine = QStringLiteral(
        "If TrueLines > 100 Then rate = 2 : bonus = 5 Else rate = 1\nResults.IPay = "
        "TrueLines * rate + bonus");
    QTest::newRow("one-line If, then part") << oneLine << 200.0 << 405.0;
    QTest::newRow("one-line If, else part") << oneLine << 50.0 << 50.0;

    const QString block = QStringLiteral("If TrueLines >= 300 Then\n"
                                         "    Results.IPay = 3\n"
                                         "ElseIf TrueLines >= 200 Then\n"
                                         "    Results.IPay = 2\n"
                                         "ElseIf TrueLines >= 100 Then\n"
                                         "    Results.IPay = 1\n"
                                         "Else\n"
                                         "    Results.IPay = -1\n"
                                         "End If");
    QTest::newRow("block If, first") << block << 300.0 << 3.0;
    QTest::newRow("block If, second ElseIf") << block << 150.0 << 1.0;
    QTest::newRow("block If, Else") << block << 99.0 << -1.0;

    const QString nested = QStringLiteral("If TrueLines > 0 Then\n"
                                          "  If TrueLines > 10 Then Results.IPay = 2 Else "
                                          "Results.IPay = 1\n"
                                          "End If");
    QTest::newRow("one-line If inside a block") << nested << 5.0 << 1.0;
    QTest::newRow("one-line If inside a block, then") << nested << 50.0 << 2.0;
    QTest::newRow("Else binds to the inner one-line If")
        << QStringLiteral("If TrueLines > 0 Then If TrueLines > 10 Then Results.IPay = 2 Else "
                          "Results.IPay = 1")
        << 0.0 << 0.0;

    const QString select = QStringLiteral("Select Case TrueLines\n"
                                          "    Case 1, 2, 3\n"
                                          "        Results.IPay = 1\n"
                                          "    Case 10 To 20, 99\n"
                                          "        Results.IPay = 2\n"
                                          "    Case Is >= 1000: Results.IPay = 3\n"
                                          "    Case Else\n"
                                          "        Results.IPay = 4\n"
                                          "End Select");
    QTest::newRow("Case list") << select << 2.0 << 1.0;
    QTest::newRow("Case range start") << select << 10.0 << 2.0;
    QTest::newRow("Case range end") << select << 20.0 << 2.0;
    QTest::newRow("Case second item after a range") << select << 99.0 << 2.0;
    QTest::newRow("Case Is") << select << 1000.0 << 3.0;
    QTest::newRow("Case Else") << select << 21.0 << 4.0;
    QTest::newRow("first matching Case runs")
        << QStringLiteral("Select Case TrueLines\nCase Is > 5\nResults.IPay = 1\nCase Is > 1\n"
                          "Results.IPay = 2\nEnd Select")
        << 10.0 << 1.0;
    QTest::newRow("no Case matches")
        << QStringLiteral("Results.IPay = 7\nSelect Case TrueLines\nCase 1\nResults.IPay = "
                          "1\nEnd Select")
        << 2.0 << 7.0;
    QTest::newRow("Select Case True")
        << QStringLiteral("Select Case True\nCase TrueLines > 500: Results.IPay = 2\n"
                          "Case TrueLines > 100: Results.IPay = 1\nEnd Select")
        << 200.0 << 1.0;
    QTest::newRow("Select on text")
        << QStringLiteral("Select Case LCase(\"B\")\nCase \"a\": Results.IPay = 1\nCase \"b\", "
                          "\"c\": Results.IPay = 2\nEnd Select")
        << 0.0 << 2.0;

    QTest::newRow("continuation")
        << QStringLiteral("Results.IPay = TrueLines _\n    * 2 _\n    + 1") << 10.0 << 21.0;
    QTest::newRow("colons") << QStringLiteral("a = 1 : b = 2 :: Results.IPay = a + b") << 0.0
                            << 3.0;
    QTest::newRow("comments")
        << QStringLiteral("' rate per line\nRem the whole line\nResults.IPay = 2 ' two\n"
                          "x = 1 : Rem after a colon")
        << 0.0 << 2.0;
    QTest::newRow("letter case is ignored")
        << QStringLiteral("DIM Rate\nrate = 0.5\nIF truelines > 1 THEN\nresults.ipay = "
                          "ROUND(TRUELINES * RATE)\nEnd iF")
        << 5.0 << 2.0;
    QTest::newRow("assigning declares")
        << QStringLiteral("total = TrueLines + 1\nResults.IPay = total") << 4.0 << 5.0;
    QTest::newRow("Dim after use is hoisted")
        << QStringLiteral("x = 3\nDim x\nResults.IPay = x") << 0.0 << 3.0;
    QTest::newRow("a local read before assignment is Empty")
        << QStringLiteral("If TrueLines > 10 Then extra = 5\nResults.IPay = TrueLines + extra")
        << 3.0 << 3.0;
    QTest::newRow("a local of two types")
        << QStringLiteral("If TrueLines > 10 Then v = \"7\" Else v = 2\nResults.IPay = v * 2")
        << 30.0 << 14.0;
    QTest::newRow("Results can be a Boolean")
        << QStringLiteral("Results.IPay = TrueLines > 1") << 5.0 << -1.0;
    QTest::newRow("Results take numeric text")
        << QStringLiteral("Results.IPay = \"12.5\"") << 0.0 << 12.5;
    QTest::newRow("Results take a text made at run time")
        << QStringLiteral("Results.IPay = TrueLines & \"5\"") << 1.0 << 15.0;
    QTest::newRow("If on a number") << QStringLiteral("If TrueLines Then Results.IPay = 1")
                                    << 2.0 << 1.0;
    QTest::newRow("If on text") << QStringLiteral("t = \"True\"\nIf t Then Results.IPay = 1")
                                << 0.0 << 1.0;
    QTest::newRow("If on bitwise And of numbers")
        << QStringLiteral("If TrueLines And 2 Then Results.IPay = 1 Else Results.IPay = 2")
        << 1.0 << 2.0;
    QTest::newRow("Not of a number is bitwise")
        << QStringLiteral("If Not TrueLines Then Results.IPay = 1 Else Results.IPay = 2")
        << 1.0 << 1.0;
    QTest::newRow("And of comparisons")
        << QStringLiteral("If TrueLines > 1 And TrueLines < 10 Then Results.IPay = 1") << 5.0
        << 1.0;
    QTest::newRow("Or of comparisons")
        << QStringLiteral("If TrueLines < 1 Or TrueLines > 10 Then Results.IPay = 1") << 5.0
        << 0.0;
    QTest::newRow("Not of a comparison")
        << QStringLiteral("If Not TrueLines > 10 Then Results.IPay = 1") << 5.0 << 1.0;
}

void TestFormulaStatements::statement() {
    QFETCH(QString, formula);
    QFETCH(double, lines);
    QFETCH(double, pay);
    engine::RowInputs row;
    row.trueLines = lines;
    FormulaRun run(formula, row);
    QVERIFY2(run.compiled, qPrintable(run.error.description));
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, pay);
}

void TestFormulaStatements::resultsNeverSetAreZero() {
    engine::RowInputs row;
    row.trueLines = 10;
    FormulaRun run(QStringLiteral("Results.ILines = TrueLines"), row);
    QVERIFY(run.succeeded);
    QCOMPARE(run.results.lines, 10.0);
    QCOMPARE(run.results.hours, 0.0);
    QCOMPARE(run.results.pay, 0.0);
}

void TestFormulaStatements::resultsAreReadBack() {
    engine::RowInputs row;
    row.trueLines = 10;
    FormulaRun run(QStringLiteral("Results.IPay = TrueLines\nResults.IPay = Results.IPay + 5\n"
                                  "Results.IHours = Results.IPay * 2 + Results.ILines"),
                   row);
    QVERIFY(run.succeeded);
    QCOMPARE(run.results.pay, 15.0);
    QCOMPARE(run.results.hours, 30.0);
}

// One machine, many rows: nothing of one row (locals, results) leaks into the next.
void TestFormulaStatements::localsStartEmptyOnEveryRow() {
    engine::FormulaError error;
    const auto formula = engine::CompiledFormula::compile(
        QStringLiteral("If TrueLines > 100 Then bonus = 5\n"
                       "count = count + 1\n"
                       "If TrueLines > 100 Then Results.IPay = bonus + count\n"
                       "Results.ILines = count"),
        error);
    QVERIFY(formula);
    engine::FormulaMachine machine;
    const double lines[] = {200, 50, 300, 0};
    const double pay[] = {6, 0, 6, 0};
    for (int i = 0; i < 4; ++i) {
        engine::RowInputs row;
        row.trueLines = lines[i];
        engine::FormulaResults results;
        QVERIFY(machine.evaluate(*formula, row, nullptr, results, error));
        QCOMPARE(results.pay, pay[i]);
        QCOMPARE(results.lines, 1.0);
    }
}

void TestFormulaStatements::oneMachineRunsSeveralFormulas() {
    engine::FormulaError error;
    const auto small = engine::CompiledFormula::compile(QStringLiteral("Results.IPay = 1"), error);
    const auto large = engine::CompiledFormula::compile(
        QStringLiteral("a = TrueLines * 2\nb = a & \"x\"\nc = Len(b) + a\nResults.IPay = c"),
        error);
    QVERIFY(small && large);
    engine::FormulaMachine machine;
    engine::RowInputs row;
    row.trueLines = 10;
    for (int i = 0; i < 3; ++i) {
        engine::FormulaResults results;
        QVERIFY(machine.evaluate(*large, row, nullptr, results, error));
        QCOMPARE(results.pay, 23.0);
        QVERIFY(machine.evaluate(*small, row, nullptr, results, error));
        QCOMPARE(results.pay, 1.0);
    }
}

void TestFormulaStatements::inputsOfTheRow() {
    engine::RowInputs row;
    row.reports = 1;
    row.charLines = 2;
    row.trueLines = 3;
    row.pages = 4;
    row.hoursTyped = 5;
    row.systemHours = 6;
    row.otherHours = 7;
    row.accountId = 8;
    row.groupId = 9;
    row.partitionId = 10;
    row.iTypedLines = 11;
    row.iHoursWorked = 12;
    row.transId = QStringLiteral("jsmith");
    row.shiftDate = QDate(2012, 2, 29);
    FormulaRun run(
        QStringLiteral(
            "Results.IPay = Reports + CharLines * 10 + Chars * 100 + TrueLines * 1E3 + "
            "Lines * 1E4 + Pages * 1E5\n"
            "Results.IHours = HoursTyped + SystemHours * 10 + OtherHours * 100 + AccountID * "
            "1E3 + GroupID * 1E4 + PartitionID * 1E5\n"
            "Results.ILines = ITypedLines + IHoursWorked * 100\n"
            "d = Day(ShiftDate) & Month(ShiftDate) & Year(ShiftDate)\n"
            "last = IsLastDayOfMonth\nlastToo = IsLastDayOfMonth()\nwho = UCase(TransID)"),
        row);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, 1.0 + 20 + 200 + 3000 + 30000 + 400000);
    QCOMPARE(run.results.hours, 5.0 + 60 + 700 + 8000 + 90000 + 1000000);
    QCOMPARE(run.results.lines, 11.0 + 1200);
    QCOMPARE(run.local(QStringLiteral("d")), QStringLiteral("String:2922012"));
    QCOMPARE(run.local(QStringLiteral("last")), QStringLiteral("Boolean:true"));
    QCOMPARE(run.local(QStringLiteral("lastToo")), QStringLiteral("Boolean:true"));
    QCOMPARE(run.local(QStringLiteral("who")), QStringLiteral("String:JSMITH"));
    QVERIFY(run.formula->usesIncentiveFunctions());
    QVERIFY(!run.formula->usesPeriodFunctions());
}

void TestFormulaStatements::hoursFollowTheHourMode() {
    engine::RowInputs row;
    row.systemHours = 6;
    row.hoursTyped = 5;
    row.hourMode = 1;
    FormulaRun system(QStringLiteral("Results.IHours = Hours"), row);
    QCOMPARE(system.results.hours, 6.0);
    row.hourMode = 2;
    FormulaRun typed(QStringLiteral("Results.IHours = Hours"), row);
    QCOMPARE(typed.results.hours, 5.0);
}

void TestFormulaStatements::textsOfStringFunctionsLastUntilTheNextRow() {
    engine::FormulaError error;
    const auto formula = engine::CompiledFormula::compile(
        QStringLiteral("t = TrueLines & \"-\" & UCase(TransID)\nResults.IPay = Len(t)"), error);
    QVERIFY(formula);
    engine::FormulaMachine machine;
    engine::RowInputs row;
    row.transId = QStringLiteral("ab");
    for (int i = 1; i <= 3; ++i) {
        row.trueLines = i * 100;
        engine::FormulaResults results;
        QVERIFY(machine.evaluate(*formula, row, nullptr, results, error));
        QCOMPARE(machine.localValue(*formula, QStringLiteral("t")).toString(),
                 QString::number(i * 100) + QStringLiteral("-AB"));
        QCOMPARE(results.pay, 6.0);
    }
}

VELORA_TEST(TestFormulaStatements)
#include "TestFormulaStatements.moc"
