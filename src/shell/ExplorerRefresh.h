#pragma once

#include <QString>
#include <functional>

namespace velora::common {
struct AppContext;
class BusyIndicator;
class DetailArea;
} // namespace velora::common
namespace velora::explorer {
class IncentiveExplorer;
class ExplorerReactions;
} // namespace velora::explorer

namespace velora::shell {

// F5: the explorer shows the database as it is now (users, formulas and groups that other
// workstations added or removed). The pane on screen is saved first, as when the operator
// leaves its node; when that save fails and the operator keeps the edit, nothing is reloaded.
// Afterwards the node that was selected is selected again when it still exists.
class ExplorerRefresh {
public:
    struct Host {
        // Fills the explorer from the catalogue; false when the operator cancelled the load.
        std::function<bool()> displayCatalogue;
        // Ends the program after a cancelled load.
        std::function<void()> close;
    };

    ExplorerRefresh(common::AppContext& context, explorer::IncentiveExplorer& explorer,
                    explorer::ExplorerReactions& reactions, common::DetailArea& details,
                    common::BusyIndicator& busy, Host host);

    void run();

private:
    bool leaveShownPane();
    void returnToNode(const QString& key);

    common::AppContext& context_;
    explorer::IncentiveExplorer& explorer_;
    explorer::ExplorerReactions& reactions_;
    common::DetailArea& details_;
    common::BusyIndicator& busy_;
    Host host_;
};

} // namespace velora::shell
