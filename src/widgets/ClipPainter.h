#pragma once

#include <QRectF>
#include <QSizeF>

class QPainter;

namespace velora::widgets {

// Draws the frames of the wait dialog's clips. Each clip is drawn on a 240 by 64 canvas that is
// scaled to fit the area and centred in it; a frame depends only on the clip and its number, so
// the same frame always looks the same.
class ClipPainter {
public:
    static constexpr QSizeF kCanvas{240.0, 64.0};

    // Draws frame (counted from 0, taken modulo the clip's length) of the clip; a number that is
    // not a clip draws nothing.
    static void paint(QPainter& painter, const QRectF& area, int clip, int frame);
};

} // namespace velora::widgets
