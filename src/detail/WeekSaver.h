#pragma once

#include "DayChangeMask.h"
#include "DetailContext.h"

#include <QString>
#include <functional>

namespace velora::detail {

// Writes the operator's corrections of the week on screen into Trans_incentive: only the days
// that may change, only the values that changed, creating a day's row when it has none. Also the
// Save Changes button (save, reload, offer a recalculation) and the per-day system-hours button
// (work time edited through the suite's login component).
class WeekSaver {
public:
    // LoadWeek(transID, userName, accountName, accountID).
    using LoadWeek =
        std::function<void(const QString&, const QString&, const QString&, const QString&)>;
    // RecalculateIncentives(filter).
    using Recalculate = std::function<void(const QString&)>;
    // The login component's EditWorkTimeInternal(dateText, transID, 0, hours, second, true).
    using EditWorkTime =
        std::function<bool(const QString&, QString&, int, QString&, QString&, bool)>;

    struct Actions {
        LoadWeek loadWeek;
        Recalculate recalculate;
        EditWorkTime editWorkTime;
    };

    WeekSaver(DetailContext& context, Actions actions);

    // Wires Save Changes and the seven system-hours buttons of the pane.
    void bindButtons();

    // Every empty cell of day row d gets "0" ("0.00" for IPay).
    void FillBlankCells(int d);
    // The change mask of day row d; 0 (after a message) when a cell is not a number.
    int DayChangeMask(int d);
    // Writes every changed day of the week buffer.
    void SaveWeek();

    // Save Changes: save, reload, and on Yes hand the user's recalculation to the engine.
    void SaveChanges();
    // cmdUserDetailSystemHours(i): edit the day's work time; the hours come back into the cell.
    void SystemHours(int i);

    // The seven cell texts of a day row, in kValueKinds order.
    DayCellTexts cellTexts(int d) const;

private:
    void saveDay(int d);
    void showFailure(const QString& sentence, int number, const QString& description);

    DetailContext& ctx_;
    Actions actions_;
};

} // namespace velora::detail
