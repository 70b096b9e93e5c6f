#pragma once

#include "FormulaAst.h"
#include "FormulaCodeBuilder.h"
#include "FormulaConstantFolder.h"
#include "FormulaLocals.h"
#include "FormulaNameTable.h"
#include "FormulaProgram.h"

#include <QString>
#include <array>
#include <memory>

namespace velora::engine {

// What the parts of the compiler share while they compile one formula: the program being
// written, the code builder writing it, what is known of the locals, and the constant folder.
// Internal to the compiler.
struct FormulaCompileState {
    explicit FormulaCompileState(const ast::Block& statements);

    std::unique_ptr<FormulaProgram> program;
    FormulaConstantFolder fold; // its texts are the program's
    FormulaLocals locals;
    FormulaCodeBuilder code;
    // The input slot a result is read from once the formula's last word on it names that
    // input (see FormulaStatementCompiler); -1 for the result's own slot.
    std::array<int, 3> resultAlias = {-1, -1, -1};
};

// Small helpers the parts of the compiler share.
namespace compiling {

constexpr TypeSet NumberType = typeBit(ValueType::Number);
constexpr TypeSet BooleanType = typeBit(ValueType::Boolean);
constexpr TypeSet StringType = typeBit(ValueType::String);
constexpr TypeSet DateType = typeBit(ValueType::Date);
constexpr TypeSet SingleType = typeBit(ValueType::Single);

inline bool isComparison(ast::BinaryOperator op) {
    return op >= ast::BinaryOperator::Equal && op <= ast::BinaryOperator::GreaterEqual;
}

inline Comparison comparisonOf(ast::BinaryOperator op) {
    return Comparison(int(op) - int(ast::BinaryOperator::Equal));
}

// The operation of a family (EqN, JumpEqNK, PickEqNK ...) for the comparison.
inline Op offset(Op first, Comparison comparison) {
    return Op(int(first) + int(comparison));
}

[[noreturn]] void fail(int number, const QString& subject, SourcePosition where);
[[noreturn]] void refuse(const NameEntry& entry, SourcePosition where);

} // namespace compiling

} // namespace velora::engine
