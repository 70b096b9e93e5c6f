#pragma once

#include <memory>

class QWidget;

namespace velora::common {
struct AppContext;
class BusyIndicator;
class DetailArea;
} // namespace velora::common
namespace velora::detail {
class UserPanes;
}
namespace velora::explorer {
struct ExplorerEditors;
class IncentiveExplorer;
} // namespace velora::explorer
namespace velora::groups {
class DialogPartitionNamePrompter;
}
namespace velora::suite {
class vEzoziVi;
}

namespace velora::formulas {

class FormulaEditing;
class FormulaPane;
class FormulaRecords;
class FormulaTester;
class FormulaWizardHandOff;
class GroupRecords;
struct RecordsEnvironment;

// The formula pane with every operation behind it - editing and saving a formula, the tester,
// and creating, renaming and deleting formulas and groups - built once the operator is logged
// in, beside the user panes whose lists and prompts it shares. The main window places the pane
// and hands the explorer's events to these operations.
class FormulaPanes {
public:
    FormulaPanes(common::AppContext& context, common::DetailArea& details,
                 common::BusyIndicator& busy, detail::UserPanes& userPanes,
                 explorer::IncentiveExplorer& explorer, QWidget& mainWindow);
    ~FormulaPanes();
    FormulaPanes(const FormulaPanes&) = delete;
    FormulaPanes& operator=(const FormulaPanes&) = delete;

    // The explorer's formula click and the save on leaving a formula.
    void fillEditors(explorer::ExplorerEditors& editors);
    // The tester's lists at start-up outside partition mode (in partition mode each formula's
    // click fills them with its partition's users and accounts).
    void FillTesterLists();
    // Leaving the formula node: false when its edit could not be saved, so that the operator
    // stays on it.
    bool leaveFormula();
    // The unload: the formula's edit is saved; when that fails the operator is asked whether to
    // close anyway. False when the window stays open.
    bool saveOnUnload();

    FormulaPane& pane() { return *pane_; }
    FormulaEditing& editing() { return *editing_; }
    FormulaTester& tester() { return *tester_; }
    // Creating a formula: the wizard when it is there, enabled and accepted, else by hand.
    void createFormula();
    // Creating, renaming and deleting, reached from the explorer's menus and the File menu.
    FormulaRecords& formulaRecords() { return *formulaRecords_; }
    GroupRecords& groupRecords() { return *groupRecords_; }

private:
    void buildTester();
    void buildRecords(detail::UserPanes& userPanes, QWidget& mainWindow);
    RecordsEnvironment recordsEnvironment(detail::UserPanes& userPanes);
    void connectExplorer();
    void buildWizard(QWidget& mainWindow);
    void buildEditing(common::BusyIndicator& busy, common::DetailArea& details,
                      detail::UserPanes& userPanes);

    common::AppContext& context_;
    explorer::IncentiveExplorer& explorer_;
    FormulaPane* pane_ = nullptr;
    std::unique_ptr<FormulaTester> tester_;
    std::unique_ptr<FormulaEditing> editing_;
    std::unique_ptr<groups::DialogPartitionNamePrompter> partitionPrompter_;
    std::unique_ptr<FormulaRecords> formulaRecords_;
    std::unique_ptr<GroupRecords> groupRecords_;
    std::unique_ptr<suite::vEzoziVi> launcher_;
    std::unique_ptr<FormulaWizardHandOff> wizard_;
};

} // namespace velora::formulas
