#pragma once

#include "FormulaArithmetic.h"
#include "FormulaRuntime.h"
#include "FormulaValue.h"

namespace velora::engine {

// The operators on values of any subtype, with VBScript's conversions. Each writes `out` and
// returns true, or records the fault in the runtime and returns false. `out` may be one of
// the operands: every operator reads its operands before writing.
namespace operators {

// + adds, or joins two Strings; Empty + a String is that String.
bool add(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool subtract(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool multiply(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool divide(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool power(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool integerDivide(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                   FormulaValue& out);
bool modulo(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool negate(FormulaRuntime& rt, const FormulaValue& a, FormulaValue& out);
// & joins the texts of any two values.
bool concatenate(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                 FormulaValue& out);

// Not, And, Or, Xor: logical on two Booleans, bitwise on 32-bit whole numbers otherwise.
bool logicalNot(FormulaRuntime& rt, const FormulaValue& a, FormulaValue& out);
bool logicalAnd(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                FormulaValue& out);
bool logicalOr(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out);
bool logicalXor(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                FormulaValue& out);

// = <> < <= > >=. `hardA`/`hardB` say an operand was written as a literal: VBScript converts
// the other operand to a literal's type when a number meets a String, and otherwise holds
// every number less than every String.
bool compare(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
             Comparison comparison, bool hardA, bool hardB, FormulaValue& out);

// The value as the condition of If, or as a number for a result.
bool truth(FormulaRuntime& rt, const FormulaValue& a, bool& result);
bool resultNumber(FormulaRuntime& rt, const FormulaValue& a, double& result);

} // namespace operators

} // namespace velora::engine
