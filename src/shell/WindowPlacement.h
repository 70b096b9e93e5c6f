#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>

namespace velora::shell {

// Where the main window opens from its stored size and position, and what is stored for it.
// Both directions speak of the same thing: the window's inner area (without the frame the
// window manager adds), in twips, positioned from the top left of the screen's available area.
// So a window that is closed and opened again comes back exactly where and as large as it was.
class WindowPlacement {
public:
    static constexpr int kTwipsPerPixel = 15;
    // A stored position that asks for the window to be centred.
    static constexpr double kCentred = -1;
    // The stored values are read back as 16-bit integers.
    static constexpr int kLargestStored = 32767;
    static constexpr int kSmallestStored = -32768;

    // The window's rectangle in twips: the stored size, and each stored coordinate kept unless
    // it is -1 or lies beyond the screen (left greater than the screen width, top greater than
    // the screen height), in which case the window is centred in that direction:
    // (screen extent - window extent) / 2.
    static QRectF place(double storedLeft, double storedTop, double width, double height,
                        const QSizeF& screen);
    // One coordinate of the rule above.
    static double placeCoordinate(double stored, double windowExtent, double screenExtent);

    // The inner area to give the window, in pixels on the screen whose available area is
    // `available` (pixels), from the stored values, clamped to that area: a window saved on a
    // larger screen, or partly beyond its edge, opens whole on this one.
    static QRect restored(int storedLeft, int storedTop, int width, int height,
                          const QRect& available);
    // The window made no larger than the available area and moved inside it.
    static QRect clamped(const QRect& window, const QRect& available);
    // What is stored for a window whose inner area is `inner` (pixels on the screen): left,
    // top, width and height in twips, relative to `available`, each clamped so that the next
    // start can read it (a window wider than 2,184 pixels is stored as 32767 twips wide).
    static QRect stored(const QRect& inner, const QRect& available);
    // A value clamped to the range of the stored 16-bit integers.
    static int storable(long long value);
};

} // namespace velora::shell
