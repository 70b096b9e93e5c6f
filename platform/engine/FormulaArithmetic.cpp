#include "FormulaArithmetic.h"

#include "FormulaErrors.h"

namespace velora::engine::arithmetic {

int faultNumber(ArithmeticFault fault) {
    switch (fault) {
    case ArithmeticFault::None:
        return 0;
    case ArithmeticFault::Overflow:
        return FormulaErrorNumber::Overflow;
    case ArithmeticFault::DivisionByZero:
        return FormulaErrorNumber::DivisionByZero;
    case ArithmeticFault::InvalidArgument:
        return FormulaErrorNumber::InvalidArgument;
    }
    return FormulaErrorNumber::InvalidArgument;
}

ArithmeticFault power(double a, double b, double& r) {
    if (a == 0 && b < 0)
        return ArithmeticFault::DivisionByZero;
    // A negative base has no real power for a fractional exponent.
    if (a < 0 && b != std::trunc(b))
        return ArithmeticFault::InvalidArgument;
    return finite(std::pow(a, b), r);
}

ArithmeticFault integerDivide(double a, double b, double& r) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (!roundToLong(a, x) || !roundToLong(b, y))
        return ArithmeticFault::Overflow;
    if (y == 0)
        return ArithmeticFault::DivisionByZero;
    const std::int64_t quotient = std::int64_t(x) / std::int64_t(y);
    if (quotient > 2147483647)
        return ArithmeticFault::Overflow; // -2147483648 \ -1
    r = double(quotient);
    return ArithmeticFault::None;
}

ArithmeticFault modulo(double a, double b, double& r) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (!roundToLong(a, x) || !roundToLong(b, y))
        return ArithmeticFault::Overflow;
    if (y == 0)
        return ArithmeticFault::DivisionByZero;
    r = double(std::int64_t(x) % std::int64_t(y));
    return ArithmeticFault::None;
}

ArithmeticFault round(double value, double digits, double& r) {
    std::int32_t places = 0;
    if (!roundToLong(digits, places))
        return ArithmeticFault::Overflow;
    if (places < 0)
        return ArithmeticFault::InvalidArgument;
    // Beyond 22 places there is no exact power of ten to scale by: the value stays as it is.
    r = places > 22 ? value : roundToPlaces(value, places);
    return ArithmeticFault::None;
}

Comparison inverted(Comparison comparison) {
    switch (comparison) {
    case Comparison::Equal:
        return Comparison::NotEqual;
    case Comparison::NotEqual:
        return Comparison::Equal;
    case Comparison::Less:
        return Comparison::GreaterEqual;
    case Comparison::LessEqual:
        return Comparison::Greater;
    case Comparison::Greater:
        return Comparison::LessEqual;
    case Comparison::GreaterEqual:
        return Comparison::Less;
    }
    return comparison;
}

Comparison mirrored(Comparison comparison) {
    switch (comparison) {
    case Comparison::Less:
        return Comparison::Greater;
    case Comparison::LessEqual:
        return Comparison::GreaterEqual;
    case Comparison::Greater:
        return Comparison::Less;
    case Comparison::GreaterEqual:
        return Comparison::LessEqual;
    default:
        return comparison;
    }
}

} // namespace velora::engine::arithmetic
