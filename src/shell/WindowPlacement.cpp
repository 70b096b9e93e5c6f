#include "WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace velora::shell {

namespace {

int toPixels(double twips) {
    return static_cast<int>(std::lround(twips / WindowPlacement::kTwipsPerPixel));
}

long long toTwips(int pixels) {
    return static_cast<long long>(pixels) * WindowPlacement::kTwipsPerPixel;
}

} // namespace

double WindowPlacement::placeCoordinate(double stored, double windowExtent, double screenExtent) {
    // A position saved on a larger screen than the present one would put the window out of
    // sight, so it is centred instead.
    const double position = stored > screenExtent ? kCentred : stored;
    if (position == kCentred)
        return (screenExtent - windowExtent) / 2;
    return position;
}

QRectF WindowPlacement::place(double storedLeft, double storedTop, double width, double height,
                              const QSizeF& screen) {
    return QRectF(placeCoordinate(storedLeft, width, screen.width()),
                  placeCoordinate(storedTop, height, screen.height()), width, height);
}

QRect WindowPlacement::restored(int storedLeft, int storedTop, int width, int height,
                                const QRect& available) {
    const QSizeF screen(static_cast<double>(toTwips(available.width())),
                        static_cast<double>(toTwips(available.height())));
    const QRectF twips = place(storedLeft, storedTop, width, height, screen);
    return clamped(QRect(available.left() + toPixels(twips.left()),
                         available.top() + toPixels(twips.top()), toPixels(twips.width()),
                         toPixels(twips.height())),
                   available);
}

QRect WindowPlacement::clamped(const QRect& window, const QRect& available) {
    const int width = std::clamp(window.width(), 1, std::max(1, available.width()));
    const int height = std::clamp(window.height(), 1, std::max(1, available.height()));
    const int left = std::clamp(window.left(), available.left(), available.right() + 1 - width);
    const int top = std::clamp(window.top(), available.top(), available.bottom() + 1 - height);
    return QRect(left, top, width, height);
}

int WindowPlacement::storable(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kSmallestStored, kLargestStored));
}

QRect WindowPlacement::stored(const QRect& inner, const QRect& available) {
    return QRect(storable(toTwips(inner.left() - available.left())),
                 storable(toTwips(inner.top() - available.top())), storable(toTwips(inner.width())),
                 storable(toTwips(inner.height())));
}

} // namespace velora::shell
