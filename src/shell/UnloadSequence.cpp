#include "UnloadSequence.h"

#include "ShellError.h"
#include "StartupRecalculation.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"

#include <QCoreApplication>

namespace velora::shell {

namespace {

constexpr int kUnloadAnimation = 202;

} // namespace

UnloadSequence::UnloadSequence(common::AppContext& context, common::BusyIndicator& busy,
                               StartupRecalculation& startup, Steps steps)
    : context_(context)
    , busy_(busy)
    , startup_(startup)
    , steps_(std::move(steps)) {}

bool UnloadSequence::run() {
    if (unloaded_)
        return true;
    unloaded_ = true;
    const bool startUpRecalculationPending = startup_.cancel();
    // The text keeps the main window's translation context, where it was first written.
    busy_.BeginBusy(
        true, QCoreApplication::translate("velora::shell::MainWindow", "Saving user settings..."),
        QString(), kUnloadAnimation);
    if (context_.loggedIn && !endWithoutSaving_ && context_.login && context_.login->User() &&
        !saveAndLogOff(startUpRecalculationPending))
        return false;
    release();
    return true;
}

// False when the operator keeps the window open with the edits that could not be saved.
bool UnloadSequence::saveAndLogOff(bool startUpRecalculationPending) {
    try {
        if (!steps_.savePanes()) {
            // The start-up recalculation still runs if it had not yet.
            unloaded_ = false;
            busy_.EndBusy();
            if (startUpRecalculationPending)
                startup_.schedule();
            return false;
        }
        steps_.saveWindowSettings();
        context_.login->Logoff();
    } catch (const NumberedError&) {
        // Settings not yet saved are lost; the program still ends cleanly.
    }
    return true;
}

void UnloadSequence::release() {
    if (context_.connection)
        context_.connection->close();
    context_.evaluator.reset();
    busy_.EndBusy();
}

} // namespace velora::shell
