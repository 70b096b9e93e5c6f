#include "ExplorerNode.h"

#include "ExplorerTree.h"
#include "IncentiveExplorer.h"

namespace velora::explorer {

int ExplorerNode::index() const {
    return explorer_ == nullptr ? ExplorerTree::kNone : explorer_->treeData().find(key_);
}

bool ExplorerNode::isValid() const {
    return index() != ExplorerTree::kNone;
}

QString ExplorerNode::text() const {
    const int node = index();
    return node == ExplorerTree::kNone ? QString() : explorer_->treeData().at(node).text;
}

QString ExplorerNode::tag() const {
    const int node = index();
    return node == ExplorerTree::kNone ? QString() : explorer_->treeData().at(node).tag;
}

void ExplorerNode::setTag(const QString& tag) {
    const int node = index();
    if (node != ExplorerTree::kNone)
        explorer_->treeData().setTag(node, tag);
}

QString ExplorerNode::image() const {
    const int node = index();
    return node == ExplorerTree::kNone ? QString()
                                       : ExplorerImageKey(explorer_->treeData().at(node).image);
}

bool ExplorerNode::isExpanded() const {
    const int node = index();
    return node != ExplorerTree::kNone && explorer_->treeData().at(node).expanded;
}

int ExplorerNode::childCount() const {
    const int node = index();
    return node == ExplorerTree::kNone ? 0 : explorer_->treeData().childCount(node);
}

ExplorerNode ExplorerNode::firstChild() const {
    const int node = index();
    if (node == ExplorerTree::kNone)
        return {};
    ExplorerTree& tree = explorer_->treeData();
    const std::vector<int>& children = tree.displayOrder(node);
    return children.empty() ? ExplorerNode()
                            : ExplorerNode(explorer_, tree.at(children.front()).key);
}

ExplorerNode ExplorerNode::nextSibling() const {
    const int node = index();
    if (node == ExplorerTree::kNone)
        return {};
    ExplorerTree& tree = explorer_->treeData();
    const int row = tree.rowOf(node);
    const std::vector<int>& siblings = tree.displayOrder(tree.at(node).parent);
    const std::size_t next = std::size_t(row) + 1;
    return row < 0 || next >= siblings.size()
               ? ExplorerNode()
               : ExplorerNode(explorer_, tree.at(siblings[next]).key);
}

} // namespace velora::explorer
