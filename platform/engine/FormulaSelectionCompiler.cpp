#include "FormulaSelectionCompiler.h"

#include "FormulaExpressionCompiler.h"

#include <vector>

namespace velora::engine {

using namespace ast;
using namespace compiling;

FormulaSelectionCompiler::FormulaSelectionCompiler(FormulaCompileState& state,
                                                   FormulaExpressionCompiler& expressions)
    : code_(state.code)
    , locals_(state.locals)
    , expressions_(expressions)
    , tiers_(state, expressions) {}

bool FormulaSelectionCompiler::compileIf(const Statement& statement) {
    FormulaSelection selection;
    if (!FormulaSelection::asSelection(statement, locals_, selection))
        return false;
    if (tiers_.ifTiers(selection))
        return true;
    const SourcePosition where = selection.model->position;
    compileSelection(selection, [&](size_t i, const Operand& value, int slot) {
        pickInto(*selection.conditions[i], value, slot, slot, where);
    });
    return true;
}

bool FormulaSelectionCompiler::compileCase(const Statement& statement, const Operand& tested) {
    FormulaSelection selection;
    if (!FormulaSelection::asCaseSelection(statement, tested, locals_, selection))
        return false;
    if (tiers_.caseTiers(statement, tested, selection))
        return true;
    std::vector<const CaseClause*> cases;
    for (const CaseClause& clause : statement.cases) {
        if (!clause.isElse)
            cases.push_back(&clause);
    }
    compileSelection(selection, [&](size_t i, const Operand& value, int slot) {
        pickCase(tested, *cases[i], value, slot);
    });
    return true;
}

void FormulaSelectionCompiler::compileSelection(const FormulaSelection& selection,
                                                const PickBranch& pickBranch) {
    const int target = selection.slot;
    const bool isResult = target < FormulaProgram::FirstInputSlot;
    const size_t local = size_t(target - FormulaLocals::slot(0));
    const TypeSet before = isResult ? NumberType : locals_.types(int(local));
    // The picks build the value in a temporary when x itself is read along the way.
    bool readsTarget = selection.conditionsReadTarget ||
                       (selection.otherwise && locals_.reads(*selection.otherwise, target));
    for (const Expression* value : selection.values)
        readsTarget = readsTarget || !value || locals_.reads(*value, target);
    const int slot = readsTarget ? code_.allocTemp() : target;
    const SourcePosition where = selection.model->position;
    TypeSet types = 0;
    if (selection.otherwise) {
        const Operand value = expressions_.compile(*selection.otherwise);
        code_.store(value, slot, where);
        types |= value.types;
    } else {
        if (slot != target)
            code_.emit({Op::Move, 0, target, 0, slot, 0}, where);
        types |= before;
    }
    for (size_t i = selection.values.size(); i-- > 0;) {
        const int mark = code_.mark();
        const Operand value = selection.values[i] ? expressions_.compile(*selection.values[i])
                                                  : expressions_.keptValue(target, before);
        types |= value.types;
        pickBranch(i, value, slot);
        code_.release(mark);
    }
    if (slot != target) {
        Instruction& last = code_.last();
        if (last.c == slot)
            last.c = target; // the last pick writes x itself
        else
            code_.emit({Op::Move, 0, slot, 0, target, 0}, where);
    }
    if (!isResult)
        locals_.assign(int(local), types);
}

// out = condition ? value : slot `otherwise`.
void FormulaSelectionCompiler::pickInto(const Expression& condition, const Operand& value,
                                        int otherwise, int out, SourcePosition where) {
    const int mark = code_.mark();
    if (condition.kind == Expression::Kind::Binary && isComparison(condition.binary)) {
        const Operand left = expressions_.compile(*condition.operands[0]);
        const Operand right = expressions_.compile(*condition.operands[1]);
        pickOnComparison(left, comparisonOf(condition.binary), right, value, otherwise, out,
                         condition.position);
    } else if (locals_.shortCircuits(condition)) {
        // A And B ? v : o is A ? (B ? v : o) : o; A Or B ? v : o is A ? v : (B ? v : o).
        // The side that can fail is computed first, as evaluating both in order would.
        const Expression& left = *condition.operands[0];
        const Expression& right = *condition.operands[1];
        const bool rightLast = locals_.cannotFail(right);
        const Expression& first = rightLast ? left : right;
        const Expression& last = rightLast ? right : left;
        const int inner = code_.allocTemp();
        pickInto(first, value, otherwise, inner, where);
        if (condition.binary == BinaryOperator::And)
            pickInto(last, Operand::ofSlot(inner, value.types), otherwise, out, where);
        else
            pickInto(last, value, inner, out, where);
    } else {
        const Operand truth = expressions_.compile(condition);
        Instruction pick = pickOf(value, otherwise, out, where);
        pick.op = pick.op == Op::PickEqNKK ? Op::PickK : Op::Pick;
        pick.a = code_.materialize(truth, condition.position);
        code_.emit(pick, condition.position);
    }
    code_.release(mark);
}

// out = (left comparison right) ? value : slot `otherwise`; one instruction when one side
// is a number written in the text.
void FormulaSelectionCompiler::pickOnComparison(const Operand& left, Comparison comparison,
                                                const Operand& right, const Operand& value,
                                                int otherwise, int out, SourcePosition where) {
    const int mark = code_.mark();
    Instruction pick = pickOf(value, otherwise, out, where);
    if (left.within(ScalarTypes) && right.within(ScalarTypes) && left.constant != right.constant) {
        const Operand& variable = left.constant ? right : left;
        const Operand& constant = left.constant ? left : right;
        pick.op = offset(pick.op, left.constant ? arithmetic::mirrored(comparison) : comparison);
        pick.a = variable.slot;
        pick.k = constant.value.number;
    } else {
        pick.op = pick.op == Op::PickEqNKK ? Op::PickK : Op::Pick;
        pick.a = code_.materialize(
            expressions_.compare(left, right, comparison, where, code_.mark()), where);
    }
    code_.emit(pick, where);
    code_.release(mark);
}

// A pick of `value` (a number in the instruction, or a slot) over slot `otherwise`, its
// operation still to be chosen: PickEqNKK or PickEqNK, to offset by the comparison.
Instruction FormulaSelectionCompiler::pickOf(const Operand& value, int otherwise, int out,
                                             SourcePosition where) {
    Instruction pick;
    pick.b = otherwise;
    pick.c = out;
    if (value.constant && value.value.type == ValueType::Number) {
        pick.op = Op::PickEqNKK;
        pick.k2 = value.value.number;
    } else {
        pick.op = Op::PickEqNK;
        pick.d = code_.materialize(value, where);
    }
    return pick;
}

// slot = (the case matches) ? value : slot. Any item matches: they all pick the value.
void FormulaSelectionCompiler::pickCase(const Operand& tested, const CaseClause& clause,
                                        const Operand& value, int slot) {
    for (size_t i = clause.items.size(); i-- > 0;) {
        const CaseItem& item = clause.items[i];
        const int mark = code_.mark();
        const Operand first = expressions_.compile(*item.first);
        if (item.kind == CaseItem::Kind::Range) {
            // tested >= first And tested <= last
            const Operand last = expressions_.compile(*item.last);
            const int inner = code_.allocTemp();
            pickOnComparison(tested, Comparison::LessEqual, last, value, slot, inner,
                             item.position);
            pickOnComparison(tested, Comparison::GreaterEqual, first,
                             Operand::ofSlot(inner, value.types), slot, slot, item.position);
        } else {
            const Comparison comparison =
                item.kind == CaseItem::Kind::Is ? item.comparison : Comparison::Equal;
            pickOnComparison(tested, comparison, first, value, slot, slot, item.position);
        }
        code_.release(mark);
    }
}

} // namespace velora::engine
