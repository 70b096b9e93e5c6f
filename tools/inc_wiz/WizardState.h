#pragma once

#include "SchemeAnswers.h"

#include <QString>

namespace velora::db {
class Connection;
}
namespace velora::suite {
class HXRegion;
}
namespace velora::common {
class Messages;
}

namespace velora::wizard {

// What the pages share: the database, the regional settings, the message boxes, and the
// answers gathered so far.
struct WizardState {
    db::Connection& connection;
    const suite::HXRegion& region;
    common::Messages& messages;
    int partitionId = 0; // the operator's partition: formula names must be new in it
    SchemeAnswers answers;

    static inline const QString kTitle = QStringLiteral("Incentive Formula Wizard");
};

} // namespace velora::wizard
