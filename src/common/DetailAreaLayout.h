#pragma once

#include <QRect>
#include <QSize>

namespace velora::common {

// Where the panes of the detail area go when it changes size: the group-account pane is
// centred horizontally; the formula, splash, user-detail and user-header panes take its left
// and keep their sizes; the list view fills the area.
struct DetailAreaLayout {
    int fixedPaneLeft = 0;
    QRect listView;

    static DetailAreaLayout compute(const QSize& area, int accountPaneWidth) {
        return {(area.width() - accountPaneWidth) / 2, QRect(QPoint(0, 0), area)};
    }
};

// The main window's minimum inner size in twips: tall enough for the fixed panes (8800) and
// wide enough for the explorer beside the group-account pane with a margin of 120.
struct WindowSizeRule {
    static constexpr int kMinimumInnerHeight = 8800;
    static constexpr int kMargin = 120;

    // The size the window must grow to (in twips), or the same size when it fits.
    static QSize apply(const QSize& innerTwips, int explorerTwips, int accountPaneTwips) {
        QSize result = innerTwips;
        if (result.height() < kMinimumInnerHeight)
            result.setHeight(kMinimumInnerHeight);
        const int needed = explorerTwips + accountPaneTwips + kMargin;
        if (needed > result.width())
            result.setWidth(needed);
        return result;
    }
};

} // namespace velora::common
