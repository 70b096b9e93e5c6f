#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QRegularExpression>
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
    void successClearsAnEarlierError();
    void nestingIsBoundedChainsAreNot();
};

void TestFormulaErrors::error_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("atRunTime");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("description");

    // A formula that fails to compile, or compiles and fails when it runs.
    auto failure = [](bool atRunTime, const char* formula, int number, int line, int column,
                      const char* description) {
        QTest::newRow(QByteArray(formula).replace('\r', "").replace('\n', " | ").constData())
            << QString::fromUtf8(formula) << atRunTime << number << line << column
            << QString::fromUtf8(description);
    };
    auto compiles = [&](auto... arguments) { failure(false, arguments...); };
    auto runs = [&](auto... arguments) { failure(true, arguments...); };
    // Compile errors.
    compiles("x = 1\nResults.IPay = TrueLine * 2", 500, 2, 16, "Variable is undefined: TrueLine");
    // Formulas stored by the program have CR LF line breaks: lines count and read the same.
    compiles("x = 1\r\ny = 2 _\r\n  + 3\r\nz = Foo\r\n", 500, 4, 5, "Variable is undefined: Foo");
    compiles("x = 1\n  y = \"abc", 1033, 2, 7, "Unterminated string constant");
    compiles("x = 1 Rem no", 1025, 1, 7, "Expected end of statement");
    compiles("x = (1 + 2", 1002, 1, 11, "Expected ')'");
    compiles("x = 1 +", 1002, 1, 8, "Expected expression");
    compiles("If x > 1\nx = 2\nEnd If", 1002, 1, 9, "Expected 'Then'");
    compiles("x = 1\nIf x > 1 Then\n  x = 2\n", 1002, 2, 1, "Expected 'End If'");
    compiles("Select Case x\nx = 1\nEnd Select", 1002, 2, 1, "Expected 'Case'");
    compiles("x = 1\nEnd If", 1002, 2, 1, "Syntax error");
    compiles("x = 1 + Rnd", 1002, 1, 9,
             "'Rnd' is not available in formulas: a formula gives the same result for the same "
             "row every time it runs");
    compiles("For i = 1 To 3\nNext", 1002, 1, 1,
             "'For' is not available in formulas: there are no loops");
    compiles("On Error Resume Next", 1002, 1, 1,
             "'On' is not available in formulas: a run-time error always ends the formula");
    compiles("Dim a(3)", 1002, 1, 6, "Arrays are not available in formulas");
    compiles("x = Round(1, 2, 3)", 450, 1, 5,
             "Wrong number of arguments or invalid property assignment: 'Round'");
    compiles("Hours = 5", 501, 1, 1, "Illegal assignment: 'Hours'");
    compiles("Dim TrueLines", 1041, 1, 5, "Name redefined: 'TrueLines'");
    compiles("Results.IBonus = 1", 438, 1, 9,
             "Object doesn't support this property or method: 'Results.IBonus'");
    compiles("x = Account.Name", 424, 1, 5, "Object required: 'Account'");
    compiles("a = 1\nx = a(1)", 13, 2, 5, "Type mismatch: 'a'");
    compiles("x = MonthToDate(\"Bonus\")", 5, 1, 17,
             "Invalid procedure call or argument: 'MonthToDate'");
    compiles("x = #13/45/2012#", 1002, 1, 5, "Invalid date literal: #13/45/2012#");
    compiles("x = CStr(#1/1/2012)", 1002, 1, 10, "Invalid date literal: #1/1/2012)");
    compiles("x = 1E400", 6, 1, 5, "Overflow");
    compiles("x = 1 _ ' more\n+ 2", 1014, 1, 7, "Invalid character");
    compiles("If x Then If y Then\nEnd If", 1002, 1, 20, "Syntax error");
    compiles("x = Mid(\"abc\", , 1)", 1002, 1, 16, "Expected expression");
    compiles("Round(1.5)", 1002, 1, 6, "Expected '='");
    compiles("x = DateAdd(\"q\", TrueLines, ShiftDate)", 5, 1, 13,
             "Invalid procedure call or argument: 'DateAdd'");

    // Run-time errors: the line and column of the operator or function that failed.
    runs("x = 1\nResults.IPay = TrueLines / Hours", 11, 2, 26, "Division by zero");
    runs("Results.IPay = Hours / Pages", 6, 1, 22, "Overflow");
    runs("x = \"abc\"\nResults.IPay = x + TrueLines", 13, 2, 18,
         "Type mismatch: '[string: \"abc\"]'");
    runs("x = CInt(TrueLines * 10000)", 6, 1, 5, "Overflow: 'CInt'");
    runs("x = Round(TrueLines * 1E308, 2)", 6, 1, 21, "Overflow");
    runs("b = 0\nIf Hours > 0 And TrueLines / Hours > 1 Then b = 5", 11, 2, 28, "Division by zero");
    runs("x = Mid(\"abc\", TrueLines - 5)", 5, 1, 5, "Invalid procedure call or argument: 'Mid'");
    runs("x = TrueLines + \"-1E309\"", 6, 1, 15, "Overflow");
    runs("x = CDbl(\"1E400\")", 6, 1, 5, "Overflow: 'CDbl'");
    runs("If \"&H1FFFFFFFF\" Then x = 1", 6, 1, 4, "Overflow");
    runs("x = (-TrueLines) ^ 0.5", 5, 1, 18, "Invalid procedure call or argument");
    runs("x = (TrueLines * 1E10) And 1", 6, 1, 24, "Overflow");
    runs("x = DateDiff(LCase(\"H\") & \"\", ShiftDate, ShiftDate)", 5, 1, 5,
         "Invalid procedure call or argument: 'DateDiff'");
    runs("x = WeekToDate(\"Bo\" & \"nus\" & Hours)", 5, 1, 5,
         "Invalid procedure call or argument: 'WeekToDate'");
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
    FormulaRun run(formula, row); // and no source of period sums
    QCOMPARE(run.compiled, atRunTime);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.error.description, description);
    QCOMPARE(run.error.number, number);
    QCOMPARE(run.error.line, line);
    QCOMPARE(run.error.column, column);
    QCOMPARE(run.error.lineText,
             formula.split(QRegularExpression(QStringLiteral("\r?\n"))).value(line - 1));
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
