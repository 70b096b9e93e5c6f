#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FormulaRun;

// Expressions against VBScript's results. Each runs as `x = <expression>` for a row of 339
// true lines, after a prelude that gives it locals of each kind: e never assigned (Empty),
// n = 10, s = "9", t = "10", and w = 2.5 assigned in one branch and a String in the other, so
// that the compiler cannot know its type. That the operators compute the same with literals
// (folded while compiling) as with variables is checked apart, without expected values.
class TestFormulaExpressions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void expression_data();
    void expression();
};

namespace {

const char* const Prelude = "Dim e\n"
                            "n = 10 : s = \"9\" : t = \"10\"\n"
                            "If n > 5 Then w = 2.5 Else w = \"x\"\n";

void row(const char* expression, const char* expected) {
    QTest::newRow(expression) << QString::fromUtf8(expression) << QString::fromUtf8(expected);
}

} // namespace

void TestFormulaExpressions::expression_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    // Precedence: unary minus above ^, ^ to the left, then * /, \, Mod, + -, &, comparisons,
    // Not, And, Or, Xor.
    row("-3^2", "Number:9");
    row("2^3^2", "Number:64");
    row("7 \\ 2 * 2", "Number:1");
    row("7 Mod 4 \\ 2", "Number:1");
    row("1 + 2 & 3", "String:33");
    row("Not 1 = 2", "Boolean:true");
    row("True Or False And False", "Boolean:true");
    row("True Xor True Or True", "Boolean:false");

    // A call's result next to an operator, folded or not: the commonest pay pattern.
    row("100000 \\ Round(TrueLines * 0.01)", "Number:33333");
    row("100 \\ Round(2 * n)", "Number:5");
    row("7 Mod Round(TrueLines * 0.01)", "Number:1");
    row("6 And Round(TrueLines * 0.01)", "Number:2");
    row("5 Or Round(TrueLines * 0.01) Xor 8", "Number:15");
    row("Round(TrueLines * 0.013, 2) & \" USD\"", "String:4.41 USD");

    // Rounding: halves to even, and \ and Mod round their operands first.
    row("Round(2.5)", "Number:2");
    row("Round(1.125, 2)", "Number:1.12");
    row("-7 \\ 2", "Number:-3");
    row("7.5 \\ 2", "Number:4");
    row("7.5 Mod 2", "Number:0");
    row("-7 Mod 3", "Number:-1");
    row("CInt(2.5)", "Number:2");
    row("Int(-2.5)", "Number:-3");
    row("Fix(-2.5)", "Number:-2");

    // True is -1, and the logical operators are bitwise on numbers.
    row("-True", "Number:1");
    row("Not 0", "Number:-1");
    row("True And 1", "Number:1");
    row("True And True", "Boolean:true");
    row("2.5 And 3", "Number:2");

    // Text: & joins any values, + joins two Strings and adds otherwise; numbers as text.
    row("1 + \"2\"", "Number:3");
    row("\"1\" + \"2\"", "String:12");
    row("1 / 3 & \"\"", "String:0.333333333333333");
    row("1E15 & \"\"", "String:1E+15");
    row("0.00001 & \"\"", "String:1E-05");
    row("\"say \"\"hi\"\"\"", "String:say \"hi\"");

    // A Single: 7 significant digits as text, kept next to an Integer, widened otherwise.
    row("Len(CSng(0.1))", "Number:3");
    row("CSng(0.1) * 3 & \"\"", "String:0.3");
    row("CSng(0.1) * 3.5 & \"\"", "String:0.350000005215406");
    row("Round(CSng(1.25), 1)", "Single:1.2");
    row("-CSng(12345678) & \"\"", "String:-1.234568E+07");

    // Empty counts as 0 and as "".
    row("e", "Empty");
    row("e = 0", "Boolean:true");
    row("e = \"\"", "Boolean:true");

    // Comparisons: Strings binary; a literal makes the other operand its type; otherwise
    // every number is less than every String.
    row("\"B\" < \"a\"", "Boolean:true");
    row("\"10\" = 10", "Boolean:true");
    row("n < s", "Boolean:true");
    row("n > \"9\"", "Boolean:false");
    row("s = 9", "Boolean:true");
    row("True = \"True\"", "Boolean:true");
    row("#2012-11-04# = #11/04/2012#", "Boolean:true");

    // Values whose type only the running formula knows.
    row("w \\ 1", "Number:2");
    row("s & n", "String:910");

    // Literals.
    row("&HFFFF", "Number:-1");
    row("&O17", "Number:15");

    // Date literals in the forms VBScript reads (US order), and dates as text.
    row("#11/4/2012# & \"\"", "String:11/4/2012");
    row("CStr(#1/2/29#)", "String:1/2/2029");
    row("CStr(#1/2/30#)", "String:1/2/1930");
    row("CStr(#2012-11-04 14:05#)", "String:11/4/2012 2:05:00 PM");
    row("CStr(#6:30 PM#)", "String:6:30:00 PM");
    row("#11/4/2012 9:05:30 AM#", "Date:2012-11-04T09:05:30");

    // Dates.
    row("Weekday(#2012-11-04#, vbMonday)", "Number:7");
    row("DateSerial(2012, 3, 0)", "Date:2012-02-29");
    row("DateAdd(\"m\", 1, #1/31/2012#)", "Date:2012-02-29");
    row("DateAdd(\"yyyy\", 1, #2/29/2012#)", "Date:2013-02-28");
    row("DateDiff(\"d\", #2012-11-04#, #2012-11-01#)", "Number:-3");
    row("DateDiff(\"ww\", #2012-11-05#, #2012-11-06#, vbTuesday)", "Number:1");
    row("DateDiff(\"m\", #2012-01-31#, #2012-02-01#)", "Number:1");
    row("DateDiff(\"yyyy\", #2012-12-31#, #2013-01-01#)", "Number:1");
    row("IsLastDayOfMonth(#2012-02-29#)", "Boolean:true");
    row("#2012-11-04# + 1", "Date:2012-11-05");
    row("#2012-11-04# - #2012-11-01#", "Number:3");

    // Text functions.
    row("Len(123.5)", "Number:5");
    row("Mid(\"abc\", 5)", "String:");
    row("InStr(4, \"abcabc\", \"c\")", "Number:6");
    row("InStr(1, \"ABC\", \"b\", 1)", "Number:2");
    row("InStr(\"abc\", \"\")", "Number:1");

    // Conversions and numeric functions.
    row("IsNumeric(\" 1,000.5 \")", "Boolean:true");
    row("IsNumeric(\"\")", "Boolean:false");
    row("IsNumeric(#2012-11-04#)", "Boolean:false");
    row("CBool(\"2\")", "Boolean:true");
    row("CDbl(\"1,000.5\")", "Number:1000.5");
    row("Sgn(-0.5)", "Number:-1");
    row("Log(1) + Exp(0) + Atn(0) + Cos(0) + Sin(0) + Tan(0) + Abs(-3)", "Number:5");

    // The additions.
    row("Max(5, n)", "Number:10");
    row("IIf(n > 5, \"big\", \"small\")", "String:big");
}

void TestFormulaExpressions::expression() {
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    engine::RowInputs row;
    row.trueLines = 339;
    FormulaRun run(QString::fromUtf8(Prelude) + QStringLiteral("x = ") + expression, row);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.local(QStringLiteral("x")), expected);
}

VELORA_TEST(TestFormulaExpressions)
#include "TestFormulaExpressions.moc"
