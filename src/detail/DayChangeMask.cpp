#include "DayChangeMask.h"

#include "NumberText.h"

#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

namespace velora::detail {

namespace {

// A regional number read as single precision; the regional reader refuses anything else.
float cellValue(const QString& text, const suite::HXRegion& region) {
    const QString plain = region.UnWrapNumeric(text);
    bool ok = false;
    const float value = plain.toFloat(&ok);
    if (!ok)
        throw suite::SuiteError(suite::SuiteErrorNumber::TypeMismatch,
                                QStringLiteral("Type mismatch: \"%1\" is not a number.").arg(text));
    return value;
}

} // namespace

bool DayChangeMask::saveable(const DayRecord& record) {
    return !record.TransID.isEmpty() && record.Editable && record.ShiftDate.isValid() &&
           record.ShiftDate > QDate(1900, 1, 1);
}

// The same two-decimal form the grid shows, taken from the value's seven significant digits (all
// that single precision holds): 0.285 stays 0.29 as on screen, although its binary form lies
// just below 0.285. A small negative value rounds to zero, which is no change from zero.
QString DayChangeMask::fixed(float value) {
    const double shortest = QString::number(static_cast<double>(value), 'g', 7).toDouble();
    return NumberText().fixed(shortest);
}

int DayChangeMask::of(const DayRecord& record, const DayCellTexts& cells,
                      const suite::HXRegion& region) {
    if (!saveable(record))
        return 0;
    int mask = 0;
    for (std::size_t i = 0; i < kValueKinds.size(); ++i) {
        const QString shown = fixed(cellValue(cells[i], region));
        if (shown != fixed(record.values[i].current))
            mask |= bit(kValueKinds[i]);
    }
    return mask;
}

} // namespace velora::detail
