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
#include <cstring>
#include <vector>

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;

// Copies a value as two stores, payload and type, like every other write to a slot: a later
// read of either then comes from a single earlier store (a wide read spanning two narrower
// stores stalls the processor for a dozen cycles).
inline void copyValue(FormulaValue& to, const FormulaValue& from) {
    std::uint64_t payload = 0;
    std::memcpy(&payload, static_cast<const void*>(&from), sizeof payload);
    std::memcpy(static_cast<void*>(&to), &payload, sizeof payload);
    to.type = from.type;
}

// A result as an 8-byte read. Without `volatile` the compiler fetches two results with wide
// reads that span a result's number and type, written separately just before: that stalls.
inline double resultOf(const FormulaProgram& program, const FormulaValue* f,
                       ast::ResultField field) {
    const int slot = program.resultSlots[FormulaProgram::resultSlot(field)];
    return static_cast<const volatile double&>(f[slot].number);
}

inline void setNumber(FormulaValue& slot, double value) {
    slot.number = value;
    slot.type = ValueType::Number;
}

// out = condition ? ifTrue : ifFalse, without a jump: these choices depend on the row, where
// a jump would be mispredicted half of the time.
inline void pick(FormulaValue& out, bool condition, const FormulaValue& ifTrue,
                 const FormulaValue& ifFalse) {
    std::uint64_t whenTrue = 0;
    std::uint64_t whenFalse = 0;
    std::memcpy(&whenTrue, static_cast<const void*>(&ifTrue), sizeof whenTrue);
    std::memcpy(&whenFalse, static_cast<const void*>(&ifFalse), sizeof whenFalse);
    const std::uint64_t mask = std::uint64_t(0) - std::uint64_t(condition);
    const std::uint64_t payload = (whenTrue & mask) | (whenFalse & ~mask);
    const auto trueType = static_cast<std::uint8_t>(ifTrue.type);
    const auto falseType = static_cast<std::uint8_t>(ifFalse.type);
    const std::uint8_t typeMask = static_cast<std::uint8_t>(mask);
    std::memcpy(static_cast<void*>(&out), &payload, sizeof payload);
    out.type = ValueType((trueType & typeMask) | (falseType & ~typeMask));
}

// True is -1: made by arithmetic rather than a jump, as comparisons on the row's values are
// unpredictable.
// condition ? ifTrue : ifFalse for numbers, without a jump.
inline double choose(bool condition, double ifTrue, double ifFalse) {
    std::uint64_t whenTrue = 0;
    std::uint64_t whenFalse = 0;
    std::memcpy(&whenTrue, &ifTrue, sizeof whenTrue);
    std::memcpy(&whenFalse, &ifFalse, sizeof whenFalse);
    const std::uint64_t mask = std::uint64_t(0) - std::uint64_t(condition);
    const std::uint64_t bits = (whenTrue & mask) | (whenFalse & ~mask);
    double chosen = 0;
    std::memcpy(&chosen, &bits, sizeof chosen);
    return chosen;
}

inline void setBoolean(FormulaValue& slot, bool value) {
    slot.number = static_cast<double>(-static_cast<int>(value));
    slot.type = ValueType::Boolean;
}

bool runPeriod(FormulaRuntime& rt, const Instruction& in, Measure measure, int allSlot,
               const FormulaValue* f, FormulaValue& out) {
    const BuiltinInfo& info = FormulaBuiltins::info(BuiltinId(int(BuiltinId::WeekToDate) + in.aux));
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
    copyValue(f[in.c], result);
    return true;
}

// Out of line, so that the loop of the fast path keeps its values in registers.
[[gnu::noinline]] bool runGeneric(FormulaRuntime& rt, const Instruction& in, FormulaValue* f) {
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

[[gnu::noinline]] bool textTruth(FormulaRuntime& rt, const FormulaValue& value, bool& truth) {
    return operators::truth(rt, value, truth);
}

inline bool truthOf(FormulaRuntime& rt, const FormulaValue& value, bool& truth) {
    if (!value.isString()) {
        truth = value.number != 0;
        return true;
    }
    return textTruth(rt, value, truth);
}

[[gnu::noinline, gnu::cold]] bool fault(FormulaRuntime& rt, ArithmeticFault fault) {
    return rt.fail(arithmetic::faultNumber(fault));
}

// With GCC and Clang each handler jumps straight to the next one through a table of label
// addresses (their "labels as values" extension): one indirect jump per operation, which the
// processor predicts per handler. Elsewhere a switch does the same job.
#if defined(__GNUC__)
#define VELORA_THREADED 1
#define VELORA_CASE(name) op_##name:
#define VELORA_NEXT() goto* handlers[static_cast<int>((in = ip++)->op)]
#define VELORA_HANDLER_ADDRESS(name) &&op_##name,
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#else
#define VELORA_THREADED 0
#define VELORA_CASE(name) case Op::name:
#define VELORA_NEXT() continue
#endif

// Runs the program over the frame. Returns the index of the instruction that failed, or -1.
// The cases for numbers touch only the `number` and `type` of their slots.
[[gnu::noinline]] int execute(const FormulaProgram& program, FormulaValue* f, FormulaRuntime& rt) {
    const Instruction* const code = program.code.data();
    const Instruction* ip = code;
    using arithmetic::compare;
    const Instruction* in = nullptr;
#if VELORA_THREADED
    static const void* const handlers[] = {VELORA_FORMULA_OPERATIONS(VELORA_HANDLER_ADDRESS)};
    VELORA_NEXT();
#else
    for (;;) {
        in = ip++;
        switch (in->op) {
#endif
    VELORA_CASE(End)
    return -1;
    VELORA_CASE(Move)
    copyValue(f[in->c], f[in->a]);
    VELORA_NEXT();
    VELORA_CASE(LoadNumber)
    setNumber(f[in->c], in->k);
    VELORA_NEXT();
    VELORA_CASE(LoadConstant)
    copyValue(f[in->c], program.constants[size_t(in->b)]);
    VELORA_NEXT();

#define VELORA_NUMERIC(NAME, EXPRESSION)                                                           \
    VELORA_CASE(NAME) {                                                                            \
        double r = 0;                                                                              \
        const ArithmeticFault failed = EXPRESSION;                                                 \
        if (failed != ArithmeticFault::None) {                                                     \
            fault(rt, failed);                                                                     \
            return int(in - code);                                                                 \
        }                                                                                          \
        setNumber(f[in->c], r);                                                                    \
        VELORA_NEXT();                                                                             \
    }

    VELORA_NUMERIC(AddN, arithmetic::add(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(SubN, arithmetic::subtract(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(MulN, arithmetic::multiply(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(DivN, arithmetic::divide(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(PowN, arithmetic::power(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(IntDivN, arithmetic::integerDivide(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(ModN, arithmetic::modulo(f[in->a].number, f[in->b].number, r))
    VELORA_NUMERIC(AddNK, arithmetic::add(f[in->a].number, in->k, r))
    VELORA_NUMERIC(SubNK, arithmetic::subtract(f[in->a].number, in->k, r))
    VELORA_NUMERIC(SubKN, arithmetic::subtract(in->k, f[in->a].number, r))
    VELORA_NUMERIC(MulNK, arithmetic::multiply(f[in->a].number, in->k, r))
    VELORA_NUMERIC(DivNK, arithmetic::divide(f[in->a].number, in->k, r))
    VELORA_NUMERIC(DivKN, arithmetic::divide(in->k, f[in->a].number, r))
    VELORA_NUMERIC(PowNK, arithmetic::power(f[in->a].number, in->k, r))
#undef VELORA_NUMERIC

    VELORA_CASE(RoundN) // the compiler checked k: a whole number of places, 0 to 15
    setNumber(f[in->c], arithmetic::roundToPlaces(f[in->a].number, int(in->k)));
    VELORA_NEXT();
    VELORA_CASE(RoundMulN) {
        double r = 0;
        if (arithmetic::multiply(f[in->a].number, f[in->b].number, r) != ArithmeticFault::None) {
            fault(rt, ArithmeticFault::Overflow);
            return int(in - code);
        }
        setNumber(f[in->c], arithmetic::roundToPlaces(r, int(in->k)));
        VELORA_NEXT();
    }
    VELORA_CASE(RoundMulNK) {
        double r = 0;
        if (arithmetic::multiply(f[in->a].number, in->k, r) != ArithmeticFault::None) {
            fault(rt, ArithmeticFault::Overflow);
            return int(in - code);
        }
        setNumber(f[in->c], arithmetic::roundToPlaces(r, int(in->k2)));
        VELORA_NEXT();
    }
    VELORA_CASE(NegN)
    setNumber(f[in->c], f[in->a].number == 0 ? 0.0 : -f[in->a].number);
    VELORA_NEXT();
    VELORA_CASE(ToNumberN)
    setNumber(f[in->c], f[in->a].number);
    VELORA_NEXT();
    VELORA_CASE(MinN)
    setNumber(f[in->c], std::min(f[in->a].number, f[in->b].number));
    VELORA_NEXT();
    VELORA_CASE(MaxN)
    setNumber(f[in->c], std::max(f[in->a].number, f[in->b].number));
    VELORA_NEXT();
    VELORA_CASE(MinNK)
    setNumber(f[in->c], std::min(f[in->a].number, in->k));
    VELORA_NEXT();
    VELORA_CASE(MaxNK)
    setNumber(f[in->c], std::max(f[in->a].number, in->k));
    VELORA_NEXT();

#define VELORA_COMPARE(SUFFIX, COMPARISON)                                                         \
    VELORA_CASE(SUFFIX##N)                                                                         \
    setBoolean(f[in->c], compare(f[in->a].number, f[in->b].number, Comparison::COMPARISON));       \
    VELORA_NEXT();                                                                                 \
    VELORA_CASE(SUFFIX##NK)                                                                        \
    setBoolean(f[in->c], compare(f[in->a].number, in->k, Comparison::COMPARISON));                 \
    VELORA_NEXT();                                                                                 \
    VELORA_CASE(Jump##SUFFIX##N)                                                                   \
    if (compare(f[in->a].number, f[in->b].number, Comparison::COMPARISON))                         \
        ip = code + in->c;                                                                         \
    VELORA_NEXT();                                                                                 \
    VELORA_CASE(Jump##SUFFIX##NK)                                                                  \
    if (compare(f[in->a].number, in->k, Comparison::COMPARISON))                                   \
        ip = code + in->c;                                                                         \
    VELORA_NEXT();

    VELORA_COMPARE(Eq, Equal)
    VELORA_COMPARE(Ne, NotEqual)
    VELORA_COMPARE(Lt, Less)
    VELORA_COMPARE(Le, LessEqual)
    VELORA_COMPARE(Gt, Greater)
    VELORA_COMPARE(Ge, GreaterEqual)
#undef VELORA_COMPARE

    VELORA_CASE(Pick)
    pick(f[in->c], f[in->a].number != 0, f[in->d], f[in->b]);
    VELORA_NEXT();
    VELORA_CASE(PickK)
    pick(f[in->c], f[in->a].number != 0, FormulaValue::makeNumber(in->k2), f[in->b]);
    VELORA_NEXT();

#define VELORA_PICK(SUFFIX, COMPARISON)                                                            \
    VELORA_CASE(Pick##SUFFIX##NK)                                                                  \
    pick(f[in->c], compare(f[in->a].number, in->k, Comparison::COMPARISON), f[in->d], f[in->b]);   \
    VELORA_NEXT();                                                                                 \
    VELORA_CASE(Pick##SUFFIX##NKK)                                                                 \
    pick(f[in->c], compare(f[in->a].number, in->k, Comparison::COMPARISON),                        \
         FormulaValue::makeNumber(in->k2), f[in->b]);                                              \
    VELORA_NEXT();

    VELORA_PICK(Eq, Equal)
    VELORA_PICK(Ne, NotEqual)
    VELORA_PICK(Lt, Less)
    VELORA_PICK(Le, LessEqual)
    VELORA_PICK(Gt, Greater)
    VELORA_PICK(Ge, GreaterEqual)
#undef VELORA_PICK

    VELORA_CASE(Tiers) {
        const TierStep* steps = program.tiers.data() + in->b;
        const double tested = f[in->a].number;
        double chosen = in->aux ? in->k : f[in->c].number;
        for (int i = in->d; i-- > 0;) // from the last step up: an earlier step overrides
            chosen = choose(compare(tested, steps[i].threshold, steps[i].comparison),
                            steps[i].value, chosen);
        setNumber(f[in->c], chosen);
        VELORA_NEXT();
    }
    VELORA_CASE(AndB)
    setBoolean(f[in->c], f[in->a].number != 0 && f[in->b].number != 0);
    VELORA_NEXT();
    VELORA_CASE(OrB)
    setBoolean(f[in->c], f[in->a].number != 0 || f[in->b].number != 0);
    VELORA_NEXT();
    VELORA_CASE(XorB)
    setBoolean(f[in->c], (f[in->a].number != 0) != (f[in->b].number != 0));
    VELORA_NEXT();
    VELORA_CASE(NotB)
    setBoolean(f[in->c], f[in->a].number == 0);
    VELORA_NEXT();
    VELORA_CASE(Jump)
    ip = code + in->c;
    VELORA_NEXT();
    VELORA_CASE(JumpIfFalse)
    VELORA_CASE(JumpIfTrue) {
        bool truth = false;
        if (!truthOf(rt, f[in->a], truth))
            return int(in - code);
        if (truth == (in->op == Op::JumpIfTrue))
            ip = code + in->c;
        VELORA_NEXT();
    }
    VELORA_CASE(Add)
    VELORA_CASE(Subtract)
    VELORA_CASE(Multiply)
    VELORA_CASE(Divide)
    VELORA_CASE(Power)
    VELORA_CASE(IntegerDivide)
    VELORA_CASE(Modulo)
    VELORA_CASE(Concatenate)
    VELORA_CASE(Negate)
    VELORA_CASE(Not)
    VELORA_CASE(And)
    VELORA_CASE(Or)
    VELORA_CASE(Xor)
    VELORA_CASE(Compare)
    VELORA_CASE(ToNumber)
    VELORA_CASE(Call)
    VELORA_CASE(Period)
    VELORA_CASE(PeriodByName)
    if (!runGeneric(rt, *in, f))
        return int(in - code);
    VELORA_NEXT();
#if !VELORA_THREADED
}
__builtin_unreachable(); // the compiler emits only the operations above
}
#endif
}

#if VELORA_THREADED
#pragma GCC diagnostic pop
#endif
#undef VELORA_THREADED
#undef VELORA_CASE
#undef VELORA_NEXT
#undef VELORA_HANDLER_ADDRESS

QVariant toVariant(const FormulaValue& value) {
    switch (value.type) {
    case ValueType::Empty:
        return QVariant();
    case ValueType::Boolean:
        return QVariant(value.number != 0);
    case ValueType::Number:
        return QVariant(value.number);
    case ValueType::Single:
        return QVariant(float(value.number));
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
    FormulaRuntime runtime{texts};
    const FormulaProgram* lastProgram = nullptr;
};

FormulaMachine::FormulaMachine()
    : storage_(std::make_unique<Storage>()) {}

FormulaMachine::~FormulaMachine() = default;

bool FormulaMachine::evaluate(const CompiledFormula& formula, const RowInputs& row,
                              PeriodSource* periods, FormulaResults& results, FormulaError& error) {
    const FormulaProgram& program = formula.program();
    Storage& storage = *storage_;
    if (storage.frame.size() < size_t(program.frameSize))
        storage.frame.resize(size_t(program.frameSize));
    if (!storage.texts.empty())
        storage.texts.clear();
    storage.lastProgram = &program;

    FormulaValue* f = storage.frame.data();
    for (int i = 0; i < FormulaProgram::FirstInputSlot; ++i)
        setNumber(f[i], 0);
    for (int local : program.emptyLocals) {
        f[local].number = 0;
        f[local].type = ValueType::Empty;
    }
    for (const NumberInput& input : program.numberInputs)
        setNumber(f[input.slot], input.member
                                     ? row.*input.member
                                     : (row.hourMode == 2 ? row.hoursTyped : row.systemHours));
    for (InputKind input : program.otherInputs)
        FormulaNameTable::loadInput(input, row, f[FormulaProgram::inputSlot(input)]);

    FormulaRuntime& rt = storage.runtime;
    rt.row = &row;
    rt.periods = periods;
    const int failed = execute(program, f, rt);
    if (failed >= 0) {
        error = makeFormulaError(formula.text(), rt.fault(), program.positions[size_t(failed)]);
        return false;
    }
    results.hours = resultOf(program, f, ast::ResultField::Hours);
    results.lines = resultOf(program, f, ast::ResultField::Lines);
    results.pay = resultOf(program, f, ast::ResultField::Pay);
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
