#pragma once

#include "DayChangeMask.h"
#include "DetailContext.h"
#include "recalc/RecalcOutcome.h"

#include <QString>
#include <functional>
#include <vector>

namespace velora::detail {

// Writes the operator's corrections of the week on screen into Trans_incentive: only the days
// that may change, only the values that changed, creating a day's row when it has none. A week
// is saved whole or not at all: one transaction, and a cell that is not a number stops the save
// before anything is written. After a save the week buffer holds what was written, so saving
// again sends nothing. Also the Save Changes button (save, reload, offer a recalculation) and
// the per-day system-hours button (work time edited through the suite's login component).
class WeekSaver {
public:
    // LoadWeek(transID, userName, accountName, accountID) without saving first.
    using ReloadWeek =
        std::function<void(const QString&, const QString&, const QString&, const QString&)>;
    // RecalculateIncentives(filter).
    using Recalculate = std::function<recalc::RecalcOutcome(const QString&)>;
    // The login component's EditWorkTimeInternal(dateText, transID, 0, hours, second, true).
    using EditWorkTime =
        std::function<bool(const QString&, QString&, int, QString&, QString&, bool)>;

    struct Actions {
        ReloadWeek reloadWeek;
        Recalculate recalculate;
        EditWorkTime editWorkTime;
    };

    WeekSaver(DetailContext& context, Actions actions);

    // Wires Save Changes and the seven system-hours buttons of the pane.
    void bindButtons();

    // Every empty cell of day row d gets "0" ("0.00" for IPay).
    void FillBlankCells(int d);
    // Writes every changed day of the week buffer. False (after a message) when nothing could
    // be written; the cells keep what the operator typed.
    bool SaveWeek();

    // Forgets the operator's unsaved corrections: no day of the week on screen saves anything
    // until the next load fills the week again.
    void DiscardEdits();

    // Save Changes: save, reload, and on Yes hand the user's recalculation to the engine. A
    // failed save stops here with the typed values on screen.
    void SaveChanges();
    // cmdUserDetailSystemHours(i): edit the day's work time; the hours come back into the cell.
    void SystemHours(int i);

    // The seven cell texts of a day row, in kValueKinds order.
    DayCellTexts cellTexts(int d) const;

    // What the operator is told when a recalculation after Save Changes did not complete.
    static QString notRecalculatedText(const recalc::RecalcOutcome& outcome);

private:
    // One day's write, prepared before anything is sent.
    struct DayWrite {
        int day = 0;
        int mask = 0;
        bool insert = false;
        QString statement;
        DayCellTexts cells;
    };

    std::vector<DayWrite> prepareWeek();
    void markSaved(const DayWrite& write);
    void offerRecalculation(const CurrentSelection& selection);
    void showFailure(const QString& sentence, int number, const QString& description);

    DetailContext& ctx_;
    Actions actions_;
};

} // namespace velora::detail
