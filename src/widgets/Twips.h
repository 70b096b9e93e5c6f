#pragma once

#include "WidgetError.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <limits>

namespace velora::widgets {

// Forms, stored window positions and the preferences measure in twips (1440 to the inch); Qt
// lays out in device-independent pixels, 96 to the inch, so 15 twips make one pixel. Results
// are rounded to the nearest whole unit, halves away from zero.
class Twips {
public:
    static constexpr int kPerInch = 1440;
    static constexpr int kDefaultDpi = 96;
    static constexpr int kPerPixel = kPerInch / kDefaultDpi;

    static int toPixels(int twips, int dpi = kDefaultDpi) {
        return scaled(twips, checkedDpi(dpi), kPerInch);
    }
    static int fromPixels(int pixels, int dpi = kDefaultDpi) {
        return scaled(pixels, kPerInch, checkedDpi(dpi));
    }

    static QSize toPixels(const QSize& twips) {
        return {toPixels(twips.width()), toPixels(twips.height())};
    }
    static QPoint toPixels(const QPoint& twips) {
        return {toPixels(twips.x()), toPixels(twips.y())};
    }
    static QRect toPixels(const QRect& twips) {
        return {toPixels(twips.topLeft()), toPixels(twips.size())};
    }
    static QSize fromPixels(const QSize& pixels) {
        return {fromPixels(pixels.width()), fromPixels(pixels.height())};
    }
    static QPoint fromPixels(const QPoint& pixels) {
        return {fromPixels(pixels.x()), fromPixels(pixels.y())};
    }

private:
    static int checkedDpi(int dpi) {
        if (dpi <= 0)
            throw WidgetError(WidgetErrorNumber::InvalidArgument,
                              QStringLiteral("Invalid procedure call or argument: a resolution of "
                                             "%1 dots per inch")
                                  .arg(dpi));
        return dpi;
    }

    // value * numerator / denominator, rounded half away from zero and kept inside int.
    static int scaled(int value, long long numerator, long long denominator) {
        const long long product = static_cast<long long>(value) * numerator;
        const long long half = denominator / 2;
        const long long result =
            product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
        if (result > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
        if (result < std::numeric_limits<int>::min())
            return std::numeric_limits<int>::min();
        return static_cast<int>(result);
    }
};

} // namespace velora::widgets
