#pragma once

#include <QTimer>
#include <memory>

class QWidget;

namespace velora::common {
struct AppContext;
}
namespace velora::recalc {
class IncentiveRecalculation;
}

namespace velora::shell {

// The incentive recalculation of the logged-in operator and the hand-off of the one that runs
// after start-up: the start-up only arms the loader timer, so the window is shown and the event
// loop runs before the recalculation starts on the timer's first tick.
class StartupRecalculation {
public:
    StartupRecalculation();
    ~StartupRecalculation();

    // Makes the recalculation for the operator who has just logged in.
    void create(common::AppContext& context, QWidget* mainWindow);
    // None until the operator has logged in.
    recalc::IncentiveRecalculation* recalculation() const { return recalculation_.get(); }
    QTimer& timer() { return timer_; }

    // Arms the timer at the end of the start-up.
    void schedule() { timer_.start(); }
    // The unload stops the timer; true when the recalculation had not yet run, so that an
    // unload the operator cancels can schedule it again.
    bool cancel();

private:
    void run();

    QTimer timer_;
    std::unique_ptr<recalc::IncentiveRecalculation> recalculation_;
};

} // namespace velora::shell
