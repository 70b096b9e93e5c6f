#include "FormulaTestSupport.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;

// Formulas rewritten in ways that must not change what they compute, so that no expected
// value is needed: every literal moved into a variable holding the same value (then nothing
// folds while compiling and the machine's operators run instead of the compiler's), and every
// built-in called with constants and again with variables. Both forms must give the same
// value of the same type, or fail with the same error number.
class TestFormulaRewrites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void literalsMovedIntoVariables();
    void builtinsFoldedAndUnfolded();
};

namespace {

// splitmix64: the same sequence on every platform, unlike the standard distributions.
class Random {
public:
    explicit Random(quint64 seed)
        : state_(seed) {}
    int below(int n) { return int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) {
        return items[below(int(N))];
    }

private:
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    quint64 state_;
};

// Locals of each kind the expressions may read besides the row's inputs; w holds a number
// or a text depending on the row, so that the compiler cannot know its type.
const char* const Prelude = "Dim e\nn = TrueLines / 4 : b = Pages > 1 : s = \"12\"\n"
                            "If TrueLines > 100 Then w = 2.5 Else w = \"x\"\n";

const char* const NumberLiterals[] = {"0",
                                      "1",
                                      "2",
                                      "3",
                                      "7",
                                      "10",
                                      "339",
                                      "0.01",
                                      "0.5",
                                      "2.5",
                                      "1.5E3",
                                      "&H1F",
                                      "32767",
                                      "1E10",
                                      "1E300",
                                      "True",
                                      "False",
                                      "#2012-11-04#",
                                      "#1/31/2012 6:30 PM#"};
const char* const TextLiterals[] = {"\"\"",          "\"abc\"",  "\"7\"",     "\"2.5\"",
                                    "\" 12 \"",      "\"True\"", "\"1,000\"", "\"1E400\"",
                                    "\"11/4/2012\"", "\"d\"",    "\"m\""};
const char* const NumberNames[] = {"TrueLines", "Pages", "Hours", "ShiftDate", "n", "b", "e"};
const char* const TextNames[] = {"TransID", "s"};
// An interval written in the text is checked while compiling: "q" is left out here, since
// that error comes before any the formula would raise when it runs.
const char* const Intervals[] = {"\"d\"", "\"ww\"", "\"m\"", "\"yyyy\""};

// Numeric expressions never yield a String and text expressions always do: comparisons take
// two of one kind, since VBScript compares a literal with a String otherwise than a variable.
enum class Kind { Number, Text, Any };

// One random expression in two forms: as written, and with every literal read from a
// variable assigned before it.
class Rewrite {
public:
    explicit Rewrite(Random& random)
        : random_(random) {}

    QString written;
    QString moved;
    QString assignments;

    void expression(Kind kind, int depth) {
        if (kind == Kind::Any)
            kind = random_.chance(65) ? Kind::Number : Kind::Text;
        if (depth <= 0 || random_.chance(25))
            return leaf(kind);
        if (kind == Kind::Text)
            return text(depth - 1);
        return number(depth - 1);
    }

private:
    void put(const QString& text) {
        written += text;
        moved += text;
    }
    void put(const char* text) { put(QString::fromUtf8(text)); }

    void literal(const char* text) {
        const QString name = QStringLiteral("k%1").arg(++literals_);
        written += QString::fromUtf8(text);
        moved += name;
        // Half of the variables get a type the compiler cannot know.
        if (random_.chance(50))
            assignments += QStringLiteral("%1 = %2\n").arg(name, QString::fromUtf8(text));
        else
            assignments += QStringLiteral("If Pages >= 0 Then %1 = %2 Else %1 = \"?\"\n")
                               .arg(name, QString::fromUtf8(text));
    }

    void leaf(Kind kind) {
        const bool isText = kind == Kind::Text;
        if (random_.chance(35))
            return put(isText ? random_.pick(TextNames) : random_.pick(NumberNames));
        literal(isText ? random_.pick(TextLiterals) : random_.pick(NumberLiterals));
    }

    // "name(" arguments ")", each of its kind.
    void call(const char* name, std::initializer_list<Kind> kinds, int depth) {
        put(name);
        put("(");
        bool first = true;
        for (Kind kind : kinds) {
            if (!first)
                put(", ");
            first = false;
            expression(kind, depth);
        }
        put(")");
    }

    void binary(Kind left, const char* op, Kind right, int depth) {
        put("(");
        expression(left, depth);
        put(op);
        expression(right, depth);
        put(")");
    }

    void number(int depth) {
        static const char* const Arithmetic[] = {" - ", " * ",   " / ",  " \\ ", " Mod ",
                                                 " ^ ", " And ", " Or ", " Xor "};
        static const char* const Comparisons[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
        static const char* const OneNumber[] = {"Abs",  "Int",  "Fix",  "Sgn", "Sqr",  "CInt",
                                                "CLng", "CDbl", "CSng", "Day", "Year", "Exp"};
        static const char* const OneValue[] = {"Len", "CBool", "IsNumeric", "Weekday", "Round"};
        const Kind N = Kind::Number;
        const Kind T = Kind::Text;
        const Kind A = Kind::Any;
        switch (random_.below(14)) {
        case 0:
        case 1:
            return binary(A, random_.pick(Arithmetic), A, depth);
        case 2:
            return binary(N, " + ", N, depth);
        case 3: {
            const Kind both = random_.chance(70) ? N : T;
            return binary(both, random_.pick(Comparisons), both, depth);
        }
        case 4:
            put(random_.chance(50) ? "-" : "Not ");
            return expression(A, depth);
        case 5:
            return call("Round", {A, N}, depth);
        case 6:
            return call(random_.pick(OneNumber), {A}, depth);
        case 7:
            return call(random_.pick(OneValue), {A}, depth);
        case 8:
            return call(random_.chance(50) ? "Min" : "Max", {N, A, N}, depth);
        case 9:
            return call("IIf", {A, N, N}, depth);
        case 10:
            return call("InStr", {T, A}, depth);
        case 11:
            return call("DateSerial", {N, N, N}, depth);
        case 12:
            put(random_.chance(50) ? "DateAdd(" : "DateDiff(");
            literal(random_.pick(Intervals));
            put(", ");
            expression(N, depth);
            put(", ");
            expression(N, depth);
            return put(")");
        default:
            // The commonest pay pattern, next to operators that fold.
            put("(");
            expression(N, depth);
            put(random_.pick(Arithmetic));
            put("Round(");
            expression(N, depth);
            put(" * ");
            expression(N, depth);
            return put("))");
        }
    }

    void text(int depth) {
        static const char* const OneValue[] = {"LCase", "UCase", "Trim", "LTrim", "RTrim", "CStr"};
        const Kind N = Kind::Number;
        const Kind T = Kind::Text;
        const Kind A = Kind::Any;
        switch (random_.below(6)) {
        case 0:
        case 1:
            return binary(A, " & ", A, depth);
        case 2:
            return binary(T, " + ", T, depth);
        case 3:
            return call(random_.pick(OneValue), {A}, depth);
        case 4:
            return call(random_.chance(50) ? "Left" : "Mid", {A, N}, depth);
        default:
            return call("IIf", {A, T, T}, depth);
        }
    }

    Random& random_;
    int literals_ = 0;
};

engine::RowInputs sampleRow(int which) {
    engine::RowInputs row;
    row.trueLines = which == 0 ? 339 : 0;
    row.pages = which == 0 ? 2 : 0;
    row.systemHours = which == 0 ? 7.5 : 0;
    row.transId = QStringLiteral("jsmith");
    row.shiftDate = QDate(2012, 11, 4);
    return row;
}

// What a formula did on a row, exactly: the error number, or x, y and the pay.
QString outcome(const QString& formula, const engine::RowInputs& row) {
    test::FormulaRun run(formula, row);
    if (!run.succeeded)
        return QStringLiteral("error %1").arg(run.error.number);
    return run.local(QStringLiteral("x")) + QLatin1Char(' ') + run.local(QStringLiteral("y")) +
           QLatin1Char(' ') + QString::number(run.results.pay, 'g', 17);
}

// The expression as a value, as a result and as a condition.
QStringList contexts(const QString& expression) {
    return {QStringLiteral("x = ") + expression, QStringLiteral("Results.IPay = ") + expression,
            QStringLiteral("If ") + expression + QStringLiteral(" Then y = 1 Else y = 2")};
}

// The two forms in each context on each row; empty when they agree.
QString disagreement(const QString& prelude, const QString& written, const QString& moved) {
    for (const QString& context : contexts(written)) {
        const QString rewritten = prelude + QString(context).replace(written, moved);
        for (int which = 0; which < 2; ++which) {
            const engine::RowInputs row = sampleRow(which);
            const QString asWritten = outcome(prelude + context, row);
            const QString asMoved = outcome(rewritten, row);
            if (asWritten != asMoved)
                return QStringLiteral("%1\n  written: %2\n  moved: %3\n  row: %4")
                    .arg(context, asWritten, asMoved)
                    .arg(which);
        }
    }
    return QString();
}

} // namespace

void TestFormulaRewrites::literalsMovedIntoVariables() {
    Random random(20260412);
    for (int i = 0; i < 3000; ++i) {
        Rewrite rewrite(random);
        rewrite.expression(Kind::Any, 1 + random.below(4));
        const QString failure = disagreement(QString::fromUtf8(Prelude) + rewrite.assignments,
                                             rewrite.written, rewrite.moved);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

// Every pure built-in with each number of arguments it takes, on arguments drawn from values
// of every type.
void TestFormulaRewrites::builtinsFoldedAndUnfolded() {
    static const char* const Values[] = {
        "0",        "1",         "2",       "-1",     "2.5",          "-2.5",        "339",
        "0.01",     "1E10",      "\"abc\"", "\"12\"", "\"\"",         "\" 2.5 \"",   "\"d\"",
        "\"yyyy\"", "\"1E400\"", "True",    "False",  "#2012-11-04#", "#1/31/2012#", "#6:30 PM#"};
    static const char* const Functions[][3] = {// name, fewest and most arguments
                                               {"Abs", "1", "1"},
                                               {"Atn", "1", "1"},
                                               {"Cos", "1", "1"},
                                               {"Exp", "1", "1"},
                                               {"Fix", "1", "1"},
                                               {"Int", "1", "1"},
                                               {"Log", "1", "1"},
                                               {"Round", "1", "2"},
                                               {"Sgn", "1", "1"},
                                               {"Sin", "1", "1"},
                                               {"Sqr", "1", "1"},
                                               {"Tan", "1", "1"},
                                               {"CBool", "1", "1"},
                                               {"CDbl", "1", "1"},
                                               {"CInt", "1", "1"},
                                               {"CLng", "1", "1"},
                                               {"CSng", "1", "1"},
                                               {"CStr", "1", "1"},
                                               {"IsNumeric", "1", "1"},
                                               {"Len", "1", "1"},
                                               {"LCase", "1", "1"},
                                               {"UCase", "1", "1"},
                                               {"Trim", "1", "1"},
                                               {"LTrim", "1", "1"},
                                               {"RTrim", "1", "1"},
                                               {"Left", "2", "2"},
                                               {"Right", "2", "2"},
                                               {"Mid", "2", "3"},
                                               {"InStr", "2", "4"},
                                               {"Day", "1", "1"},
                                               {"Month", "1", "1"},
                                               {"Year", "1", "1"},
                                               {"Weekday", "1", "2"},
                                               {"DateSerial", "3", "3"},
                                               {"DateAdd", "3", "3"},
                                               {"DateDiff", "3", "4"},
                                               {"IsLastDayOfMonth", "1", "1"},
                                               {"Min", "1", "3"},
                                               {"Max", "1", "3"},
                                               {"IIf", "3", "3"}};
    Random random(7);
    for (const auto& function : Functions) {
        const int fewest = QByteArray(function[1]).toInt();
        const int most = QByteArray(function[2]).toInt();
        for (int count = fewest; count <= most; ++count) {
            for (int sample = 0; sample < 150; ++sample) {
                QStringList literals;
                QStringList names;
                QString assignments;
                for (int i = 0; i < count; ++i) {
                    literals << QString::fromUtf8(random.pick(Values));
                    names << QStringLiteral("a%1").arg(i);
                    assignments +=
                        names.back() + QStringLiteral(" = ") + literals.back() + QLatin1Char('\n');
                }
                const QString name = QString::fromUtf8(function[0]);
                const QString failure =
                    disagreement(assignments, name + QLatin1Char('(') + literals.join(", ") + ')',
                                 name + QLatin1Char('(') + names.join(", ") + ')');
                QVERIFY2(failure.isEmpty(), qPrintable(failure));
            }
        }
    }
}

VELORA_TEST(TestFormulaRewrites)
#include "TestFormulaRewrites.moc"
