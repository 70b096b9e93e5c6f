#include "FormulaNameTable.h"

#include "FormulaDate.h"

#include <QHash>

namespace velora::engine {

namespace {

const char* const Nondeterministic =
    "a formula gives the same result for the same row every time it runs";
const char* const NoLoops = "there are no loops";
const char* const NoProcedures = "there are no procedures";
const char* const NoObjects = "there are no objects other than Results";
const char* const NoArrays = "there are no arrays";
const char* const NoErrorTrapping = "a run-time error always ends the formula";

struct Input {
    const char* name;
    InputKind kind;
};

const Input Inputs[] = {
    {"Reports", InputKind::Reports},
    {"CharLines", InputKind::CharLines},
    {"Chars", InputKind::CharLines},
    {"TrueLines", InputKind::TrueLines},
    {"Lines", InputKind::TrueLines},
    {"Pages", InputKind::Pages},
    {"Hours", InputKind::Hours},
    {"HoursTyped", InputKind::HoursTyped},
    {"SystemHours", InputKind::SystemHours},
    {"OtherHours", InputKind::OtherHours},
    {"ShiftDate", InputKind::ShiftDate},
    {"TransID", InputKind::TransID},
    {"AccountID", InputKind::AccountID},
    {"GroupID", InputKind::GroupID},
    {"PartitionID", InputKind::PartitionID},
    {"ITypedLines", InputKind::ITypedLines},
    {"IHoursWorked", InputKind::IHoursWorked},
};

struct Constant {
    const char* name;
    double value;
};

// VBScript's constants for the arguments of Weekday, DateDiff and InStr.
const Constant Constants[] = {
    {"vbUseSystemDayOfWeek", 0}, {"vbSunday", 1},      {"vbMonday", 2}, {"vbTuesday", 3},
    {"vbWednesday", 4},          {"vbThursday", 5},    {"vbFriday", 6}, {"vbSaturday", 7},
    {"vbBinaryCompare", 0},      {"vbTextCompare", 1},
};

struct Refused {
    const char* name;
    const char* reason;
};

// VBScript's functions, constants and expression keywords that formulas do not have.
const Refused RefusedNames[] = {
    {"Rnd", Nondeterministic},
    {"Randomize", Nondeterministic},
    {"Now", Nondeterministic},
    {"Date", Nondeterministic},
    {"Time", Nondeterministic},
    {"Timer", Nondeterministic},
    {"CreateObject", NoObjects},
    {"GetObject", NoObjects},
    {"Nothing", NoObjects},
    {"New", NoObjects},
    {"Me", NoObjects},
    {"IsObject", NoObjects},
    {"Array", NoArrays},
    {"Split", NoArrays},
    {"Join", NoArrays},
    {"Filter", NoArrays},
    {"LBound", NoArrays},
    {"UBound", NoArrays},
    {"IsArray", NoArrays},
    {"GetRef", NoProcedures},
    {"Eval", nullptr},
    {"Execute", nullptr},
    {"ExecuteGlobal", nullptr},
    {"MsgBox", nullptr},
    {"InputBox", nullptr},
    {"Null", nullptr},
    {"Empty", nullptr},
    {"IsNull", nullptr},
    {"IsEmpty", nullptr},
    {"Eqv", nullptr},
    {"Imp", nullptr},
    {"Asc", nullptr},
    {"AscB", nullptr},
    {"AscW", nullptr},
    {"Chr", nullptr},
    {"ChrB", nullptr},
    {"ChrW", nullptr},
    {"CByte", nullptr},
    {"CCur", nullptr},
    {"CDate", nullptr},
    {"DatePart", nullptr},
    {"DateValue", nullptr},
    {"TimeSerial", nullptr},
    {"TimeValue", nullptr},
    {"Hour", nullptr},
    {"Minute", nullptr},
    {"Second", nullptr},
    {"MonthName", nullptr},
    {"WeekdayName", nullptr},
    {"IsDate", nullptr},
    {"FormatCurrency", nullptr},
    {"FormatDateTime", nullptr},
    {"FormatNumber", nullptr},
    {"FormatPercent", nullptr},
    {"Hex", nullptr},
    {"Oct", nullptr},
    {"InStrB", nullptr},
    {"InStrRev", nullptr},
    {"LeftB", nullptr},
    {"LenB", nullptr},
    {"MidB", nullptr},
    {"RightB", nullptr},
    {"Replace", nullptr},
    {"Space", nullptr},
    {"String", nullptr},
    {"StrComp", nullptr},
    {"StrReverse", nullptr},
    {"TypeName", nullptr},
    {"VarType", nullptr},
    {"RGB", nullptr},
    {"LoadPicture", nullptr},
    {"Escape", nullptr},
    {"Unescape", nullptr},
    {"GetLocale", nullptr},
    {"SetLocale", nullptr},
    {"ScriptEngine", nullptr},
    {"ScriptEngineBuildVersion", nullptr},
    {"ScriptEngineMajorVersion", nullptr},
    {"ScriptEngineMinorVersion", nullptr},
    {"vbCr", nullptr},
    {"vbLf", nullptr},
    {"vbCrLf", nullptr},
    {"vbNewLine", nullptr},
    {"vbTab", nullptr},
    {"vbNullString", nullptr},
    {"vbNullChar", nullptr},
};

// Statements VBScript has and formulas do not.
const Refused RefusedStatements[] = {
    {"For", NoLoops},           {"Next", NoLoops},
    {"Each", NoLoops},          {"Do", NoLoops},
    {"Loop", NoLoops},          {"While", NoLoops},
    {"Wend", NoLoops},          {"Until", NoLoops},
    {"Exit", NoLoops},          {"Sub", NoProcedures},
    {"Function", NoProcedures}, {"Call", NoProcedures},
    {"Property", NoProcedures}, {"Private", NoProcedures},
    {"Public", NoProcedures},   {"Class", NoObjects},
    {"Set", NoObjects},         {"With", NoObjects},
    {"ReDim", NoArrays},        {"Erase", NoArrays},
    {"On", NoErrorTrapping},    {"Resume", NoErrorTrapping},
    {"GoTo", nullptr},          {"Const", nullptr},
    {"Option", nullptr},        {"Stop", nullptr},
    {"Let", nullptr},           {"Randomize", Nondeterministic},
    {"Execute", nullptr},       {"ExecuteGlobal", nullptr},
};

struct Measures {
    const char* name;
    Measure measure;
};

const Measures MeasureNames[] = {
    {"Reports", Measure::Reports},     {"CharLines", Measure::CharLines},
    {"TrueLines", Measure::TrueLines}, {"Pages", Measure::Pages},
    {"Hours", Measure::Hours},         {"IHours", Measure::IHours},
    {"ITyped", Measure::ITyped},       {"IPay", Measure::IPay},
};

QString key(QStringView name) {
    return name.toString().toLower();
}

NameEntry refusedEntry(const Refused& refused) {
    NameEntry entry;
    entry.kind = NameEntry::Kind::Refused;
    entry.canonical = QString::fromLatin1(refused.name);
    entry.reason = refused.reason ? QString::fromLatin1(refused.reason) : QString();
    return entry;
}

QHash<QString, NameEntry> buildNames() {
    QHash<QString, NameEntry> names;
    for (const Refused& refused : RefusedNames)
        names.insert(key(QString::fromLatin1(refused.name)), refusedEntry(refused));
    for (const Input& input : Inputs) {
        NameEntry entry;
        entry.kind = NameEntry::Kind::Input;
        entry.canonical = QString::fromLatin1(input.name);
        entry.input = input.kind;
        names.insert(key(entry.canonical), entry);
    }
    for (int i = 0; i < int(BuiltinId::Count); ++i) {
        NameEntry entry;
        entry.kind = NameEntry::Kind::Function;
        entry.function = BuiltinId(i);
        entry.canonical = QString::fromLatin1(FormulaBuiltins::info(entry.function).name);
        names.insert(key(entry.canonical), entry);
    }
    for (const Constant& constant : Constants) {
        NameEntry entry;
        entry.kind = NameEntry::Kind::Constant;
        entry.canonical = QString::fromLatin1(constant.name);
        entry.constant = constant.value;
        names.insert(key(entry.canonical), entry);
    }
    return names;
}

QHash<QString, NameEntry> buildStatements() {
    QHash<QString, NameEntry> statements;
    for (const Refused& refused : RefusedStatements)
        statements.insert(key(QString::fromLatin1(refused.name)), refusedEntry(refused));
    return statements;
}

} // namespace

const NameEntry* FormulaNameTable::find(QStringView name) {
    static const QHash<QString, NameEntry> names = buildNames();
    const auto it = names.constFind(key(name));
    return it == names.constEnd() ? nullptr : &it.value();
}

TypeSet FormulaNameTable::inputTypes(InputKind input) {
    switch (input) {
    case InputKind::ShiftDate:
        return typeBit(ValueType::Date);
    case InputKind::TransID:
        return typeBit(ValueType::String);
    case InputKind::IsLastDayOfMonth:
        return typeBit(ValueType::Boolean);
    default:
        return typeBit(ValueType::Number);
    }
}

namespace {

double numberInput(InputKind input, const RowInputs& row) {
    switch (input) {
    case InputKind::Reports:
        return row.reports;
    case InputKind::CharLines:
        return row.charLines;
    case InputKind::TrueLines:
        return row.trueLines;
    case InputKind::Pages:
        return row.pages;
    case InputKind::Hours:
        return row.hourMode == 2 ? row.hoursTyped : row.systemHours;
    case InputKind::HoursTyped:
        return row.hoursTyped;
    case InputKind::SystemHours:
        return row.systemHours;
    case InputKind::OtherHours:
        return row.otherHours;
    case InputKind::AccountID:
        return row.accountId;
    case InputKind::GroupID:
        return row.groupId;
    case InputKind::PartitionID:
        return row.partitionId;
    case InputKind::ITypedLines:
        return row.iTypedLines;
    case InputKind::IHoursWorked:
        return row.iHoursWorked;
    default:
        return 0;
    }
}

} // namespace

double RowInputs::*FormulaNameTable::numberMember(InputKind input) {
    switch (input) {
    case InputKind::Reports:
        return &RowInputs::reports;
    case InputKind::CharLines:
        return &RowInputs::charLines;
    case InputKind::TrueLines:
        return &RowInputs::trueLines;
    case InputKind::Pages:
        return &RowInputs::pages;
    case InputKind::HoursTyped:
        return &RowInputs::hoursTyped;
    case InputKind::SystemHours:
        return &RowInputs::systemHours;
    case InputKind::OtherHours:
        return &RowInputs::otherHours;
    case InputKind::ITypedLines:
        return &RowInputs::iTypedLines;
    case InputKind::IHoursWorked:
        return &RowInputs::iHoursWorked;
    default:
        return nullptr; // Hours depends on the hour mode; the others are not doubles
    }
}

void FormulaNameTable::loadInput(InputKind input, const RowInputs& row, FormulaValue& slot) {
    switch (input) {
    case InputKind::ShiftDate:
        slot = row.shiftDate.isValid()
                   ? FormulaValue::makeDate(FormulaDate::fromQDate(row.shiftDate))
                   : FormulaValue();
        return;
    case InputKind::TransID:
        slot = FormulaValue::makeString(&row.transId);
        return;
    case InputKind::IsLastDayOfMonth:
        slot.number =
            row.shiftDate.isValid() && FormulaDate::isLastDayOfMonth(row.shiftDate.toJulianDay())
                ? -1.0
                : 0.0;
        slot.type = ValueType::Boolean;
        return;
    default:
        slot.number = numberInput(input, row);
        slot.type = ValueType::Number;
        return;
    }
}

QString FormulaNameTable::inputName(InputKind input) {
    // The table lists each input's main name before its aliases. IsLastDayOfMonth is read
    // through a function of the same name, so it has no entry there.
    for (const Input& entry : Inputs) {
        if (entry.kind == input)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("IsLastDayOfMonth");
}

QVariant FormulaNameTable::inputValue(InputKind input, const RowInputs& row) {
    switch (input) {
    case InputKind::ShiftDate:
        return QVariant(row.shiftDate);
    case InputKind::TransID:
        return QVariant(row.transId);
    case InputKind::IsLastDayOfMonth:
        return QVariant(row.shiftDate.isValid() &&
                        FormulaDate::isLastDayOfMonth(row.shiftDate.toJulianDay()));
    default:
        return QVariant(numberInput(input, row));
    }
}

bool FormulaNameTable::findMeasure(QStringView name, Measure& measure) {
    for (const Measures& entry : MeasureNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            measure = entry.measure;
            return true;
        }
    }
    return false;
}

QString FormulaNameTable::refusal(const NameEntry& entry) {
    QString text =
        QLatin1Char('\'') + entry.canonical + QStringLiteral("' is not available in formulas");
    if (!entry.reason.isEmpty())
        text += QStringLiteral(": ") + entry.reason;
    return text;
}

QString FormulaNameTable::statementRefusal(QStringView word) {
    static const QHash<QString, NameEntry> statements = buildStatements();
    const auto it = statements.constFind(key(word));
    return it == statements.constEnd() ? QString() : refusal(it.value());
}

} // namespace velora::engine
