#include "DayChangeMask.h"

#include "CellNumber.h"
#include "NumberText.h"

namespace velora::detail {

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
        const QString shown = fixed(CellNumber::value(cells[i], region));
        if (shown != fixed(record.values[i].current))
            mask |= bit(kValueKinds[i]);
    }
    return mask;
}

} // namespace velora::detail
