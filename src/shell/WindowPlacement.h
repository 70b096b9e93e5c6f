#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>

namespace velora::shell {

// Where the main window opens, from its stored size and position. Everything here is in
// twips, the unit the window settings are stored in (15 twips to a pixel at 96 dpi); the
// screen extent must be given in twips as well.
class WindowPlacement {
public:
    static constexpr int kTwipsPerPixel = 15;
    // A stored position that asks for the window to be centred.
    static constexpr double kCentred = -1;

    // The window's rectangle: the stored size, and each stored coordinate kept unless it is
    // -1 or lies beyond the screen (left greater than the screen width, top greater than the
    // screen height), in which case the window is centred in that direction:
    // (screen extent - window extent) / 2.
    static QRectF place(double storedLeft, double storedTop, double width, double height,
                        const QSizeF& screen);

    // One coordinate of the rule above.
    static double placeCoordinate(double stored, double windowExtent, double screenExtent);

    static QSizeF pixelsToTwips(const QSize& pixels);
    // Rounded to whole pixels.
    static QRect twipsToPixels(const QRectF& twips);
};

} // namespace velora::shell
