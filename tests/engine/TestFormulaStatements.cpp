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
    void branchFreeChoicesMatchJumps_data();
    void branchFreeChoicesMatchJumps();
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

    const QString oneLine =
        QStringLiteral("If TrueLines > 100 Then rate = 2 : bonus = 5 Else rate = 1\nResults.IPay = "
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

    // If statements that only choose a value run without jumps; they must choose exactly as
    // the statements read.
    const QString tiers = QStringLiteral("If TrueLines > 2000 Then\n    rate = 3\n"
                                         "ElseIf TrueLines > 1000 Then\n    rate = 2\n"
                                         "ElseIf TrueLines > 500 Then\n    rate = 1\n"
                                         "Else\n    rate = 0.5\nEnd If\n"
                                         "Results.IPay = rate");
    QTest::newRow("tiers, top") << tiers << 2500.0 << 3.0;
    QTest::newRow("tiers, first true wins") << tiers << 1500.0 << 2.0;
    QTest::newRow("tiers, boundary") << tiers << 1000.0 << 1.0;
    QTest::newRow("tiers, Else") << tiers << 10.0 << 0.5;
    const QString keeps = QStringLiteral("x = 7\nIf TrueLines > 10 Then\nx = 1\n"
                                         "ElseIf TrueLines > 5 Then\n' nothing\n"
                                         "ElseIf TrueLines > 2 Then\nx = 3\nEnd If\n"
                                         "Results.IPay = x");
    QTest::newRow("an empty branch keeps the value") << keeps << 8.0 << 7.0;
    QTest::newRow("below an empty branch") << keeps << 3.0 << 3.0;
    QTest::newRow("no branch true keeps the value") << keeps << 1.0 << 7.0;
    const QString readsItself = QStringLiteral("x = TrueLines\nIf x > 5 Then\nx = 1\n"
                                               "ElseIf x > 2 Then\nx = x\nElse\nx = 0\n"
                                               "End If\nResults.IPay = x");
    QTest::newRow("conditions read the chosen local") << readsItself << 9.0 << 1.0;
    QTest::newRow("a value reads the chosen local") << readsItself << 4.0 << 4.0;
    QTest::newRow("And of two conditions")
        << QStringLiteral("b = 0\nIf TrueLines > 1 And TrueLines < 10 Then b = 5\n"
                          "Results.IPay = b")
        << 5.0 << 5.0;
    QTest::newRow("And of two conditions, one false")
        << QStringLiteral("b = 0\nIf TrueLines > 1 And TrueLines < 10 Then b = 5\n"
                          "Results.IPay = b")
        << 50.0 << 0.0;
    QTest::newRow("Or of two conditions")
        << QStringLiteral("b = 1\nIf TrueLines < 1 Or TrueLines / 2 > 10 Then b = 5\n"
                          "Results.IPay = b")
        << 50.0 << 5.0;
    QTest::newRow("a chosen text")
        << QStringLiteral("If TrueLines > 1 Then t = \"big\" Else t = \"small\"\n"
                          "Results.IPay = Len(t)")
        << 5.0 << 3.0;
    QTest::newRow("a chosen result")
        << QStringLiteral("If TrueLines > 1 Then Results.IPay = TrueLines Else Results.IPay = "
                          "-1")
        << 5.0 << 5.0;
    QTest::newRow("an ElseIf that could fail is not evaluated when an earlier one holds")
        << QStringLiteral("If TrueLines > 1 Then\nx = 1\nElseIf 1 / Hours > 2 Then\nx = 2\n"
                          "End If\nResults.IPay = x")
        << 5.0 << 1.0;
    QTest::newRow("a result set from an input and then in a branch")
        << QStringLiteral("Results.IPay = TrueLines\nIf TrueLines > 3 Then Results.IPay = 1") << 4.0
        << 1.0;

    QTest::newRow("continuation") << QStringLiteral(
                                         "Results.IPay = TrueLines _\n    * 2 _\n    + 1")
                                  << 10.0 << 21.0;
    QTest::newRow("colons") << QStringLiteral("a = 1 : b = 2 :: Results.IPay = a + b") << 0.0
                            << 3.0;
    QTest::newRow("comments") << QStringLiteral(
                                     "' rate per line\nRem the whole line\nResults.IPay = 2 ' two\n"
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
    QTest::newRow("If on a number")
        << QStringLiteral("If TrueLines Then Results.IPay = 1") << 2.0 << 1.0;
    QTest::newRow("If on text") << QStringLiteral("t = \"True\"\nIf t Then Results.IPay = 1") << 0.0
                                << 1.0;
    QTest::newRow("If on bitwise And of numbers")
        << QStringLiteral("If TrueLines And 2 Then Results.IPay = 1 Else Results.IPay = 2") << 1.0
        << 2.0;
    QTest::newRow("Not of a number is bitwise")
        << QStringLiteral("If Not TrueLines Then Results.IPay = 1 Else Results.IPay = 2") << 1.0
        << 1.0;
    QTest::newRow("And of comparisons")
        << QStringLiteral("If TrueLines > 1 And TrueLines < 10 Then Results.IPay = 1") << 5.0
        << 1.0;
    QTest::newRow("Or of comparisons")
        << QStringLiteral("If TrueLines < 1 Or TrueLines > 10 Then Results.IPay = 1") << 5.0 << 0.0;
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

// An If that only chooses a value runs without jumps. The same If with one more statement in
// each branch ({z} below) runs with jumps: both must agree on every row.
void TestFormulaStatements::branchFreeChoicesMatchJumps_data() {
    QTest::addColumn<QString>("formula");
    QTest::newRow("tiers with Else")
        << QStringLiteral("If TrueLines > 20 Then\nr = 3{z}\nElseIf TrueLines >= 10 Then\n"
                          "r = 2{z}\nElseIf Pages < 3 Then\nr = Pages{z}\nElse\nr = -1{z}\n"
                          "End If\nResults.IPay = r");
    QTest::newRow("tiers without Else")
        << QStringLiteral("r = 5\nIf TrueLines > 20 Then\nr = 3{z}\nElseIf TrueLines = 7 Then\n"
                          "r = TrueLines{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("an empty branch")
        << QStringLiteral("r = 5\nIf TrueLines > 20 Then\nr = 3{z}\nElseIf TrueLines > 10 Then\n"
                          "{z}\nElse\nr = 1{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("conditions on the chosen local")
        << QStringLiteral("r = TrueLines\nIf r > 20 Then\nr = 20{z}\nElseIf r < 5 Then\nr = r{z}\n"
                          "Else\nr = Pages{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("And, Or, Not") << QStringLiteral(
        "r = 0\nIf TrueLines > 3 And Pages > 2 Then\nr = 1{z}\n"
        "ElseIf TrueLines > 8 Or Not Pages > 1 Then\nr = 2{z}\nEnd If\n"
        "Results.IPay = r");
    QTest::newRow("a failing first condition")
        << QStringLiteral("r = 0\nIf Pages > 0 And TrueLines / Pages > 4 Then r = 1{z}\n"
                          "Results.IPay = r");
    QTest::newRow("one-line with Else")
        << QStringLiteral("If TrueLines Mod 3 = 0 Then r = TrueLines{z} Else r = Pages{z}\n"
                          "Results.IPay = r");
    QTest::newRow("a result chosen")
        << QStringLiteral("If TrueLines > 10 Then\nResults.IPay = 1{z}\nElseIf Pages > 1 Then\n"
                          "Results.IPay = Pages{z}\nEnd If");
    QTest::newRow("a table of tiers")
        << QStringLiteral("If TrueLines >= 20 Then\nr = 0.3{z}\nElseIf 12 < TrueLines Then\n"
                          "r = 0.2{z}\nElseIf TrueLines = 5 Then\nr = 9{z}\nElseIf TrueLines <> 3 "
                          "Then\nr = 0.1{z}\nElse\nr = -1{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("a table of tiers keeping the value")
        << QStringLiteral("r = Pages * 2\nIf TrueLines > 20 Then\nr = 3{z}\nElseIf TrueLines <= 4 "
                          "Then\nr = 1{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("a table of tiers on the chosen local")
        << QStringLiteral("r = TrueLines\nIf r > 20 Then\nr = 20{z}\nElseIf r < 3 Then\n"
                          "r = 0{z}\nEnd If\nResults.IPay = r");
    QTest::newRow("a table of cases")
        << QStringLiteral("Select Case TrueLines\nCase 1, 3, 5\nResults.IPay = 1{z}\n"
                          "Case Is >= 20\nResults.IPay = 2{z}\nCase 12\nResults.IPay = 3{z}\n"
                          "Case Else\nResults.IPay = 4{z}\nEnd Select");
    QTest::newRow("Select Case") << QStringLiteral(
        "r = 9\nSelect Case TrueLines\nCase 1, 3, 5\nr = 1{z}\n"
        "Case 10 To 14, Pages\nr = 2{z}\nCase Is >= 20\nr = Pages{z}\n"
        "Case 12\nr = 4{z}\nEnd Select\nResults.IPay = r");
    QTest::newRow("Select Case with Case Else")
        << QStringLiteral("Select Case TrueLines Mod 7\nCase 0\nr = 1{z}\nCase Is < Pages\n"
                          "r = 2{z}\nCase Else\nr = TrueLines{z}\nEnd Select\nResults.IPay = r");
    QTest::newRow("Select Case on the chosen local")
        << QStringLiteral("r = TrueLines\nSelect Case r\nCase Is > 20\nr = 20{z}\n"
                          "Case r - 1 To 3\nr = r{z}\nCase Else\nr = -r{z}\nEnd Select\n"
                          "Results.IPay = r");
    QTest::newRow("Select Case choosing a result")
        << QStringLiteral("Select Case Pages\nCase 1\nResults.IPay = TrueLines{z}\n"
                          "Case 2, 3\n{z}\nCase Else\nResults.IPay = 7{z}\nEnd Select");
    QTest::newRow("a Boolean local as condition")
        << QStringLiteral("big = TrueLines > 12\nr = 0\nIf big Then r = 4{z}\n"
                          "Results.IPay = r");
}

void TestFormulaStatements::branchFreeChoicesMatchJumps() {
    QFETCH(QString, formula);
    QString branchFree = formula;
    branchFree.replace(QStringLiteral("{z}"), QString());
    QString jumps = formula;
    jumps.replace(QStringLiteral("{z}"), QStringLiteral(" : z = 0"));
    engine::FormulaError error;
    const auto picked = engine::CompiledFormula::compile(branchFree, error);
    QVERIFY2(picked, qPrintable(error.description));
    const auto branched = engine::CompiledFormula::compile(jumps, error);
    QVERIFY2(branched, qPrintable(error.description));
    engine::FormulaMachine machine;
    for (int lines = 0; lines <= 25; ++lines) {
        for (int pages = 0; pages <= 3; ++pages) {
            engine::RowInputs row;
            row.trueLines = lines;
            row.pages = pages;
            engine::FormulaResults a;
            engine::FormulaResults b;
            engine::FormulaError errorA;
            engine::FormulaError errorB;
            const bool ranA = machine.evaluate(*picked, row, nullptr, a, errorA);
            const bool ranB = machine.evaluate(*branched, row, nullptr, b, errorB);
            const QByteArray where = QByteArray("TrueLines ") + QByteArray::number(lines) +
                                     ", Pages " + QByteArray::number(pages);
            QVERIFY2(ranA == ranB, where.constData());
            QVERIFY2(ranA ? a.pay == b.pay : errorA.number == errorB.number, where.constData());
        }
    }
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
    {
        engine::RowInputs row;
        row.trueLines = 4;
        FormulaRun run(QStringLiteral("Results.IPay = 3\nResults.IPay = TrueLines\n"
                                      "Results.ILines = Results.IPay * 2"),
                       row);
        QVERIFY(run.succeeded);
        QCOMPARE(run.results.pay, 4.0);
        QCOMPARE(run.results.lines, 8.0);
    }
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
