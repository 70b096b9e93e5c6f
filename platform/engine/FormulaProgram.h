#pragma once

#include "FormulaAst.h"
#include "FormulaErrors.h"
#include "FormulaNameTable.h"
#include "FormulaValue.h"

#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

namespace velora::engine {

// The operations of the formula machine. Operands a and b and the result c are slots of the
// machine's frame; k is an inline number. The ...N operations are the fast path, chosen by the
// compiler when it knows the operands hold Empty, Boolean or Number (their `number` is their
// value); the others take values of any type and convert as VBScript does. The list is a
// macro so that the machine can build its table of handlers in the same order.
// clang-format off
#define VELORA_FORMULA_OPERATIONS(X)                                                             \
    X(End)                                                                                       \
    X(Move)         /* c = a */                                                                  \
    X(LoadNumber)   /* c = k */                                                                  \
    X(LoadConstant) /* c = constants[b] */                                                       \
    /* Arithmetic on numbers; ...NK take k as the right operand, ...KN as the left. */           \
    X(AddN) X(SubN) X(MulN) X(DivN) X(PowN) X(IntDivN) X(ModN)                                   \
    X(AddNK) X(SubNK) X(SubKN) X(MulNK) X(DivNK) X(DivKN) X(PowNK)                               \
    X(NegN)                                                                                      \
    X(ToNumberN)  /* c = the number of a scalar a, as a Number (Results.x = ...) */              \
    X(RoundN)     /* c = Round(a, k) */                                                          \
    X(RoundMulN)  /* c = Round(a * b, k): a line rate rounded to cents, the commonest pay */     \
    X(RoundMulNK) /* c = Round(a * k, k2) */                                                     \
    X(MinN) X(MaxN) X(MinNK) X(MaxNK)                                                            \
    /* Comparisons of scalars (Empty, Boolean, Number, Date), one per Comparison in its order:   \
       c = a op b (Boolean); ...NK compare a with k; Jump... jump to c when true. */             \
    X(EqN) X(NeN) X(LtN) X(LeN) X(GtN) X(GeN)                                                    \
    X(EqNK) X(NeNK) X(LtNK) X(LeNK) X(GtNK) X(GeNK)                                              \
    X(JumpEqN) X(JumpNeN) X(JumpLtN) X(JumpLeN) X(JumpGtN) X(JumpGeN)                            \
    X(JumpEqNK) X(JumpNeNK) X(JumpLtNK) X(JumpLeNK) X(JumpGtNK) X(JumpGeNK)                      \
    /* Branch-free choices: c = test ? (slot d, or k2 for ...K) : b. Pick tests a for truth;     \
       PickEqNK ... PickGeNK compare a with k, one per Comparison in its order. */               \
    X(Pick) X(PickK)                                                                             \
    X(PickEqNK) X(PickNeNK) X(PickLtNK) X(PickLeNK) X(PickGtNK) X(PickGeNK)                      \
    X(PickEqNKK) X(PickNeNKK) X(PickLtNKK) X(PickLeNKK) X(PickGtNKK) X(PickGeNKK)                \
    /* A table of tiers: c = the value of the first of the d steps from tiers[b] whose test of   \
       a holds, else k (aux 1) or c as it was (aux 0). */                                        \
    X(Tiers)                                                                                     \
    /* Logic on two Booleans. */                                                                 \
    X(AndB) X(OrB) X(XorB) X(NotB)                                                               \
    /* Any values. */                                                                            \
    X(Add) X(Subtract) X(Multiply) X(Divide) X(Power) X(IntegerDivide) X(Modulo)                 \
    X(Concatenate) X(Negate) X(Not) X(And) X(Or) X(Xor)                                          \
    X(Compare)      /* c = a op b; aux: Comparison | HardLeft | HardRight */                     \
    X(ToNumber)     /* c = the number of a (Results.x = ...), Type mismatch for other text */    \
    X(Jump)         /* to c */                                                                   \
    X(JumpIfFalse)  /* to c unless a is true */                                                  \
    X(JumpIfTrue)   /* to c when a is true */                                                    \
    X(Call)         /* c = function aux (a BuiltinId) of b arguments in slots a, a+1, ... */     \
    X(Period)       /* c = period aux of measure b; all accounts: slot a, or k when a < 0 */     \
    X(PeriodByName) /* c = period aux of the measure named by slot a; all accounts: b or k */
// clang-format on

#define VELORA_FORMULA_OPERATION_NAME(name) name,
enum class Op : std::uint8_t { VELORA_FORMULA_OPERATIONS(VELORA_FORMULA_OPERATION_NAME) };
#undef VELORA_FORMULA_OPERATION_NAME

constexpr std::uint8_t HardLeft = 0x10;
constexpr std::uint8_t HardRight = 0x20;

struct Instruction {
    Op op = Op::End;
    std::uint8_t aux = 0;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    double k = 0;
    std::int32_t d = 0; // Pick...: the slot of the value picked when the test is true
    double k2 = 0;      // Pick...K: the number picked when the test is true
};

// One step of a table of tiers: when the tested number compares so with the threshold, the
// value is chosen (unless an earlier step holds).
struct TierStep {
    Comparison comparison;
    double threshold;
    double value;
};

// An input that is a double member of the row, copied straight into its slot; Hours (no
// member) is the member that the row's hour mode names.
struct NumberInput {
    int slot;
    double RowInputs::*member;
};

// A compiled formula in compact form: a straight list of operations (jumps only go forwards:
// there are no loops) over a frame of value slots laid out as the three results, one slot per
// input, the local variables, then the temporaries of expressions.
class FormulaProgram {
public:
    static constexpr int FirstInputSlot = 3;
    static constexpr int FirstLocalSlot = FirstInputSlot + InputCount;

    static int resultSlot(ast::ResultField field) { return static_cast<int>(field); }
    static int inputSlot(InputKind input) { return FirstInputSlot + static_cast<int>(input); }

    std::vector<Instruction> code;
    std::vector<SourcePosition> positions; // of each instruction, for run-time errors
    std::vector<FormulaValue> constants;   // values LoadConstant copies (texts, dates...)
    std::vector<TierStep> tiers;           // the steps of Tiers operations
    std::deque<QString> texts;             // the texts of String constants (stable addresses)
    std::vector<InputKind> inputs;         // the inputs to load before the code runs...
    std::vector<NumberInput> numberInputs; // ...those that are a double of the row
    std::vector<InputKind> otherInputs;    // ...and the others
    std::vector<QString> localNames;       // local i lives in slot FirstLocalSlot + i
    std::vector<int> emptyLocals; // the locals that must start Empty (the others are assigned
                                  // before any read)
    // Where each result is read when the formula ends: its own slot, or the input that the
    // formula's last word on it names (Results.ILines = TrueLines needs no copying).
    int resultSlots[3] = {0, 1, 2};
    int frameSize = FirstLocalSlot;
    bool usesIncentiveFunctions = false;
    bool usesPeriodFunctions = false;
};

} // namespace velora::engine
