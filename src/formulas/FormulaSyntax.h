#pragma once

#include <QList>
#include <QString>

namespace velora::formulas {

// What a stretch of formula text is, for the editor's colours.
enum class FormulaSpanKind { Keyword, Input, Function, String, Comment, Number };

struct FormulaSpan {
    int start = 0;
    int length = 0;
    FormulaSpanKind kind = FormulaSpanKind::Keyword;

    bool operator==(const FormulaSpan&) const = default;
};

// Splits one line of formula text into the stretches the editor colours, by the rules of the
// formula language: names and keywords ignore letter case, input and function names are the
// evaluator's own (a name that merely starts like one is a plain name), "'" and a Rem
// statement comment out the rest of the line, "" inside a string is a quote, and " _" at the
// end of a line continues the statement on the next line. Text that is none of these
// (operators, local variables, misspelt names) gets no span.
class FormulaSyntax {
public:
    struct Line {
        QList<FormulaSpan> spans; // in text order, never overlapping
        bool continues = false;   // the line ends with " _"
    };

    // continued: the line before ended with " _", so this line does not start a statement.
    static Line classify(const QString& line, bool continued = false);
};

} // namespace velora::formulas
