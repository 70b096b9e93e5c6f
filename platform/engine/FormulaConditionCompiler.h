#pragma once

#include "FormulaCompileState.h"

namespace velora::engine {

class FormulaExpressionCompiler;

// Compiles conditions into jumps: code that jumps to a label when the condition's truth is
// `jumpIf` and falls through otherwise. Comparisons of numbers jump in one instruction, Not
// swaps the sense, and And and Or of Booleans decide on one side when that gives what
// evaluating both would. Internal to the compiler.
class FormulaConditionCompiler {
public:
    FormulaConditionCompiler(FormulaCompileState& state, FormulaExpressionCompiler& expressions);

    void condition(const ast::Expression& expression, bool jumpIf, Label& target);
    // Jumps when (left comparison right) is `jumpIf`. `mark` is where the temporaries of the
    // operands begin.
    void compareBranch(const Operand& left, const Operand& right, Comparison comparison,
                       bool jumpIf, Label& target, SourcePosition where, int mark);

private:
    void truthBranch(const Operand& value, bool jumpIf, Label& target, SourcePosition where);

    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaConstantFolder& fold_;
    FormulaExpressionCompiler& expressions_;
};

} // namespace velora::engine
