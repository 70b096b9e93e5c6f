#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <functional>

class QTreeView;

namespace velora::explorer {

// The explorer view's own keyboard and mouse input that the view does not handle as the
// explorer needs: Enter opens the current node as a click does, and the right button reaches
// the node under the mouse (the view alone would only move its selection, or nothing).
class ExplorerViewInput : public QObject {
    Q_OBJECT

public:
    struct Handlers {
        std::function<void(const QModelIndex& current)> enter;
        std::function<void(const QModelIndex& index, const QPoint& globalPos)> rightPress;
    };

    // Watches view and its viewport for as long as both live.
    ExplorerViewInput(QTreeView& view, Handlers handlers, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool enterPressed(QEvent* event);
    bool rightPressed(QEvent* event);

    QTreeView& view_;
    Handlers handlers_;
};

} // namespace velora::explorer
