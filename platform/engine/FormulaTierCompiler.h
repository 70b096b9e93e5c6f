#pragma once

#include "FormulaCompileState.h"
#include "FormulaSelection.h"

#include <vector>

namespace velora::engine {

class FormulaExpressionCompiler;

// Compiles a selection whose branches all compare the same number with numbers written in
// the text and choose numbers written in the text into one Tiers instruction, instead of a
// pick per branch:
//   If x compared with a literal Then y = literal ElseIf (x again) ...
//   Select Case x ... Case literal, literal ... Case Is op literal ...
// Internal to the compiler.
class FormulaTierCompiler {
public:
    FormulaTierCompiler(FormulaCompileState& state, FormulaExpressionCompiler& expressions);

    // Each returns false, having emitted no instruction, when the selection is no table of
    // tiers.
    bool ifTiers(const FormulaSelection& selection);
    bool caseTiers(const ast::Statement& statement, const Operand& tested,
                   const FormulaSelection& selection);

private:
    // One comparison of a number with a number written in the text, choosing a number written
    // in the text.
    struct Tier {
        Comparison comparison;
        const ast::Expression* threshold;
        const ast::Expression* value;
    };

    bool emitTiers(const FormulaSelection& selection, const Operand& tested,
                   const std::vector<Tier>& tiers, SourcePosition where);

    FormulaProgram& program_;
    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaExpressionCompiler& expressions_;
};

} // namespace velora::engine
