#pragma once

#include "KeyCommands.h"

#include <functional>

class QPushButton;

namespace velora::common {
class BusyIndicator;
}
namespace velora::detail {
class UserPanes;
}
namespace velora::formulas {
class FormulaPanes;
}

namespace velora::shell {

// Runs the main window's keys. Each key does what the pane's own control does, through that
// control, so a control that is disabled (Save Changes without a right, for example) refuses
// the key as well; no key runs while the window is busy or on a pane where it means nothing.
class KeyCommandRunner {
public:
    struct Host {
        // The pane on screen.
        std::function<KeyCommands::Pane()> shownPane;
        // The panes, none before the operator has logged in.
        std::function<detail::UserPanes*()> userPanes;
        std::function<formulas::FormulaPanes*()> formulaPanes;
        std::function<void()> paneHelp;
        std::function<void()> refreshExplorer;
    };

    KeyCommandRunner(common::BusyIndicator& busy, Host host);

    void run(KeyCommands::Command command);

private:
    QPushButton* controlFor(KeyCommands::Command command, KeyCommands::Pane pane);

    common::BusyIndicator& busy_;
    Host host_;
};

} // namespace velora::shell
