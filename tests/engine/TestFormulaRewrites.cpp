#include "FormulaTestSupport.h"
#include "common/TestMain.h"
#include "engine/FormulaBuiltins.h"

#include <QTest>
#include <random>

using namespace velora;

// Formulas rewritten in ways that must not change what they compute, so that no expected
// value is needed: every literal moved into a variable holding the same value (then nothing
// folds while compiling and the machine's operators run instead of the compiler's), every
// built-in called with constants and again with variables, and choices of a value made with
// and without jumps. Both forms must give the same value of the same type, or fail with the
// same error number.
class TestFormulaRewrites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void literalsMovedIntoVariables();
    void builtinsFoldedAndUnfolded();
    void choicesWithoutJumps_data();
    void choicesWithoutJumps();
};

namespace {

// A fixed sequence on every platform: the engine is specified exactly, unlike the standard
// distributions.
struct Random {
    std::mt19937_64 engine;
    int below(int n) { return int(engine() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) {
        return items[below(int(N))];
    }
};

// Locals besides the row's inputs; w is a number or a text depending on the row, so that the
// compiler cannot know its type.
const char* const Prelude = "Dim e\nn = TrueLines / 4 : b = Pages > 1 : s = \"12\"\n"
                            "If TrueLines > 100 Then w = 2.5 Else w = \"x\"\n";

// The forms of numeric (N) and text (T) expressions; A is either, I an interval. A numeric
// expression never yields a String and a text one always does: comparisons take two of one
// kind, since VBScript compares a literal with a String otherwise than a variable.
const char* const NumberForms[] = {
    "({A} - {A})", "({A} * {A})", "({A} / {A})", "({A} \\ {A})", "({A} Mod {A})", "({A} ^ {A})",
    "({A} And {A})", "({A} Or {A})", "({A} Xor {A})", "({N} + {N})", "({N} = {N})", "({N} < {N})",
    "({T} <> {T})", "({T} >= {T})", "(-{A})", "(Not {A})", "Round({A})", "Round({A}, {N})",
    "Abs({A})", "Int({A})", "Fix({A})", "Sgn({A})", "Sqr({A})", "CInt({A})", "CLng({A})",
    "CDbl({A})", "CSng({A})", "Len({A})", "CBool({A})", "IsNumeric({A})", "Day({A})",
    "Weekday({A}, {N})", "Min({N}, {A}, {N})", "Max({N}, {A})", "IIf({A}, {N}, {N})",
    "InStr({T}, {A})", "DateSerial({N}, {N}, {N})", "DateAdd({I}, {N}, {N})",
    "DateDiff({I}, {N}, {N})",
    // The commonest pay pattern next to operators that fold.
    "({N} \\ Round({N} * {N}))", "({N} Mod Round({N} * {N}))", "({N} Xor Round({N} * {N}, 2))"};
const char* const TextForms[] = {
    "({A} & {A})",   "({T} + {T})",        "LCase({A})",
    "Trim({A})",     "CStr({A})",          "Left({A}, {N})",
    "Mid({A}, {N})", "IIf({A}, {T}, {T})", "(Round({N} * {N}, 2) & {T})"};
const char* const NumberLiterals[] = {
    "0",    "1",     "2",    "7",     "339",  "0.01",  "2.5",          "1.5E3",
    "&H1F", "32767", "1E10", "1E300", "True", "False", "#2012-11-04#", "#1/31/2012 6:30 PM#"};
const char* const TextLiterals[] = {"\"\"",      "\"abc\"",   "\"7\"",
                                    "\"2.5\"",   "\" 12 \"",  "\"True\"",
                                    "\"1,000\"", "\"1E400\"", "\"11/4/2012\""};
const char* const NumberNames[] = {"TrueLines", "Pages", "Hours", "ShiftDate", "n", "b", "e"};
const char* const TextNames[] = {"TransID", "s"};
// An interval written in the text is checked while compiling, before anything runs: "q" would
// fail earlier as written than moved.
const char* const Intervals[] = {"\"d\"", "\"ww\"", "\"m\"", "\"yyyy\""};

// One random expression as written, and with every literal read from a variable assigned
// before it (half of them in a way that hides their type from the compiler).
class Rewrite {
public:
    explicit Rewrite(Random& random)
        : random_(random) {}

    QString written;
    QString moved;
    QString assignments;

    void expression(char kind, int depth) {
        if (kind == 'A')
            kind = random_.chance(65) ? 'N' : 'T';
        if (kind == 'I')
            return literal(random_.pick(Intervals));
        if (depth <= 0 || random_.chance(25))
            return leaf(kind == 'T');
        for (const char* c = kind == 'N' ? random_.pick(NumberForms) : random_.pick(TextForms); *c;
             ++c) {
            if (*c == '{')
                expression(*++c, depth - 1), ++c;
            else
                written += QLatin1Char(*c), moved += QLatin1Char(*c);
        }
    }

private:
    void literal(const char* text) {
        const QString name = QStringLiteral("k%1").arg(++count_);
        written += QString::fromUtf8(text);
        moved += name;
        assignments += (random_.chance(50) ? QStringLiteral("%1 = %2\n")
                                           : QStringLiteral("If Pages >= 0 Then %1 = %2 Else "
                                                            "%1 = \"?\"\n"))
                           .arg(name, QString::fromUtf8(text));
    }

    void leaf(bool text) {
        if (!random_.chance(35))
            return literal(text ? random_.pick(TextLiterals) : random_.pick(NumberLiterals));
        const QString name =
            QString::fromUtf8(text ? random_.pick(TextNames) : random_.pick(NumberNames));
        written += name;
        moved += name;
    }

    Random& random_;
    int count_ = 0;
};

engine::RowInputs row(double lines, double pages) {
    engine::RowInputs row;
    row.trueLines = lines;
    row.pages = row.systemHours = pages;
    row.transId = QStringLiteral("jsmith");
    row.shiftDate = QDate(2012, 11, 4);
    return row;
}

// What a formula does on each row, exactly: the error number, or x, y and the pay.
QString outcomes(const QString& formula,
                 const std::vector<engine::RowInputs>& rows = {row(339, 2), row(0, 0)}) {
    engine::FormulaError error;
    const auto compiled = engine::CompiledFormula::compile(formula, error);
    if (!compiled) // as if it failed on each row: an error found early is the same error
        return QStringLiteral("error %1; ").arg(error.number).repeated(int(rows.size()));
    QString all;
    engine::FormulaMachine machine;
    for (const engine::RowInputs& row : rows) {
        engine::FormulaResults results;
        if (!machine.evaluate(*compiled, row, nullptr, results, error)) {
            all += QStringLiteral("error %1; ").arg(error.number);
            continue;
        }
        for (const char* name : {"x", "y"})
            all += test::describe(machine.localValue(*compiled, QLatin1String(name))) + ' ';
        all += QString::number(results.pay, 'g', 17) + QStringLiteral("; ");
    }
    return all;
}

// The expression as a value, as a result and as a condition, in both forms; empty when they
// agree.
QString disagreement(const QString& prelude, const QString& written, const QString& moved) {
    for (const char* context : {"x = %1", "Results.IPay = %1", "If %1 Then y = 1 Else y = 2"}) {
        const QString asWritten = outcomes(prelude + QString::fromUtf8(context).arg(written));
        const QString asMoved = outcomes(prelude + QString::fromUtf8(context).arg(moved));
        if (asWritten != asMoved)
            return QString::fromUtf8(context).arg(written) + QStringLiteral("\n  written: ") +
                   asWritten + QStringLiteral("\n  moved: ") + asMoved;
    }
    return QString();
}

} // namespace

void TestFormulaRewrites::literalsMovedIntoVariables() {
    Random random{std::mt19937_64(20260412)};
    for (int i = 0; i < 3000; ++i) {
        Rewrite rewrite(random);
        rewrite.expression('A', 1 + random.below(4));
        const QString failure = disagreement(QString::fromUtf8(Prelude) + rewrite.assignments,
                                             rewrite.written, rewrite.moved);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

// Every pure built-in with each number of arguments it takes (up to 4), on arguments drawn
// from values of every type.
void TestFormulaRewrites::builtinsFoldedAndUnfolded() {
    static const char* const Values[] = {
        "0",        "1",         "2",       "-1",     "2.5",          "-2.5",        "339",
        "0.01",     "1E10",      "\"abc\"", "\"12\"", "\"\"",         "\" 2.5 \"",   "\"d\"",
        "\"yyyy\"", "\"1E400\"", "True",    "False",  "#2012-11-04#", "#1/31/2012#", "#6:30 PM#"};
    Random random{std::mt19937_64(7)};
    for (int id = 0; id < int(engine::BuiltinId::Count); ++id) {
        const engine::BuiltinInfo& info = engine::FormulaBuiltins::info(engine::BuiltinId(id));
        if (!info.pure)
            continue;
        for (int count = std::max(1, int(info.minArguments));
             count <= std::min(4, int(info.maxArguments)); ++count) {
            for (int sample = 0; sample < 100; ++sample) {
                QStringList literals;
                QStringList names;
                QString assignments;
                for (int i = 0; i < count; ++i) {
                    literals << QString::fromUtf8(random.pick(Values));
                    names << QStringLiteral("a%1").arg(i);
                    assignments += names.back() + QStringLiteral(" = ") + literals.back() + '\n';
                }
                const QString name = QString::fromLatin1(info.name);
                const QString failure =
                    disagreement(assignments, name + '(' + literals.join(", ") + ')',
                                 name + '(' + names.join(", ") + ')');
                QVERIFY2(failure.isEmpty(), qPrintable(failure));
            }
        }
    }
}

// An If or Select that only chooses a value runs without jumps. The same statement with one
// more statement in each branch ({z} below) runs with jumps: both must agree on every row.
void TestFormulaRewrites::choicesWithoutJumps_data() {
    QTest::addColumn<QString>("formula");
    auto add = [](const char* name, const char* formula) {
        QTest::newRow(name) << QString::fromUtf8(formula);
    };
    add("tiers with Else", "If TrueLines > 20 Then\nx = 3{z}\nElseIf TrueLines >= 10 Then\n"
                           "x = 2{z}\nElseIf Pages < 3 Then\nx = Pages{z}\nElse\nx = -1{z}\n"
                           "End If");
    add("an empty branch", "x = 5\nIf TrueLines > 20 Then\nx = 3{z}\nElseIf TrueLines > 10 Then\n"
                           "{z}\nElse\nx = 1{z}\nEnd If");
    add("conditions on the chosen local",
        "x = TrueLines\nIf x > 20 Then\nx = 20{z}\nElseIf x < 5 Then\nx = x{z}\n"
        "Else\nx = Pages{z}\nEnd If");
    add("And, Or, Not", "x = 0\nIf TrueLines > 3 And Pages > 2 Then\nx = 1{z}\n"
                        "ElseIf TrueLines > 8 Or Not Pages > 1 Then\nx = 2{z}\nEnd If");
    add("a failing first condition", "x = 0\nIf Pages > 0 And TrueLines / Pages > 4 Then x = 1{z}");
    add("a table of tiers",
        "If TrueLines >= 20 Then\nx = 0.3{z}\nElseIf 12 < TrueLines Then\nx = 0.2{z}\n"
        "ElseIf TrueLines = 5 Then\nx = 9{z}\nElseIf TrueLines <> 3 Then\nx = 0.1{z}\n"
        "Else\nx = -1{z}\nEnd If");
    add("a table of cases", "Select Case TrueLines\nCase 1, 3, 5\nResults.IPay = 1{z}\n"
                            "Case Is >= 20\nResults.IPay = 2{z}\nCase 12\nResults.IPay = 3{z}\n"
                            "Case Else\nResults.IPay = 4{z}\nEnd Select");
    add("Select Case", "x = 9\nSelect Case TrueLines\nCase 1, 3, 5\nx = 1{z}\n"
                       "Case 10 To 14, Pages\nx = 2{z}\nCase Is >= 20\nx = Pages{z}\n"
                       "Case 12\nx = 4{z}\nEnd Select");
    add("a Boolean local as condition", "big = TrueLines > 12\nx = 0\nIf big Then x = 4{z}");
}

void TestFormulaRewrites::choicesWithoutJumps() {
    QFETCH(QString, formula);
    std::vector<engine::RowInputs> rows;
    for (int lines = 0; lines <= 25; ++lines) {
        for (int pages = 0; pages <= 3; ++pages)
            rows.push_back(row(lines, pages));
    }
    QCOMPARE(outcomes(QString(formula).replace(QStringLiteral("{z}"), QString()), rows),
             outcomes(QString(formula).replace(QStringLiteral("{z}"), QStringLiteral(" : z = 0")),
                      rows));
}

VELORA_TEST(TestFormulaRewrites)
#include "TestFormulaRewrites.moc"
