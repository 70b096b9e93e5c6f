#include "KeyCommandRunner.h"

#include "common/BusyIndicator.h"
#include "detail/UserDetailPane.h"
#include "detail/UserPanes.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaPanes.h"

#include <QPushButton>

namespace velora::shell {

using Command = KeyCommands::Command;
using Pane = KeyCommands::Pane;

KeyCommandRunner::KeyCommandRunner(common::BusyIndicator& busy, Host host)
    : busy_(busy)
    , host_(std::move(host)) {}

void KeyCommandRunner::run(Command command) {
    const Pane pane = host_.shownPane();
    if (busy_.isBusy() || !KeyCommands::availableOn(command, pane))
        return;
    if (command == Command::Help) {
        host_.paneHelp();
        return;
    }
    if (command == Command::RefreshExplorer) {
        host_.refreshExplorer();
        return;
    }
    if (QPushButton* button = controlFor(command, pane))
        button->click();
}

// The pane's control that does what the key does; none before the panes exist.
QPushButton* KeyCommandRunner::controlFor(Command command, Pane pane) {
    detail::UserPanes* userPanes = host_.userPanes();
    formulas::FormulaPanes* formulaPanes = host_.formulaPanes();
    if (!userPanes || !formulaPanes)
        return nullptr;
    detail::UserDetailPane& week = userPanes->detailPane();
    switch (command) {
    case Command::Save:
        return pane == Pane::Formula ? formulaPanes->pane().cmdFormulaSaveChanges()
                                     : week.saveChanges();
    case Command::Print:
        return week.print();
    case Command::PreviousWeek:
        return week.prevWeek();
    case Command::NextWeek:
        return week.nextWeek();
    default:
        return nullptr;
    }
}

} // namespace velora::shell
