#include "ExplorerRefresh.h"

#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "explorer/ExplorerReactions.h"
#include "explorer/IncentiveExplorer.h"

namespace velora::shell {

namespace {

// The reload shows the start-up's animation: it is the start-up's catalogue load again.
constexpr int kStartUpAnimation = 201;

} // namespace

ExplorerRefresh::ExplorerRefresh(common::AppContext& context, explorer::IncentiveExplorer& explorer,
                                 explorer::ExplorerReactions& reactions,
                                 common::DetailArea& details, common::BusyIndicator& busy,
                                 Host host)
    : context_(context)
    , explorer_(explorer)
    , reactions_(reactions)
    , details_(details)
    , busy_(busy)
    , host_(std::move(host)) {}

void ExplorerRefresh::run() {
    if (!context_.loggedIn || !leaveShownPane())
        return;
    const QString key = explorer_.FocusKey();
    details_.showSplash();
    busy_.BeginBusy(false, QString(), QString(), kStartUpAnimation);
    explorer_.ClearAllNodes();
    const bool loaded = host_.displayCatalogue();
    busy_.EndBusy();
    if (!loaded) {
        host_.close();
        return;
    }
    if (!key.isEmpty())
        returnToNode(key);
}

// The save the pane's node would make when left; false when the operator stays on it.
bool ExplorerRefresh::leaveShownPane() {
    using Pane = common::DetailArea::Pane;
    const explorer::ExplorerEditors& editors = reactions_.editors();
    switch (details_.shownPane()) {
    case Pane::UserDetail:
        return !editors.saveWeek || editors.saveWeek();
    case Pane::Formula:
        return !editors.saveFormula || editors.saveFormula();
    case Pane::Account:
        if (editors.saveGroupAccount)
            editors.saveGroupAccount();
        return true;
    case Pane::UserHeader:
        if (editors.saveUserGroup)
            editors.saveUserGroup();
        return true;
    default:
        return true;
    }
}

// A node below a folder whose contents load on demand appears once its parent is opened.
void ExplorerRefresh::returnToNode(const QString& key) {
    const QString parent = key.left(key.lastIndexOf(QLatin1Char('.')));
    if (!explorer_.hasNode(key) && !parent.isEmpty() && explorer_.hasNode(parent))
        explorer_.ClickNode(parent);
    if (explorer_.hasNode(key))
        explorer_.ClickNode(key);
}

} // namespace velora::shell
