#include "FormulaConstantFolder.h"

#include "FormulaCompileState.h"
#include "FormulaOperators.h"

namespace velora::engine {

using namespace ast;

bool FormulaConstantFolder::binary(BinaryOperator op, const Operand& left, const Operand& right,
                                   FormulaValue& result) {
    if (compiling::isComparison(op))
        return compare(left, right, compiling::comparisonOf(op), result);
    const FormulaValue& a = left.value;
    const FormulaValue& b = right.value;
    switch (op) {
    case BinaryOperator::Power:
        return operators::power(runtime_, a, b, result);
    case BinaryOperator::Multiply:
        return operators::multiply(runtime_, a, b, result);
    case BinaryOperator::Divide:
        return operators::divide(runtime_, a, b, result);
    case BinaryOperator::IntegerDivide:
        return operators::integerDivide(runtime_, a, b, result);
    case BinaryOperator::Modulo:
        return operators::modulo(runtime_, a, b, result);
    case BinaryOperator::Add:
        return operators::add(runtime_, a, b, result);
    case BinaryOperator::Subtract:
        return operators::subtract(runtime_, a, b, result);
    case BinaryOperator::Concatenate:
        return operators::concatenate(runtime_, a, b, result);
    case BinaryOperator::And:
        return operators::logicalAnd(runtime_, a, b, result);
    case BinaryOperator::Or:
        return operators::logicalOr(runtime_, a, b, result);
    case BinaryOperator::Xor:
        return operators::logicalXor(runtime_, a, b, result);
    default:
        return false;
    }
}

bool FormulaConstantFolder::compare(const Operand& left, const Operand& right,
                                    Comparison comparison, FormulaValue& result) {
    return operators::compare(runtime_, left.value, right.value, comparison, left.hard, right.hard,
                              result);
}

bool FormulaConstantFolder::unary(bool negate, const FormulaValue& operand, FormulaValue& result) {
    return negate ? operators::negate(runtime_, operand, result)
                  : operators::logicalNot(runtime_, operand, result);
}

bool FormulaConstantFolder::call(const BuiltinInfo& info, const std::vector<Operand>& arguments,
                                 Operand& folded) {
    std::vector<FormulaValue> values;
    for (const Operand& argument : arguments) {
        if (!argument.constant)
            return false;
        values.push_back(argument.value);
    }
    FormulaValue result;
    if (!info.function(runtime_, values.data(), int(values.size()), result))
        return false;
    folded = Operand::ofConstant(result, false);
    return true;
}

bool FormulaConstantFolder::truth(const FormulaValue& value, bool& result) {
    return operators::truth(runtime_, value, result);
}

bool FormulaConstantFolder::resultNumber(const FormulaValue& value, double& result) {
    return operators::resultNumber(runtime_, value, result);
}

} // namespace velora::engine
