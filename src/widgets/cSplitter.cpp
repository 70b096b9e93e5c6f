#include "cSplitter.h"

#include "SplitterBar.h"
#include "WidgetError.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace velora::widgets {

cSplitter::cSplitter(QObject* parent)
    : QObject(parent)
    , geometry_(errorSource()) {}

cSplitter::~cSplitter() {
    // The bars are children of the container, which may outlive the splitter.
    delete dragBar_;
    delete bar_;
    if (container_)
        container_->removeEventFilter(this);
}

QString cSplitter::errorSource() {
    const QString program = QCoreApplication::applicationName();
    return (program.isEmpty() ? QStringLiteral("velora-incentive") : program) +
           QStringLiteral(".cSplitter");
}

void cSplitter::setOrientation(int value) {
    if (!geometry_.setOrientation(value))
        return;
    if (bar_)
        bar_->setOrientation(value);
    Resize();
}

void cSplitter::setPosition(int value) {
    if (value == geometry_.Position())
        return;
    geometry_.setPosition(geometry_.limited(value, innerExtent()));
    geometry_.updateProportion(innerExtent().value_or(0));
    Resize();
}

void cSplitter::setSplitterSize(int value) {
    if (geometry_.setSplitterSize(value))
        Resize();
}

void cSplitter::setProportion(double percent) {
    geometry_.setProportion(percent);
    Resize();
}

void cSplitter::setFullDrag(bool value) {
    if (geometry_.setFullDrag(value) && value)
        delete dragBar_;
}

void cSplitter::setMinimumSize(int pane, int value) {
    if (geometry_.setMinimumSize(pane, value))
        Resize();
}

void cSplitter::setContainer(QWidget* container) {
    if (container == container_)
        return;
    if (container_)
        container_->removeEventFilter(this);
    container_ = container;
    if (container_) {
        container_->installEventFilter(this);
        if (bar_)
            bar_->setParent(container_);
    }
}

void cSplitter::Bind(QWidget* control1, QWidget* control2) {
    if (!control1 || !control2)
        throw WidgetError(WidgetErrorNumber::InvalidArgument,
                          QStringLiteral("Invalid procedure call or argument: Bind needs two "
                                         "controls"),
                          errorSource());
    if (!container_)
        setContainer(control1->parentWidget());
    if (!container_)
        throw WidgetError(WidgetErrorNumber::InvalidArgument,
                          QStringLiteral("Invalid procedure call or argument: the first control "
                                         "has no container"),
                          errorSource());
    for (QWidget* control : {control1, control2}) {
        if (control->parentWidget() == container_)
            continue;
        const bool wasHidden = control->isHidden();
        control->setParent(container_);
        control->setVisible(!wasHidden);
    }
    control1_ = control1;
    control2_ = control2;
    ensureBar();
    Resize();
}

void cSplitter::ensureBar() {
    if (bar_)
        return;
    bar_ = new SplitterBar(*this, SplitterBar::Look::Handle, container_);
    bar_->setObjectName(QStringLiteral("splitterBar"));
    bar_->setOrientation(Orientation());
    bar_->show();
}

bool cSplitter::isReady() const {
    return container_ && control1_ && control2_;
}

QWidget* cSplitter::bar() const {
    return bar_;
}

QWidget* cSplitter::dragBar() const {
    return dragBar_;
}

QSize cSplitter::innerSize() const {
    return container_ ? container_->contentsRect().size() : QSize();
}

std::optional<int> cSplitter::innerExtent() const {
    if (!container_)
        return std::nullopt;
    return geometry_.extentOf(innerSize());
}

void cSplitter::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos,
                          const QPoint& globalPos) {
    if (!isReady() || button != Qt::LeftButton)
        return;
    bool cancel = false;
    Q_EMIT BeforeDrag(pos.x(), pos.y(), cancel);
    if (cancel)
        return;
    dragging_ = true;
    dragStartGlobal_ = globalPos;
    dragStartPosition_ = Position();
    if (!FullDrag())
        placeDragBar(Position());
}

void cSplitter::MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, const QPoint&,
                          const QPoint& globalPos) {
    if (!isReady() || !dragging_)
        return;
    const int position = draggedPosition(globalPos);
    if (FullDrag()) {
        geometry_.setPosition(position);
        layOut();
    } else {
        placeDragBar(position);
    }
}

void cSplitter::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint&,
                        const QPoint& globalPos) {
    if (!isReady() || !dragging_)
        return;
    delete dragBar_;
    geometry_.setPosition(draggedPosition(globalPos));
    layOut();
    geometry_.updateProportion(innerExtent().value_or(0));
    dragging_ = false;
}

int cSplitter::draggedPosition(const QPoint& globalPos) const {
    const int moved = geometry_.along(globalPos - dragStartGlobal_);
    return geometry_.limited(dragStartPosition_ + moved, innerExtent());
}

void cSplitter::Resize() {
    if (!isReady())
        return;
    if (KeepProportion()) {
        const int extent = geometry_.extentOf(innerSize());
        geometry_.setPosition(geometry_.limited(geometry_.proportionalPosition(extent), extent));
    }
    layOut();
}

void cSplitter::layOut() {
    const SplitterGeometry::Layout layout = geometry_.layout(innerSize());
    const QPoint origin = container_->contentsRect().topLeft();
    if (!layout.first)
        return;
    control1_->setGeometry(layout.first->translated(origin));
    bar_->setGeometry(layout.bar->translated(origin));
    if (!layout.second)
        return;
    control2_->setGeometry(layout.second->translated(origin));
    Q_EMIT Resized();
}

void cSplitter::placeDragBar(int position) {
    if (!dragBar_) {
        dragBar_ = new SplitterBar(*this, SplitterBar::Look::DragGhost, container_);
        dragBar_->setObjectName(QStringLiteral("splitterDragBar"));
    }
    const QRect inner = container_->contentsRect();
    const bool stacked = Orientation() == SplitterGeometry::kStacked;
    dragBar_->setGeometry(
        stacked ? QRect(inner.left(), inner.top() + position, inner.width(), SplitterSize())
                : QRect(inner.left() + position, inner.top(), SplitterSize(), inner.height()));
    dragBar_->show();
    dragBar_->raise();
}

bool cSplitter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container_ && event->type() == QEvent::Resize)
        Resize();
    return QObject::eventFilter(watched, event);
}

} // namespace velora::widgets
