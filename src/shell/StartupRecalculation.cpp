#include "StartupRecalculation.h"

#include "LocalUpdatePolicy.h"
#include "common/AppContext.h"
#include "recalc/IncentiveRecalculation.h"

#include <QApplication>

namespace velora::shell {

namespace {

constexpr int kLoaderIntervalMs = 125;

} // namespace

StartupRecalculation::StartupRecalculation() {
    timer_.setObjectName(QStringLiteral("tmrLoader"));
    timer_.setInterval(kLoaderIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { run(); });
}

StartupRecalculation::~StartupRecalculation() = default;

void StartupRecalculation::create(common::AppContext& context, QWidget* mainWindow) {
    recalculation_ = std::make_unique<recalc::IncentiveRecalculation>(
        recalc::IncentiveRecalculation::Environment{
            *context.engine,
            context.messages,
            {context.login->odbcsource(), context.login->SqlServerName(),
             context.login->SqlDbName(), context.login->SqlUserName(),
             context.login->SQLPassword()},
            [policy = LocalUpdatePolicy(context.registry, context.configurationPath,
                                        context.argumentText)] {
                return policy.localUpdatesDisabled();
            }},
        mainWindow);
}

bool StartupRecalculation::cancel() {
    const bool pending = timer_.isActive();
    timer_.stop();
    return pending;
}

// Runs once: the timer stops before the recalculation, which may take a while and show
// messages of its own.
void StartupRecalculation::run() {
    timer_.stop();
    if (recalculation_)
        recalculation_->RecalculateIncentives(QString());
    QApplication::processEvents();
}

} // namespace velora::shell
