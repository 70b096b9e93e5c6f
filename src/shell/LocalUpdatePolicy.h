#pragma once

#include <QString>
#include <functional>

namespace velora::config {
class Registry;
}

namespace velora::shell {

// Whether this workstation computes recalculations itself or queues them for the server.
// Read afresh on every recalculation, so a changed configuration file or switch takes effect
// without a restart.
class LocalUpdatePolicy {
public:
    LocalUpdatePolicy(const config::Registry& registry, QString configurationPath,
                      std::function<QString()> argumentText);

    // "IncentiveClientSideCalculations" of the configuration: empty or missing is true.
    bool clientSideCalculations() const;
    // True with the DisableLocalUpdates switch or without client-side calculations.
    bool localUpdatesDisabled() const;

private:
    const config::Registry& registry_;
    QString configurationPath_;
    std::function<QString()> argumentText_;
};

} // namespace velora::shell
