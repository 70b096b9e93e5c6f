#pragma once

#include "ExplorerImage.h"
#include "ExplorerNodeType.h"

#include <QString>
#include <vector>

namespace velora::explorer {

// The children an account folder has from the account list but that were not yet made into
// nodes: the records [0, immediateEnd) copied when the folder was made (immediate mode) and
// the records [addFrom, end of list) that AddAccount brought since, each under that folder
// kind's rule. A folder is filled for real the first time anything needs its children.
struct ExplorerPendingAccounts {
    bool pending = false;
    bool groupFolder = false;
    int immediateEnd = 0;
    int addFrom = 0;
    int sortEpoch = 0; // how many Sort calls came before the folder was made
    int entry = -1;    // the folder's place in ExplorerTree's list of account folders
};

// One node of the explorer's tree. The arena index of a node is its place in the order of
// addition; a removed node stays in the arena, marked dead.
struct ExplorerTreeNode {
    QString key;
    QString text;
    QString sortText; // the text the node had when added: its place in a sorted folder
    QString tag;
    int parent = -1;
    ExplorerNodeType kind = ExplorerNodeType::Root;
    ExplorerImage image = ExplorerImage::Root;
    bool alive = true;
    bool sorted = false; // children kept in ascending text order
    bool expanded = false;
    bool reported = false; // the view was told how many children the node has
    bool displayDirty = false;
    std::vector<int> children; // in the order they were added
    std::vector<int> display;  // sorted nodes only: the children in display order
    ExplorerPendingAccounts accounts;
};

} // namespace velora::explorer
