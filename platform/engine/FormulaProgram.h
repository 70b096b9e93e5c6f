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
// value); the others take values of any type and convert as VBScript does.
enum class Op : std::uint8_t {
    End,
    Move,         // c = a
    LoadNumber,   // c = k
    LoadConstant, // c = constants[b]
    // Arithmetic on numbers; ...NK take k as the right operand, ...KN as the left.
    AddN, SubN, MulN, DivN, PowN, IntDivN, ModN,
    AddNK, SubNK, SubKN, MulNK, DivNK, DivKN, PowNK,
    NegN,
    ToNumberN, // c = the number of a scalar a, as a Number (Results.x = ...)
    RoundN,    // c = Round(a, k)
    MinN, MaxN, MinNK, MaxNK,
    // Comparisons of scalars (Empty, Boolean, Number, Date), one per Comparison in its order:
    // c = a op b (Boolean); ...NK compare a with k; Jump... jump to c when true.
    EqN, NeN, LtN, LeN, GtN, GeN,
    EqNK, NeNK, LtNK, LeNK, GtNK, GeNK,
    JumpEqN, JumpNeN, JumpLtN, JumpLeN, JumpGtN, JumpGeN,
    JumpEqNK, JumpNeNK, JumpLtNK, JumpLeNK, JumpGtNK, JumpGeNK,
    // Logic on two Booleans.
    AndB, OrB, XorB, NotB,
    // Any values.
    Add, Subtract, Multiply, Divide, Power, IntegerDivide, Modulo, Concatenate,
    Negate, Not, And, Or, Xor,
    Compare,  // c = a op b; aux: Comparison | HardLeft | HardRight
    ToNumber, // c = the number of a (Results.x = ...), Type mismatch for other text
    Jump,        // to c
    JumpIfFalse, // to c unless a is true
    JumpIfTrue,  // to c when a is true
    Call,        // c = function aux (a BuiltinId) of b arguments in slots a, a+1, ...
    Period,      // c = period aux of measure b; all accounts: slot a, or k when a < 0
    PeriodByName // c = period aux of the measure named by slot a; all accounts: slot b or k
};

constexpr std::uint8_t HardLeft = 0x10;
constexpr std::uint8_t HardRight = 0x20;

struct Instruction {
    Op op = Op::End;
    std::uint8_t aux = 0;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    double k = 0;
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
    std::deque<QString> texts;             // the texts of String constants (stable addresses)
    std::vector<InputKind> inputs;         // the inputs to load before the code runs
    std::vector<QString> localNames;       // local i lives in slot FirstLocalSlot + i
    int frameSize = FirstLocalSlot;
    bool usesIncentiveFunctions = false;
    bool usesPeriodFunctions = false;
};

} // namespace velora::engine
