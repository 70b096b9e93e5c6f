#include "FormulaPanes.h"

#include "FormulaEditing.h"
#include "FormulaPane.h"
#include "FormulaRecords.h"
#include "FormulaTester.h"
#include "FormulaWizardHandOff.h"
#include "GroupRecords.h"
#include "RecordsEnvironment.h"
#include "catalogue/Formula.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "common/Messages.h"
#include "detail/UserHeaderPane.h"
#include "detail/UserPanes.h"
#include "explorer/ExplorerReactions.h"
#include "explorer/IncentiveExplorer.h"
#include "groups/GroupAccountPane.h"
#include "groups/PartitionNamePrompter.h"
#include "groups/PromptForValue.h"
#include "suite/vEzoziVi.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

namespace velora::formulas {

namespace {

constexpr int kBusyAnimation = 201;

const QString kCloseWithUnsavedFormula =
    QStringLiteral("The changes to the formula on screen could not be saved.\r\nClose Velora "
                   "Incentive anyway and lose them?");

} // namespace

FormulaPanes::FormulaPanes(common::AppContext& context, common::DetailArea& details,
                           common::BusyIndicator& busy, detail::UserPanes& userPanes,
                           explorer::IncentiveExplorer& explorer, QWidget& mainWindow)
    : context_(context)
    , explorer_(explorer) {
    pane_ = new FormulaPane;
    details.setPaneContent(common::DetailArea::Pane::Formula, pane_);
    buildTester();
    buildEditing(busy, details, userPanes);
    buildRecords(userPanes, mainWindow);
    buildWizard(mainWindow);
    connectExplorer();
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

RecordsEnvironment FormulaPanes::recordsEnvironment(detail::UserPanes& userPanes) {
    common::AppContext& c = context_;
    explorer::IncentiveExplorer& tree = explorer_;
    ExplorerHooks hooks;
    hooks.addFormula = [&tree](const QString& text, const QString& id) {
        tree.AddFormula(text, id);
    };
    hooks.addGroup = [&tree](const QString& text, const QString& id) { tree.AddGroup(text, id); };
    hooks.clickFormulaNode = [&tree](const QString& id) { tree.ClickFormulaNode(id); };
    hooks.clickGroupNode = [&tree](const QString& id) { tree.ClickGroupNode(id); };
    hooks.removeFormulaNode = [&tree](const QString& id) { tree.RemoveFormulaNode(id); };
    hooks.removeGroupNode = [&tree](const QString& id) { tree.RemoveGroupNode(id); };
    return RecordsEnvironment{
        *c.connection,
        c.messages,
        c.catalogue,
        c.partitionMode,
        [&c] { return static_cast<int>(c.preferences.partitionDisplay); },
        [&userPanes] { return userPanes.fullMode(); },
        userPanes.prompter(),
        *partitionPrompter_,
        c.accessiblePartitions,
        [&c] { return c.login && c.login->User() ? c.login->User()->partition_id() : 0; },
        [] { return QDate::currentDate(); },
        userPanes.groupAccountPane().cmbAccountPayFormula(),
        userPanes.headerPane().cmbUserHeaderGroupName(),
        hooks,
    };
}

void FormulaPanes::buildRecords(detail::UserPanes& userPanes, QWidget& mainWindow) {
    partitionPrompter_ = std::make_unique<groups::DialogPartitionNamePrompter>(&mainWindow);
    formulaRecords_ = std::make_unique<FormulaRecords>(recordsEnvironment(userPanes));
    groupRecords_ = std::make_unique<GroupRecords>(recordsEnvironment(userPanes));
}

void FormulaPanes::buildWizard(QWidget& mainWindow) {
    common::AppContext& c = context_;
    launcher_ = std::make_unique<suite::vEzoziVi>();
    auto program = [&c] {
        return c.wizardProgram.isEmpty() ? QDir(QCoreApplication::applicationDirPath())
                                               .filePath(QStringLiteral("inc_wiz"))
                                         : c.wizardProgram;
    };
    QWidget* window = &mainWindow;
    wizard_ = std::make_unique<FormulaWizardHandOff>(WizardHandOffEnvironment{
        c.messages,
        *launcher_,
        program,
        [&c] { return c.preferences.enableFormulaWizard; },
        [&c] { return c.configurationPath; },
        [&c] { return c.login && c.login->User() ? c.login->User()->user_name() : QString(); },
        [&c] { return c.login && c.login->User() ? c.login->User()->Password() : QString(); },
        [window](bool enabled) { window->setEnabled(enabled); },
        [this](const QString& name) { return formulaRecords_->CreateFormulaNamed(name); },
        [this](const QString& text) { editing_->showText(text); },
        [this] {
            bool note = true;
            editing_->SaveFormula(note);
        },
    });
}

void FormulaPanes::createFormula() {
    if (!wizard_->offerAndRun())
        formulaRecords_->CreateFormula();
}

// The explorer's six requests. A formula that is deleted or renamed while the pane shows it is
// forgotten or renamed there too, so that leaving its node saves nothing into a deleted row.
void FormulaPanes::connectExplorer() {
    using E = explorer::IncentiveExplorer;
    using Deleted = void (E::*)(const QString&, const QString&, qint16&);
    QObject::connect(&explorer_, &E::CreateFormula, pane_, [this] { createFormula(); });
    QObject::connect(&explorer_, &E::CreateGroup, pane_, [this] { groupRecords_->CreateGroup(); });
    QObject::connect(&explorer_, &E::RenameFormula, pane_,
                     [this](const QString& id, const QString& oldName, QString& newName,
                            qint16& cancel, QString& tag) {
                         formulaRecords_->RenameFormula(id, oldName, newName, cancel, tag);
                         if (cancel == 0)
                             editing_->renamed(id, newName);
                     });
    QObject::connect(&explorer_, &E::RenameGroup, pane_,
                     [this](auto&&... arguments) { groupRecords_->RenameGroup(arguments...); });
    QObject::connect(&explorer_, Deleted(&E::DeleteFormula), pane_,
                     [this](const QString& name, const QString& id, qint16& cancel) {
                         formulaRecords_->DeleteFormula(name, id, cancel);
                         if (cancel == 0)
                             editing_->forget(id);
                     });
    QObject::connect(&explorer_, Deleted(&E::DeleteGroup), pane_,
                     [this](auto&&... arguments) { groupRecords_->DeleteGroup(arguments...); });
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
