#include "MainWindowGeometry.h"

#include "WindowPlacement.h"
#include "common/DetailArea.h"
#include "common/WindowSizeRule.h"
#include "explorer/IncentiveExplorer.h"
#include "widgets/Twips.h"
#include "widgets/cSplitter.h"

#include <QLayout>
#include <QMainWindow>
#include <QScreen>

namespace velora::shell {

namespace {

constexpr int kExplorerDesignWidth = 180; // pixels

} // namespace

MainWindowGeometry::MainWindowGeometry(QMainWindow& window, explorer::IncentiveExplorer& explorer,
                                       common::DetailArea& details)
    : window_(window)
    , explorer_(explorer)
    , details_(details)
    , splitter_(std::make_unique<widgets::cSplitter>(&window)) {
    splitter_->setContainer(window.centralWidget());
}

MainWindowGeometry::~MainWindowGeometry() = default;

// The stored size and position are those of the inner area, as settings() gives them.
void MainWindowGeometry::place(const common::Preferences& p) {
    window_.setGeometry(WindowPlacement::restored(p.windowLeft, p.windowTop, p.windowWidth,
                                                  p.windowHeight,
                                                  window_.screen()->availableGeometry()));
}

// Explorer and details side by side; the operator may narrow the explorer down to its design
// width, the details keep their panes' minimum width. The window's minimum leaves the explorer
// a typical name's width (applyMinimumSize), so it opens that wide unless it was left narrower.
// The stored position (in pixels) waits until the window is shown: before that the panes have no
// real size yet, and the limits would cut the position down to the explorer's minimum.
void MainWindowGeometry::bindSplitter(int storedPosition) {
    splitter_->setOrientation(2);
    splitter_->setMinimumSize(1, kExplorerDesignWidth);
    splitter_->setMinimumSize(2, details_.minimumPaneWidth());
    splitter_->Bind(&explorer_, &details_);
    splitToRestore_ = storedPosition;
}

void MainWindowGeometry::shown() {
    if (!splitToRestore_)
        return;
    // The panes are polished now and may need more width than at load: the splitter and the
    // window's minimum follow before the stored position is applied against them.
    splitter_->setMinimumSize(2, details_.minimumPaneWidth());
    applyMinimumSize();
    if (QLayout* frame = window_.layout())
        frame->activate(); // the centre takes the window's size now
    splitter_->setPosition(*splitToRestore_);
    splitToRestore_.reset();
    // The minimum may have made the window larger than it was placed: it stays on the screen.
    window_.setGeometry(
        WindowPlacement::clamped(window_.geometry(), window_.screen()->availableGeometry()));
}

// The panes stay whole: the inner area may not get smaller than the size rule asks for, so a
// smaller window size snaps back.
void MainWindowGeometry::resized() {
    applyMinimumSize();
    if (splitter_->isReady())
        splitter_->Resize();
}

// The window may shrink until the explorer has its typical width beside the panes at their
// minimum: the splitter narrows a wider explorer first. Counting the explorer's present width
// instead would keep a window whose explorer was widened from ever fitting a smaller screen.
void MainWindowGeometry::applyMinimumSize() {
    const int explorerWidth = explorer_.typicalWidth();
    const QSize needed = widgets::Twips::toPixels(
        common::WindowSizeRule::apply(QSize(0, 0), widgets::Twips::fromPixels(explorerWidth),
                                      widgets::Twips::fromPixels(details_.minimumPaneWidth())));
    if (needed != window_.centralWidget()->minimumSize())
        window_.centralWidget()->setMinimumSize(needed);
}

// What place() and shown() restore, in the same terms: the inner area of the window as it is
// when not maximised, and the splitter position (the stored one while the window has not been
// shown), each within what the next start can read.
common::WindowSettings MainWindowGeometry::settings() const {
    const QRect inner =
        window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
    const QRect stored = WindowPlacement::stored(inner, window_.screen()->availableGeometry());
    common::WindowSettings settings;
    settings.height = static_cast<float>(stored.height());
    settings.width = static_cast<float>(stored.width());
    settings.top = static_cast<float>(stored.top());
    settings.left = static_cast<float>(stored.left());
    settings.splitPosition =
        WindowPlacement::storable(splitToRestore_.value_or(splitter_->Position()));
    return settings;
}

} // namespace velora::shell
