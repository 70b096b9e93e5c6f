#include "SplitterBar.h"

#include "SplitterGeometry.h"
#include "cSplitter.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace velora::widgets {

SplitterBar::SplitterBar(cSplitter& splitter, Look look, QWidget* container)
    : QWidget(container)
    , splitter_(splitter)
    , look_(look) {
    setAttribute(Qt::WA_Hover);
    if (look_ == Look::DragGhost)
        setAttribute(Qt::WA_TransparentForMouseEvents);
    setOrientation(splitter.Orientation());
}

void SplitterBar::setOrientation(int orientation) {
    orientation_ = orientation;
    if (look_ == Look::Handle)
        setCursor(orientation == SplitterGeometry::kStacked ? Qt::SplitVCursor : Qt::SplitHCursor);
    update();
}

QBrush SplitterBar::hatchBrush(const QColor& color) {
    static constexpr uchar rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    return QBrush(color, QBitmap::fromData(QSize(8, 8), rows, QImage::Format_MonoLSB));
}

void SplitterBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (look_ == Look::DragGhost) {
        painter.fillRect(rect(), hatchBrush(palette().color(QPalette::WindowText)));
        return;
    }
    paintHandle(painter);
}

// A flat strip in the window colour, lit on hover, with a bevel along its long edges and a row
// of grip dots in the middle where there is room for them.
void SplitterBar::paintHandle(QPainter& painter) {
    const QPalette& colours = palette();
    const bool stacked = orientation_ == SplitterGeometry::kStacked;
    const bool hovered = underMouse() || splitter_.isDragging();
    QColor base = colours.color(QPalette::Window);
    if (hovered)
        base = base.darker(108);
    painter.fillRect(rect(), base);

    painter.setPen(colours.color(QPalette::Light));
    if (stacked)
        painter.drawLine(0, 0, width() - 1, 0);
    else
        painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(colours.color(QPalette::Mid));
    if (stacked)
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    else
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);

    const int thickness = stacked ? height() : width();
    const int length = stacked ? width() : height();
    constexpr int dots = 5;
    constexpr int pitch = 5;
    if (thickness < 3 || length < dots * pitch * 2)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hovered ? colours.color(QPalette::Highlight) : colours.color(QPalette::Dark));
    const qreal dot = std::min(2.0, thickness / 2.0);
    const QPointF centre = QRectF(rect()).center();
    for (int i = 0; i < dots; ++i) {
        const qreal offset = (i - (dots - 1) / 2.0) * pitch;
        const QPointF at = stacked ? QPointF(centre.x() + offset, centre.y())
                                   : QPointF(centre.x(), centre.y() + offset);
        painter.drawEllipse(at, dot / 2 + 0.5, dot / 2 + 0.5);
    }
}

QPoint SplitterBar::inContainer(const QPointF& pos) const {
    return mapToParent(pos.toPoint());
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    splitter_.MouseDown(event->button(), event->modifiers(), inContainer(event->position()),
                        event->globalPosition().toPoint());
    update();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    splitter_.MouseMove(event->buttons(), event->modifiers(), inContainer(event->position()),
                        event->globalPosition().toPoint());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    splitter_.MouseUp(event->button(), event->modifiers(), inContainer(event->position()),
                      event->globalPosition().toPoint());
    update();
}

} // namespace velora::widgets
