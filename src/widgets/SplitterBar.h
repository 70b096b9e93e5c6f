#pragma once

#include <QWidget>

namespace velora::widgets {

class cSplitter;

// The strip between the splitter's panes. As the handle it shows a sizing cursor and a small
// grip and hands its mouse events to the splitter in the container's coordinates; as the drag
// ghost it is a checkerboard-hatched bar that follows the mouse above the panes while a drag
// without FullDrag is under way.
class SplitterBar : public QWidget {
    Q_OBJECT

public:
    enum class Look { Handle, DragGhost };

    SplitterBar(cSplitter& splitter, Look look, QWidget* container);

    void setOrientation(int orientation);

    // The 8 by 8 checkerboard (rows 0xAA and 0x55 in turn) that hatches the drag ghost.
    static QBrush hatchBrush(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintHandle(QPainter& painter);
    QPoint inContainer(const QPointF& pos) const;

    cSplitter& splitter_;
    Look look_;
    int orientation_ = 1;
};

} // namespace velora::widgets
