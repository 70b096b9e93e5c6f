#pragma once

#include "DayRecord.h"
#include "DetailContext.h"
#include "recalc/RecalcOutcome.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace velora::common {
struct AppContext;
class BusyIndicator;
class DetailArea;
} // namespace velora::common
namespace velora::groups {
class DialogPrompter;
class EffectiveDateProcedure;
class GroupAccount;
class GroupAccountPane;
class GroupCreator;
class UserGroupAssignment;
} // namespace velora::groups
namespace velora::explorer {
struct ExplorerEditors;
}

namespace velora::detail {

class UserDetailPane;
class UserHeaderPane;
class UserHeaderLoader;
class WeekLoader;
class WeekNavigator;
class WeekPrinter;
class WeekSaver;

// The two user panes - the user header with its group assignment and the weekly detail - and
// the group-account pane, with every operation behind them, built once the operator is logged in.
// The main window places the panes and hands the explorer's clicks to the editors this offers.
class UserPanes {
public:
    struct Hooks {
        // The explorer's current user and account.
        std::function<CurrentSelection()> selection;
        // The recalculation request for one user's filter, and how it ended.
        std::function<recalc::RecalcOutcome(const QString& filter)> recalculate;
        // The explorer's AddGroup for a group made on the way (a partition's default group).
        std::function<void(const QString& text, int groupID)> addGroupNode;
    };

    UserPanes(common::AppContext& context, common::DetailArea& details, common::BusyIndicator& busy,
              QWidget& mainWindow, Hooks hooks);
    ~UserPanes();
    UserPanes(const UserPanes&) = delete;
    UserPanes& operator=(const UserPanes&) = delete;

    // The explorer's user, user-account and lost-focus notices.
    void fillEditors(explorer::ExplorerEditors& editors);

    // The start-up lists that do not depend on a selection (partition mode off).
    void FillGroupList();
    void FillPayFormulaList();
    // Reloads the week of the explorer's current user and account when the detail pane shows
    // (after a recalculation); true when it did.
    bool reloadShownWeek();
    // Leaving the week in the explorer: its corrections are saved or, when that fails, discarded
    // at the operator's word. False when the operator keeps the week on screen instead.
    bool leaveWeek();
    // The unload: the week's pending edits, then the group account's formula choice, then the
    // user's group choice. A save that fails asks
    // whether to close anyway; false when the operator keeps the window open.
    bool saveOnUnload();
    void RevertCell();

    UserDetailPane& detailPane() { return *detailPane_; }
    UserHeaderPane& headerPane() { return *headerPane_; }
    WeekLoader& loader() { return *loader_; }
    WeekSaver& saver() { return *saver_; }
    WeekNavigator& navigator() { return *navigator_; }
    WeekPrinter& printer() { return *printer_; }
    groups::UserGroupAssignment& groupAssignment() { return *groupAssignment_; }
    UserHeaderLoader& headerLoader() { return *headerLoader_; }
    groups::GroupAccount& groupAccount() { return *groupAccount_; }
    groups::GroupAccountPane& groupAccountPane() { return *groupAccountPane_; }
    WeekBuffer& week() { return week_; }
    groups::EffectiveDateProcedure& effectiveDate() { return *effectiveDate_; }
    groups::DialogPrompter& prompter() { return *prompter_; }
    groups::GroupCreator& groupCreator() { return *groupCreator_; }
    // True when the logged-in operator holds the right that opens groups and formulas.
    bool fullMode() const;

private:
    void buildPanes(common::DetailArea& details);
    void buildWeek(common::BusyIndicator& busy, common::DetailArea& details, QWidget& mainWindow);
    void buildGroups(common::BusyIndicator& busy, common::DetailArea& details, QWidget& mainWindow);
    void buildGroupAccount(common::BusyIndicator& busy, common::DetailArea& details);
    void loadCurrentWeek();

    common::AppContext& context_;
    common::DetailArea& details_;
    Hooks hooks_;
    UserDetailPane* detailPane_ = nullptr;
    UserHeaderPane* headerPane_ = nullptr;
    groups::GroupAccountPane* groupAccountPane_ = nullptr;
    WeekBuffer week_{};
    std::unique_ptr<DetailContext> detail_;
    std::unique_ptr<WeekSaver> saver_;
    std::unique_ptr<WeekLoader> loader_;
    std::unique_ptr<WeekNavigator> navigator_;
    std::unique_ptr<WeekPrinter> printer_;
    std::unique_ptr<groups::DialogPrompter> prompter_;
    std::unique_ptr<groups::EffectiveDateProcedure> effectiveDate_;
    std::unique_ptr<groups::UserGroupAssignment> groupAssignment_;
    std::unique_ptr<groups::GroupCreator> groupCreator_;
    std::unique_ptr<UserHeaderLoader> headerLoader_;
    std::unique_ptr<groups::GroupAccount> groupAccount_;
};

} // namespace velora::detail
