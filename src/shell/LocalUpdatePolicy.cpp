#include "LocalUpdatePolicy.h"

#include "CommandLine.h"
#include "IHalvexINI.h"
#include "common/AffermativeValue.h"

namespace velora::shell {

LocalUpdatePolicy::LocalUpdatePolicy(const config::Registry& registry, QString configurationPath,
                                     std::function<QString()> argumentText)
    : registry_(registry)
    , configurationPath_(std::move(configurationPath))
    , argumentText_(std::move(argumentText)) {}

bool LocalUpdatePolicy::clientSideCalculations() const {
    IHalvexINI ini(registry_);
    ini.setHalvexINI(configurationPath_);
    const QString value =
        ini.GetItem(QStringLiteral("System"), QStringLiteral("IncentiveClientSideCalculations"));
    return value.isEmpty() || common::AffermativeValue(value);
}

bool LocalUpdatePolicy::localUpdatesDisabled() const {
    const CommandLine commandLine(argumentText_ ? argumentText_() : QString());
    const QString disable =
        commandLine.CLArguments().Item(QStringLiteral("DisableLocalUpdates")).value();
    return disable.compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0 ||
           !clientSideCalculations();
}

} // namespace velora::shell
