#pragma once

#include <QString>

namespace velora::explorer {

class ExplorerTree;

// The texts the explorer's events and selection report, read from the tree by key. A key the
// tree does not hold fails (element not found), as every reading of a node by key does.
class ExplorerNodeNames {
public:
    explicit ExplorerNodeNames(ExplorerTree& tree)
        : tree_(tree) {}

    // The text of the node under key.
    QString text(const QString& key) const;
    // The text of the user node that key lies under.
    QString userName(const QString& key) const;
    // The text of the user's account (or external account) node that key names; "" when key
    // names no user or no account.
    QString userAccountName(const QString& key) const;

private:
    ExplorerTree& tree_;
};

} // namespace velora::explorer
