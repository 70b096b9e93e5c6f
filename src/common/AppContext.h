#pragma once

#include "Preferences.h"
#include "catalogue/Catalogue.h"
#include "catalogue/User.h"
#include "config/Registry.h"
#include "db/Connection.h"
#include "engine/FormulaEvaluator.h"
#include "engine/UpdateEngine.h"
#include "suite/HXLogin.h"
#include "suite/HXRegion.h"

#include <QString>
#include <functional>
#include <memory>

namespace velora::common {

class Messages;

// The state the program shares for its whole run: the connection, the suite components, the
// engine and evaluator, the preferences, the catalogue and the flags decided at start-up. The
// main window owns one and hands references to its panes; there are no other globals.
struct AppContext {
    AppContext(Messages& messageBoxes, config::Registry registryFiles,
               std::function<QString()> switches)
        : messages(messageBoxes)
        , registry(std::move(registryFiles))
        , argumentText(std::move(switches)) {}

    Messages& messages;
    config::Registry registry;
    // The program's switches as one text, parsed afresh wherever a switch is needed.
    std::function<QString()> argumentText;

    QString configurationPath;
    QString connectionString;
    bool odbcMode = false;
    bool supportDeletedReports = false;
    bool partitionMode = false;
    bool loggedIn = false;
    // The formula wizard; empty for inc_wiz in the program's own folder.
    QString wizardProgram;

    std::unique_ptr<db::Connection> connection;
    std::unique_ptr<suite::HXRegion> region;
    std::unique_ptr<suite::HXLogin> login;
    std::unique_ptr<engine::UpdateEngine> engine;
    std::unique_ptr<engine::FormulaEvaluator> evaluator;
    Preferences preferences;
    catalogue::Catalogue catalogue;
    // The partitions the logged-in operator may see (rebuilt by each catalogue display), and
    // those below the user shown in the user header (rebuilt by each user load).
    catalogue::CatalogueCollection<catalogue::Partition> accessiblePartitions;
    catalogue::CatalogueCollection<catalogue::Partition> userPartitions;
    std::shared_ptr<catalogue::User> currentUser;
};

} // namespace velora::common
