#pragma once

#include "FormulaRuntime.h"
#include "FormulaValue.h"

#include <cstdint>

namespace velora::engine {

// The functions a formula may call.
enum class BuiltinId : std::uint8_t {
    Abs,
    Atn,
    Cos,
    Exp,
    Fix,
    Int,
    Log,
    Round,
    Sgn,
    Sin,
    Sqr,
    Tan,
    CBool,
    CDbl,
    CInt,
    CLng,
    CSng,
    CStr,
    IsNumeric,
    Len,
    LCase,
    UCase,
    Trim,
    LTrim,
    RTrim,
    Left,
    Right,
    Mid,
    InStr,
    Day,
    Month,
    Year,
    Weekday,
    DateSerial,
    DateAdd,
    DateDiff,
    IsLastDayOfMonth,
    Min,
    Max,
    IIf,
    WeekToDate,
    MonthToDate,
    YearToDate,
    Count
};

// A function's body: reads `count` arguments, writes `out`. On failure it records the fault
// without a subject; the caller names the function ("Type mismatch: 'CInt'").
using BuiltinFunction = bool (*)(FormulaRuntime& rt, const FormulaValue* args, int count,
                                 FormulaValue& out);

struct BuiltinInfo {
    const char* name;
    BuiltinFunction function; // null for the period functions, which the machine runs itself
    std::uint8_t minArguments;
    std::uint8_t maxArguments;
    TypeSet result; // the types it returns for numbers
    TypeSet keeps;  // the types of the first argument it returns (Int of a date is a date)
    bool pure;      // the result depends on the arguments only: folded when they are constant
};

class FormulaBuiltins {
public:
    static const BuiltinInfo& info(BuiltinId id);
    // One of the intervals of DateAdd and DateDiff: "d", "ww", "m", "yyyy".
    static bool isInterval(const QString& name);
    static bool isPeriodFunction(BuiltinId id) {
        return id == BuiltinId::WeekToDate || id == BuiltinId::MonthToDate ||
               id == BuiltinId::YearToDate;
    }
};

} // namespace velora::engine
