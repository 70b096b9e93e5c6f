#pragma once

#include <array>

namespace velora::detail {

// The value kinds of the weekly grid, by their codes. Code 5 (pages) has no column.
enum class ValueKind : int {
    Reports = 1,
    Hours = 2,
    CharLines = 3,
    TrueLines = 4,
    IHours = 6,
    ITyped = 7,
    IPay = 8,
};

// The seven kinds in the order of a day record's value pairs: reports, hours, char lines, true
// lines, IHours, ITyped, IPay.
inline constexpr std::array<ValueKind, 7> kValueKinds = {
    ValueKind::Reports, ValueKind::Hours,  ValueKind::CharLines, ValueKind::TrueLines,
    ValueKind::IHours,  ValueKind::ITyped, ValueKind::IPay};

// Index 0..6 of a kind in kValueKinds (and in a day record's pairs).
inline constexpr int valueIndex(ValueKind kind) {
    for (int i = 0; i < 7; ++i) {
        if (kValueKinds[static_cast<std::size_t>(i)] == kind)
            return i;
    }
    return -1;
}

// Rows of the grid: 0..6 the days, then the four totals.
inline constexpr int kDayRows = 7;
inline constexpr int kWeekTotalRow = 7;
inline constexpr int kBiWeekTotalRow = 8;
inline constexpr int kMonthTotalRow = 9;
inline constexpr int kYearTotalRow = 10;
inline constexpr int kGridRows = 11;

} // namespace velora::detail
