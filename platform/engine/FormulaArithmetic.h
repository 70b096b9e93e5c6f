#pragma once

#include "FormulaValue.h"

#include <cmath>
#include <cstdint>

namespace velora::engine {

// The numeric kernels of the operators, shared by the machine's fast path (operands known to
// be numbers) and the general operators (after converting their operands). Each returns what
// VBScript would raise, or None.
enum class ArithmeticFault : std::uint8_t { None, Overflow, DivisionByZero, InvalidArgument };

enum class Comparison : std::uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

namespace arithmetic {

int faultNumber(ArithmeticFault fault);

inline ArithmeticFault finite(double value, double& result) {
    result = value;
    return std::isfinite(value) ? ArithmeticFault::None : ArithmeticFault::Overflow;
}

inline ArithmeticFault add(double a, double b, double& r) {
    return finite(a + b, r);
}
inline ArithmeticFault subtract(double a, double b, double& r) {
    return finite(a - b, r);
}
inline ArithmeticFault multiply(double a, double b, double& r) {
    return finite(a * b, r);
}

// VBScript raises "Overflow" for 0 / 0 and "Division by zero" for any other number / 0.
inline ArithmeticFault divide(double a, double b, double& r) {
    if (b == 0)
        return a == 0 ? ArithmeticFault::Overflow : ArithmeticFault::DivisionByZero;
    return finite(a / b, r);
}

ArithmeticFault power(double a, double b, double& r);
// `\` and Mod: both operands rounded to whole numbers (halves to even) within Long first.
ArithmeticFault integerDivide(double a, double b, double& r);
ArithmeticFault modulo(double a, double b, double& r);
// Round(x, digits): halves to even at the given decimal place.
ArithmeticFault round(double value, double digits, double& r);

// Round to 0 .. 22 decimal places. Dividing by the power of ten (rather than multiplying by
// its inverse) gives the double nearest to the decimal result; powers up to 1E22 are exact.
inline double roundToPlaces(double value, int places) {
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (places == 0)
        return roundHalfEven(value);
    const double scale = Powers[places];
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    const double result = roundHalfEven(scaled) / scale;
    return std::isfinite(result) ? result : value;
}

inline bool compare(double a, double b, Comparison comparison) {
    switch (comparison) {
    case Comparison::Equal:
        return a == b;
    case Comparison::NotEqual:
        return a != b;
    case Comparison::Less:
        return a < b;
    case Comparison::LessEqual:
        return a <= b;
    case Comparison::Greater:
        return a > b;
    case Comparison::GreaterEqual:
        return a >= b;
    }
    return false;
}

// The comparison that is true exactly when this one is false.
Comparison inverted(Comparison comparison);
// The comparison with its operands swapped (a < b is b > a).
Comparison mirrored(Comparison comparison);

} // namespace arithmetic

} // namespace velora::engine
