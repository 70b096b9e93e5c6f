#include "MainWindow.h"

#include "ExplorerRefresh.h"
#include "HelpWindow.h"
#include "KeyCommandRunner.h"
#include "LoginSequence.h"
#include "MainMenuBar.h"
#include "MainWindowGeometry.h"
#include "ProgramInfoDialogs.h"
#include "ShellError.h"
#include "StartupRecalculation.h"
#include "TextBoxMenus.h"
#include "UnloadSequence.h"
#include "catalogue/CatalogueDisplay.h"
#include "common/DetailArea.h"
#include "common/Messages.h"
#include "common/PreferenceStore.h"
#include "db/DbError.h"
#include "detail/UserDetailPane.h"
#include "detail/UserPanes.h"
#include "explorer/ExplorerReactions.h"
#include "explorer/IncentiveExplorer.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaPanes.h"
#include "formulas/GroupRecords.h"
#include "recalc/IncentiveRecalculation.h"
#include "report/frmPayPeriodReport.h"
#include "widgets/VeloraDatePicker.h"
#include "widgets/frmWait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>

namespace velora::shell {

namespace {

constexpr int kStartUpAnimation = 201;

} // namespace

MainWindow::MainWindow(common::AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , context_(context)
    , busy_(*this)
    , preferences_(context_)
    , startup_(std::make_unique<StartupRecalculation>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Velora Incentive"));
    buildMenus();
    buildCentre();
    unload_ = std::make_unique<UnloadSequence>(
        context_, busy_, *startup_,
        UnloadSequence::Steps{[this] { return savePanesOnUnload(); },
                              [this] { saveWindowSettings(); }});
}

MainWindow::~MainWindow() = default;

QTimer& MainWindow::loaderTimer() {
    return startup_->timer();
}

widgets::cSplitter& MainWindow::splitter() {
    return geometry_->splitter();
}

recalc::IncentiveRecalculation* MainWindow::recalculation() const {
    return startup_->recalculation();
}

void MainWindow::buildMenus() {
    keys_ = std::make_unique<KeyCommandRunner>(
        busy_, KeyCommandRunner::Host{[this] { return details_->shownPane(); },
                                      [this] { return userPanes_.get(); },
                                      [this] { return formulaPanes_.get(); },
                                      [this] { showPaneHelp(); }, [this] { refresh_->run(); }});
    menus_ = std::make_unique<MainMenuBar>(
        *menuBar(),
        MainMenuBar::Handlers{[this] { updateIncentiveValues(); },
                              [this] {
                                  report::frmPayPeriodReport(
                                      report::frmPayPeriodReport::settingsFor(context_), this)
                                      .exec();
                              },
                              [this] { close(); }, [this] { editPreferences(); },
                              [this] { revert(); }, [this] { showHelp(); },
                              [this] { ProgramInfoDialogs::showSystemInformation(context_, this); },
                              [this] { ProgramInfoDialogs::showAbout(context_, this); },
                              [this](KeyCommands::Command command) { keys_->run(command); }});
}

void MainWindow::buildCentre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("picMain"));
    setCentralWidget(centre);
    explorer_ = new explorer::IncentiveExplorer(centre);
    explorer_->setObjectName(QStringLiteral("IncentiveExplorer1"));
    details_ = new common::DetailArea(centre);
    connect(details_, &common::DetailArea::paneShown, this,
            [this](common::DetailArea::Pane pane) { menus_->enableKeyCommands(pane); });
    menus_->enableKeyCommands(details_->shownPane());
    connectExplorer();
    geometry_ = std::make_unique<MainWindowGeometry>(*this, *explorer_, *details_);
}

QDate MainWindow::lastWeekStartBefore(const QDate& today, int firstDayOfWeek) {
    for (int back = 1; back <= 7; ++back) {
        const QDate day = today.addDays(-back);
        if (day.dayOfWeek() % 7 + 1 == firstDayOfWeek) // QDate: Monday 1 .. Sunday 7
            return day;
    }
    return today.addDays(-7);
}

void MainWindow::showGeneralError(int number, const QString& description) {
    context_.messages.show(QStringLiteral("Error Number:") + QString::number(number) +
                               QStringLiteral("\r\nError Description:") + description,
                           common::Messages::kTitle, common::MessageIcon::None,
                           common::MessageButtons::Ok);
}

bool MainWindow::load() {
    bool ok = false;
    try {
        ok = startUp();
    } catch (const NumberedError& e) {
        showGeneralError(e.number(), e.description());
    }
    if (!ok) {
        if (context_.connection)
            context_.connection->close();
        unload();
    }
    return ok;
}

bool MainWindow::startUp() {
    const QString executable =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const int code =
        LoginSequence(context_).run(executable, QCoreApplication::applicationVersion());
    if (code != 0) {
        if (!LoginSequence::messageFor(code).isEmpty())
            context_.messages.inform(LoginSequence::failureMessage(code),
                                     common::MessageIcon::Critical);
        return false;
    }
    context_.loggedIn = true;
    context_.evaluator = std::make_unique<engine::FormulaEvaluator>(*context_.connection);
    context_.currentUser = std::make_shared<catalogue::User>();
    context_.currentUser->setTransID(context_.login->User()->trans_id());
    context_.catalogue.clear();
    startup_->create(context_, this);

    context_.connection->open(context_.connectionString);
    decidePartitionMode();
    buildUserPanes();
    if (!preferences_.read())
        return false;
    geometry_->place(context_.preferences);
    TextBoxMenus::suppress(*this);
    details_->showSplash();
    geometry_->bindSplitter(context_.preferences.splitPosition);
    busy_.BeginBusy(true, QString(), QString(), kStartUpAnimation);
    if (context_.preferences.firstTimeUse) {
        // The first start asks for the preferences; the catalogue loads with what was chosen.
        preferences_.runDialog(true, this);
        if (!preferences_.read())
            return false;
    }
    if (!displayCatalogue())
        return false;
    if (!context_.partitionMode) {
        userPanes_->FillGroupList();
        userPanes_->FillPayFormulaList();
        formulaPanes_->FillTesterLists();
    }
    setStartDates();
    startup_->schedule();
    busy_.EndBusy();
    context_.connection->close();
    return true;
}

void MainWindow::connectExplorer() {
    reactions_ = std::make_unique<explorer::ExplorerReactions>(context_, *explorer_, *details_,
                                                               busy_, explorer::ExplorerEditors{});
    refresh_ = std::make_unique<ExplorerRefresh>(
        context_, *explorer_, *reactions_, *details_, busy_,
        ExplorerRefresh::Host{[this] { return displayCatalogue(); }, [this] { close(); }});
}

void MainWindow::buildUserPanes() {
    detail::UserPanes::Hooks hooks;
    hooks.selection = [this] {
        // The user and account as statements take them (a deleted user's key carries a mark).
        return detail::CurrentSelection{reactions_->CurrentTransID(), explorer_->CurrentUserName(),
                                        explorer_->CurrentUserAccountName(),
                                        reactions_->CurrentUserAccountID()};
    };
    hooks.recalculate = [this](const QString& filter) {
        recalc::IncentiveRecalculation* recalculation = startup_->recalculation();
        if (!recalculation)
            return recalc::RecalcOutcome::failed(db::ErrorNumber::General,
                                                 QStringLiteral("The update engine is not ready."));
        return recalculation->RecalculateIncentives(filter);
    };
    hooks.addGroupNode = [this](const QString& text, int groupID) {
        explorer_->AddGroup(text, QString::number(groupID));
    };
    userPanes_ =
        std::make_unique<detail::UserPanes>(context_, *details_, busy_, *this, std::move(hooks));
    userPanes_->fillEditors(reactions_->editors());
    formulaPanes_ = std::make_unique<formulas::FormulaPanes>(context_, *details_, busy_,
                                                             *userPanes_, *explorer_, *this);
    formulaPanes_->fillEditors(reactions_->editors());
    connect(findChild<QAction*>(QStringLiteral("mnuFileCreateFormula")), &QAction::triggered, this,
            [this] { formulaPanes_->createFormula(); });
    connect(findChild<QAction*>(QStringLiteral("mnuFileCreateGroup")), &QAction::triggered, this,
            [this] { formulaPanes_->groupRecords().CreateGroup(); });
    connect(context_.engine.get(), &engine::UpdateEngine::OnUpdateComplete, this,
            &MainWindow::onUpdateComplete);
}

// A recalculation ended: the week on screen shows the new values, and the busy state that a
// save's recalculation left on ends, whichever pane shows by now.
void MainWindow::onUpdateComplete() {
    const bool reloaded = userPanes_ && userPanes_->reloadShownWeek();
    if (reloaded || (busy_.isBusy() && !busy_.waitDialog()))
        busy_.EndBusy();
}

void MainWindow::revert() {
    if (userPanes_)
        userPanes_->RevertCell();
}

// Fills the explorer from the catalogue. False only when the operator cancelled the load,
// which ends the program at once.
bool MainWindow::displayCatalogue() {
    catalogue::CatalogueDisplay display({
        *context_.connection,
        context_.connectionString,
        *context_.login->User(),
        context_.partitionMode,
        {context_.preferences.showDeletedUsers, context_.preferences.showDeletedAccounts,
         context_.preferences.partitionDisplay},
        context_.catalogue,
        *context_.currentUser,
        context_.accessiblePartitions,
        *explorer_,
        context_.messages,
        [this](const QString& message) {
            if (widgets::frmWait* wait = busy_.waitDialog())
                wait->setMessageText(message);
            QApplication::processEvents();
            return !(busy_.waitDialog() && busy_.waitDialog()->CancelWait());
        },
        [this](bool full) { setFullModeControls(full); },
        [this] { unload_->endWithoutSaving(); },
    });
    return display.show() != catalogue::DisplayResult::Cancelled;
}

// The edit, create and report menus belong to full mode; in operator mode the user header's group
// choice is closed as well.
void MainWindow::setFullModeControls(bool full) {
    menus_->setFullMode(full);
    if (!full) {
        if (auto* groups = findChild<QComboBox*>(QStringLiteral("cmbUserHeaderGroupName")))
            groups->setEnabled(false);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    geometry_->shown();
}

void MainWindow::decidePartitionMode() {
    try {
        db::Recordset count = context_.connection->openRecordset(
            QStringLiteral("SELECT COUNT(*) FROM system_partitions WHERE partition_id <> 0 AND "
                           "delete_date IS NULL"));
        context_.partitionMode = !count.eof() && count.value(0).toInt() > 1;
    } catch (const db::DbError&) {
        context_.partitionMode = false; // a failing count counts as no partitions
    }
}

void MainWindow::setStartDates() {
    const QString format = context_.region->DateFormat();
    const QDate today = QDate::currentDate();
    widgets::VeloraDatePicker* startDate = userPanes_->detailPane().startDate();
    startDate->setRegionalFormat(format, context_.preferences.firstDayOfWeek);
    startDate->setText(
        lastWeekStartBefore(today, context_.preferences.firstDayOfWeek).toString(format));
    formulaPanes_->pane().txtFormulaShiftDate()->setText(today.toString(format));
}

// Edit > Preferences: the dialog, then the stored preferences read again and applied.
void MainWindow::editPreferences() {
    const common::Preferences before = context_.preferences;
    try {
        preferences_.edit(this);
    } catch (const NumberedError& e) {
        showGeneralError(e.number(), e.description());
        return;
    }
    applyPreferences(before);
}

// A change in what the explorer shows rebuilds it from the catalogue; otherwise the selected
// node is shown again. A change in whether deleted reports count offers a recalculation.
void MainWindow::applyPreferences(const common::Preferences& before) {
    const common::Preferences& now = context_.preferences;
    if (now.showDeletedAccounts != before.showDeletedAccounts ||
        now.showDeletedUsers != before.showDeletedUsers) {
        details_->showSplash();
        explorer_->ClearAllNodes();
        if (!displayCatalogue()) {
            close();
            return;
        }
    } else {
        explorer_->Refresh();
    }
    if (now.includeDeletedReports == before.includeDeletedReports)
        return;
    const QString change =
        now.includeDeletedReports ? QStringLiteral("ADD") : QStringLiteral("REMOVE");
    if (context_.messages.ask(
            QStringLiteral("You must recalculate incentive values to ") + change +
            QStringLiteral(" any deleted reports.\r\nDo you wish to do this now?")))
        updateIncentiveValues();
}

void MainWindow::updateIncentiveValues() {
    recalc::IncentiveRecalculation* recalculation = startup_->recalculation();
    if (recalculation && recalculation->RecalculateIncentives(QString()).queued())
        context_.messages.inform(recalc::RecalcOutcome::queuedNotice());
    if (userPanes_)
        userPanes_->reloadShownWeek();
}

// Stores what the next start restores.
void MainWindow::saveWindowSettings() {
    common::PreferenceStore store = preferences_.store();
    common::Preferences::saveWindowSettings(store, geometry_->settings());
}

bool MainWindow::unload() {
    return unload_->run();
}

// False when a pane's save failed and the operator keeps the window open.
bool MainWindow::savePanesOnUnload() {
    return !((formulaPanes_ && !formulaPanes_->saveOnUnload()) ||
             (userPanes_ && !userPanes_->saveOnUnload()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (unload())
        event->accept();
    else
        event->ignore();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized() || !geometry_)
        return;
    geometry_->resized();
}

void MainWindow::showHelp() {
    if (!help_)
        help_ = HelpWindow::forProgram(this);
    help_->showDefaultTopic();
}

void MainWindow::showPaneHelp() {
    if (!help_)
        help_ = HelpWindow::forProgram(this);
    help_->showTopic(KeyCommands::helpTopic(details_->shownPane()));
}

} // namespace velora::shell
