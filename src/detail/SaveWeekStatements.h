#pragma once

#include "DayChangeMask.h"
#include "DayRecord.h"

#include <QString>

namespace velora::suite {
class HXRegion;
}

namespace velora::detail {

// The statements that write one day of the week to Trans_incentive. Every value typed into a
// cell passes through the grid's number reader (CellNumber), which refuses anything that is not
// a number, so no text of a cell can reach a statement as anything but a plain number.
class SaveWeekStatements {
public:
    SaveWeekStatements(const suite::HXRegion& region, int hourMode);

    // UPDATE of the day's row for the columns whose bits are set, in the fixed order reports,
    // hours, char lines, true lines, IHours, ITyped, IPay. Empty when no bit is set.
    QString update(const DayRecord& record, int mask, const DayCellTexts& cells) const;
    // INSERT of a day without a row: the production values only (the incentive values are the
    // engine's results). In hour mode 1 the hours are not typed and not inserted.
    QString insert(const DayRecord& record, const DayCellTexts& cells) const;
    // The row the system-hours button creates before the work time is edited: the hour-mode-1
    // INSERT whatever the hour mode.
    QString systemHoursInsert(const DayRecord& record, const DayCellTexts& cells) const;

    // The four hour-mode-1 clauses that refresh the hours columns from the activity log.
    static QString activityHoursClauses(const QString& transID, const QDate& shiftDate);
    // " WHERE trans_id = ... AND hosp_acct_id = ... AND shift_date = '...'" of one day.
    static QString dayFilter(const DayRecord& record);

private:
    QString value(const DayCellTexts& cells, ValueKind kind) const;
    QString columnClause(const DayRecord& record, ValueKind kind, const DayCellTexts& cells) const;
    QString insertWithoutHours(const DayRecord& record, const DayCellTexts& cells) const;

    const suite::HXRegion& region_;
    int hourMode_;
};

} // namespace velora::detail
