#pragma once

#include "GridKeyNavigation.h"
#include "ValueKind.h"

#include <QWidget>
#include <array>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velora::widgets {
class VeloraDatePicker;
}

namespace velora::detail {

// The weekly detail pane's controls: seven value columns of eleven cells (seven days, then the
// week, bi-week, month and year totals), the day and date labels, the per-day system-hours
// buttons, the user/group/account captions, the start date and the four buttons. It only lays
// them out and reports what the operator does; loading, saving and reverting are done by the
// classes that drive it.
class UserDetailPane : public QWidget {
    Q_OBJECT

public:
    explicit UserDetailPane(QWidget* parent = nullptr);

    // Cell of one kind in one row (0..10), e.g. txtUserDetailHours_3.
    QLineEdit* cell(ValueKind kind, int row) const;
    QLabel* workDay(int day) const;          // lblUserDetailWorkDay_<day>
    QLabel* workDate(int day) const;         // lblUserDetailWorkDate_<day>
    QPushButton* systemHours(int day) const; // cmdUserDetailSystemHours_<day>
    // lblUserDetailWeekLabel, lblUserDetailBiWeekLabel, lblUserDetailMonthLabel,
    // lblUserDetailYearLabel for rows 7..10.
    QLabel* totalLabel(int row) const;

    QLabel* userName() const { return userName_; }                      // lblUserDetailUserName
    QLabel* groupName() const { return groupName_; }                    // lblUserDetailGroupName
    QLabel* accountName() const { return accountName_; }                // lblUserDetailAccountName
    widgets::VeloraDatePicker* startDate() const { return startDate_; } // txtUserDetailStartDate
    QPushButton* prevWeek() const { return prevWeek_; }                 // cmdUserDetailPrevWeek
    QPushButton* nextWeek() const { return nextWeek_; }                 // cmdUserDetailNextWeek
    QPushButton* print() const { return print_; }                       // cmdUserDetailPrint
    QPushButton* saveChanges() const { return saveChanges_; }           // cmdUserDetailSaveChanges

    // Day-row layout per hour mode: mode 1 shows the system-hours buttons beside the Hours
    // cells and makes those read-only; mode 2 hides the buttons and gives the cells their room
    // for typing.
    void setHourMode(int hourMode);

    // The control that stands for a grid cell on the keyboard: the value cell, or in hour mode 1
    // the day's system-hours button in place of its read-only Hours cell.
    QWidget* gridControl(const GridCell& cell) const;
    // Whether the operator can change that cell now (shown, enabled, not read-only).
    bool isEditable(const GridCell& cell) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // A right click on a value cell: the kind and row of the context cell.
    void cellContextMenuRequested(velora::detail::ValueKind kind, int row, const QPoint& globalPos);
    void systemHoursClicked(int day);

private:
    void buildKeyboard();
    // The grid cell a control stands for, or none.
    std::optional<GridCell> gridCellOf(const QObject* control) const;
    bool handleGridKey(const GridCell& from, const QKeyEvent& key);
    // Every value cell is at least this wide: 9,999,999.99 in the pane's font shows whole in it.
    static int cellWidthFor(const QWidget& pane);
    static int systemHoursButtonWidth();
    int hoursColumnWidth() const;

    int cellWidth_ = 0;
    GridKeyNavigation keys_;
    std::array<std::array<QLineEdit*, kGridRows>, 7> cells_{};
    std::array<QLabel*, kDayRows> workDays_{};
    std::array<QLabel*, kDayRows> workDates_{};
    std::array<QPushButton*, kDayRows> systemHours_{};
    std::array<QLabel*, 4> totalLabels_{};
    QLabel* userName_ = nullptr;
    QLabel* groupName_ = nullptr;
    QLabel* accountName_ = nullptr;
    widgets::VeloraDatePicker* startDate_ = nullptr;
    QPushButton* prevWeek_ = nullptr;
    QPushButton* nextWeek_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* saveChanges_ = nullptr;
};

} // namespace velora::detail
