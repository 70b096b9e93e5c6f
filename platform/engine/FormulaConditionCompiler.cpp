#include "FormulaConditionCompiler.h"

#include "FormulaExpressionCompiler.h"

namespace velora::engine {

using namespace ast;
using namespace compiling;

FormulaConditionCompiler::FormulaConditionCompiler(FormulaCompileState& state,
                                                   FormulaExpressionCompiler& expressions)
    : code_(state.code)
    , locals_(state.locals)
    , fold_(state.fold)
    , expressions_(expressions) {}

void FormulaConditionCompiler::condition(const Expression& expression, bool jumpIf, Label& target) {
    if (expression.kind == Expression::Kind::Binary && isComparison(expression.binary)) {
        const int mark = code_.mark();
        const Operand left = expressions_.compile(*expression.operands[0]);
        const Operand right = expressions_.compile(*expression.operands[1]);
        compareBranch(left, right, comparisonOf(expression.binary), jumpIf, target,
                      expression.position, mark);
        return;
    }
    if (expression.kind == Expression::Kind::Unary && expression.unary == UnaryOperator::Not &&
        locals_.isBoolean(*expression.operands[0])) {
        condition(*expression.operands[0], !jumpIf, target);
        return;
    }
    if (locals_.shortCircuits(expression)) {
        // Both sides are Booleans and one of them cannot fail. That one is tested last:
        // skipping it when the other decides gives what evaluating both would.
        const Expression& left = *expression.operands[0];
        const Expression& right = *expression.operands[1];
        const bool rightLast = locals_.cannotFail(right);
        const Expression& first = rightLast ? left : right;
        const Expression& last = rightLast ? right : left;
        const bool isAnd = expression.binary == BinaryOperator::And;
        if (jumpIf != isAnd) {
            condition(first, jumpIf, target);
            condition(last, jumpIf, target);
        } else {
            Label decided;
            condition(first, !jumpIf, decided);
            condition(last, jumpIf, target);
            code_.bind(decided);
        }
        return;
    }
    truthBranch(expressions_.compile(expression), jumpIf, target, expression.position);
}

void FormulaConditionCompiler::truthBranch(const Operand& value, bool jumpIf, Label& target,
                                           SourcePosition where) {
    if (value.constant) {
        bool truth = false;
        if (fold_.truth(value.value, truth)) {
            if (truth == jumpIf)
                code_.jump(target, {Op::Jump}, where);
            return;
        }
    }
    const int slot = code_.materialize(value, where);
    code_.jump(target, {jumpIf ? Op::JumpIfTrue : Op::JumpIfFalse, 0, slot}, where);
}

void FormulaConditionCompiler::compareBranch(const Operand& left, const Operand& right,
                                             Comparison comparison, bool jumpIf, Label& target,
                                             SourcePosition where, int mark) {
    const Comparison tested = jumpIf ? comparison : arithmetic::inverted(comparison);
    if (!(left.constant && right.constant) && left.within(ScalarTypes) &&
        right.within(ScalarTypes)) {
        if (right.constant)
            return code_.jump(
                target, {offset(Op::JumpEqNK, tested), 0, left.slot, 0, 0, right.value.number},
                where);
        if (left.constant)
            return code_.jump(target,
                              {offset(Op::JumpEqNK, arithmetic::mirrored(tested)), 0, right.slot, 0,
                               0, left.value.number},
                              where);
        return code_.jump(target, {offset(Op::JumpEqN, tested), 0, left.slot, right.slot}, where);
    }
    truthBranch(expressions_.compare(left, right, comparison, where, mark), jumpIf, target, where);
}

} // namespace velora::engine
