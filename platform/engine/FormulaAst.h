#pragma once

#include "FormulaArithmetic.h"
#include "FormulaErrors.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The parsed form of a formula: statements and expressions as written, before names are
// resolved. The compiler turns it into a FormulaProgram.
namespace velora::engine::ast {

enum class ResultField : std::uint8_t { Hours, Lines, Pay };

enum class UnaryOperator : std::uint8_t { Negate, Plus, Not };

enum class BinaryOperator : std::uint8_t {
    Power,
    Multiply,
    Divide,
    IntegerDivide,
    Modulo,
    Add,
    Subtract,
    Concatenate,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    And,
    Or,
    Xor
};

struct Expression;
using ExpressionPtr = std::unique_ptr<Expression>;

struct Expression {
    enum class Kind : std::uint8_t {
        Number,
        String,
        Date,
        Boolean, // literals
        Name,    // a name without arguments
        Call,    // name(arguments)
        Result,  // Results.IHours, .ILines, .IPay
        Unary,
        Binary
    };

    Kind kind = Kind::Number;
    SourcePosition position; // the literal, the name or the operator
    double number = 0;       // Number, Date, Boolean (-1 or 0)
    QString text;            // String: the value; Name, Call: the name as written
    ResultField field = ResultField::Pay;
    UnaryOperator unary = UnaryOperator::Negate;
    BinaryOperator binary = BinaryOperator::Add;
    std::vector<ExpressionPtr> operands; // Unary: 1, Binary: 2, Call: the arguments
    // Nodes on the longest path down.
    int height = 1;
    // How deep compiling the expression recurses: the left operands of a chain such as
    // a + b + c are compiled in a loop, so a flat chain of any length nests no deeper than its
    // deepest operand. Bounded by the parser.
    int nesting = 1;

    Expression() = default;
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;
    ~Expression();

    bool isLiteral() const { return kind <= Kind::Boolean; }
};

// Frees the operands in a loop: a chain of a hundred thousand terms would exhaust the stack
// if each node freed the next.
inline Expression::~Expression() {
    std::vector<ExpressionPtr> pending = std::move(operands);
    while (!pending.empty()) {
        ExpressionPtr node = std::move(pending.back());
        pending.pop_back();
        for (ExpressionPtr& operand : node->operands)
            pending.push_back(std::move(operand));
        node->operands.clear();
    }
}

struct Statement;
using StatementPtr = std::unique_ptr<Statement>;
using Block = std::vector<StatementPtr>;

struct NameAt {
    QString name;
    SourcePosition position;
};

struct Branch {
    ExpressionPtr condition;
    Block body;
};

struct CaseItem {
    enum class Kind : std::uint8_t { Value, Range, Is };
    Kind kind = Kind::Value;
    Comparison comparison = Comparison::Equal; // Is
    ExpressionPtr first;                       // Value, Is, the start of a Range
    ExpressionPtr last;                        // the end of a Range
    SourcePosition position;
};

struct CaseClause {
    std::vector<CaseItem> items; // empty for Case Else
    bool isElse = false;
    Block body;
    SourcePosition position;
};

struct Statement {
    enum class Kind : std::uint8_t { Dim, AssignLocal, AssignResult, If, Select };

    Kind kind = Kind::Dim;
    SourcePosition position;
    std::vector<NameAt> names;            // Dim
    NameAt target;                        // AssignLocal
    ResultField field = ResultField::Pay; // AssignResult
    ExpressionPtr value;           // AssignLocal, AssignResult; Select: the tested expression
    std::vector<Branch> branches;  // If: If and each ElseIf
    Block elseBody;                // If
    std::vector<CaseClause> cases; // Select
};

} // namespace velora::engine::ast
