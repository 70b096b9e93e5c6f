#pragma once

#include "FormulaTypes.h"

#include <QString>
#include <exception>

namespace velora::engine {

// VBScript's error numbers for what can go wrong in a formula.
namespace FormulaErrorNumber {
constexpr int InvalidArgument = 5;           // Invalid procedure call or argument
constexpr int Overflow = 6;                  // Overflow
constexpr int DivisionByZero = 11;           // Division by zero
constexpr int TypeMismatch = 13;             // Type mismatch
constexpr int OutOfStackSpace = 28;          // Out of stack space (nesting too deep)
constexpr int ObjectRequired = 424;          // Object required
constexpr int NoSuchMember = 438;            // Object doesn't support this property or method
constexpr int WrongArgumentCount = 450;      // Wrong number of arguments ...
constexpr int UndefinedVariable = 500;       // Variable is undefined
constexpr int IllegalAssignment = 501;       // Illegal assignment
constexpr int SyntaxError = 1002;            // Syntax error (and every "Expected ..." of ours)
constexpr int InvalidCharacter = 1014;       // Invalid character
constexpr int ExpectedEndOfStatement = 1025; // Expected end of statement
constexpr int UnterminatedString = 1033;     // Unterminated string constant
constexpr int NameRedefined = 1041;          // Name redefined
} // namespace FormulaErrorNumber

// VBScript's description of an error number.
QString formulaErrorText(int number);

// What went wrong, without where: a number, and either the subject VBScript names after the
// description ("Type mismatch: 'CInt'") or a description of its own ("Expected 'End If'").
struct FormulaFault {
    int number = 0;
    QString subject;
    QString text;

    static FormulaFault withSubject(int number, const QString& subject) {
        return {number, subject, QString()};
    }
    static FormulaFault withText(int number, const QString& text) {
        return {number, QString(), text};
    }

    bool isFault() const { return number != 0; }
    QString description() const;
};

// A 1-based line and column in the formula text.
struct SourcePosition {
    int line = 0;
    int column = 0;
};

// Ends lexing, parsing or compiling at the first error.
class FormulaCompileError : public std::exception {
public:
    FormulaCompileError(FormulaFault fault, SourcePosition where)
        : fault_(std::move(fault))
        , where_(where) {}

    const FormulaFault& fault() const { return fault_; }
    SourcePosition where() const { return where_; }
    const char* what() const noexcept override { return "formula compile error"; }

private:
    FormulaFault fault_;
    SourcePosition where_;
};

// The error as reported to the program: number, description, line, column and line text.
FormulaError makeFormulaError(const QString& source, const FormulaFault& fault,
                              SourcePosition where);

} // namespace velora::engine
