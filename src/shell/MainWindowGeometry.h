#pragma once

#include "common/Preferences.h"

#include <memory>
#include <optional>

class QMainWindow;

namespace velora::widgets {
class cSplitter;
}
namespace velora::explorer {
class IncentiveExplorer;
}
namespace velora::common {
class DetailArea;
}

namespace velora::shell {

// The main window's size and place on the screen and the splitter between the explorer and the
// details: restored from the operator's stored settings at start-up, kept large enough for the
// panes while the operator resizes, and handed back for storing at the end.
class MainWindowGeometry {
public:
    MainWindowGeometry(QMainWindow& window, explorer::IncentiveExplorer& explorer,
                       common::DetailArea& details);
    ~MainWindowGeometry();

    widgets::cSplitter& splitter() { return *splitter_; }

    // Places the window as the stored settings say.
    void place(const common::Preferences& preferences);
    // Binds the splitter to the explorer and the details; the stored position waits for show.
    void bindSplitter(int storedPosition);
    // The window is shown: the stored splitter position is applied now (once).
    void shown();
    // The window was resized (not minimised).
    void resized();
    // What the next start restores.
    common::WindowSettings settings() const;

private:
    void applyMinimumSize();

    QMainWindow& window_;
    explorer::IncentiveExplorer& explorer_;
    common::DetailArea& details_;
    std::unique_ptr<widgets::cSplitter> splitter_;
    // The stored splitter position, until the window is shown and has its real size.
    std::optional<int> splitToRestore_;
};

} // namespace velora::shell
