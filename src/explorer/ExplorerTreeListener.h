#pragma once

namespace velora::explorer {

// What the tree tells the view's model. Row changes are reported only below nodes whose
// children the view has asked for; other nodes are told when they gain their first child
// or lose their last, so the view can redraw the expander.
class ExplorerTreeListener {
public:
    virtual ~ExplorerTreeListener() = default;

    virtual void beginInsertChild(int parent, int row) = 0;
    virtual void endInsertChild() = 0;
    virtual void beginRemoveChildren(int parent, int first, int last) = 0;
    virtual void endRemoveChildren() = 0;
    virtual void nodeChanged(int node) = 0;
    virtual void childPresenceChanged(int node) = 0;
    virtual void beginReset() = 0;
    virtual void endReset() = 0;
};

} // namespace velora::explorer
