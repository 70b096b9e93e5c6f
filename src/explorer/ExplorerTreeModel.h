#pragma once

#include "ExplorerTreeListener.h"

#include <QAbstractItemModel>

namespace velora::explorer {

class ExplorerImages;
class ExplorerTree;

// The explorer's tree as a one-column item model for the tree view. An index's internal id
// is the node's arena index. Asking for a node's rows fills a lazy account folder and sorts
// a sorted one; hasChildren never does.
class ExplorerTreeModel : public QAbstractItemModel, public ExplorerTreeListener {
    Q_OBJECT

public:
    static constexpr int KeyRole = Qt::UserRole;

    ExplorerTreeModel(ExplorerTree& tree, const ExplorerImages& images, QObject* parent = nullptr);

    // The index of a node; its ancestors' children are reported to the view from now on.
    QModelIndex indexOf(int node) const;
    // The node of an index, -1 for the invalid index.
    static int nodeAt(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginInsertChild(int parent, int row) override;
    void endInsertChild() override;
    void beginRemoveChildren(int parent, int first, int last) override;
    void endRemoveChildren() override;
    void nodeChanged(int node) override;
    void childPresenceChanged(int node) override;
    void beginReset() override;
    void endReset() override;

private:
    ExplorerTree& tree_;
    const ExplorerImages& images_;
};

} // namespace velora::explorer
