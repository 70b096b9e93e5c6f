#pragma once

#include "SplitterGeometry.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace velora::widgets {

class SplitterBar;

// Lays two bound widgets out beside (or above) each other inside a container, with a bar
// between them that the operator drags with the mouse. The container must not have a layout of
// its own: the splitter places the panes. It watches the container's resizes itself, and the
// bar (a child of the container filling the gap) feeds its mouse events to MouseDown, MouseMove
// and MouseUp, so the host forwards nothing. Resized is raised after every completed layout.
class cSplitter : public QObject {
    Q_OBJECT

public:
    explicit cSplitter(QObject* parent = nullptr);
    ~cSplitter() override;

    // 1: stacked, the bar moves up and down; 2: side by side, the bar moves left and right.
    int Orientation() const { return geometry_.Orientation(); }
    void setOrientation(int value);

    // Size of the first pane in pixels, from the container's inner top or left edge.
    int Position() const { return geometry_.Position(); }
    void setPosition(int value);

    int SplitterSize() const { return geometry_.SplitterSize(); }
    void setSplitterSize(int value);

    // The first pane's share of the container in percent, 0 to 100.
    double Proportion() const { return geometry_.Proportion(); }
    void setProportion(double percent);

    bool KeepProportion() const { return geometry_.KeepProportion(); }
    void setKeepProportion(bool value) { geometry_.setKeepProportion(value); }

    // True: the panes follow the mouse while dragging; False: a hatched bar does, and the panes
    // move when the button is released.
    bool FullDrag() const { return geometry_.FullDrag(); }
    void setFullDrag(bool value);

    int MinimumSize(int pane) const { return geometry_.MinimumSize(pane); }
    void setMinimumSize(int pane, int value);
    int MaximumSize(int pane) const { return geometry_.MaximumSize(pane); }
    void setMaximumSize(int pane, int value) { geometry_.setMaximumSize(pane, value); }

    QWidget* Container() const { return container_; }
    void setContainer(QWidget* container);

    // Binds the first and the second pane. Without a container, the first pane's parent becomes
    // the container. Both panes are moved into the container, then laid out.
    void Bind(QWidget* control1, QWidget* control2);

    // The container's mouse events, in the container's coordinates plus the screen position.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos,
                   const QPoint& globalPos);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint& pos,
                   const QPoint& globalPos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos,
                 const QPoint& globalPos);
    // Recomputes the position when KeepProportion is set, then lays the panes out.
    void Resize();

    bool isReady() const;
    bool isDragging() const { return dragging_; }
    // The bar between the panes, and the hatched bar that follows the mouse while a drag
    // without FullDrag is under way (null otherwise).
    QWidget* bar() const;
    QWidget* dragBar() const;

Q_SIGNALS:
    void Resized();
    // Raised when the left button goes down on the bar; a handler that sets cancel stops the
    // drag from starting.
    void BeforeDrag(int x, int y, bool& cancel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize innerSize() const;
    std::optional<int> innerExtent() const;
    int draggedPosition(const QPoint& globalPos) const;
    void layOut();
    void placeDragBar(int position);
    void ensureBar();
    static QString errorSource();

    SplitterGeometry geometry_;
    QPointer<QWidget> container_;
    QPointer<QWidget> control1_;
    QPointer<QWidget> control2_;
    QPointer<SplitterBar> bar_;
    QPointer<SplitterBar> dragBar_;
    bool dragging_ = false;
    QPoint dragStartGlobal_;
    int dragStartPosition_ = 0;
};

} // namespace velora::widgets
