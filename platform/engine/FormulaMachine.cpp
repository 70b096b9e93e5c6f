#include "CompiledFormula.h"

#include "FormulaBuiltins.h"
#include "FormulaDate.h"
#include "FormulaNameTable.h"
#include "FormulaOperators.h"
#include "FormulaProgram.h"
#include "FormulaRuntime.h"

#include <QDateTime>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;

inline void setNumber(FormulaValue& slot, double value) {
    slot.number = value;
    slot.type = ValueType::Number;
}

inline void setBoolean(FormulaValue& slot, bool value) {
    slot.number = value ? -1.0 : 0.0;
    slot.type = ValueType::Boolean;
}

bool runPeriod(FormulaRuntime& rt, const Instruction& in, Measure measure, int allSlot,
               const FormulaValue* f, FormulaValue& out) {
    const BuiltinInfo& info =
        FormulaBuiltins::info(BuiltinId(int(BuiltinId::WeekToDate) + in.aux));
    if (!rt.periods)
        return rt.fail(N::InvalidArgument, QString::fromLatin1(info.name));
    bool all = in.k != 0;
    if (allSlot >= 0 && !operators::truth(rt, f[allSlot], all))
        return false;
    setNumber(out, rt.periods->periodSum(Period(in.aux), measure, all, *rt.row));
    return true;
}

bool runPeriodByName(FormulaRuntime& rt, const Instruction& in, const FormulaValue* f,
                     FormulaValue& out) {
    Measure measure = Measure::Reports;
    const FormulaValue& name = f[in.a];
    const QString text = valueText(name);
    if (!FormulaNameTable::findMeasure(text, measure)) {
        const BuiltinInfo& info =
            FormulaBuiltins::info(BuiltinId(int(BuiltinId::WeekToDate) + in.aux));
        return rt.fail(N::InvalidArgument, QString::fromLatin1(info.name));
    }
    return runPeriod(rt, in, measure, in.b, f, out);
}

bool runCall(FormulaRuntime& rt, const Instruction& in, FormulaValue* f) {
    const BuiltinInfo& info = FormulaBuiltins::info(BuiltinId(in.aux));
    FormulaValue result;
    if (!info.function(rt, f + in.a, in.b, result)) {
        if (rt.fault().subject.isEmpty())
            rt.fault().subject = QString::fromLatin1(info.name);
        return false;
    }
    f[in.c] = result;
    return true;
}

bool runGeneric(FormulaRuntime& rt, const Instruction& in, FormulaValue* f) {
    const FormulaValue& a = f[in.a];
    const FormulaValue& b = f[in.b];
    FormulaValue& c = f[in.c];
    switch (in.op) {
    case Op::Add:
        return operators::add(rt, a, b, c);
    case Op::Subtract:
        return operators::subtract(rt, a, b, c);
    case Op::Multiply:
        return operators::multiply(rt, a, b, c);
    case Op::Divide:
        return operators::divide(rt, a, b, c);
    case Op::Power:
        return operators::power(rt, a, b, c);
    case Op::IntegerDivide:
        return operators::integerDivide(rt, a, b, c);
    case Op::Modulo:
        return operators::modulo(rt, a, b, c);
    case Op::Concatenate:
        return operators::concatenate(rt, a, b, c);
    case Op::Negate:
        return operators::negate(rt, a, c);
    case Op::Not:
        return operators::logicalNot(rt, a, c);
    case Op::And:
        return operators::logicalAnd(rt, a, b, c);
    case Op::Or:
        return operators::logicalOr(rt, a, b, c);
    case Op::Xor:
        return operators::logicalXor(rt, a, b, c);
    case Op::Compare:
        return operators::compare(rt, a, b, Comparison(in.aux & 0x0f), in.aux & HardLeft,
                                  in.aux & HardRight, c);
    case Op::ToNumber: {
        double number = 0;
        if (!operators::resultNumber(rt, a, number))
            return false;
        setNumber(c, number);
        return true;
    }
    case Op::Call:
        return runCall(rt, in, f);
    case Op::Period:
        return runPeriod(rt, in, Measure(in.b), in.a, f, c);
    case Op::PeriodByName:
        return runPeriodByName(rt, in, f, c);
    default:
        return rt.fail(N::InvalidArgument);
    }
}

bool truthOf(FormulaRuntime& rt, const FormulaValue& value, bool& truth) {
    if (!value.isString()) {
        truth = value.number != 0;
        return true;
    }
    return operators::truth(rt, value, truth);
}

bool fault(FormulaRuntime& rt, ArithmeticFault fault) {
    return rt.fail(arithmetic::faultNumber(fault));
}

// Runs the program over the frame. Returns the index of the instruction that failed, or -1.
// The cases for numbers touch only the `number` and `type` of their slots.
int execute(const FormulaProgram& program, FormulaValue* f, FormulaRuntime& rt) {
    const Instruction* const code = program.code.data();
    const Instruction* ip = code;
    using arithmetic::compare;
    for (;;) {
        const Instruction& in = *ip++;
        double r = 0;
        ArithmeticFault failed = ArithmeticFault::None;
        switch (in.op) {
        case Op::End:
            return -1;
        case Op::Move:
            f[in.c] = f[in.a];
            continue;
        case Op::LoadNumber:
            setNumber(f[in.c], in.k);
            continue;
        case Op::LoadConstant:
            f[in.c] = program.constants[size_t(in.b)];
            continue;

#define VELORA_NUMERIC(OP, EXPRESSION)                                                           \
    case Op::OP:                                                                                 \
        failed = EXPRESSION;                                                                     \
        if (failed != ArithmeticFault::None) {                                                   \
            fault(rt, failed);                                                                   \
            return int(&in - code);                                                              \
        }                                                                                        \
        setNumber(f[in.c], r);                                                                   \
        continue;

            VELORA_NUMERIC(AddN, arithmetic::add(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(SubN, arithmetic::subtract(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(MulN, arithmetic::multiply(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(DivN, arithmetic::divide(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(PowN, arithmetic::power(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(IntDivN, arithmetic::integerDivide(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(ModN, arithmetic::modulo(f[in.a].number, f[in.b].number, r))
            VELORA_NUMERIC(AddNK, arithmetic::add(f[in.a].number, in.k, r))
            VELORA_NUMERIC(SubNK, arithmetic::subtract(f[in.a].number, in.k, r))
            VELORA_NUMERIC(SubKN, arithmetic::subtract(in.k, f[in.a].number, r))
            VELORA_NUMERIC(MulNK, arithmetic::multiply(f[in.a].number, in.k, r))
            VELORA_NUMERIC(DivNK, arithmetic::divide(f[in.a].number, in.k, r))
            VELORA_NUMERIC(DivKN, arithmetic::divide(in.k, f[in.a].number, r))
            VELORA_NUMERIC(PowNK, arithmetic::power(f[in.a].number, in.k, r))
            VELORA_NUMERIC(RoundN, arithmetic::round(f[in.a].number, in.k, r))
#undef VELORA_NUMERIC

        case Op::NegN:
            setNumber(f[in.c], f[in.a].number == 0 ? 0.0 : -f[in.a].number);
            continue;
        case Op::ToNumberN:
            setNumber(f[in.c], f[in.a].number);
            continue;
        case Op::MinN:
            setNumber(f[in.c], std::min(f[in.a].number, f[in.b].number));
            continue;
        case Op::MaxN:
            setNumber(f[in.c], std::max(f[in.a].number, f[in.b].number));
            continue;
        case Op::MinNK:
            setNumber(f[in.c], std::min(f[in.a].number, in.k));
            continue;
        case Op::MaxNK:
            setNumber(f[in.c], std::max(f[in.a].number, in.k));
            continue;

#define VELORA_COMPARE(SUFFIX, COMPARISON)                                                       \
    case Op::SUFFIX##N:                                                                          \
        setBoolean(f[in.c], compare(f[in.a].number, f[in.b].number, Comparison::COMPARISON));    \
        continue;                                                                                \
    case Op::SUFFIX##NK:                                                                         \
        setBoolean(f[in.c], compare(f[in.a].number, in.k, Comparison::COMPARISON));              \
        continue;                                                                                \
    case Op::Jump##SUFFIX##N:                                                                    \
        if (compare(f[in.a].number, f[in.b].number, Comparison::COMPARISON))                    \
            ip = code + in.c;                                                                    \
        continue;                                                                                \
    case Op::Jump##SUFFIX##NK:                                                                   \
        if (compare(f[in.a].number, in.k, Comparison::COMPARISON))                               \
            ip = code + in.c;                                                                    \
        continue;

            VELORA_COMPARE(Eq, Equal)
            VELORA_COMPARE(Ne, NotEqual)
            VELORA_COMPARE(Lt, Less)
            VELORA_COMPARE(Le, LessEqual)
            VELORA_COMPARE(Gt, Greater)
            VELORA_COMPARE(Ge, GreaterEqual)
#undef VELORA_COMPARE

        case Op::AndB:
            setBoolean(f[in.c], f[in.a].number != 0 && f[in.b].number != 0);
            continue;
        case Op::OrB:
            setBoolean(f[in.c], f[in.a].number != 0 || f[in.b].number != 0);
            continue;
        case Op::XorB:
            setBoolean(f[in.c], (f[in.a].number != 0) != (f[in.b].number != 0));
            continue;
        case Op::NotB:
            setBoolean(f[in.c], f[in.a].number == 0);
            continue;
        case Op::Jump:
            ip = code + in.c;
            continue;
        case Op::JumpIfFalse:
        case Op::JumpIfTrue: {
            bool truth = false;
            if (!truthOf(rt, f[in.a], truth))
                return int(&in - code);
            if (truth == (in.op == Op::JumpIfTrue))
                ip = code + in.c;
            continue;
        }
        default:
            if (!runGeneric(rt, in, f))
                return int(&in - code);
            continue;
        }
    }
}

QVariant toVariant(const FormulaValue& value) {
    switch (value.type) {
    case ValueType::Empty:
        return QVariant();
    case ValueType::Boolean:
        return QVariant(value.number != 0);
    case ValueType::Number:
        return QVariant(value.number);
    case ValueType::String:
        return QVariant(value.string());
    case ValueType::Date: {
        const QDate day = FormulaDate::toQDate(value.number);
        qint64 whole = 0;
        double time = 0;
        FormulaDate::split(value.number, whole, time);
        if (time == 0)
            return QVariant(day);
        return QVariant(QDateTime(day, QTime(0, 0).addSecs(int(std::lround(time * 86400)))));
    }
    }
    return QVariant();
}

} // namespace

struct FormulaMachine::Storage {
    std::vector<FormulaValue> frame;
    std::deque<QString> texts; // texts made by string functions, kept until the next run
    const FormulaProgram* lastProgram = nullptr;
};

FormulaMachine::FormulaMachine()
    : storage_(std::make_unique<Storage>()) {}

FormulaMachine::~FormulaMachine() = default;

bool FormulaMachine::evaluate(const CompiledFormula& formula, const RowInputs& row,
                              PeriodSource* periods, FormulaResults& results,
                              FormulaError& error) {
    const FormulaProgram& program = formula.program();
    Storage& storage = *storage_;
    if (storage.frame.size() < size_t(program.frameSize))
        storage.frame.resize(size_t(program.frameSize));
    if (!storage.texts.empty())
        storage.texts.clear();
    storage.lastProgram = &program;

    FormulaValue* f = storage.frame.data();
    for (int i = 0; i < FormulaProgram::FirstInputSlot; ++i)
        f[i] = FormulaValue::makeNumber(0);
    std::fill(f + FormulaProgram::FirstLocalSlot,
              f + FormulaProgram::FirstLocalSlot + program.localNames.size(), FormulaValue());
    for (InputKind input : program.inputs)
        FormulaNameTable::loadInput(input, row, f[FormulaProgram::inputSlot(input)]);

    FormulaRuntime rt(storage.texts);
    rt.row = &row;
    rt.periods = periods;
    const int failed = execute(program, f, rt);
    if (failed >= 0) {
        error = makeFormulaError(formula.text(), rt.fault(), program.positions[size_t(failed)]);
        return false;
    }
    results.hours = f[FormulaProgram::resultSlot(ast::ResultField::Hours)].number;
    results.lines = f[FormulaProgram::resultSlot(ast::ResultField::Lines)].number;
    results.pay = f[FormulaProgram::resultSlot(ast::ResultField::Pay)].number;
    if (error.isError())
        error = FormulaError();
    return true;
}

QVariant FormulaMachine::localValue(const CompiledFormula& formula, const QString& name) const {
    const FormulaProgram& program = formula.program();
    if (storage_->lastProgram != &program)
        return QVariant();
    for (size_t i = 0; i < program.localNames.size(); ++i) {
        if (program.localNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return toVariant(storage_->frame[FormulaProgram::FirstLocalSlot + i]);
    }
    return QVariant();
}

} // namespace velora::engine
