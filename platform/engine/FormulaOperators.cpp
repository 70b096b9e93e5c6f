#include "FormulaOperators.h"

#include "FormulaDate.h"

#include <cfloat>
#include <cmath>

namespace velora::engine::operators {

namespace {

bool isDate(const FormulaValue& v) {
    return v.type == ValueType::Date;
}

bool numberOperand(FormulaRuntime& rt, const FormulaValue& v, double& number) {
    return toNumber(v, number) || rt.failMismatch(v);
}

bool finish(FormulaRuntime& rt, ArithmeticFault fault, double value, ValueType type,
            FormulaValue& out) {
    if (fault != ArithmeticFault::None)
        return rt.fail(arithmetic::faultNumber(fault));
    out = FormulaValue::make(value, type);
    return true;
}

using Kernel = ArithmeticFault (*)(double, double, double&);

bool numeric(FormulaRuntime& rt, Kernel kernel, const FormulaValue& a, const FormulaValue& b,
             ValueType type, FormulaValue& out) {
    double x = 0;
    double y = 0;
    if (!numberOperand(rt, a, x) || !numberOperand(rt, b, y))
        return false;
    double r = 0;
    const ArithmeticFault fault = kernel(x, y, r);
    return finish(rt, fault, r, type, out);
}

// An operand that leaves a Single a Single in + - * /: Empty, a Boolean, a Single or an
// Integer. Numbers are Integers, Longs and Doubles alike here: a whole number within the
// Integer range counts as an Integer, as VBScript would type it written as a literal.
bool narrowNextToSingle(const FormulaValue& v) {
    switch (v.type) {
    case ValueType::Empty:
    case ValueType::Boolean:
    case ValueType::Single:
        return true;
    case ValueType::Number:
        return v.number == std::trunc(v.number) && v.number >= -32768 && v.number <= 32767;
    default:
        return false;
    }
}

// The type of a + - * / of numbers: a Single next to a narrow operand stays a Single while
// its value fits one, and is otherwise widened to a Double, as VBScript does.
ValueType numericType(const FormulaValue& a, const FormulaValue& b) {
    const bool single = a.type == ValueType::Single || b.type == ValueType::Single;
    return single && narrowNextToSingle(a) && narrowNextToSingle(b) ? ValueType::Single
                                                                    : ValueType::Number;
}

// + - * / of numbers: the kernel's result in the type found above, a Single rounded to
// single precision (`type` is found before `out`, which may be an operand, is written).
bool arithmeticResult(FormulaRuntime& rt, Kernel kernel, const FormulaValue& a,
                      const FormulaValue& b, ValueType type, FormulaValue& out) {
    if (!numeric(rt, kernel, a, b, type, out))
        return false;
    if (type == ValueType::Single) {
        if (std::fabs(out.number) <= FLT_MAX)
            out.number = double(float(out.number));
        else
            out.type = ValueType::Number;
    }
    return true;
}

// An operand of Not, And, Or, Xor as 32-bit bits, and whether it counts as a Boolean.
bool logicalOperand(FormulaRuntime& rt, const FormulaValue& v, std::int32_t& bits,
                    bool& isBoolean) {
    isBoolean = v.type == ValueType::Boolean;
    if (v.isString()) {
        bool truth = false;
        if (parseBooleanText(v.string(), truth)) {
            isBoolean = true;
            bits = truth ? -1 : 0;
            return true;
        }
        double number = 0;
        if (!parseNumberText(v.string(), number))
            return rt.failMismatch(v);
        return roundToLong(number, bits) || rt.fail(FormulaErrorNumber::Overflow);
    }
    return roundToLong(v.number, bits) || rt.fail(FormulaErrorNumber::Overflow);
}

template <typename Combine>
bool logical(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out,
             Combine combine) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool xBoolean = false;
    bool yBoolean = false;
    if (!logicalOperand(rt, a, x, xBoolean) || !logicalOperand(rt, b, y, yBoolean))
        return false;
    const double result = double(combine(x, y));
    out = FormulaValue::make(result, xBoolean && yBoolean ? ValueType::Boolean : ValueType::Number);
    return true;
}

int sign(int difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int orderOf(double a, double b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// A String met by a literal number, Boolean or date takes that literal's type.
bool convertToLiteralType(FormulaRuntime& rt, const FormulaValue& text, const FormulaValue& literal,
                          double& number) {
    if (literal.type == ValueType::Boolean) {
        bool truth = false;
        if (!toBoolean(text, truth))
            return rt.failMismatch(text);
        number = truth ? -1 : 0;
        return true;
    }
    if (literal.type == ValueType::Date)
        return toDate(text, number) || rt.failMismatch(text);
    return numberOperand(rt, text, number);
}

// A String against a number, Boolean or date: the order of `text` relative to `other`.
bool orderTextAgainstScalar(FormulaRuntime& rt, const FormulaValue& text, bool textHard,
                            const FormulaValue& other, bool otherHard, int& order) {
    if (otherHard) {
        double number = 0;
        if (!convertToLiteralType(rt, text, other, number))
            return false;
        order = orderOf(number, other.number);
        return true;
    }
    if (textHard) {
        order = sign(text.string().compare(valueText(other), Qt::CaseSensitive));
        return true;
    }
    order = 1; // every String is greater than every number
    return true;
}

bool order(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, bool hardA, bool hardB,
           int& result) {
    const bool textA = a.isString();
    const bool textB = b.isString();
    if (!textA && !textB) {
        result = orderOf(a.number, b.number);
        return true;
    }
    if (textA && textB) {
        result = sign(a.string().compare(b.string(), Qt::CaseSensitive));
        return true;
    }
    // Empty against a String compares as "".
    if (a.type == ValueType::Empty) {
        result = b.string().isEmpty() ? 0 : -1;
        return true;
    }
    if (b.type == ValueType::Empty) {
        result = a.string().isEmpty() ? 0 : 1;
        return true;
    }
    if (textA)
        return orderTextAgainstScalar(rt, a, hardA, b, hardB, result);
    if (!orderTextAgainstScalar(rt, b, hardB, a, hardA, result))
        return false;
    result = -result;
    return true;
}

} // namespace

bool add(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    if (a.isString() && b.isString())
        return concatenate(rt, a, b, out);
    if (a.type == ValueType::Empty && b.isString()) {
        out = b;
        return true;
    }
    if (b.type == ValueType::Empty && a.isString()) {
        out = a;
        return true;
    }
    const ValueType type = isDate(a) || isDate(b) ? ValueType::Date : numericType(a, b);
    return arithmeticResult(rt, arithmetic::add, a, b, type, out);
}

bool subtract(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    // A date less a number is a date; a date less a date is a number of days.
    const ValueType type = isDate(a) != isDate(b) ? ValueType::Date : numericType(a, b);
    return arithmeticResult(rt, arithmetic::subtract, a, b, type, out);
}

bool multiply(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    return arithmeticResult(rt, arithmetic::multiply, a, b, numericType(a, b), out);
}

bool divide(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    return arithmeticResult(rt, arithmetic::divide, a, b, numericType(a, b), out);
}

bool power(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    return numeric(rt, arithmetic::power, a, b, ValueType::Number, out);
}

bool integerDivide(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                   FormulaValue& out) {
    return numeric(rt, arithmetic::integerDivide, a, b, ValueType::Number, out);
}

bool modulo(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b, FormulaValue& out) {
    return numeric(rt, arithmetic::modulo, a, b, ValueType::Number, out);
}

bool negate(FormulaRuntime& rt, const FormulaValue& a, FormulaValue& out) {
    double x = 0;
    if (!numberOperand(rt, a, x))
        return false;
    const ValueType type = isDate(a) || a.type == ValueType::Single ? a.type : ValueType::Number;
    out = FormulaValue::make(x == 0 ? 0.0 : -x, type);
    return true;
}

bool concatenate(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                 FormulaValue& out) {
    out = rt.makeString(valueText(a) + valueText(b));
    return true;
}

bool logicalNot(FormulaRuntime& rt, const FormulaValue& a, FormulaValue& out) {
    std::int32_t bits = 0;
    bool isBoolean = false;
    if (!logicalOperand(rt, a, bits, isBoolean))
        return false;
    out = FormulaValue::make(double(~bits), isBoolean ? ValueType::Boolean : ValueType::Number);
    return true;
}

bool logicalAnd(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                FormulaValue& out) {
    return logical(rt, a, b, out, [](std::int32_t x, std::int32_t y) { return x & y; });
}

bool logicalOr(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
               FormulaValue& out) {
    return logical(rt, a, b, out, [](std::int32_t x, std::int32_t y) { return x | y; });
}

bool logicalXor(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
                FormulaValue& out) {
    return logical(rt, a, b, out, [](std::int32_t x, std::int32_t y) { return x ^ y; });
}

bool compare(FormulaRuntime& rt, const FormulaValue& a, const FormulaValue& b,
             Comparison comparison, bool hardA, bool hardB, FormulaValue& out) {
    int result = 0;
    if (!order(rt, a, b, hardA, hardB, result))
        return false;
    out = FormulaValue::makeBoolean(arithmetic::compare(result, 0, comparison));
    return true;
}

bool truth(FormulaRuntime& rt, const FormulaValue& a, bool& result) {
    return toBoolean(a, result) || rt.failMismatch(a);
}

bool resultNumber(FormulaRuntime& rt, const FormulaValue& a, double& result) {
    return numberOperand(rt, a, result);
}

} // namespace velora::engine::operators
