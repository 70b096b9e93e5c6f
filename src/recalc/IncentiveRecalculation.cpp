#include "IncentiveRecalculation.h"

#include "NumberedError.h"
#include "RecalcProgressDialog.h"
#include "catalogue/QuoteSql.h"
#include "common/Messages.h"
#include "db/DbError.h"
#include "engine/RecalcRequest.h"
#include "engine/UpdateEngine.h"

#include <QWidget>

namespace velora::recalc {

IncentiveRecalculation::IncentiveRecalculation(Environment environment, QWidget* mainWindow)
    : env_(std::move(environment))
    , mainWindow_(mainWindow) {}

QString IncentiveRecalculation::userFilter(const QString& transId) {
    return QStringLiteral("Trans_info.trans_id = '") + catalogue::QuoteSql(transId) +
           QLatin1Char('\'');
}

bool IncentiveRecalculation::runEngine(const QString& filter) {
    engine::UpdateEngine& engine = env_.engine;
    engine.StartDate(QStringLiteral("01/01/1980"));
    engine.EndDate(QStringLiteral("01/01/2030"));
    engine.DataSourceName(env_.login.dataSourceName);
    engine.ServerName(env_.login.serverName);
    engine.DatabaseName(env_.login.databaseName);
    engine.UserName(env_.login.userName);
    engine.Password(env_.login.password);
    bool yes = true;
    engine.RunOptionTwo(yes);
    engine.RunOptionOne(yes);
    bool disabled = env_.localUpdatesDisabled && env_.localUpdatesDisabled();
    engine.LocalUpdatesDisabled(disabled);
    engine.Filter(filter);
    // Not owned by the main window: the window is disabled while the engine runs, and a
    // disabled owner would disable the dialog's Cancel with it.
    RecalcProgressDialog progress(engine, nullptr);
    if (mainWindow_)
        progress.move(mainWindow_->geometry().center() - progress.rect().center());
    engine.Run(QString(), QString(), QString(), QString(), QString(), QString(), QString());
    return disabled;
}

RecalcOutcome IncentiveRecalculation::RecalculateIncentives(const QString& filter) {
    if (mainWindow_)
        mainWindow_->setEnabled(false);
    RecalcOutcome outcome;
    try {
        if (runEngine(filter))
            outcome.result = RecalcOutcome::Result::Queued;
    } catch (const NumberedError& e) {
        // Only a cancel is reported here; the caller decides what a failure means to it.
        if (e.number() == engine::kRecalcCancelledError) {
            env_.messages.inform(QStringLiteral("Update cancelled by user."));
            outcome.result = RecalcOutcome::Result::Cancelled;
        } else {
            outcome = RecalcOutcome::failed(e.number(), e.description());
        }
    } catch (const std::exception& e) {
        outcome = RecalcOutcome::failed(db::ErrorNumber::General, QString::fromLocal8Bit(e.what()));
    }
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    return outcome;
}

} // namespace velora::recalc
