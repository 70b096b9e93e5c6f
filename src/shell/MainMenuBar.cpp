#include "MainMenuBar.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace velora::shell {

namespace {

// The texts keep the main window's translation context, where they were first written.
QString translated(const char* text) {
    return QCoreApplication::translate("velora::shell::MainWindow", text);
}

QAction* addMenuAction(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(translated(text));
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

MainMenuBar::MainMenuBar(QMenuBar& bar, Handlers handlers)
    : bar_(bar)
    , handlers_(std::move(handlers)) {
    buildFile();
    buildEdit();
    buildView();
    buildHelp();
}

QMenu* MainMenuBar::addMenu(const char* name, const char* text) {
    QMenu* menu = bar_.addMenu(translated(text));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void MainMenuBar::addItem(QMenu* menu, const char* name, const char* text,
                          const std::function<void()>& handler) {
    QObject::connect(addMenuAction(menu, name, text), &QAction::triggered, &bar_,
                     [handler] { handler(); });
}

// A menu entry that carries one of the main window's keys.
void MainMenuBar::addKeyCommand(QMenu* menu, const char* name, const char* text,
                                KeyCommands::Command command) {
    QAction* action = addMenuAction(menu, name, text);
    action->setShortcut(KeyCommands::keys(command));
    QObject::connect(action, &QAction::triggered, &bar_,
                     [this, command] { handlers_.keyCommand(command); });
    keyActions_.append({action, command});
}

void MainMenuBar::buildFile() {
    QMenu* file = addMenu("mnuFile", "&File");
    addMenuAction(file, "mnuFileCreateFormula", "Create &Formula...");
    addMenuAction(file, "mnuFileCreateGroup", "Create &Group...");
    file->addSeparator();
    addKeyCommand(file, "mnuFileSave", "&Save Changes", KeyCommands::Command::Save);
    addKeyCommand(file, "mnuFilePrint", "&Print...", KeyCommands::Command::Print);
    file->addSeparator();
    addItem(file, "mnuFileUpdateIValues", "&Update Incentive Values",
            handlers_.updateIncentiveValues);
    addItem(file, "mnuFilePayPeriodReport", "Pay Period &Report...", handlers_.payPeriodReport);
    file->addSeparator();
    addItem(file, "mnuFileExit", "E&xit", handlers_.exit);
}

void MainMenuBar::buildEdit() {
    QMenu* edit = addMenu("mnuEdit", "&Edit");
    addItem(edit, "mnuEditPreferences", "&Preferences...", handlers_.editPreferences);
    addItem(edit, "mnuRevert", "&Revert", handlers_.revert);
}

void MainMenuBar::buildView() {
    QMenu* view = addMenu("mnuView", "&View");
    addKeyCommand(view, "mnuViewPrevWeek", "&Previous Week", KeyCommands::Command::PreviousWeek);
    addKeyCommand(view, "mnuViewNextWeek", "&Next Week", KeyCommands::Command::NextWeek);
    view->addSeparator();
    addKeyCommand(view, "mnuViewRefresh", "&Refresh", KeyCommands::Command::RefreshExplorer);
}

void MainMenuBar::buildHelp() {
    QMenu* help = addMenu("mnuHelp", "&Help");
    addItem(help, "mnuHelpContents", "&Contents", handlers_.helpContents);
    addKeyCommand(help, "mnuHelpPane", "Help on This &Pane", KeyCommands::Command::Help);
    addItem(help, "mnuHelpSystemInfo", "&System Information...", handlers_.systemInformation);
    help->addSeparator();
    addItem(help, "mnuHelpAbout", "&About Velora Incentive...", handlers_.about);
}

void MainMenuBar::enableKeyCommands(KeyCommands::Pane pane) {
    for (const auto& [action, command] : keyActions_)
        action->setEnabled(KeyCommands::availableOn(command, pane));
}

void MainMenuBar::setFullMode(bool full) {
    for (const char* name :
         {"mnuEdit", "mnuFileCreateFormula", "mnuFileCreateGroup", "mnuFilePayPeriodReport"}) {
        if (auto* menu = bar_.findChild<QMenu*>(QLatin1String(name)))
            menu->setEnabled(full);
        if (auto* action = bar_.findChild<QAction*>(QLatin1String(name)))
            action->setEnabled(full);
    }
}

} // namespace velora::shell
