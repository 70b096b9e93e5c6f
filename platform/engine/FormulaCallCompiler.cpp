#include "FormulaCallCompiler.h"

#include "FormulaExpressionCompiler.h"

#include <cmath>

namespace velora::engine {

using namespace ast;
using namespace compiling;

namespace N = FormulaErrorNumber;

FormulaCallCompiler::FormulaCallCompiler(FormulaCompileState& state,
                                         FormulaExpressionCompiler& expressions)
    : program_(*state.program)
    , code_(state.code)
    , locals_(state.locals)
    , fold_(state.fold)
    , expressions_(expressions) {}

Operand FormulaCallCompiler::compileCall(const Expression& expression) {
    if (locals_.index(expression.text) >= 0)
        fail(N::TypeMismatch, expression.text, expression.position); // no arrays
    const NameEntry* entry = FormulaNameTable::find(expression.text);
    if (!entry)
        fail(N::UndefinedVariable, expression.text, expression.position);
    if (entry->kind == NameEntry::Kind::Refused)
        refuse(*entry, expression.position);
    if (entry->kind != NameEntry::Kind::Function)
        fail(N::TypeMismatch, expression.text, expression.position);
    return compileFunction(expression, *entry);
}

Operand FormulaCallCompiler::compileFunction(const Expression& expression, const NameEntry& entry) {
    const BuiltinId id = entry.function;
    const BuiltinInfo& info = FormulaBuiltins::info(id);
    const int count = int(expression.operands.size());
    if (id == BuiltinId::IsLastDayOfMonth && count == 0)
        return expressions_.useInput(InputKind::IsLastDayOfMonth);
    if (count < info.minArguments || count > info.maxArguments)
        fail(N::WrongArgumentCount, entry.canonical, expression.position);
    if (FormulaBuiltins::isPeriodFunction(id))
        return compilePeriod(expression, id, entry);

    // A generic call reads its arguments from consecutive slots. Computed arguments are
    // written there at once; locals and inputs are copied only if the call is generic
    // (nothing can change them in between: expressions have no side effects).
    const int first = code_.mark();
    for (int i = 0; i < count; ++i)
        code_.allocTemp();
    std::vector<Operand> arguments;
    bool computedLast = false;
    checkInterval(expression, entry);
    for (int i = 0; i < count; ++i) {
        const Expression& argument = *expression.operands[size_t(i)];
        const size_t codeBefore = code_.size();
        Operand operand = expressions_.compile(argument);
        computedLast = i == 0 ? operand.isTemp : computedLast && code_.size() == codeBefore;
        if (operand.isTemp) {
            code_.store(operand, first + i, argument.position);
            operand = Operand::ofSlot(first + i, operand.types);
        }
        arguments.push_back(operand);
        code_.release(first + count);
    }
    const TypeSet types = resultTypes(id, arguments);
    Operand result;
    if (info.pure && fold_.call(info, arguments, result)) {
        code_.release(first);
        return result;
    }
    code_.release(first);
    if (fastCall(id, arguments, computedLast, expression.position, result))
        return result;
    for (int i = 0; i < count; ++i)
        code_.store(arguments[size_t(i)], first + i, expression.position);
    return code_.emitResult({Op::Call, std::uint8_t(id), first, count}, expression.position, types);
}

// DateAdd and DateDiff know four intervals; the others VBScript has are refused when the
// text names them (an interval computed while the formula runs fails then, with error 5).
void FormulaCallCompiler::checkInterval(const Expression& expression, const NameEntry& entry) {
    if (entry.function != BuiltinId::DateAdd && entry.function != BuiltinId::DateDiff)
        return;
    const Expression& interval = *expression.operands[0];
    if (interval.kind == Expression::Kind::String && !FormulaBuiltins::isInterval(interval.text))
        fail(N::InvalidArgument, entry.canonical, interval.position);
}

TypeSet FormulaCallCompiler::resultTypes(BuiltinId id, const std::vector<Operand>& arguments) {
    const BuiltinInfo& info = FormulaBuiltins::info(id);
    if (id == BuiltinId::IIf)
        return arguments[1].types | arguments[2].types;
    return info.result | (arguments[0].types & info.keeps);
}

// Round, Min and Max of numbers: the commonest calls of pay formulas.
// `computedLast`: the last instruction computed the first argument (into its slot).
bool FormulaCallCompiler::fastCall(BuiltinId id, const std::vector<Operand>& arguments,
                                   bool computedLast, SourcePosition where, Operand& result) {
    if (id == BuiltinId::Round && arguments[0].within(ArithmeticTypes) && !arguments[0].constant) {
        const double digits = arguments.size() > 1 ? arguments[1].value.number : 0;
        if (arguments.size() > 1 &&
            !(arguments[1].constant && arguments[1].within(ArithmeticTypes) && digits >= 0 &&
              digits <= 15 && digits == std::trunc(digits)))
            return false;
        Instruction& last = code_.last();
        if (computedLast && last.c == arguments[0].slot && last.c == code_.mark() &&
            (last.op == Op::MulN || last.op == Op::MulNK)) {
            // Round(a * b, n) in one step. The product's temporary, given back with the
            // arguments, becomes the call's result: it is taken again so that what the
            // expression computes next cannot be placed over it.
            if (last.op == Op::MulN)
                last.k = digits;
            else
                last.k2 = digits;
            last.op = last.op == Op::MulN ? Op::RoundMulN : Op::RoundMulNK;
            code_.markLastComputed();
            result = Operand::ofSlot(code_.allocTemp(), NumberType, true);
            return true;
        }
        result =
            code_.emitResult({Op::RoundN, 0, arguments[0].slot, 0, 0, digits}, where, NumberType);
        return true;
    }
    if ((id != BuiltinId::Min && id != BuiltinId::Max) || arguments.size() != 2 ||
        !arguments[0].within(ArithmeticTypes) || !arguments[1].within(ArithmeticTypes) ||
        (arguments[0].constant && arguments[1].constant))
        return false;
    const bool min = id == BuiltinId::Min;
    const Operand& a = arguments[0];
    const Operand& b = arguments[1];
    if (a.constant || b.constant) {
        const Operand& variable = a.constant ? b : a;
        const Operand& constant = a.constant ? a : b;
        result = code_.emitResult(
            {min ? Op::MinNK : Op::MaxNK, 0, variable.slot, 0, 0, constant.value.number}, where,
            NumberType);
    } else {
        result =
            code_.emitResult({min ? Op::MinN : Op::MaxN, 0, a.slot, b.slot}, where, NumberType);
    }
    return true;
}

Operand FormulaCallCompiler::compilePeriod(const Expression& expression, BuiltinId id,
                                           const NameEntry& entry) {
    program_.usesPeriodFunctions = true;
    const std::uint8_t period =
        std::uint8_t(id == BuiltinId::WeekToDate
                         ? Period::Week
                         : (id == BuiltinId::MonthToDate ? Period::Month : Period::Year));
    const int mark = code_.mark();
    const Expression& nameArgument = *expression.operands[0];
    const Operand name = expressions_.compile(nameArgument);
    Operand all = Operand::ofConstant(FormulaValue::makeBoolean(false), true);
    if (expression.operands.size() > 1)
        all = expressions_.compile(*expression.operands[1]);
    bool allConstant = false;
    const bool allKnown = all.constant && toBoolean(all.value, allConstant);
    const int allSlot = allKnown ? -1 : code_.materialize(all, expression.position);
    const double allValue = allConstant ? 1 : 0;
    if (name.constant) {
        Measure measure = Measure::Reports;
        if (!FormulaNameTable::findMeasure(valueText(name.value), measure))
            fail(N::InvalidArgument, entry.canonical, nameArgument.position);
        code_.release(mark);
        return code_.emitResult({Op::Period, period, allSlot, int(measure), 0, allValue},
                                expression.position, NumberType);
    }
    const int nameSlot = name.slot;
    code_.release(mark);
    return code_.emitResult({Op::PeriodByName, period, nameSlot, allSlot, 0, allValue},
                            expression.position, NumberType);
}

} // namespace velora::engine
