#pragma once

#include "ExplorerNodeNames.h"

#include <QString>

namespace velora::explorer {

class ExplorerTree;
class IncentiveExplorer;

// What the rename, delete and refresh items of the explorer's pop-up menus do with the node they
// were chosen on: ask the host through the explorer's events, then show the answer in the tree.
// Failures throw; the explorer turns them into its error event.
class ExplorerMenuCommands {
public:
    ExplorerMenuCommands(IncentiveExplorer& explorer, ExplorerTree& tree)
        : explorer_(explorer)
        , tree_(tree)
        , names_(tree) {}

    // The formula's node takes the new name unless the host cancelled; the host may change the
    // tag it is handed.
    void renameFormula(const QString& selectedKey);
    // The group's node takes the new name, marked when the group is the default one.
    void renameGroup(const QString& selectedKey);
    // The user's accounts load again: the tag that marks them loaded is cleared first.
    void refreshUser(const QString& selectedKey);
    // Asks the host to delete the formula and takes its node out unless the host cancelled;
    // true when the node went. The default formula (1) and an id below it are refused with an
    // error event before the host is asked.
    bool deleteFormula(const QString& formulaID);
    // As deleteFormula, for a group; every group may be asked for.
    bool deleteGroup(const QString& groupID);

private:
    IncentiveExplorer& explorer_;
    ExplorerTree& tree_;
    ExplorerNodeNames names_;
};

} // namespace velora::explorer
