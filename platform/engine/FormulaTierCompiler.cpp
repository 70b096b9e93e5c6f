#include "FormulaTierCompiler.h"

#include "FormulaExpressionCompiler.h"

namespace velora::engine {

using namespace ast;
using namespace compiling;

FormulaTierCompiler::FormulaTierCompiler(FormulaCompileState& state,
                                         FormulaExpressionCompiler& expressions)
    : program_(*state.program)
    , code_(state.code)
    , locals_(state.locals)
    , expressions_(expressions) {}

bool FormulaTierCompiler::emitTiers(const FormulaSelection& selection, const Operand& tested,
                                    const std::vector<Tier>& tiers, SourcePosition where) {
    const int target = selection.slot;
    const bool isResult = target < FormulaProgram::FirstInputSlot;
    const TypeSet before =
        isResult ? NumberType : locals_.types(target - FormulaProgram::FirstLocalSlot);
    const Expression* otherwise = selection.otherwise;
    if (tested.constant || !tested.within(ScalarTypes) || tiers.empty() ||
        (otherwise ? otherwise->kind != Expression::Kind::Number : before != NumberType))
        return false;
    for (const Tier& tier : tiers) {
        if (tier.threshold->kind != Expression::Kind::Number || !tier.value ||
            tier.value->kind != Expression::Kind::Number)
            return false;
    }
    if (!otherwise && FormulaLocals::isLocalSlot(target))
        expressions_.keptValue(target, before); // the instruction reads x when no step holds
    Instruction instruction;
    instruction.op = Op::Tiers;
    instruction.aux = otherwise ? 1 : 0;
    instruction.a = tested.slot;
    instruction.b = int(program_.tiers.size());
    instruction.c = target;
    instruction.d = int(tiers.size());
    instruction.k = otherwise ? otherwise->number : 0;
    for (const Tier& tier : tiers)
        program_.tiers.push_back({tier.comparison, tier.threshold->number, tier.value->number});
    code_.emit(instruction, where);
    if (!isResult)
        locals_.assign(target - FormulaProgram::FirstLocalSlot, NumberType);
    return true;
}

bool FormulaTierCompiler::ifTiers(const FormulaSelection& selection) {
    std::vector<Tier> tiers;
    int slot = -1;
    Operand tested;
    for (size_t i = 0; i < selection.conditions.size(); ++i) {
        const Expression& condition = *selection.conditions[i];
        if (condition.kind != Expression::Kind::Binary || !isComparison(condition.binary))
            return false;
        const Expression& left = *condition.operands[0];
        const Expression& right = *condition.operands[1];
        const bool literalLeft = left.kind == Expression::Kind::Number;
        const Expression& compared = literalLeft ? right : left;
        if (compared.kind != Expression::Kind::Name && compared.kind != Expression::Kind::Result)
            return false;
        if (!typesWithin(locals_.simpleTypes(compared), ScalarTypes))
            return false;
        const Operand operand = expressions_.compile(compared); // a slot: emits nothing
        if (slot >= 0 && operand.slot != slot)
            return false;
        slot = operand.slot;
        tested = operand;
        const Comparison comparison = comparisonOf(condition.binary);
        tiers.push_back({literalLeft ? arithmetic::mirrored(comparison) : comparison,
                         literalLeft ? &left : &right, selection.values[i]});
    }
    return emitTiers(selection, tested, tiers, selection.model->position);
}

bool FormulaTierCompiler::caseTiers(const Statement& statement, const Operand& tested,
                                    const FormulaSelection& selection) {
    std::vector<Tier> tiers;
    size_t branch = 0;
    for (const CaseClause& clause : statement.cases) {
        if (clause.isElse)
            continue;
        for (const CaseItem& item : clause.items) {
            if (item.kind == CaseItem::Kind::Range)
                return false;
            tiers.push_back({item.kind == CaseItem::Kind::Is ? item.comparison : Comparison::Equal,
                             item.first.get(), selection.values[branch]});
        }
        ++branch;
    }
    return emitTiers(selection, tested, tiers, selection.model->position);
}

} // namespace velora::engine
