#pragma once

#include "DayRecord.h"

#include <QString>

namespace velora::detail {

// The statement that undoes the operator's correction of one value of a day: the value in force
// goes back to the collected one. When that would leave a row holding nothing at all (no
// collected production, no other correction) the row is deleted instead, so that reverting the
// last correction of a day the operator created removes the day again.
class RevertStatement {
public:
    // "UPDATE Trans_incentive SET <reset> WHERE ..." or "DELETE FROM Trans_incentive WHERE ...".
    static QString build(const DayRecord& record, ValueKind kind, int hourMode);

    // "number_rpts_modified = number_rpts " and the like; hours follow the hour mode.
    static QString resetClause(ValueKind kind, int hourMode);
    // True when the row would hold nothing once the kind is reverted.
    static bool leavesRowEmpty(const DayRecord& record, ValueKind kind);
};

} // namespace velora::detail
