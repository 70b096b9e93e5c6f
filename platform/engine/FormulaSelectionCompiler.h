#pragma once

#include "FormulaCompileState.h"
#include "FormulaSelection.h"
#include "FormulaTierCompiler.h"

#include <functional>

namespace velora::engine {

class FormulaExpressionCompiler;

// Compiles the If and Select Case statements that are selections (see FormulaSelection)
// without jumps: their conditions depend on the row, so jumps would be mispredicted. x is
// chosen by branch-free picks from the last branch up, each true condition overriding those
// below it, or by one Tiers instruction when the selection is a table of tiers. Internal to
// the compiler.
class FormulaSelectionCompiler {
public:
    FormulaSelectionCompiler(FormulaCompileState& state, FormulaExpressionCompiler& expressions);

    // Each returns false, having emitted nothing, when the statement is no selection.
    bool compileIf(const ast::Statement& statement);
    // `tested`: the compiled Select Case value.
    bool compileCase(const ast::Statement& statement, const Operand& tested);

private:
    // Emits the picks of one branch: slot = (the branch's condition) ? value : slot.
    using PickBranch = std::function<void(size_t branch, const Operand& value, int slot)>;

    void compileSelection(const FormulaSelection& selection, const PickBranch& pickBranch);
    void pickInto(const ast::Expression& condition, const Operand& value, int otherwise, int out,
                  SourcePosition where);
    void pickOnComparison(const Operand& left, Comparison comparison, const Operand& right,
                          const Operand& value, int otherwise, int out, SourcePosition where);
    Instruction pickOf(const Operand& value, int otherwise, int out, SourcePosition where);
    void pickCase(const Operand& tested, const ast::CaseClause& clause, const Operand& value,
                  int slot);

    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaExpressionCompiler& expressions_;
    FormulaTierCompiler tiers_;
};

} // namespace velora::engine
