#pragma once

#include "ExplorerNodeNames.h"

#include <QString>

namespace velora::explorer {

class ExplorerTree;
class IncentiveExplorer;

// Which event of the explorer a node raises: a click opens the pane of its kind, leaving a node
// lets its pane save, and opening a folder asks the host for what loads on demand. It also keeps
// the node that has the focus, because a click first tells the node it takes the focus from.
class ExplorerEvents {
public:
    ExplorerEvents(IncentiveExplorer& explorer, ExplorerTree& tree)
        : explorer_(explorer)
        , tree_(tree)
        , names_(tree) {}

    // A click on a node: the node that had the focus hears of losing it first.
    void click(int node);
    // The view opened or closed a node; runs the node's rule once per change.
    void viewExpanded(int node);
    void viewCollapsed(int node);
    // The rule of a node that has just been opened: its folder image opens, and a user, a
    // group or the formulas reach the host (a user's or a group's accounts load on demand).
    void runExpandRule(int node);

    const QString& focusKey() const { return focusKey_; }
    void setFocusKey(const QString& key) { focusKey_ = key; }

private:
    void raiseClick(const QString& key);
    void raiseLostFocus(const QString& key);

    IncentiveExplorer& explorer_;
    ExplorerTree& tree_;
    ExplorerNodeNames names_;
    QString focusKey_;
};

} // namespace velora::explorer
