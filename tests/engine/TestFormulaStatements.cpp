#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FakePeriodSource;
using velora::test::FormulaRun;

// Statements, the inputs of the row, the period functions, and one machine running many rows.
class TestFormulaStatements : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statement_data();
    void statement();
    void periodFunctions_data();
    void periodFunctions();
    void inputsOfTheRow();
    void oneMachineManyRows();
};

namespace {

void add(const char* name, const char* formula, double lines, double pay, double monthToDate = 0) {
    QTest::newRow(name) << QString::fromUtf8(formula) << lines << pay << monthToDate;
}

// The example of the formula language: a monthly tier and a productivity bonus.
const char* const Example =
    "' Line rate with a monthly tier and a productivity bonus\nDim rate\n"
    "If MonthToDate(\"TrueLines\") > 30000 Then\n    rate = 0.09\nElse\n    rate = 0.08\nEnd If\n"
    "Results.ILines = TrueLines\nResults.IHours = Hours\nResults.IPay = Round(TrueLines * rate, "
    "2)\n"
    "If Hours > 0 And TrueLines / Hours >= 180 Then Results.IPay = Results.IPay + 5\n";

} // namespace

// Each formula sets Results.IPay from TrueLines (the `lines` column), 8 system hours and no
// pages.
void TestFormulaStatements::statement_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("lines");
    QTest::addColumn<double>("pay");
    QTest::addColumn<double>("monthToDate"); // the period source's answer

    const char* const oneLine = "If TrueLines > 100 Then rate = 2 : bonus = 5 Else rate = 1\n"
                                "Results.IPay = TrueLines * rate + bonus";
    add("one-line If, then part", oneLine, 200, 405);
    add("one-line If, else part", oneLine, 50, 50);
    const char* const block = "If TrueLines >= 300 Then\n    Results.IPay = 3\n"
                              "ElseIf TrueLines >= 200 Then\n    Results.IPay = 2\n"
                              "ElseIf TrueLines >= 100 Then\n    Results.IPay = 1\n"
                              "Else\n    Results.IPay = -1\nEnd If";
    add("block If, second ElseIf", block, 150, 1);
    add("block If, Else", block, 99, -1);
    add("Else binds to the inner one-line If",
        "If TrueLines > 0 Then If TrueLines > 10 Then Results.IPay = 2 Else Results.IPay = 1", 0,
        0);

    const char* const select = "Select Case TrueLines\n    Case 1, 2, 3\n        Results.IPay = 1\n"
                               "    Case 10 To 20, 99\n        Results.IPay = 2\n"
                               "    Case Is >= 1000: Results.IPay = 3\n"
                               "    Case Else\n        Results.IPay = 4\nEnd Select";
    add("Case range end", select, 20, 2);
    add("Case second item after a range", select, 99, 2);
    add("Case Is", select, 1000, 3);
    add("Case Else", select, 21, 4);
    add("first matching Case runs",
        "Select Case TrueLines\nCase Is > 5\nResults.IPay = 1\nCase Is > 1\nResults.IPay = 2\n"
        "End Select",
        10, 1);
    add("Select Case True",
        "Select Case True\nCase TrueLines > 500: Results.IPay = 2\n"
        "Case TrueLines > 100: Results.IPay = 1\nEnd Select",
        200, 1);
    add("Select on text",
        "Select Case LCase(\"B\")\nCase \"a\": Results.IPay = 1\n"
        "Case \"b\", \"c\": Results.IPay = 2\nEnd Select",
        0, 2);

    const char* const keeps = "x = 7\nIf TrueLines > 10 Then\nx = 1\nElseIf TrueLines > 5 Then\n"
                              "' nothing\nElseIf TrueLines > 2 Then\nx = 3\nEnd If\n"
                              "Results.IPay = x";
    add("an empty branch keeps the value", keeps, 8, 7);
    add("an ElseIf that could fail is not evaluated when an earlier one holds",
        "If TrueLines > 1 Then\nx = 1\nElseIf 1 / Pages > 2 Then\nx = 2\nEnd If\nResults.IPay = x",
        5, 1);
    add("a result set from an input and then in a branch",
        "Results.IPay = TrueLines\nIf TrueLines > 3 Then Results.IPay = 1", 4, 1);
    add("results read back, one never set is 0",
        "Results.IPay = 3\nResults.IPay = TrueLines\nResults.ILines = Results.IPay * 2\n"
        "Results.IPay = Results.ILines + Results.IHours",
        4, 8);

    add("the example, tier boundary is exclusive", Example, 1000, 80, 30000);
    add("the example, bonus at 180 lines an hour", Example, 1440, 120.2, 1000);
    add("the example, half a cent to the even cent", Example, 37.5, 3.38, 40000);
    add("continuation", "Results.IPay = TrueLines _\n    * 2 _\n    + 1", 10, 21);
    add("CR LF line breaks", "x = 1\r\r\nResults.IPay = x _\r\n + 1\r\n", 0, 2);
    add("colons", "a = 1 : b = 2 :: Results.IPay = a + b", 0, 3);
    add("comments",
        "' rate per line\nRem the whole line\nResults.IPay = 2 ' two\nx = 1 : Rem after a colon", 0,
        2);
    add("letter case is ignored",
        "DIM Rate\nrate = 0.5\nIF truelines > 1 THEN\nresults.ipay = ROUND(TRUELINES * RATE)\n"
        "End iF",
        5, 2);
    add("Dim after use is hoisted", "x = 3\nDim x\nResults.IPay = x", 0, 3);
    add("a local read before assignment is Empty",
        "If TrueLines > 10 Then extra = 5\nResults.IPay = TrueLines + extra", 3, 3);
    add("a local of two types", "If TrueLines > 10 Then v = \"7\" Else v = 2\nResults.IPay = v * 2",
        30, 14);
    add("Results can be a Boolean", "Results.IPay = TrueLines > 1", 5, -1);
    add("Results take a text made at run time", "Results.IPay = TrueLines & \"5\"", 1, 15);
    add("If on text", "t = \"True\"\nIf t Then Results.IPay = 1", 0, 1);
    add("If on bitwise And of numbers",
        "If TrueLines And 2 Then Results.IPay = 1 Else Results.IPay = 2", 1, 2);
    add("Not of a number is bitwise",
        "If Not TrueLines Then Results.IPay = 1 Else Results.IPay = 2", 1, 1);
}

void TestFormulaStatements::statement() {
    QFETCH(QString, formula);
    QFETCH(double, lines);
    QFETCH(double, pay);
    QFETCH(double, monthToDate);
    FakePeriodSource periods;
    periods.answer = monthToDate;
    engine::RowInputs row;
    row.trueLines = lines;
    row.systemHours = 8;
    FormulaRun run(formula, row, &periods);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, pay);
}

// Which sum each call asks for: period (week 0, month 1, year 2), measure (in the order of
// "Reports", "CharLines", "TrueLines", "Pages", "Hours", "IHours", "ITyped", "IPay") and
// whether of all accounts; names and flags may be computed.
void TestFormulaStatements::periodFunctions_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("question");
    auto add = [](const char* name, const char* call, const char* question) {
        QTest::newRow(name) << QString::fromUtf8(call) << QString::fromUtf8(question);
    };
    add("week", "WeekToDate(\"Reports\")", "0 0 0 ");
    add("all accounts", "WeekToDate(\"CharLines\", True)", "0 1 1 ");
    add("a number for all", "MonthToDate(\"hours\", 1)", "1 4 1 ");
    add("a condition for all", "YearToDate(\"IHours\", TrueLines > 0)", "2 5 1 ");
    add("a name in a local", "YearToDate(name)", "2 7 0 ");
    add("both computed", "WeekToDate(LCase(name) & \"\", all)", "0 7 1 ");
}

void TestFormulaStatements::periodFunctions() {
    QFETCH(QString, call);
    QFETCH(QString, question);
    FakePeriodSource periods;
    periods.answer = 12.5;
    engine::RowInputs row;
    row.trueLines = 1;
    FormulaRun run(QStringLiteral("name = \"IPay\" : all = True\nResults.IPay = ") + call, row,
                   &periods);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, 12.5);
    QCOMPARE(periods.questions, QStringList{question});
    QVERIFY(run.formula->usesPeriodFunctions() && !run.formula->usesIncentiveFunctions());
}

void TestFormulaStatements::inputsOfTheRow() {
    // Every input a number of its own, in the order they are declared: reports, char lines,
    // true lines, pages, hours typed, system hours, other hours, the hour mode (2: typed), the
    // day, the user, account, group, partition, and the two results of the other formulas.
    engine::RowInputs row{1, 2, 3,  4,  5, 6, 7, 2, QDate(2012, 2, 29), QStringLiteral("jsmith"),
                          8, 9, 10, 11, 12};
    FormulaRun run(
        QStringLiteral(
            "Results.IPay = Reports + CharLines * 10 + Chars * 100 + TrueLines * 1E3 + "
            "Lines * 1E4 + Pages * 1E5 + Hours * 1E6\n"
            "Results.IHours = HoursTyped + SystemHours * 10 + OtherHours * 100 + AccountID * "
            "1E3 + GroupID * 1E4 + PartitionID * 1E5\n"
            "Results.ILines = ITypedLines + IHoursWorked * 100\n"
            "d = Day(ShiftDate) & Month(ShiftDate) & Year(ShiftDate)\n"
            "last = IsLastDayOfMonth And IsLastDayOfMonth()\nwho = UCase(TransID)"),
        row);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, 1.0 + 20 + 200 + 3000 + 30000 + 400000 + 5000000);
    QCOMPARE(run.results.hours, 5.0 + 60 + 700 + 8000 + 90000 + 1000000);
    QCOMPARE(run.results.lines, 11.0 + 1200);
    QCOMPARE(run.local(QStringLiteral("d")), QStringLiteral("String:2922012"));
    QCOMPARE(run.local(QStringLiteral("last")), QStringLiteral("Boolean:true"));
    QCOMPARE(run.local(QStringLiteral("who")), QStringLiteral("String:JSMITH"));
    QVERIFY(run.formula->usesIncentiveFunctions());
    QVERIFY(!run.formula->usesPeriodFunctions());
    row.hourMode = 1;
    QCOMPARE(FormulaRun(QStringLiteral("Results.IPay = Hours"), row).results.pay, 6.0);

    // What the engine prepares for: names read on any branch, never names in comments or text.
    FormulaRun unreached(QStringLiteral("If False Then x = WeekToDate(\"Hours\") + ihoursworked"));
    QVERIFY(unreached.formula->usesIncentiveFunctions() &&
            unreached.formula->usesPeriodFunctions());
    FormulaRun named(QStringLiteral("' ITypedLines MonthToDate\nx = \"IHoursWorked\""));
    QVERIFY(!named.formula->usesIncentiveFunctions() && !named.formula->usesPeriodFunctions());
}

// One machine, many rows and formulas: nothing of one run (locals, results, texts made by
// functions) leaks into the next.
void TestFormulaStatements::oneMachineManyRows() {
    engine::FormulaError error;
    const auto counting = engine::CompiledFormula::compile(
        QStringLiteral("If TrueLines > 100 Then bonus = 5 : Results.IHours = 1\n"
                       "count = count + 1\nt = TrueLines & \"-\" & UCase(TransID)\n"
                       "If TrueLines > 100 Then Results.IPay = bonus + count\n"
                       "Results.ILines = count + Len(t)"),
        error);
    const auto small = engine::CompiledFormula::compile(QStringLiteral("Results.IPay = 1"), error);
    QVERIFY(counting && small);
    engine::FormulaMachine machine;
    engine::RowInputs row;
    row.transId = QStringLiteral("ab");
    const double lines[] = {200, 50, 300, 0};
    const double pay[] = {6, 0, 6, 0};
    for (int i = 0; i < 4; ++i) {
        row.trueLines = lines[i];
        engine::FormulaResults results;
        QVERIFY(machine.evaluate(*counting, row, nullptr, results, error));
        QCOMPARE(results.pay, pay[i]);
        QCOMPARE(results.hours, pay[i] ? 1.0 : 0.0);
        const QString t = QString::number(lines[i]) + QStringLiteral("-AB");
        QCOMPARE(machine.localValue(*counting, QStringLiteral("t")).toString(), t);
        QCOMPARE(results.lines, 1.0 + t.size());
        QVERIFY(machine.evaluate(*small, row, nullptr, results, error));
        QCOMPARE(results.pay, 1.0);
        QCOMPARE(results.lines, 0.0);
    }
}

VELORA_TEST(TestFormulaStatements)
#include "TestFormulaStatements.moc"
