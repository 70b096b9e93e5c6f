#pragma once

#include "ValueKind.h"

#include <QDate>
#include <QString>
#include <array>

namespace velora::detail {

// One value of a day: the value in force and the collected value it is compared against to
// tell a correction.
struct ValuePair {
    float current = 0;
    float collected = 0;
};

// What the grid loaded for one day, kept so that saving writes only what the operator changed
// and reverting knows the collected values.
struct DayRecord {
    QString TransID; // as the explorer gave it, not quoted
    qint32 AccountID = 0;
    QDate ShiftDate;
    std::array<ValuePair, 7> values; // in kValueKinds order
    bool Editable = false;
    bool Stored = false; // a Trans_incentive row exists: UPDATE rather than INSERT

    ValuePair& value(ValueKind kind) { return values[static_cast<std::size_t>(valueIndex(kind))]; }
    const ValuePair& value(ValueKind kind) const {
        return values[static_cast<std::size_t>(valueIndex(kind))];
    }
};

// The seven days of the week on screen; overwritten day by day at each load, never cleared.
using WeekBuffer = std::array<DayRecord, kDayRows>;

} // namespace velora::detail
