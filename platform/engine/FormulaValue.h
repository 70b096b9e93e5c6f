#pragma once

#include <QString>
#include <QStringView>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace velora::engine {

// The subtypes a formula value can have, as VBScript's variant: Empty (a variable never
// assigned), Boolean, Number (VBScript's Integer, Long and Double), String, Date and Single
// (what CSng makes: a number of single precision, shown with 7 significant digits).
enum class ValueType : std::uint8_t { Empty, Boolean, Number, String, Date, Single };

// A set of value types: what the compiler knows a slot may hold at a point of the formula.
using TypeSet = std::uint8_t;

constexpr TypeSet typeBit(ValueType type) {
    return static_cast<TypeSet>(1u << static_cast<unsigned>(type));
}

constexpr TypeSet AnyType = 0x3f;
// Values whose `number` member is their value in arithmetic, with no conversion.
constexpr TypeSet ArithmeticTypes =
    typeBit(ValueType::Empty) | typeBit(ValueType::Boolean) | typeBit(ValueType::Number);
// Values that compare with each other numerically, whatever the operands were written as.
constexpr TypeSet ScalarTypes = ArithmeticTypes | typeBit(ValueType::Date);

constexpr bool typesWithin(TypeSet types, TypeSet allowed) {
    return types != 0 && (types & ~allowed) == 0;
}

// One value of a formula: 16 bytes of plain data that the machine copies freely. A String
// points at text owned by the program (constants), by the row (TransID) or by the machine's
// text store (results of string functions), all of which outlive one evaluation.
struct FormulaValue {
    union {
        double number = 0;   // Empty 0, Boolean -1 or 0, Number, Single, Date (days since
                             // 12/30/1899)
        const QString* text; // String
    };
    ValueType type = ValueType::Empty;

    static FormulaValue make(double value, ValueType type) {
        FormulaValue result;
        result.number = value;
        result.type = type;
        return result;
    }
    static FormulaValue makeNumber(double value) { return make(value, ValueType::Number); }
    static FormulaValue makeBoolean(bool value) {
        return make(value ? -1.0 : 0.0, ValueType::Boolean);
    }
    static FormulaValue makeDate(double value) { return make(value, ValueType::Date); }
    static FormulaValue makeSingle(float value) { return make(value, ValueType::Single); }
    static FormulaValue makeString(const QString* value) {
        FormulaValue result;
        result.text = value;
        result.type = ValueType::String;
        return result;
    }

    bool isString() const { return type == ValueType::String; }
    const QString& string() const { return *text; }
};

// Conversions with VBScript's rules. The ones returning bool fail (false) where VBScript
// raises "Type mismatch".

// What a text read as a number holds: a number, no number, or a number written correctly
// that a Double cannot hold (1E400, or &H beyond 32 bits).
enum class NumberText : std::uint8_t { Number, NotANumber, OutOfRange };

// A number written as text: blanks around it, a sign, digits with thousands commas, a
// decimal point, an exponent; or &H hexadecimal and &O octal.
NumberText readNumberText(QStringView text, double& value);
inline bool parseNumberText(QStringView text, double& value) {
    return readNumberText(text, value) == NumberText::Number;
}
// The value is a String holding a number out of range: converting it overflows, where any
// other text that is no number is a type mismatch.
bool isNumberTextOutOfRange(const FormulaValue& value);
// "True" or "False" in any letter case, blanks around allowed.
bool parseBooleanText(QStringView text, bool& value);

// CStr of a number: up to 15 significant digits (7 for a Single), exponent form outside
// 1E-4 .. 1E15 (1E7 for a Single).
QString numberText(double value, int digits = 15);
// CStr: Empty "", Boolean "True"/"False", numbers, dates as M/d/yyyy [h:mm:ss AM].
QString valueText(const FormulaValue& value);

// The value in arithmetic: a String must hold a number.
bool toNumber(const FormulaValue& value, double& number);
// The value as a truth value (If, CBool): numbers are true when not 0.
bool toBoolean(const FormulaValue& value, bool& result);
// The value as a date: numbers are days, a String is a date text or a number.
bool toDate(const FormulaValue& value, double& date);

// Rounds to the nearest whole number, halves to the even neighbour (VBScript's rounding for
// CInt, CLng, Round, \ and Mod). Adding and taking away 2^52 leaves no fraction bits, so the
// processor rounds, to nearest with ties to even: its default mode, which nothing in the
// program changes. No jumps either: which way a value rounds depends on the row, and a
// mispredicted jump costs more than the arithmetic.
inline double roundHalfEven(double value) {
    static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated in double precision");
    constexpr double Integral = 4503599627370496.0; // 2^52: every double beyond is whole
    const double magnitude = std::fabs(value);
    if (!(magnitude < Integral))
        return value;
    return std::copysign((magnitude + Integral) - Integral, value);
}
// Rounds half to even and checks VBScript's Long range; false on overflow.
bool roundToLong(double value, std::int32_t& result);

// How a value is named in "Type mismatch: '[string: "abc"]'".
QString mismatchSubject(const FormulaValue& value);

} // namespace velora::engine
