#include "ExplorerViewInput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>

namespace velora::explorer {

ExplorerViewInput::ExplorerViewInput(QTreeView& view, Handlers handlers, QObject* parent)
    : QObject(parent)
    , view_(view)
    , handlers_(std::move(handlers)) {
    view_.viewport()->installEventFilter(this);
    view_.installEventFilter(this);
}

bool ExplorerViewInput::eventFilter(QObject* watched, QEvent* event) {
    // The event's type is checked first: the view is only asked for its viewport while it is
    // whole, not for the events of its own destruction.
    if (event->type() == QEvent::KeyPress && watched == &view_ && enterPressed(event))
        return true;
    if (event->type() == QEvent::MouseButtonPress && watched == view_.viewport() &&
        rightPressed(event))
        return true;
    return QObject::eventFilter(watched, event);
}

// Enter on a current node is taken here; any other key goes on to the view.
bool ExplorerViewInput::enterPressed(QEvent* event) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const QModelIndex current = view_.currentIndex();
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !current.isValid())
        return false;
    handlers_.enter(current);
    return true;
}

// Every right press is taken here, over a node or not, so the view never moves its selection
// on its own; over a node the handler decides what happens.
bool ExplorerViewInput::rightPressed(QEvent* event) {
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::RightButton)
        return false;
    const QModelIndex index = view_.indexAt(press->position().toPoint());
    if (index.isValid())
        handlers_.rightPress(index, press->globalPosition().toPoint());
    return true;
}

} // namespace velora::explorer
