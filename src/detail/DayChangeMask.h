#pragma once

#include "DayRecord.h"

#include <QString>
#include <array>

namespace velora::suite {
class HXRegion;
}

namespace velora::detail {

// The seven cell texts of one day row, in kValueKinds order (reports, hours, char lines, true
// lines, IHours, ITyped, IPay), as the operator left them.
using DayCellTexts = std::array<QString, 7>;

// Which values of a day the operator changed: one bit per value kind, 128 for reports down to
// 2 for IPay (bit 1 is never set). A cell counts as changed when its value, written with two
// decimals, differs from the day's current value written the same way, so differences below
// half a hundredth are not changes. Both sides are single precision, as the week buffer is.
class DayChangeMask {
public:
    static constexpr int kReports = 128;
    static constexpr int kHours = 64;
    static constexpr int kCharLines = 32;
    static constexpr int kTrueLines = 16;
    static constexpr int kIHours = 8;
    static constexpr int kITyped = 4;
    static constexpr int kIPay = 2;

    static constexpr int bit(ValueKind kind) { return 128 >> valueIndex(kind); }

    // 0 for a day that may not be saved: no user, not editable, or never filled (a date on or
    // before 1 January 1900). Throws SuiteError (TypeMismatch) when a cell text is not a number
    // as the grid takes it (CellNumber).
    static int of(const DayRecord& record, const DayCellTexts& cells,
                  const suite::HXRegion& region);

    // True when the day may be written at all.
    static bool saveable(const DayRecord& record);

    // A value as the comparison writes it: fixed, two decimals.
    static QString fixed(float value);
};

} // namespace velora::detail
