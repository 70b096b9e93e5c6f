#pragma once

#include <QMetaType>
#include <QString>

namespace velora::explorer {

class IncentiveExplorer;

// A handle on one node of an explorer's tree: the control and the node's key. It reads the
// node afresh on each call, so a handle on a removed node simply becomes invalid.
class ExplorerNode {
public:
    ExplorerNode() = default;
    ExplorerNode(IncentiveExplorer* explorer, const QString& key)
        : explorer_(explorer)
        , key_(key) {}

    bool isValid() const;
    const QString& key() const { return key_; }
    QString text() const;
    QString tag() const;
    void setTag(const QString& tag);
    // The key of the node's icon ("CLSDFOLD", "USER", ...).
    QString image() const;
    bool isExpanded() const;
    int childCount() const;
    // First child and next sibling in display order; invalid handles when there is none.
    ExplorerNode firstChild() const;
    ExplorerNode nextSibling() const;

    bool operator==(const ExplorerNode& other) const = default;

private:
    int index() const;

    IncentiveExplorer* explorer_ = nullptr;
    QString key_;
};

} // namespace velora::explorer

Q_DECLARE_METATYPE(velora::explorer::ExplorerNode)
