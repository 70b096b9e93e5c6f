#include "ClipPainter.h"

#include "AnimationClip.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace velora::widgets {

namespace {

const QColor kInk(0x2f, 0x5d, 0x9a);
const QColor kPaper(0xfd, 0xfd, 0xfb);
const QColor kPaperEdge(0x8a, 0x93, 0xa3);
const QColor kTextLine(0xb4, 0xbc, 0xc8);

double fraction(double value) {
    return value - std::floor(value);
}

QPointF bezier(const QPointF& from, const QPointF& via, const QPointF& to, double t) {
    const double u = 1.0 - t;
    return u * u * from + 2.0 * u * t * via + t * t * to;
}

// Fades in over the first tenth of a flight and out over the last.
double flightOpacity(double t) {
    return std::clamp(std::sin(std::numbers::pi * t) * 1.8, 0.0, 1.0);
}

void drawGroundShadow(QPainter& painter, const QPointF& centre, double width) {
    QRadialGradient shade(centre, width / 2);
    shade.setColorAt(0.0, QColor(0, 0, 0, 60));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.save();
    painter.translate(centre);
    painter.scale(1.0, 0.18);
    painter.translate(-centre);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(centre, width / 2, width / 2);
    painter.restore();
}

// A database server: a steel cylinder of three platters with a busy light on each.
void drawServer(QPainter& painter, double phase) {
    const double left = 22;
    const double width = 40;
    const double top = 16;
    const double bottom = 54;
    const double lid = 9;
    drawGroundShadow(painter, QPointF(left + width / 2, bottom + lid / 2 + 1), width + 14);

    QLinearGradient steel(left, 0, left + width, 0);
    steel.setColorAt(0.0, QColor(0x2c, 0x4f, 0x80));
    steel.setColorAt(0.45, QColor(0x7d, 0xa7, 0xdb));
    steel.setColorAt(1.0, QColor(0x24, 0x43, 0x6d));
    QPainterPath body;
    body.moveTo(left, top + lid / 2);
    body.lineTo(left, bottom);
    body.arcTo(QRectF(left, bottom - lid / 2, width, lid), 180, 180);
    body.lineTo(left + width, top + lid / 2);
    body.closeSubpath();
    painter.setPen(QPen(QColor(0x1d, 0x36, 0x5a), 1.0));
    painter.setBrush(steel);
    painter.drawPath(body);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x1d, 0x36, 0x5a, 170), 1.0));
    const double platter = (bottom - top) / 3;
    for (int i = 1; i < 3; ++i)
        painter.drawArc(QRectF(left, top + i * platter, width, lid), 180 * 16, 180 * 16);

    QLinearGradient lidShade(left, top, left + width, top + lid);
    lidShade.setColorAt(0.0, QColor(0xb9, 0xd3, 0xf2));
    lidShade.setColorAt(1.0, QColor(0x6c, 0x97, 0xcc));
    painter.setPen(QPen(QColor(0x1d, 0x36, 0x5a), 1.0));
    painter.setBrush(lidShade);
    painter.drawEllipse(QRectF(left, top, width, lid));

    const int busy = static_cast<int>(phase * 9) % 3;
    for (int i = 0; i < 3; ++i) {
        const QPointF light(left + width - 8, top + lid / 2 + platter * (i + 0.62));
        const bool lit = i == busy;
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit ? QColor(0x5c, 0xf0, 0x7a) : QColor(0x1f, 0x5e, 0x33));
        painter.drawEllipse(light, 1.8, 1.8);
        if (lit) {
            QRadialGradient glow(light, 5);
            glow.setColorAt(0.0, QColor(0x5c, 0xf0, 0x7a, 150));
            glow.setColorAt(1.0, QColor(0x5c, 0xf0, 0x7a, 0));
            painter.setBrush(glow);
            painter.drawEllipse(light, 5, 5);
        }
    }
}

// A table of records being filled row by row: rows above the current one hold data, the
// current one fills from left to right.
void drawTable(QPainter& painter, double phase) {
    const QRectF sheet(168, 14, 54, 44);
    constexpr int rows = 5;
    drawGroundShadow(painter, QPointF(sheet.center().x(), sheet.bottom() + 3), sheet.width() + 12);
    painter.setPen(QPen(kPaperEdge, 1.0));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(sheet, 2.5, 2.5);

    const double header = 8;
    QPainterPath headerBand;
    headerBand.addRoundedRect(QRectF(sheet.left(), sheet.top(), sheet.width(), header + 3), 2.5,
                              2.5);
    QPainterPath clipBelow;
    clipBelow.addRect(QRectF(sheet.left(), sheet.top(), sheet.width(), header));
    painter.fillPath(headerBand.intersected(clipBelow), kInk);

    const double rowHeight = (sheet.height() - header) / rows;
    const double idColumn = sheet.left() + 14;
    const int current = std::min(rows - 1, static_cast<int>(phase * rows));
    const double filling = phase * rows - current;
    for (int row = 0; row < rows; ++row) {
        const double y = sheet.top() + header + row * rowHeight;
        if (row == current) {
            QRectF lit(sheet.left() + 1, y + 0.5, (sheet.width() - 2) * filling, rowHeight - 1);
            painter.fillRect(lit, QColor(0xff, 0xe6, 0x8a));
        }
        if (row < current || (row == current && filling > 0.5)) {
            painter.setPen(QPen(kTextLine, 1.6, Qt::SolidLine, Qt::RoundCap));
            const double mid = y + rowHeight / 2;
            painter.drawLine(QPointF(sheet.left() + 4, mid), QPointF(idColumn - 4, mid));
            const double length = 16 + ((row * 7) % 3) * 5;
            painter.drawLine(QPointF(idColumn + 4, mid), QPointF(idColumn + 4 + length, mid));
        }
        if (row > 0) {
            painter.setPen(QPen(QColor(0xdd, 0xe2, 0xea), 0.8));
            painter.drawLine(QPointF(sheet.left() + 1, y), QPointF(sheet.right() - 1, y));
        }
    }
    painter.setPen(QPen(QColor(0xdd, 0xe2, 0xea), 0.8));
    painter.drawLine(QPointF(idColumn, sheet.top() + header), QPointF(idColumn, sheet.bottom()));
}

// A record card in flight: a small white form with a blue title strip and two lines.
void drawCard(QPainter& painter, const QPointF& centre, double angle, double scale,
              double opacity) {
    painter.save();
    painter.setOpacity(opacity);
    painter.translate(centre);
    painter.rotate(angle);
    painter.scale(scale, scale);
    const QRectF card(-8, -6, 16, 12);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1.0));
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawRoundedRect(card.translated(1, 1.2), 1.5, 1.5);
    painter.setPen(QPen(kInk, 0.9));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(card, 1.5, 1.5);
    painter.fillRect(QRectF(card.left() + 0.5, card.top() + 0.5, card.width() - 1, 3), kInk);
    painter.setPen(QPen(kTextLine, 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-5, 0), QPointF(5, 0));
    painter.drawLine(QPointF(-5, 3), QPointF(2, 3));
    painter.restore();
}

void paintTransfer(QPainter& painter, double phase) {
    const QPointF from(44, 18);
    const QPointF via(118, 2);
    const QPointF to(194, 16);
    QPainterPath route;
    route.moveTo(from);
    route.quadTo(via, to);
    painter.setPen(QPen(QColor(0x8a, 0x93, 0xa3, 110), 1.0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(route);

    drawServer(painter, phase);
    drawTable(painter, phase);
    constexpr int cards = 3;
    for (int i = 0; i < cards; ++i) {
        const double t = fraction(phase + static_cast<double>(i) / cards);
        const QPointF at = bezier(from, via, to, t);
        drawCard(painter, at, (t - 0.5) * 36.0, 0.8 + 0.25 * std::sin(std::numbers::pi * t),
                 flightOpacity(t));
    }
}

// A written page: white with a turned-down corner and lines of text.
void drawPage(QPainter& painter, const QRectF& page, bool withText) {
    const double fold = 6;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    painter.setPen(QPen(kPaperEdge, 1.0));
    painter.setBrush(kPaper);
    painter.drawPath(outline);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    corner.closeSubpath();
    painter.setBrush(QColor(0xdf, 0xe4, 0xec));
    painter.drawPath(corner);
    if (!withText)
        return;
    painter.setPen(QPen(kTextLine, 1.4, Qt::SolidLine, Qt::RoundCap));
    const double step = page.height() / 8;
    for (int line = 2; line < 7; ++line) {
        const double y = page.top() + line * step;
        const double end = page.right() - 4 - (line % 3 == 0 ? page.width() * 0.3 : 0);
        painter.drawLine(QPointF(page.left() + 4, y), QPointF(end, y));
    }
}

void drawPageStack(QPainter& painter) {
    drawGroundShadow(painter, QPointF(42, 58), 52);
    drawPage(painter, QRectF(30, 19, 28, 37), false);
    drawPage(painter, QRectF(26, 16, 28, 37), false);
    drawPage(painter, QRectF(22, 13, 28, 37), true);
}

// A 3.5-inch disk with its metal shutter and a label whose bar shows how far the save has got;
// pulse lights the shutter when a page goes in.
void drawDisk(QPainter& painter, double progress, double pulse) {
    const QRectF body(170, 10, 48, 48);
    drawGroundShadow(painter, QPointF(body.center().x(), body.bottom() + 2), body.width() + 12);
    QPainterPath shape;
    const double cut = 6;
    shape.moveTo(body.left() + 2, body.top());
    shape.lineTo(body.right() - cut, body.top());
    shape.lineTo(body.right(), body.top() + cut);
    shape.lineTo(body.right(), body.bottom() - 2);
    shape.quadTo(body.bottomRight(), QPointF(body.right() - 2, body.bottom()));
    shape.lineTo(body.left() + 2, body.bottom());
    shape.quadTo(body.bottomLeft(), QPointF(body.left(), body.bottom() - 2));
    shape.lineTo(body.left(), body.top() + 2);
    shape.quadTo(body.topLeft(), QPointF(body.left() + 2, body.top()));
    QLinearGradient plastic(body.topLeft(), body.bottomRight());
    plastic.setColorAt(0.0, QColor(0x3d, 0x5a, 0x86));
    plastic.setColorAt(1.0, QColor(0x1b, 0x2b, 0x45));
    painter.setPen(QPen(QColor(0x12, 0x1d, 0x2f), 1.0));
    painter.setBrush(plastic);
    painter.drawPath(shape);

    const QRectF shutter(body.left() + 11, body.top(), 26, 17);
    QLinearGradient metal(shutter.topLeft(), shutter.topRight());
    metal.setColorAt(0.0, QColor(0x9a, 0xa3, 0xad));
    metal.setColorAt(0.5, QColor(0xe9, 0xed, 0xf1));
    metal.setColorAt(1.0, QColor(0x8c, 0x95, 0xa0));
    painter.setPen(QPen(QColor(0x5f, 0x67, 0x72), 0.8));
    painter.setBrush(metal);
    painter.drawRect(shutter);
    painter.setBrush(QColor(0x22, 0x28, 0x31));
    painter.drawRect(QRectF(shutter.left() + 15, shutter.top() + 3, 6, 11));
    if (pulse > 0) {
        QRadialGradient glow(shutter.center(), 20);
        glow.setColorAt(0.0, QColor(0xff, 0xf3, 0xb0, static_cast<int>(170 * pulse)));
        glow.setColorAt(1.0, QColor(0xff, 0xf3, 0xb0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(shutter.center(), 20, 20);
    }

    const QRectF label(body.left() + 6, body.top() + 24, body.width() - 12, body.height() - 26);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawRoundedRect(label, 1.5, 1.5);
    painter.setPen(QPen(kTextLine, 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(label.left() + 4, label.top() + 6),
                     QPointF(label.right() - 4, label.top() + 6));
    painter.drawLine(QPointF(label.left() + 4, label.top() + 11),
                     QPointF(label.right() - 12, label.top() + 11));
    const QRectF track(label.left() + 4, label.bottom() - 7, label.width() - 8, 4);
    painter.setPen(QPen(QColor(0x9a, 0xa3, 0xad), 0.8));
    painter.setBrush(QColor(0xe6, 0xea, 0xef));
    painter.drawRoundedRect(track, 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0xa6, 0x55));
    painter.drawRoundedRect(QRectF(track.left(), track.top(), track.width() * progress, 4), 1.5,
                            1.5);
}

// Three chevrons pointing at the disk, lit one after the other.
void drawChevrons(QPainter& painter, double phase) {
    const int lit = static_cast<int>(phase * 6) % 3;
    for (int i = 0; i < 3; ++i) {
        const double x = 104 + i * 12;
        QColor colour = kInk;
        colour.setAlpha(i == lit ? 230 : 60);
        painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const QPointF points[3] = {{x, 42}, {x + 5, 47}, {x, 52}};
        painter.drawPolyline(points, 3);
    }
}

void paintSave(QPainter& painter, double phase) {
    drawPageStack(painter);
    drawChevrons(painter, phase);
    const QPointF from(36, 30);
    const QPointF via(110, 12);
    const QPointF to(194, 20);
    constexpr int pages = 2;
    double pulse = 0;
    for (int i = 0; i < pages; ++i) {
        const double t = fraction(phase * pages + static_cast<double>(i) / pages);
        pulse = std::max(pulse, t > 0.8 ? (t - 0.8) / 0.2 : 0.0);
    }
    drawDisk(painter, phase, pulse);
    for (int i = 0; i < pages; ++i) {
        const double t = fraction(phase * pages + static_cast<double>(i) / pages);
        const QPointF at = bezier(from, via, to, t);
        const double scale = 1.0 - 0.55 * t;
        painter.save();
        painter.setOpacity(t > 0.85 ? (1.0 - t) / 0.15 : std::min(1.0, t / 0.08));
        painter.translate(at);
        painter.rotate((t - 0.3) * 28.0);
        painter.scale(scale, scale);
        drawPage(painter, QRectF(-14, -18.5, 28, 37), true);
        painter.restore();
    }
}

} // namespace

void ClipPainter::paint(QPainter& painter, const QRectF& area, int clip, int frame) {
    if (!AnimationClip::exists(clip) || area.isEmpty())
        return;
    const AnimationClip& definition = AnimationClip::find(clip);
    const int step =
        ((frame % definition.frameCount) + definition.frameCount) % definition.frameCount;
    const double phase = static_cast<double>(step) / definition.frameCount;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(area.width() / kCanvas.width(), area.height() / kCanvas.height());
    painter.translate(area.center());
    painter.scale(scale, scale);
    painter.translate(-kCanvas.width() / 2, -kCanvas.height() / 2);
    if (clip == AnimationClip::kTransfer)
        paintTransfer(painter, phase);
    else
        paintSave(painter, phase);
    painter.restore();
}

} // namespace velora::widgets
