#include "VeloraEmblem.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velora::shell {

namespace {

const QColor kDeepBlue(0x1f, 0x4e, 0x79);
const QColor kLightBlue(0x3d, 0x7e, 0xb8);
const QColor kGold(0xf2, 0xb6, 0x3c);

} // namespace

VeloraEmblem::VeloraEmblem(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("picEmblem"));
    setFixedSize(sizeHint());
}

void VeloraEmblem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2;
    painter.translate((width() - side) / 2, (height() - side) / 2);
    painter.scale(side / 100.0, side / 100.0); // draw on a 100 x 100 grid

    QLinearGradient fill(0, 0, 100, 100);
    fill.setColorAt(0, kLightBlue);
    fill.setColorAt(1, kDeepBlue);
    painter.setPen(QPen(kDeepBlue.darker(130), 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(1, 1, 98, 98), 22, 22);

    // The "V": two strokes meeting at the foot, the right one reaching higher.
    QPainterPath letter;
    letter.moveTo(24, 28);
    letter.lineTo(46, 76);
    letter.lineTo(72, 20);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(letter);

    // A gold spark at the top of the rising stroke.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGold);
    painter.drawEllipse(QPointF(80, 17), 7, 7);
}

} // namespace velora::shell
