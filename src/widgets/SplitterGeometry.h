#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace velora::widgets {

// The splitter's state and arithmetic, free of widgets: its properties with their checks, the
// limits that keep both panes within their minimum and maximum sizes, and where the panes and
// the bar go for a given inner size of the container. All sizes are in pixels.
class SplitterGeometry {
public:
    static constexpr int kStacked = 1;    // panes above each other, the bar moves up and down
    static constexpr int kSideBySide = 2; // panes beside each other, the bar moves left and right

    // Where the two panes and the bar go, in the container's inner coordinates. A pane that
    // would get a negative width or height cannot be placed; the layout stops there.
    struct Layout {
        std::optional<QRect> first;
        std::optional<QRect> bar;
        std::optional<QRect> second;
        bool complete() const { return first && second; }
    };

    // errorSource names the component in errors ("velora-incentive.cSplitter").
    explicit SplitterGeometry(QString errorSource = QStringLiteral("cSplitter"));

    int Orientation() const { return orientation_; }
    // Returns true when the value changed. Only 1 and 2 are orientations; others fail with 380.
    bool setOrientation(int value);

    int Position() const { return position_; }
    bool setPosition(int value);

    int SplitterSize() const { return splitterSize_; }
    // A negative size fails with 380 and keeps the old one.
    bool setSplitterSize(int value);

    // The first pane's share in percent, never above 100 when read.
    double Proportion() const;
    // 0 to 100 inclusive; anything else fails with 380 and keeps the old value.
    void setProportion(double percent);
    double proportionFraction() const { return proportion_; }
    // The share that Position gives of an inner extent; an empty container leaves it as it is.
    void updateProportion(int innerExtent);

    bool KeepProportion() const { return keepProportion_; }
    void setKeepProportion(bool value) { keepProportion_ = value; }

    bool FullDrag() const { return fullDrag_; }
    bool setFullDrag(bool value);

    // Pane index 1 or 2; any other index fails with 9. Values below 1 mean no limit.
    int MinimumSize(int pane) const;
    bool setMinimumSize(int pane, int value);
    int MaximumSize(int pane) const;
    void setMaximumSize(int pane, int value);

    // Position held within the limits for an inner extent (height when stacked, width side by
    // side). Without a known extent only the first pane's own limits apply. The first pane's
    // minimum is applied last, so it wins when the limits conflict.
    int limited(int position, std::optional<int> innerExtent) const;

    // Position that KeepProportion gives for an inner extent, before the limits.
    int proportionalPosition(int innerExtent) const;

    // The extent that counts for this orientation.
    int extentOf(const QSize& inner) const;
    // The movement along this orientation's axis.
    int along(const QPoint& delta) const;

    Layout layout(const QSize& inner) const;

private:
    static int checkedPane(int pane);
    [[noreturn]] void invalidValue(const QString& what) const;

    QString errorSource_;
    int orientation_ = kStacked;
    int position_ = 128;
    int splitterSize_ = 4;
    double proportion_ = 0.5;
    bool keepProportion_ = false;
    bool fullDrag_ = true;
    int minimum_[2] = {8, 8};
    int maximum_[2] = {-1, -1};
};

} // namespace velora::widgets
