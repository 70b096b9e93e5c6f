#pragma once

#include <QSize>

namespace velora::common {

// The main window's minimum inner size in twips: tall enough for the editor panes (8800) and
// wide enough for the explorer beside an editor pane at its minimum width with a margin of 120.
struct WindowSizeRule {
    static constexpr int kMinimumInnerHeight = 8800;
    static constexpr int kMargin = 120;

    // The size the window must grow to (in twips), or the same size when it fits.
    static QSize apply(const QSize& innerTwips, int explorerTwips, int paneTwips) {
        QSize result = innerTwips;
        if (result.height() < kMinimumInnerHeight)
            result.setHeight(kMinimumInnerHeight);
        const int needed = explorerTwips + paneTwips + kMargin;
        if (needed > result.width())
            result.setWidth(needed);
        return result;
    }
};

} // namespace velora::common
