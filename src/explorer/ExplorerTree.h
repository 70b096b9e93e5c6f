#pragma once

#include "ExplorerAccountList.h"
#include "ExplorerTreeNode.h"

#include <QHash>
#include <QString>
#include <vector>

namespace velora::explorer {

class ExplorerTreeListener;

// The explorer's tree and account list, without widgets. Nodes live in an arena (index =
// order of addition) and are found by key through a hash. Account folders are filled
// lazily: AddAccount only appends to the account list, and a folder turns its share of the
// list into nodes when its children are first needed, so a large partitioned load does not
// create a node per user and account. Every failure throws ExplorerError.
class ExplorerTree {
public:
    static constexpr int kNone = -1;

    ExplorerTree();

    void setListener(ExplorerTreeListener* listener) { listener_ = listener; }
    // Off: every account folder is filled at once, the plain way (used to check the lazy way).
    void setLazyAccountFolders(bool lazy) { lazy_ = lazy; }

    // Removes every node and resets the account list and the Sort history.
    void clear();

    // Adds a node under parent (kNone for the top level); throws when the key exists.
    int add(int parent, const QString& key, const QString& text, ExplorerImage image,
            bool sorted = false);
    // Adds a user's or a group's account folder under parent. Immediate: the folder gets a
    // child per account-list record as the list is now (a group's copy skips "-2"); throws
    // at the first record whose key the folder already holds. A group's folder given
    // `defaultAccount` first gets its "__Default Account" (-1) child, for an account list that
    // has no record of it.
    int addAccountFolder(int parent, const QString& key, bool groupFolder, bool immediate,
                         bool defaultAccount = false);

    // AddAccount: a child for every account folder whose kind takes the id, then a record.
    void addAccount(const QString& accountName, const QString& accountID, bool isDeleted);

    // The node under key, kNone when there is none. Fills the lazy folder the key is under.
    int find(const QString& key);
    // As find, but throws "element not found".
    int require(const QString& key);

    const ExplorerTreeNode& at(int node) const { return nodes_[std::size_t(node)]; }
    bool isAlive(int node) const;

    void setText(int node, const QString& text);
    void setImage(int node, ExplorerImage image);
    void setTag(int node, const QString& tag) { nodes_[std::size_t(node)].tag = tag; }
    void setExpanded(int node, bool expanded) { nodes_[std::size_t(node)].expanded = expanded; }

    // Removes the node and everything below it.
    void remove(int node);
    // Removes every child of the node, and drops its pending accounts.
    void clearChildren(int node);

    // Child counts without filling a lazy folder.
    bool hasChildren(int node) const { return childCount(node) > 0; }
    int childCount(int node) const;

    // The children in the order they were added / in display order; both fill a lazy folder.
    const std::vector<int>& childrenInAdditionOrder(int node);
    const std::vector<int>& displayOrder(int node);
    // Display order, and from now on every change below the node is reported (for the view).
    const std::vector<int>& reportedChildren(int node);
    // The node's row in its parent's display order.
    int rowOf(int node);

    // Sort(): drops the "__" of the pseudo accounts' texts, on real nodes now and on pending
    // ones when they are made.
    void cleanUpTexts();

    const ExplorerAccountList& accounts() const { return accounts_; }
    // Live nodes, pending ones not counted.
    int nodeCount() const { return liveNodes_; }

private:
    ExplorerTreeNode& node(int index) { return nodes_[std::size_t(index)]; }
    int createNode(int parent, const QString& key, const QString& text, ExplorerImage image,
                   bool sorted);
    bool visibleToView(int node) const;
    void materialise(int folder);
    void materialiseRecord(int folder, int record, bool immediate);
    int pendingCount(int folder) const;
    bool folderHoldsAccount(int folder, const QString& accountID, bool known) const;
    void addAccountTo(int folder, const QString& name, const QString& accountID, bool deleted,
                      qint16 number);
    QString cleanedPendingText(int folder, int record, const QString& key) const;
    void kill(int index);
    int insertPosition(int parent, const QString& sortText);
    void detachFromParent(int index);

    // AddAccount visits every account folder; this compact copy of what it needs keeps
    // that walk off the nodes themselves, which matters with ten thousand folders.
    struct AccountFolder {
        int node = -1;
        bool group = false;
        bool alive = true;
        bool pending = false;
        bool realChildren = false;   // a child was ever added for real
        bool parentReported = false; // the view may show the folder
    };
    AccountFolder* folderEntry(int node);
    void giveToPendingBefore(std::size_t end, const QString& accountName, const QString& accountID,
                             bool isDeleted, qint16 number);

    std::vector<ExplorerTreeNode> nodes_;
    QHash<QString, int> index_;
    std::vector<int> topLevel_;
    std::vector<AccountFolder> accountFolders_; // in the order they were made
    std::vector<int> sortSizes_;                // account-list size at each Sort call
    ExplorerAccountList accounts_;
    ExplorerTreeListener* listener_ = nullptr;
    int liveNodes_ = 0;
    bool lazy_ = true;
};

} // namespace velora::explorer
