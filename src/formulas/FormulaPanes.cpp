#include "FormulaPanes.h"

#include "FormulaEditing.h"
#include "FormulaPane.h"
#include "FormulaTester.h"
#include "catalogue/Formula.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "common/Messages.h"
#include "detail/UserPanes.h"
#include "explorer/ExplorerReactions.h"

namespace velora::formulas {

namespace {

constexpr int kBusyAnimation = 201;

const QString kCloseWithUnsavedFormula =
    QStringLiteral("The changes to the formula on screen could not be saved.\r\nClose Velora "
                   "Incentive anyway and lose them?");

} // namespace

FormulaPanes::FormulaPanes(common::AppContext& context, common::DetailArea& details,
                           common::BusyIndicator& busy, detail::UserPanes& userPanes)
    : context_(context) {
    pane_ = new FormulaPane;
    details.setPaneContent(common::DetailArea::Pane::Formula, pane_);
    buildTester();
    buildEditing(busy, details, userPanes);
}

void FormulaPanes::buildTester() {
    common::AppContext& c = context_;
    tester_ = std::make_unique<FormulaTester>(
        FormulaTesterEnvironment{
            *c.connection,
            c.messages,
            c.catalogue,
            c.partitionMode,
            [&c] { return static_cast<int>(c.preferences.partitionDisplay); },
            *c.region,
            [&c] { return c.evaluator.get(); },
            [this] {
                const auto formula = editing_ ? editing_->currentFormula() : nullptr;
                return formula ? formula->PartitionID() : 0;
            },
        },
        *pane_);
    tester_->bindControls();
}

FormulaPanes::~FormulaPanes() = default;

void FormulaPanes::buildEditing(common::BusyIndicator& busy, common::DetailArea& details,
                                detail::UserPanes& userPanes) {
    common::AppContext& c = context_;
    editing_ = std::make_unique<FormulaEditing>(
        FormulaEditingEnvironment{
            *c.connection,
            c.messages,
            c.catalogue,
            c.partitionMode,
            [&userPanes] { return userPanes.fullMode(); },
            *c.region,
            userPanes.effectiveDate(),
            [&c] { return c.evaluator.get(); },
            [this] { tester_->PassInputsToEvaluator(); },
            [&busy] { busy.BeginBusy(false, QString(), QString(), kBusyAnimation); },
            [&busy] { busy.EndBusy(); },
            [&details] { details.showPane(common::DetailArea::Pane::Formula); },
        },
        *pane_);
    editing_->bindButtons();
}

void FormulaPanes::fillEditors(explorer::ExplorerEditors& editors) {
    editors.loadFormula = [this](const QString& formulaID, const QString& formulaName) {
        editing_->LoadFormula(formulaID, formulaName);
        if (context_.partitionMode)
            FillTesterLists();
    };
    editors.saveFormula = [this] { return leaveFormula(); };
}

void FormulaPanes::FillTesterLists() {
    tester_->FillTesterUserList();
    tester_->FillTesterAccountList();
}

bool FormulaPanes::leaveFormula() {
    bool note = false;
    const FormulaSaveResult result = editing_->SaveFormula(note);
    return result != FormulaSaveResult::Refused && result != FormulaSaveResult::Failed;
}

bool FormulaPanes::saveOnUnload() {
    return leaveFormula() || context_.messages.ask(kCloseWithUnsavedFormula);
}

} // namespace velora::formulas
