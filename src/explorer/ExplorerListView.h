#pragma once

#include "ExplorerImage.h"
#include "ExplorerNodeType.h"

#include <QString>

class QIcon;
class QListWidget;

namespace velora::explorer {

class ExplorerImages;
class ExplorerTree;

// How the explorer fills the main window's list view: list display with small icons in
// columns, one item per node carrying the node's key, and the icon each kind shows there.
class ExplorerListView {
public:
    // Empties the list and sets it to list display; fails (91) when there is no list.
    static void prepare(QListWidget* listView);
    // One item: the node's key in Qt::UserRole, its text without leading and trailing blanks.
    static void addItem(QListWidget* listView, const QString& key, const QString& text,
                        const QIcon& icon);
    // The list icon of a node: a group's default and external accounts keep their own, every
    // other account shows as an account (deleted or not).
    static ExplorerImage imageFor(ExplorerNodeType kind, const QString& key);
    // Items for the children of kind in one folder, in the order they were added (a group's
    // accounts: those of groupID only). Every node a list shows lives in the folder its key
    // names, so no other part of the tree is walked; a folder that is not there leaves the
    // list empty.
    static void fillFromFolder(QListWidget* listView, ExplorerTree& tree,
                               const ExplorerImages& images, const QString& folderKey,
                               ExplorerNodeType kind, const QString& groupID = QString());
};

} // namespace velora::explorer
