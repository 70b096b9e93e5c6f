#pragma once

#include "RecalcOutcome.h"

#include <QString>
#include <functional>

class QWidget;

namespace velora::engine {
class UpdateEngine;
}
namespace velora::common {
class Messages;
}

namespace velora::recalc {

// What the engine is told about the database: the login component's values, as set at login.
struct EngineLogin {
    QString dataSourceName;
    QString serverName;
    QString databaseName;
    QString userName;
    QString password;
};

// The one route to the update engine (RecalculateIncentives): sets every engine value again,
// runs it with the main window disabled, reports a cancel, shows no message for any other
// failure, and tells the caller how the run ended (queued when local updates are disabled). The
// window takes input again in every case.
class IncentiveRecalculation {
public:
    struct Environment {
        engine::UpdateEngine& engine;
        common::Messages& messages;
        EngineLogin login;
        // Asked on every call: true queues the request for the server instead of computing.
        std::function<bool()> localUpdatesDisabled;
    };

    IncentiveRecalculation(Environment environment, QWidget* mainWindow);

    // filter: empty for every user, or "Trans_info.trans_id = '...'" for one.
    RecalcOutcome RecalculateIncentives(const QString& filter);

    // The filter for one user, the id's quotes doubled.
    static QString userFilter(const QString& transId);

private:
    // True when the request was queued for the server instead of computed.
    bool runEngine(const QString& filter);

    Environment env_;
    QWidget* mainWindow_;
};

} // namespace velora::recalc
