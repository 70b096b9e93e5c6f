#include "WindowPlacement.h"

#include <cmath>

namespace velora::shell {

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

QSizeF WindowPlacement::pixelsToTwips(const QSize& pixels) {
    return QSizeF(pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel);
}

QRect WindowPlacement::twipsToPixels(const QRectF& twips) {
    const auto toPixels = [](double value) {
        return static_cast<int>(std::lround(value / kTwipsPerPixel));
    };
    return QRect(toPixels(twips.left()), toPixels(twips.top()), toPixels(twips.width()),
                 toPixels(twips.height()));
}

} // namespace velora::shell
