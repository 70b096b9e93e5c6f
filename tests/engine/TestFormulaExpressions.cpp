#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using velora::test::FormulaRun;

// Expressions against VBScript's results. Each runs as `x = <expression>` after a prelude that
// gives it locals of each kind: e never assigned (Empty), n = 10, s = "9", t = "10", and
// w = 2.5 assigned in one branch and a String in the other, so that the compiler cannot know
// its type and the general operators run.
class TestFormulaExpressions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void expression_data();
    void expression();
    void dateLiterals_data();
    void dateLiterals();
    void numbersOfTheRow_data();
    void numbersOfTheRow();
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
    row("2^-1", "Number:0.5");
    row("2 + 3 * 4", "Number:14");
    row("(2 + 3) * 4", "Number:20");
    row("10 - 4 - 3", "Number:3");
    row("2 * 3 ^ 2", "Number:18");
    row("7 \\ 2 * 2", "Number:1");
    row("7 Mod 4 \\ 2", "Number:1");
    row("9 Mod 4 + 1", "Number:2");
    row("1 + 2 & 3", "String:33");
    row("1 & 2 = 12", "Boolean:true");
    row("Not 1 = 2", "Boolean:true");
    row("True Or False And False", "Boolean:true");
    row("True Xor True Or True", "Boolean:false");

    // Rounding: halves to even, and \ and Mod round their operands first.
    row("Round(2.5)", "Number:2");
    row("Round(3.5)", "Number:4");
    row("Round(-2.5)", "Number:-2");
    row("Round(0.5)", "Number:0");
    row("Round(1.125, 2)", "Number:1.12");
    row("Round(1.375, 2)", "Number:1.38");
    row("Round(1234.5678, 1)", "Number:1234.6");
    row("7 \\ 2", "Number:3");
    row("-7 \\ 2", "Number:-3");
    row("7.5 \\ 2", "Number:4");
    row("6.5 \\ 2", "Number:3");
    row("7.5 Mod 2", "Number:0");
    row("-7 Mod 3", "Number:-1");
    row("CInt(2.5)", "Number:2");
    row("CInt(3.5)", "Number:4");
    row("CLng(-2.5)", "Number:-2");
    row("Int(-2.5)", "Number:-3");
    row("Fix(-2.5)", "Number:-2");
    row("Int(2.7)", "Number:2");

    // True is -1, and the logical operators are bitwise on numbers.
    row("True", "Boolean:true");
    row("True + 1", "Number:0");
    row("-True", "Number:1");
    row("True * 5", "Number:-5");
    row("Not True", "Boolean:false");
    row("Not 0", "Number:-1");
    row("5 And 3", "Number:1");
    row("5 Or 2", "Number:7");
    row("5 Xor 1", "Number:4");
    row("True And 1", "Number:1");
    row("True And True", "Boolean:true");
    row("2.5 And 3", "Number:2");

    // Text: & joins any values, + joins two Strings and adds otherwise.
    row("\"a\" & 1", "String:a1");
    row("1 + \"2\"", "Number:3");
    row("\"1\" + \"2\"", "String:12");
    row("1 & 2", "String:12");
    row("0.1 + 0.2 & \"\"", "String:0.3");
    row("1 / 3 & \"\"", "String:0.333333333333333");
    row("1E15 & \"\"", "String:1E+15");
    row("123456789012345 & \"\"", "String:123456789012345");
    row("0.0001 & \"\"", "String:0.0001");
    row("0.00001 & \"\"", "String:1E-05");
    row("-1.5 & \"\"", "String:-1.5");
    row("True & \"\"", "String:True");
    row("#11/4/2012# & \"\"", "String:11/4/2012");
    row("\"say \"\"hi\"\"\"", "String:say \"hi\"");

    // Empty counts as 0 and as "".
    row("e", "Empty");
    row("e + 1", "Number:1");
    row("e + e", "Number:0");
    row("e & \"a\"", "String:a");
    row("e + \"a\"", "String:a");
    row("e = 0", "Boolean:true");
    row("e = \"\"", "Boolean:true");
    row("Len(e)", "Number:0");
    row("IsNumeric(e)", "Boolean:true");

    // Comparisons: Strings binary; a literal makes the other operand its type; otherwise
    // every number is less than every String.
    row("\"a\" < \"b\"", "Boolean:true");
    row("\"B\" < \"a\"", "Boolean:true");
    row("\"abc\" = \"ABC\"", "Boolean:false");
    row("\"10\" = 10", "Boolean:true");
    row("n < s", "Boolean:true");
    row("n = t", "Boolean:false");
    row("n = \"10\"", "Boolean:true");
    row("n > \"9\"", "Boolean:false");
    row("s = 9", "Boolean:true");
    row("t > 9", "Boolean:true");
    row("True = \"True\"", "Boolean:true");
    row("#2012-11-04# = #11/04/2012#", "Boolean:true");
    row("#2012-11-04# < #2012-11-05#", "Boolean:true");
    row("2 <> 3", "Boolean:true");
    row("3 <= 3", "Boolean:true");
    row("3 >= 4", "Boolean:false");

    // Values whose type only the running formula knows.
    row("w * 2", "Number:5");
    row("w \\ 1", "Number:2");
    row("w = 2.5", "Boolean:true");
    row("Round(w)", "Number:2");
    row("Min(w, 1)", "Number:1");
    row("s + 1", "Number:10");
    row("s & n", "String:910");
    row("-s", "Number:-9");
    row("s * t", "Number:90");

    // Literals.
    row("&H1F", "Number:31");
    row("&HFFFF", "Number:-1");
    row("&H10000", "Number:65536");
    row("&O17", "Number:15");
    row("1.5E3", "Number:1500");
    row(".5", "Number:0.5");
    row("-12", "Number:-12");

    // Dates.
    row("Day(#2012-11-04#)", "Number:4");
    row("Month(#11/04/2012#)", "Number:11");
    row("Year(#2012-11-04#)", "Number:2012");
    row("Weekday(#2012-11-04#)", "Number:1");
    row("Weekday(#2012-11-10#)", "Number:7");
    row("Weekday(#2012-11-04#, vbMonday)", "Number:7");
    row("DateSerial(2012, 2, 30)", "Date:2012-03-01");
    row("DateSerial(2012, 13, 1)", "Date:2013-01-01");
    row("DateSerial(2012, 3, 0)", "Date:2012-02-29");
    row("DateSerial(12, 1, 1)", "Date:2012-01-01");
    row("DateSerial(99, 1, 1)", "Date:1999-01-01");
    row("DateAdd(\"m\", 1, #1/31/2012#)", "Date:2012-02-29");
    row("DateAdd(\"d\", -4, #2012-11-04#)", "Date:2012-10-31");
    row("DateAdd(\"ww\", 2, #2012-11-04#)", "Date:2012-11-18");
    row("DateAdd(\"yyyy\", 1, #2/29/2012#)", "Date:2013-02-28");
    row("DateAdd(\"M\", -13, #2012-11-04#)", "Date:2011-10-04");
    row("DateDiff(\"d\", #2012-11-01#, #2012-11-04#)", "Number:3");
    row("DateDiff(\"d\", #2012-11-04#, #2012-11-01#)", "Number:-3");
    row("DateDiff(\"ww\", #2012-11-03#, #2012-11-04#)", "Number:1");
    row("DateDiff(\"ww\", #2012-11-04#, #2012-11-10#)", "Number:0");
    row("DateDiff(\"ww\", #2012-11-05#, #2012-11-06#, vbTuesday)", "Number:1");
    row("DateDiff(\"m\", #2012-01-31#, #2012-02-01#)", "Number:1");
    row("DateDiff(\"yyyy\", #2012-12-31#, #2013-01-01#)", "Number:1");
    row("IsLastDayOfMonth(#2012-02-29#)", "Boolean:true");
    row("IsLastDayOfMonth(#2013-02-28#)", "Boolean:true");
    row("IsLastDayOfMonth(#2012-02-28#)", "Boolean:false");
    row("#2012-11-04# + 1", "Date:2012-11-05");
    row("#2012-11-04# - #2012-11-01#", "Number:3");
    row("Day(\"11/4/2012\")", "Number:4");
    row("#11/4/2012 6:30 PM#", "Date:2012-11-04T18:30:00");

    // Text functions.
    row("Len(\"abc\")", "Number:3");
    row("Len(123.5)", "Number:5");
    row("LCase(\"AbC\")", "String:abc");
    row("UCase(\"abc\")", "String:ABC");
    row("Trim(\"  a b  \")", "String:a b");
    row("LTrim(\"  a \")", "String:a ");
    row("RTrim(\"  a \")", "String:  a");
    row("Left(\"abcdef\", 2)", "String:ab");
    row("Right(\"abcdef\", 2)", "String:ef");
    row("Left(\"abc\", 10)", "String:abc");
    row("Mid(\"abcdef\", 2, 3)", "String:bcd");
    row("Mid(\"abcdef\", 3)", "String:cdef");
    row("Mid(\"abc\", 5)", "String:");
    row("InStr(\"abcabc\", \"c\")", "Number:3");
    row("InStr(4, \"abcabc\", \"c\")", "Number:6");
    row("InStr(1, \"ABC\", \"b\", 1)", "Number:2");
    row("InStr(1, \"ABC\", \"b\")", "Number:0");
    row("InStr(\"abc\", \"\")", "Number:1");
    row("InStr(\"\", \"a\")", "Number:0");

    // Conversions and numeric functions.
    row("IsNumeric(\"1,000\")", "Boolean:true");
    row("IsNumeric(\" 12.5 \")", "Boolean:true");
    row("IsNumeric(\"abc\")", "Boolean:false");
    row("IsNumeric(\"\")", "Boolean:false");
    row("IsNumeric(#2012-11-04#)", "Boolean:false");
    row("CBool(\"true\")", "Boolean:true");
    row("CBool(0)", "Boolean:false");
    row("CBool(\"2\")", "Boolean:true");
    row("CDbl(\"1.5\")", "Number:1.5");
    row("CDbl(\"1,000.5\")", "Number:1000.5");
    row("CStr(2.50)", "String:2.5");
    row("CStr(e)", "String:");
    row("CSng(0.5)", "Single:0.5");
    row("Len(CSng(0.1))", "Number:3");
    row("CSng(0.1) * 3 & \"\"", "String:0.3");
    row("CSng(0.1) * 3.5 & \"\"", "String:0.350000005215406");
    row("Round(CSng(1.25), 1)", "Single:1.2");
    row("-CSng(12345678) & \"\"", "String:-1.234568E+07");
    row("Abs(-3)", "Number:3");
    row("Sgn(-0.5)", "Number:-1");
    row("Sgn(0)", "Number:0");
    row("Sqr(16)", "Number:4");
    row("Exp(0)", "Number:1");
    row("Log(1)", "Number:0");
    row("Atn(0)", "Number:0");
    row("Cos(0)", "Number:1");
    row("Sin(0)", "Number:0");
    row("Tan(0)", "Number:0");

    // The additions.
    row("Min(3, 1, 2)", "Number:1");
    row("Max(3, 1, 2)", "Number:3");
    row("Min(n, 5)", "Number:5");
    row("Max(n, 5)", "Number:10");
    row("Max(5, n)", "Number:10");
    row("IIf(n > 5, \"big\", \"small\")", "String:big");
    row("IIf(False, 1, 2)", "Number:2");
}

void TestFormulaExpressions::expression() {
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    FormulaRun run(QString::fromUtf8(Prelude) + QStringLiteral("x = ") + expression);
    QVERIFY2(run.compiled, qPrintable(run.error.description));
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.local(QStringLiteral("x")), expected);
}

// Date literals in the forms VBScript reads (US order), and how dates turn into text.
void TestFormulaExpressions::dateLiterals_data() {
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("text"); // CStr of the date; empty: the literal is refused
    QTest::newRow("ISO") << "#2012-11-04#"
                         << "11/4/2012";
    QTest::newRow("US") << "#11/04/2012#"
                        << "11/4/2012";
    QTest::newRow("US with dashes") << "#11-4-2012#"
                                    << "11/4/2012";
    QTest::newRow("two-digit year, 2000s") << "#1/2/29#"
                                           << "1/2/2029";
    QTest::newRow("two-digit year, 1900s") << "#1/2/30#"
                                           << "1/2/1930";
    QTest::newRow("leap day") << "#2/29/2012#"
                              << "2/29/2012";
    QTest::newRow("with a time") << "#2012-11-04 14:05#"
                                 << "11/4/2012 2:05:00 PM";
    QTest::newRow("with seconds and AM") << "#11/4/2012 9:05:30 AM#"
                                         << "11/4/2012 9:05:30 AM";
    QTest::newRow("noon") << "#11/4/2012 12:00 PM#"
                          << "11/4/2012 12:00:00 PM";
    QTest::newRow("a time alone") << "#6:30 PM#"
                                  << "6:30:00 PM";
    QTest::newRow("no such day") << "#2/30/2012#"
                                 << "";
    QTest::newRow("no such month") << "#13/1/2012#"
                                   << "";
    QTest::newRow("no such hour") << "#1/1/2012 25:00#"
                                  << "";
    QTest::newRow("not a date") << "#soon#"
                                << "";
    QTest::newRow("unclosed") << "#1/1/2012"
                              << "";
    QTest::newRow("year 99 AD") << "#1/1/0099#"
                                << "";
}

void TestFormulaExpressions::dateLiterals() {
    QFETCH(QString, literal);
    QFETCH(QString, text);
    FormulaRun run(QStringLiteral("x = CStr(") + literal + QStringLiteral(")"));
    if (text.isEmpty()) {
        QCOMPARE(run.error.number, 1002);
        QCOMPARE(run.error.column, 10);
        QVERIFY(run.error.description.startsWith(QStringLiteral("Invalid date literal: #")));
        return;
    }
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.local(QStringLiteral("x")), QStringLiteral("String:") + text);
}

// The same operators on numbers the compiler cannot fold ({a} and {b} are TrueLines and
// Pages): they run on the machine's fast path for numbers and must agree with VBScript, and
// with the same expression folded from literals.
void TestFormulaExpressions::numbersOfTheRow_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("expected");
    QTest::newRow("\\ rounds a half to even") << "{a} \\ {b}" << 7.5 << 2.0 << 4.0;
    QTest::newRow("\\ truncates") << "{a} \\ {b}" << -7.0 << 2.0 << -3.0;
    QTest::newRow("Mod rounds first") << "{a} Mod {b}" << 7.5 << 2.0 << 0.0;
    QTest::newRow("Mod rounds the divisor") << "{a} Mod {b}" << 7.0 << 2.5 << 1.0;
    QTest::newRow("-a ^ b") << "-{a} ^ {b}" << 3.0 << 2.0 << 9.0;
    QTest::newRow("a ^ b ^ 2") << "{a} ^ {b} ^ 2" << 2.0 << 3.0 << 64.0;
    QTest::newRow("Round(a)") << "Round({a})" << 2.5 << 0.0 << 2.0;
    QTest::newRow("Round(a * b, 2)") << "Round({a} * {b}, 2)" << 125.0 << 0.085 << 10.62;
    QTest::newRow("Round(a, b)") << "Round({a}, {b})" << 1.125 << 2.0 << 1.12;
    QTest::newRow("Min") << "Min({a}, {b})" << 3.0 << -1.0 << -1.0;
    QTest::newRow("Max with a constant") << "Max({a}, 100)" << 3.0 << 0.0 << 100.0;
    QTest::newRow("a comparison is -1") << "({a} > {b}) * 1" << 3.0 << 2.0 << -1.0;
    QTest::newRow("division") << "{a} / {b}" << 1.0 << 4.0 << 0.25;
    QTest::newRow("constant minus") << "10 - {a}" << 3.0 << 0.0 << 7.0;
    QTest::newRow("constant divided") << "10 / {a}" << 4.0 << 0.0 << 2.5;
    QTest::newRow("Not of a comparison") << "Not ({a} > {b})" << 1.0 << 2.0 << -1.0;
    QTest::newRow("Boolean And") << "({a} > 0 And {b} > 0) * 1" << 1.0 << 0.0 << 0.0;
    QTest::newRow("tiers") << "Min({a}, 100) * 0.08 + Max({a} - 100, 0) * 0.09" << 150.0 << 0.0
                           << 12.5;
}

void TestFormulaExpressions::numbersOfTheRow() {
    QFETCH(QString, expression);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, expected);
    engine::RowInputs row;
    row.trueLines = a;
    row.pages = b;
    QString fromRow = expression;
    fromRow.replace(QStringLiteral("{a}"), QStringLiteral("TrueLines"))
        .replace(QStringLiteral("{b}"), QStringLiteral("Pages"));
    FormulaRun run(QStringLiteral("Results.IPay = ") + fromRow, row);
    QVERIFY2(run.succeeded, qPrintable(run.error.description));
    QCOMPARE(run.results.pay, expected);

    QString fromLiterals = expression;
    fromLiterals.replace(QStringLiteral("{a}"), QStringLiteral("(%1)").arg(a, 0, 'g', 17))
        .replace(QStringLiteral("{b}"), QStringLiteral("(%1)").arg(b, 0, 'g', 17));
    FormulaRun folded(QStringLiteral("Results.IPay = ") + fromLiterals);
    QVERIFY2(folded.succeeded, qPrintable(folded.error.description));
    QCOMPARE(folded.results.pay, expected);
}

VELORA_TEST(TestFormulaExpressions)
#include "TestFormulaExpressions.moc"
