#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FormulaRun;

// Errors carry VBScript's number, the line and column, the description and the line's text.
// Run-time errors are raised with TrueLines = 5 and every other input 0.
class TestFormulaErrors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void error_data();
    void error();
    void exampleFormulaFailsOnADayWithoutHours();
    void periodFunctionWithoutASource();
    void successClearsAnEarlierError();
    void windowsLineBreaks();
    void nestingIsBoundedChainsAreNot();
};

void TestFormulaErrors::error_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("atRunTime");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("description");

    auto add = [](const char* name, const char* formula, bool atRunTime, int number, int line,
                  int column, const char* description) {
        QTest::newRow(name) << QString::fromUtf8(formula) << atRunTime << number << line << column
                            << QString::fromUtf8(description);
    };
    // Compile errors.
    add("unknown name", "x = 1\nResults.IPay = TrueLine * 2", false, 500, 2, 16,
        "Variable is undefined: TrueLine");
    add("unknown function", "x = Bonus(1)", false, 500, 1, 5, "Variable is undefined: Bonus");
    add("unterminated string", "x = 1\n  y = \"abc", false, 1033, 2, 7,
        "Unterminated string constant");
    add("invalid character", "x = 1 $ 2", false, 1014, 1, 7, "Invalid character");
    add("end of statement expected", "x = 1 2", false, 1025, 1, 7, "Expected end of statement");
    add("syntax error", "x = (1 + 2", false, 1002, 1, 11, "Expected ')'");
    add("missing expression", "x = 1 +", false, 1002, 1, 8, "Expected expression");
    add("missing Then", "If x > 1\nx = 2\nEnd If", false, 1002, 1, 9, "Expected 'Then'");
    add("missing End If", "x = 1\nIf x > 1 Then\n  x = 2\n", false, 1002, 2, 1,
        "Expected 'End If'");
    add("End Select for End If", "If x Then\nx = 2\nEnd Select", false, 1002, 3, 1,
        "Expected 'End If'");
    add("missing End Select", "Select Case x\nCase 1\n  x = 2", false, 1002, 1, 1,
        "Expected 'End Select'");
    add("statement before the first Case", "Select Case x\nx = 1\nEnd Select", false, 1002, 2, 1,
        "Expected 'Case'");
    add("stray End If", "x = 1\nEnd If", false, 1002, 2, 1, "Syntax error");
    add("refused Rnd", "x = 1 + Rnd", false, 1002, 1, 9,
        "'Rnd' is not available in formulas: a formula gives the same result for the same "
        "row every time it runs");
    add("refused Now()", "x = Now()", false, 1002, 1, 5,
        "'Now' is not available in formulas: a formula gives the same result for the same "
        "row every time it runs");
    add("refused Date", "If Date > ShiftDate Then x = 1", false, 1002, 1, 4,
        "'Date' is not available in formulas: a formula gives the same result for the same "
        "row every time it runs");
    add("refused function", "x = Replace(\"a\", \"a\", \"b\")", false, 1002, 1, 5,
        "'Replace' is not available in formulas");
    add("refused loop", "For i = 1 To 3\nNext", false, 1002, 1, 1,
        "'For' is not available in formulas: there are no loops");
    add("refused procedure", "Sub Pay()\nEnd Sub", false, 1002, 1, 1,
        "'Sub' is not available in formulas: there are no procedures");
    add("refused object", "Set x = Results", false, 1002, 1, 1,
        "'Set' is not available in formulas: there are no objects other than Results");
    add("refused error trapping", "On Error Resume Next", false, 1002, 1, 1,
        "'On' is not available in formulas: a run-time error always ends the formula");
    add("refused Eqv", "x = True Eqv False", false, 1002, 1, 10,
        "'Eqv' is not available in formulas");
    add("refused array", "Dim a(3)", false, 1002, 1, 6, "Arrays are not available in formulas");
    add("wrong argument count", "x = Round(1, 2, 3)", false, 450, 1, 5,
        "Wrong number of arguments or invalid property assignment: 'Round'");
    add("too few arguments", "x = Left(\"abc\")", false, 450, 1, 5,
        "Wrong number of arguments or invalid property assignment: 'Left'");
    add("function without arguments", "x = Len + 1", false, 450, 1, 5,
        "Wrong number of arguments or invalid property assignment: 'Len'");
    add("assigning an input", "Hours = 5", false, 501, 1, 1, "Illegal assignment: 'Hours'");
    add("assigning a function", "x = 1\nround = x", false, 501, 2, 1,
        "Illegal assignment: 'round'");
    add("Dim of an input", "Dim TrueLines", false, 1041, 1, 5, "Name redefined: 'TrueLines'");
    add("Dim twice", "Dim a, b\nDim a", false, 1041, 2, 5, "Name redefined: 'a'");
    add("unknown result", "Results.IBonus = 1", false, 438, 1, 9,
        "Object doesn't support this property or method: 'Results.IBonus'");
    add("other object", "x = Account.Name", false, 424, 1, 5, "Object required: 'Account'");
    add("local called like a function", "a = 1\nx = a(1)", false, 13, 2, 5, "Type mismatch: 'a'");
    add("unknown measure", "x = MonthToDate(\"Bonus\")", false, 5, 1, 17,
        "Invalid procedure call or argument: 'MonthToDate'");
    add("invalid date literal", "x = #13/45/2012#", false, 1002, 1, 5,
        "Invalid date literal: #13/45/2012#");
    add("literal too large", "x = 1E400", false, 6, 1, 5, "Overflow");
    add("hexadecimal too large", "x = &H1FFFFFFFF", false, 6, 1, 5, "Overflow");
    add("text after a continuation", "x = 1 _ ' more\n+ 2", false, 1014, 1, 7, "Invalid character");
    add("Rem inside a statement", "x = 1 Rem no", false, 1025, 1, 7, "Expected end of statement");
    add("a second Case Else", "Select Case x\nCase Else\nCase 1\nEnd Select", false, 1002, 3, 1,
        "Expected 'End Select'");
    add("block If inside a one-line If", "If x Then If y Then\nEnd If", false, 1002, 1, 20,
        "Syntax error");
    add("Dim of Results", "Dim Results", false, 1041, 1, 5, "Name redefined: 'Results'");
    add("assigning Results", "Results = 1", false, 501, 1, 1, "Illegal assignment: 'Results'");
    add("Results alone", "x = Results", false, 438, 1, 5,
        "Object doesn't support this property or method: 'Results'");
    add("an input called", "x = Hours(1)", false, 13, 1, 5, "Type mismatch: 'Hours'");
    add("Is outside Case", "x = Is", false, 1002, 1, 5,
        "'Is' is not available in formulas: there are no objects other than Results");
    add("an omitted argument", "x = Mid(\"abc\", , 1)", false, 1002, 1, 16, "Expected expression");
    add("a statement that is an expression", "Round(1.5)", false, 1002, 1, 6, "Expected '='");

    // Run-time errors: the line and column of the operator or function that failed.
    add("division by zero", "x = 1\nResults.IPay = TrueLines / Hours", true, 11, 2, 26,
        "Division by zero");
    add("zero divided by zero", "Results.IPay = Hours / Pages", true, 6, 1, 22, "Overflow");
    add("integer division by zero", "x = TrueLines \\ Hours", true, 11, 1, 15, "Division by zero");
    add("Mod by zero", "x = TrueLines Mod 0", true, 11, 1, 15, "Division by zero");
    add("division by zero in a constant", "If TrueLines > 1 Then x = 1 / 0", true, 11, 1, 29,
        "Division by zero");
    add("type mismatch", "x = \"abc\"\nResults.IPay = x + TrueLines", true, 13, 2, 18,
        "Type mismatch: '[string: \"abc\"]'");
    add("type mismatch in If", "x = \"abc\"\nIf x Then y = 1", true, 13, 2, 4,
        "Type mismatch: '[string: \"abc\"]'");
    add("text assigned to a result", "Results.IPay = \"abc\"", true, 13, 1, 16,
        "Type mismatch: '[string: \"abc\"]'");
    add("type mismatch in a function", "x = Abs(\"abc\" & TrueLines)", true, 13, 1, 5,
        "Type mismatch: 'Abs'");
    add("overflow of CInt", "x = CInt(TrueLines * 10000)", true, 6, 1, 5, "Overflow: 'CInt'");
    add("overflow in a rounded product", "x = Round(TrueLines * 1E308, 2)", true, 6, 1, 21,
        "Overflow");
    add("division in a chosen value's condition",
        "b = 0\nIf Hours > 0 And TrueLines / Hours > 1 Then b = 5", true, 11, 2, 28,
        "Division by zero");
    add("overflow of a product", "x = 1E300 * TrueLines\ny = x * 1E300", true, 6, 2, 7, "Overflow");
    add("invalid argument", "x = Mid(\"abc\", TrueLines - 5)", true, 5, 1, 5,
        "Invalid procedure call or argument: 'Mid'");
    add("square root of a negative", "x = Sqr(-TrueLines)", true, 5, 1, 5,
        "Invalid procedure call or argument: 'Sqr'");
    add("overflow of CLng", "x = CLng(TrueLines * 1E9)", true, 6, 1, 5, "Overflow: 'CLng'");
    add("a text beyond the Double range", "x = TrueLines + \"-1E309\"", true, 6, 1, 15, "Overflow");
    add("a text beyond the Double range, converted", "x = CDbl(\"1E400\")", true, 6, 1, 5,
        "Overflow: 'CDbl'");
    add("a text beyond 32 bits", "If \"&H1FFFFFFFF\" Then x = 1", true, 6, 1, 4, "Overflow");
    add("negative base, fractional power", "x = (-TrueLines) ^ 0.5", true, 5, 1, 18,
        "Invalid procedure call or argument");
    add("zero to a negative power", "x = (TrueLines - 5) ^ -1", true, 11, 1, 21,
        "Division by zero");
    add("a negative number of places", "x = Round(TrueLines, TrueLines - 6)", true, 5, 1, 5,
        "Invalid procedure call or argument: 'Round'");
    add("a date out of range", "x = DateSerial(10000 + TrueLines, 1, 1)", true, 5, 1, 5,
        "Invalid procedure call or argument: 'DateSerial'");
    add("And of a large number", "x = (TrueLines * 1E10) And 1", true, 6, 1, 24, "Overflow");
    add("unknown interval", "x = DateAdd(\"q\", TrueLines, ShiftDate)", false, 5, 1, 13,
        "Invalid procedure call or argument: 'DateAdd'");
    add("interval named at run time", "x = DateDiff(LCase(\"H\") & \"\", ShiftDate, ShiftDate)",
        true, 5, 1, 5, "Invalid procedure call or argument: 'DateDiff'");
    add("period measure named at run time", "x = WeekToDate(\"Bo\" & \"nus\" & Hours)", true, 5, 1,
        5, "Invalid procedure call or argument: 'WeekToDate'");
}

void TestFormulaErrors::error() {
    QFETCH(QString, formula);
    QFETCH(bool, atRunTime);
    QFETCH(int, number);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, description);
    engine::RowInputs row;
    row.trueLines = 5;
    row.shiftDate = QDate(2012, 11, 4);
    test::FakePeriodSource periods;
    FormulaRun run(formula, row, &periods);
    QCOMPARE(run.compiled, atRunTime);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.error.description, description);
    QCOMPARE(run.error.number, number);
    QCOMPARE(run.error.line, line);
    QCOMPARE(run.error.column, column);
    QCOMPARE(run.error.lineText, formula.split(QLatin1Char('\n')).value(line - 1));
    QVERIFY(run.error.isError());
}

// VBScript's And evaluates both sides, so the example's productivity test divides by zero on
// a day without hours, as it would under VBScript.
void TestFormulaErrors::exampleFormulaFailsOnADayWithoutHours() {
    engine::RowInputs row;
    row.trueLines = 0;
    row.systemHours = 0;
    FormulaRun run(QStringLiteral("Results.IPay = 1\n"
                                  "If Hours > 0 And TrueLines / Hours >= 180 Then "
                                  "Results.IPay = Results.IPay + 5"),
                   row);
    QVERIFY(run.compiled);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.error.number, 6);
    QCOMPARE(run.error.line, 2);
}

void TestFormulaErrors::periodFunctionWithoutASource() {
    FormulaRun run(QStringLiteral("x = YearToDate(\"IPay\")"));
    QVERIFY(run.compiled);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.error.number, 5);
    QCOMPARE(run.error.description,
             QStringLiteral("Invalid procedure call or argument: 'YearToDate'"));
}

void TestFormulaErrors::successClearsAnEarlierError() {
    engine::FormulaError error;
    QVERIFY(!engine::CompiledFormula::compile(QStringLiteral("x = "), error));
    QVERIFY(error.isError());
    const auto formula = engine::CompiledFormula::compile(QStringLiteral("x = Hours / 2"), error);
    QVERIFY(formula);
    QVERIFY(!error.isError());
    engine::FormulaMachine machine;
    engine::FormulaResults results;
    error.number = 11;
    QVERIFY(machine.evaluate(*formula, engine::RowInputs(), nullptr, results, error));
    QVERIFY(!error.isError());
}

// Formulas stored by the program have CR LF line breaks: lines count and read the same.
void TestFormulaErrors::windowsLineBreaks() {
    FormulaRun run(QStringLiteral("x = 1\r\ny = 2 _\r\n  + 3\r\nz = Foo\r\n"));
    QCOMPARE(run.error.number, 500);
    QCOMPARE(run.error.line, 4);
    QCOMPARE(run.error.column, 5);
    QCOMPARE(run.error.lineText, QStringLiteral("z = Foo"));
    FormulaRun fine(QStringLiteral("x = 1\r\r\nResults.IPay = x _\r\n + 1\r\n"));
    QVERIFY2(fine.succeeded, qPrintable(fine.error.description));
    QCOMPARE(fine.results.pay, 2.0);
}

namespace {

QString repeated(const char* head, const char* term, int count, const char* tail) {
    QString text = QString::fromUtf8(head);
    for (int i = 0; i < count; ++i)
        text += QString::fromUtf8(term);
    return text + QString::fromUtf8(tail);
}

} // namespace

// A hostile text cannot exhaust the stack: what nests is bounded and reported, while a flat
// chain of any length compiles and runs (each node taken in turn, never one call per term).
void TestFormulaErrors::nestingIsBoundedChainsAreNot() {
    const QStringList nested = {
        repeated("x = ", "(", 5000, "1"), repeated("x = 1", " + (1", 300, ""),
        repeated("x = ", "-", 300, "1"), repeated("", "If x Then\n", 5000, "")};
    for (const QString& text : nested)
        QCOMPARE(FormulaRun(text).error.number, 28);

    engine::RowInputs row;
    row.trueLines = 2;
    FormulaRun sum(repeated("x = 1", " + 1", 249999, ""), row);
    QVERIFY2(sum.succeeded, qPrintable(sum.error.description));
    QCOMPARE(sum.local(QStringLiteral("x")), QStringLiteral("Number:250000"));
    FormulaRun computed(repeated("Results.IPay = 0", " - TrueLines * 2", 250000, ""), row);
    QVERIFY2(computed.succeeded, qPrintable(computed.error.description));
    QCOMPARE(computed.results.pay, -1000000.0);
    FormulaRun condition(repeated("If TrueLines > 1", " And TrueLines > 1", 100000, " Then x = 1"),
                         row);
    QVERIFY2(condition.succeeded, qPrintable(condition.error.description));
    QCOMPARE(condition.local(QStringLiteral("x")), QStringLiteral("Number:1"));
}

VELORA_TEST(TestFormulaErrors)
#include "TestFormulaErrors.moc"
