#pragma once

#include "DetailContext.h"
#include "ValueKind.h"

#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QPoint;

namespace velora::db {
class Connection;
}

namespace velora::detail {

// Moving through time in the weekly detail and undoing corrections: the start date with its
// check against the first day of the week, the previous and next week buttons, the cell context
// menu with Revert Changes, and the last locked date. Every path that changes the week ends in a
// load, which saves the operator's edits first.
class WeekNavigator {
public:
    // LoadWeek(transID, userName, accountName, accountID).
    using LoadWeek =
        std::function<void(const QString&, const QString&, const QString&, const QString&)>;

    WeekNavigator(DetailContext& context, LoadWeek loadWeek);
    ~WeekNavigator();
    WeekNavigator(const WeekNavigator&) = delete;
    WeekNavigator& operator=(const WeekNavigator&) = delete;

    // The start date picker: Enter, losing the focus, closing the calendar and picking a day in
    // it commit the date; the calendar stays open while the text is not a date.
    void bindStartDate();
    // Prev Week, Next Week, and the cells' right click with its menu.
    void bindButtons();

    // The cell last right-clicked (row 0..10).
    void setContextCell(ValueKind kind, int row);
    ValueKind contextKind() const { return contextKind_; }
    int contextRow() const { return contextRow_; }
    // mnuUserAccountTextBox with its one entry mnuRevert ("Revert Changes").
    QMenu* contextMenu() const { return menu_.get(); }

    // Revert Changes: the context cell's value goes back to the collected one.
    void RevertCell();
    void PrevWeek() { moveWeek(-7); }
    void NextWeek() { moveWeek(7); }
    // Checks the start date text and loads its week. False when the text is not a date.
    bool StartDateCommit();

    // The latest locked day of the whole database in the regional form; 1 January 1980 when no
    // row is locked.
    QString GetLastLockedDate();
    static QString GetLastLockedDate(db::Connection& connection, const suite::HXRegion& region);

private:
    void moveWeek(int days);
    void loadCurrentSelection();
    void buildMenu();

    DetailContext& ctx_;
    LoadWeek loadWeek_;
    ValueKind contextKind_ = ValueKind::Reports;
    int contextRow_ = -1;
    std::unique_ptr<QMenu> menu_;
};

} // namespace velora::detail
