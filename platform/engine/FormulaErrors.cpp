#include "FormulaErrors.h"

namespace velora::engine {

namespace {

// The text of one physical line (1-based), without its line break.
QString lineOf(const QString& source, int line) {
    if (line < 1)
        return QString();
    int current = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        if (current == line)
            return source.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < source.size() && source[i + 1] == QLatin1Char('\n'))
            ++i;
        ++current;
        start = i + 1;
    }
    return current == line ? source.mid(start) : QString();
}

} // namespace

QString formulaErrorText(int number) {
    namespace N = FormulaErrorNumber;
    switch (number) {
    case N::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case N::Overflow:
        return QStringLiteral("Overflow");
    case N::DivisionByZero:
        return QStringLiteral("Division by zero");
    case N::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case N::OutOfStackSpace:
        return QStringLiteral("Out of stack space");
    case N::ObjectRequired:
        return QStringLiteral("Object required");
    case N::NoSuchMember:
        return QStringLiteral("Object doesn't support this property or method");
    case N::WrongArgumentCount:
        return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case N::UndefinedVariable:
        return QStringLiteral("Variable is undefined");
    case N::IllegalAssignment:
        return QStringLiteral("Illegal assignment");
    case N::SyntaxError:
        return QStringLiteral("Syntax error");
    case N::InvalidCharacter:
        return QStringLiteral("Invalid character");
    case N::ExpectedEndOfStatement:
        return QStringLiteral("Expected end of statement");
    case N::UnterminatedString:
        return QStringLiteral("Unterminated string constant");
    case N::NameRedefined:
        return QStringLiteral("Name redefined");
    }
    return QStringLiteral("Error %1").arg(number);
}

QString FormulaFault::description() const {
    if (!text.isEmpty())
        return text;
    const QString base = formulaErrorText(number);
    if (subject.isEmpty())
        return base;
    // VBScript quotes the subject, except after "Variable is undefined" as this system words it.
    if (number == FormulaErrorNumber::UndefinedVariable)
        return base + QStringLiteral(": ") + subject;
    return base + QStringLiteral(": '") + subject + QLatin1Char('\'');
}

FormulaError makeFormulaError(const QString& source, const FormulaFault& fault,
                              SourcePosition where) {
    FormulaError error;
    error.number = fault.number;
    error.line = where.line;
    error.column = where.column;
    error.description = fault.description();
    error.lineText = lineOf(source, where.line);
    return error;
}

} // namespace velora::engine
