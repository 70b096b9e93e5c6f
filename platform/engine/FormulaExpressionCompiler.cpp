#include "FormulaExpressionCompiler.h"

#include <algorithm>

namespace velora::engine {

using namespace ast;
using namespace compiling;

FormulaExpressionCompiler::FormulaExpressionCompiler(FormulaCompileState& state)
    : state_(state)
    , program_(*state.program)
    , code_(state.code)
    , locals_(state.locals)
    , fold_(state.fold)
    , calls_(state, *this) {}

Operand FormulaExpressionCompiler::compile(const Expression& expression) {
    switch (expression.kind) {
    case Expression::Kind::Number:
        return Operand::ofConstant(FormulaValue::makeNumber(expression.number), true);
    case Expression::Kind::Boolean:
        return Operand::ofConstant(FormulaValue::makeBoolean(expression.number != 0), true);
    case Expression::Kind::Date:
        return Operand::ofConstant(FormulaValue::makeDate(expression.number), true);
    case Expression::Kind::String:
        return Operand::ofConstant(FormulaValue::makeString(fold_.keep(expression.text)), true);
    case Expression::Kind::Result: {
        const int alias = state_.resultAlias[size_t(expression.field)];
        const int slot = alias >= 0 ? alias : FormulaProgram::resultSlot(expression.field);
        return Operand::ofSlot(slot, NumberType);
    }
    case Expression::Kind::Name:
        return compileName(expression);
    case Expression::Kind::Call:
        return calls_.compileCall(expression);
    case Expression::Kind::Unary:
        return compileUnary(expression);
    case Expression::Kind::Binary:
        return compileBinary(expression);
    }
    return Operand();
}

Operand FormulaExpressionCompiler::useInput(InputKind input) {
    std::vector<InputKind>& inputs = program_.inputs;
    if (std::find(inputs.begin(), inputs.end(), input) == inputs.end()) {
        inputs.push_back(input);
        double RowInputs::*member = FormulaNameTable::numberMember(input);
        if (member || input == InputKind::Hours)
            program_.numberInputs.push_back({FormulaProgram::inputSlot(input), member});
        else
            program_.otherInputs.push_back(input);
    }
    if (input == InputKind::ITypedLines || input == InputKind::IHoursWorked)
        program_.usesIncentiveFunctions = true;
    return Operand::ofSlot(FormulaProgram::inputSlot(input), FormulaNameTable::inputTypes(input));
}

Operand FormulaExpressionCompiler::readLocal(int index) {
    return Operand::ofSlot(FormulaLocals::slot(index), locals_.read(index));
}

Operand FormulaExpressionCompiler::keptValue(int slot, TypeSet types) {
    if (FormulaLocals::isLocalSlot(slot))
        return readLocal(slot - FormulaProgram::FirstLocalSlot);
    return Operand::ofSlot(slot, types);
}

Operand FormulaExpressionCompiler::compileName(const Expression& expression) {
    const int index = locals_.index(expression.text);
    if (index >= 0)
        return readLocal(index);
    const NameEntry* entry = FormulaNameTable::find(expression.text);
    if (!entry)
        fail(FormulaErrorNumber::UndefinedVariable, expression.text, expression.position);
    switch (entry->kind) {
    case NameEntry::Kind::Input:
        return useInput(entry->input);
    case NameEntry::Kind::Constant:
        return Operand::ofConstant(FormulaValue::makeNumber(entry->constant), true);
    case NameEntry::Kind::Refused:
        refuse(*entry, expression.position);
    case NameEntry::Kind::Function:
        break;
    }
    return calls_.compileFunction(expression, *entry);
}

Operand FormulaExpressionCompiler::compileUnary(const Expression& expression) {
    const Expression& inner = *expression.operands[0];
    const Operand operand = compile(inner);
    const SourcePosition where = expression.position;
    if (expression.unary == UnaryOperator::Plus)
        return operand;
    const bool negate = expression.unary == UnaryOperator::Negate;
    if (operand.constant) {
        FormulaValue result;
        // -12 written in the text is still a literal.
        if (fold_.unary(negate, operand.value, result))
            return Operand::ofConstant(result, negate && operand.hard &&
                                                   inner.kind == Expression::Kind::Number);
    }
    const int mark = code_.mark();
    const int slot = code_.materialize(operand, where);
    code_.release(mark);
    if (negate) {
        if (operand.within(ArithmeticTypes))
            return code_.emitResult({Op::NegN, 0, slot}, where, NumberType);
        return code_.emitResult({Op::Negate, 0, slot}, where,
                                NumberType | (operand.types & (DateType | SingleType)));
    }
    if (operand.types == BooleanType)
        return code_.emitResult({Op::NotB, 0, slot}, where, BooleanType);
    return code_.emitResult({Op::Not, 0, slot}, where, BooleanType | NumberType);
}

// A chain such as a + b - c is a tree leaning left: its left operands are compiled in a
// loop, from the innermost out, so that a flat chain of any length recurses no deeper than
// its deepest right operand. Every operator of the chain starts from the same temporaries.
Operand FormulaExpressionCompiler::compileBinary(const Expression& expression) {
    const int mark = code_.mark();
    std::vector<const Expression*> chain;
    const Expression* leftmost = &expression;
    while (leftmost->kind == Expression::Kind::Binary) {
        chain.push_back(leftmost);
        leftmost = leftmost->operands[0].get();
    }
    Operand left = compile(*leftmost);
    for (auto node = chain.rbegin(); node != chain.rend(); ++node)
        left = applyBinary(**node, left, mark);
    return left;
}

// left op right, left being compiled already.
Operand FormulaExpressionCompiler::applyBinary(const Expression& expression, const Operand& left,
                                               int mark) {
    const Operand right = compile(*expression.operands[1]);
    const SourcePosition where = expression.position;
    const BinaryOperator op = expression.binary;
    if (left.constant && right.constant) {
        FormulaValue result;
        if (fold_.binary(op, left, right, result))
            return Operand::ofConstant(result, false);
    }
    if (isComparison(op))
        return compare(left, right, comparisonOf(op), where, mark);
    Operand result;
    if (arithmeticFast(op, left, right, where, mark, result))
        return result;
    const int a = code_.materialize(left, where);
    const int b = code_.materialize(right, where);
    code_.release(mark);
    if ((op == BinaryOperator::And || op == BinaryOperator::Or || op == BinaryOperator::Xor) &&
        left.types == BooleanType && right.types == BooleanType) {
        const Op logic =
            op == BinaryOperator::And ? Op::AndB : (op == BinaryOperator::Or ? Op::OrB : Op::XorB);
        return code_.emitResult({logic, 0, a, b}, where, BooleanType);
    }
    return code_.emitResult({genericOp(op), 0, a, b}, where, genericTypes(op, left, right));
}

Operand FormulaExpressionCompiler::compare(const Operand& left, const Operand& right,
                                           Comparison comparison, SourcePosition where, int mark) {
    if (left.constant && right.constant) {
        FormulaValue result;
        if (fold_.compare(left, right, comparison, result))
            return Operand::ofConstant(result, false);
    }
    if (left.within(ScalarTypes) && right.within(ScalarTypes) &&
        !(left.constant && right.constant)) {
        code_.release(mark);
        if (right.constant)
            return code_.emitResult(
                {offset(Op::EqNK, comparison), 0, left.slot, 0, 0, right.value.number}, where,
                BooleanType);
        if (left.constant)
            return code_.emitResult({offset(Op::EqNK, arithmetic::mirrored(comparison)), 0,
                                     right.slot, 0, 0, left.value.number},
                                    where, BooleanType);
        return code_.emitResult({offset(Op::EqN, comparison), 0, left.slot, right.slot}, where,
                                BooleanType);
    }
    const int a = code_.materialize(left, where);
    const int b = code_.materialize(right, where);
    code_.release(mark);
    const std::uint8_t aux =
        std::uint8_t(int(comparison) | (left.hard ? HardLeft : 0) | (right.hard ? HardRight : 0));
    return code_.emitResult({Op::Compare, aux, a, b}, where, BooleanType);
}

bool FormulaExpressionCompiler::arithmeticFast(BinaryOperator op, const Operand& left,
                                               const Operand& right, SourcePosition where, int mark,
                                               Operand& result) {
    if (!left.within(ArithmeticTypes) || !right.within(ArithmeticTypes))
        return false;
    Op slots = Op::End;
    Op withRight = Op::End; // a op k
    Op withLeft = Op::End;  // k op a
    switch (op) {
    case BinaryOperator::Add:
        slots = Op::AddN, withRight = Op::AddNK, withLeft = Op::AddNK;
        break;
    case BinaryOperator::Subtract:
        slots = Op::SubN, withRight = Op::SubNK, withLeft = Op::SubKN;
        break;
    case BinaryOperator::Multiply:
        slots = Op::MulN, withRight = Op::MulNK, withLeft = Op::MulNK;
        break;
    case BinaryOperator::Divide:
        slots = Op::DivN, withRight = Op::DivNK, withLeft = Op::DivKN;
        break;
    case BinaryOperator::Power:
        slots = Op::PowN, withRight = Op::PowNK;
        break;
    case BinaryOperator::IntegerDivide:
        slots = Op::IntDivN;
        break;
    case BinaryOperator::Modulo:
        slots = Op::ModN;
        break;
    default:
        return false;
    }
    if (right.constant && !left.constant && withRight != Op::End) {
        code_.release(mark);
        result = code_.emitResult({withRight, 0, left.slot, 0, 0, right.value.number}, where,
                                  NumberType);
        return true;
    }
    if (left.constant && !right.constant && withLeft != Op::End) {
        code_.release(mark);
        result =
            code_.emitResult({withLeft, 0, right.slot, 0, 0, left.value.number}, where, NumberType);
        return true;
    }
    const int a = code_.materialize(left, where);
    const int b = code_.materialize(right, where);
    code_.release(mark);
    result = code_.emitResult({slots, 0, a, b}, where, NumberType);
    return true;
}

Op FormulaExpressionCompiler::genericOp(BinaryOperator op) {
    switch (op) {
    case BinaryOperator::Power:
        return Op::Power;
    case BinaryOperator::Multiply:
        return Op::Multiply;
    case BinaryOperator::Divide:
        return Op::Divide;
    case BinaryOperator::IntegerDivide:
        return Op::IntegerDivide;
    case BinaryOperator::Modulo:
        return Op::Modulo;
    case BinaryOperator::Add:
        return Op::Add;
    case BinaryOperator::Subtract:
        return Op::Subtract;
    case BinaryOperator::Concatenate:
        return Op::Concatenate;
    case BinaryOperator::And:
        return Op::And;
    case BinaryOperator::Or:
        return Op::Or;
    default:
        return Op::Xor;
    }
}

TypeSet FormulaExpressionCompiler::genericTypes(BinaryOperator op, const Operand& left,
                                                const Operand& right) {
    const TypeSet both = left.types | right.types;
    const TypeSet single = both & SingleType; // a Single may stay one in + - * /
    switch (op) {
    case BinaryOperator::Add:
        if (both & StringType)
            return NumberType | StringType | DateType | single;
        return (both & DateType ? NumberType | DateType : NumberType) | single;
    case BinaryOperator::Subtract:
        return (both & (DateType | StringType) ? NumberType | DateType : NumberType) | single;
    case BinaryOperator::Multiply:
    case BinaryOperator::Divide:
        return NumberType | single;
    case BinaryOperator::Concatenate:
        return StringType;
    case BinaryOperator::And:
    case BinaryOperator::Or:
    case BinaryOperator::Xor:
        return BooleanType | NumberType;
    default:
        return NumberType;
    }
}

} // namespace velora::engine
