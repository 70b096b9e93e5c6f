#pragma once

#include "FormulaBuiltins.h"
#include "FormulaTypes.h"
#include "FormulaValue.h"

#include <QString>
#include <QStringView>
#include <QVariant>
#include <cstdint>

namespace velora::engine {

// The values of the row a formula reads by name.
enum class InputKind : std::uint8_t {
    Reports,
    CharLines,
    TrueLines,
    Pages,
    Hours,
    HoursTyped,
    SystemHours,
    OtherHours,
    ShiftDate,
    TransID,
    AccountID,
    GroupID,
    PartitionID,
    IsLastDayOfMonth,
    ITypedLines,
    IHoursWorked,
    Count
};

constexpr int InputCount = static_cast<int>(InputKind::Count);

// What a name means when it is not a local variable: an input, a function, a named constant
// (vbSunday ...), or something VBScript has that formulas refuse (with the reason).
struct NameEntry {
    enum class Kind { Input, Function, Constant, Refused };
    Kind kind = Kind::Refused;
    QString canonical; // the name as documented, for messages
    InputKind input = InputKind::Reports;
    BuiltinId function = BuiltinId::Abs;
    double constant = 0;
    QString reason; // Refused: why, or empty
};

// Resolves names at compile time, without regard to letter case.
class FormulaNameTable {
public:
    static const NameEntry* find(QStringView name);
    static TypeSet inputTypes(InputKind input);
    // The member of the row that is the input, for inputs that are plain doubles; else null.
    static double RowInputs::*numberMember(InputKind input);
    // Writes the input's value for the row into a slot of the machine.
    static void loadInput(InputKind input, const RowInputs& row, FormulaValue& slot);
    // The input's name as the language documents it (an alias gives its main name).
    static QString inputName(InputKind input);
    // The input's value for the row: a double, a QDate (ShiftDate, invalid when the row has no
    // day), a QString (TransID) or a bool (IsLastDayOfMonth).
    static QVariant inputValue(InputKind input, const RowInputs& row);
    // A measure of the period functions by its name ("TrueLines", ...).
    static bool findMeasure(QStringView name, Measure& measure);
    // The description for something refused: "'Rnd' is not available in formulas: ...".
    static QString refusal(const NameEntry& entry);
    // A statement keyword VBScript has and formulas refuse (For, Sub, Set ...): its
    // description, or an empty text when the word is no such keyword.
    static QString statementRefusal(QStringView word);
};

} // namespace velora::engine
