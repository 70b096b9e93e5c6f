#pragma once

#include <functional>

namespace velora::common {
struct AppContext;
class BusyIndicator;
} // namespace velora::common

namespace velora::shell {

class StartupRecalculation;

// What happens when the program ends (closing the window, File > Exit or a failed start-up):
// the panes save what is pending, the window's settings are stored, the operator logs off and
// the connection closes. It runs once; a pane's save the operator chooses to keep open
// cancels it, and the window stays as it was.
class UnloadSequence {
public:
    struct Steps {
        // False when a pane's save failed and the operator keeps the window open.
        std::function<bool()> savePanes;
        std::function<void()> saveWindowSettings;
    };

    UnloadSequence(common::AppContext& context, common::BusyIndicator& busy,
                   StartupRecalculation& startup, Steps steps);

    // False when the operator kept the window open.
    bool run();
    // The operator cancelled the catalogue load: the program ends without saving anything.
    void endWithoutSaving() { endWithoutSaving_ = true; }

private:
    bool saveAndLogOff(bool startUpRecalculationPending);
    void release();

    common::AppContext& context_;
    common::BusyIndicator& busy_;
    StartupRecalculation& startup_;
    Steps steps_;
    bool unloaded_ = false;
    bool endWithoutSaving_ = false;
};

} // namespace velora::shell
