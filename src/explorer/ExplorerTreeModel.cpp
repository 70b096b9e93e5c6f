#include "ExplorerTreeModel.h"

#include "ExplorerImages.h"
#include "ExplorerTree.h"

namespace velora::explorer {

ExplorerTreeModel::ExplorerTreeModel(ExplorerTree& tree, const ExplorerImages& images,
                                     QObject* parent)
    : QAbstractItemModel(parent)
    , tree_(tree)
    , images_(images) {}

int ExplorerTreeModel::nodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<int>(index.internalId()) : ExplorerTree::kNone;
}

QModelIndex ExplorerTreeModel::indexOf(int node) const {
    if (!tree_.isAlive(node))
        return {};
    const int parent = tree_.at(node).parent;
    if (parent != ExplorerTree::kNone)
        indexOf(parent);
    tree_.reportedChildren(parent);
    const int row = tree_.rowOf(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(node));
}

QModelIndex ExplorerTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || parent.column() > 0)
        return {};
    const std::vector<int>& children = tree_.reportedChildren(nodeAt(parent));
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, quintptr(children[std::size_t(row)]));
}

QModelIndex ExplorerTreeModel::parent(const QModelIndex& child) const {
    const int node = nodeAt(child);
    if (node == ExplorerTree::kNone)
        return {};
    const int parent = tree_.at(node).parent;
    if (parent == ExplorerTree::kNone)
        return {};
    return createIndex(tree_.rowOf(parent), 0, quintptr(parent));
}

int ExplorerTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(tree_.reportedChildren(nodeAt(parent)).size());
}

int ExplorerTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ExplorerTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return false;
    return tree_.childCount(nodeAt(parent)) > 0;
}

QVariant ExplorerTreeModel::data(const QModelIndex& index, int role) const {
    const int node = nodeAt(index);
    if (node == ExplorerTree::kNone)
        return {};
    const ExplorerTreeNode& n = tree_.at(node);
    switch (role) {
    case Qt::DisplayRole:
        return n.text;
    // A name cut off by a narrow explorer can be read whole by pointing at it.
    case Qt::ToolTipRole:
        return n.text;
    case Qt::DecorationRole:
        return images_.icon(n.image);
    case KeyRole:
        return n.key;
    default:
        return {};
    }
}

Qt::ItemFlags ExplorerTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ExplorerTreeModel::beginInsertChild(int parent, int row) {
    beginInsertRows(indexOf(parent), row, row);
}

void ExplorerTreeModel::endInsertChild() {
    endInsertRows();
}

void ExplorerTreeModel::beginRemoveChildren(int parent, int first, int last) {
    beginRemoveRows(indexOf(parent), first, last);
}

void ExplorerTreeModel::endRemoveChildren() {
    endRemoveRows();
}

void ExplorerTreeModel::nodeChanged(int node) {
    const QModelIndex changed = createIndex(tree_.rowOf(node), 0, quintptr(node));
    Q_EMIT dataChanged(changed, changed);
}

void ExplorerTreeModel::childPresenceChanged(int) {
    // The view keeps whether an item has children from its last layout; a layout change
    // makes it look again, so the expander appears or goes.
    Q_EMIT layoutAboutToBeChanged();
    Q_EMIT layoutChanged();
}

void ExplorerTreeModel::beginReset() {
    beginResetModel();
}

void ExplorerTreeModel::endReset() {
    endResetModel();
}

} // namespace velora::explorer
