#include "SplitterGeometry.h"

#include "WidgetError.h"

#include <QPoint>
#include <cmath>

namespace velora::widgets {

SplitterGeometry::SplitterGeometry(QString errorSource)
    : errorSource_(std::move(errorSource)) {}

bool SplitterGeometry::setOrientation(int value) {
    if (value != kStacked && value != kSideBySide)
        invalidValue(QStringLiteral("Orientation %1").arg(value));
    if (value == orientation_)
        return false;
    orientation_ = value;
    return true;
}

bool SplitterGeometry::setPosition(int value) {
    if (value == position_)
        return false;
    position_ = value;
    return true;
}

bool SplitterGeometry::setSplitterSize(int value) {
    if (value == splitterSize_)
        return false;
    if (value < 0)
        invalidValue(QStringLiteral("SplitterSize %1").arg(value));
    splitterSize_ = value;
    return true;
}

double SplitterGeometry::Proportion() const {
    return std::min(proportion_, 1.0) * 100.0;
}

void SplitterGeometry::setProportion(double percent) {
    // Written so that NaN fails too.
    if (!(percent >= 0.0 && percent <= 100.0))
        invalidValue(QStringLiteral("Proportion %1").arg(percent));
    proportion_ = percent / 100.0;
}

void SplitterGeometry::updateProportion(int innerExtent) {
    if (innerExtent > 0)
        proportion_ = static_cast<double>(position_) / innerExtent;
}

bool SplitterGeometry::setFullDrag(bool value) {
    if (value == fullDrag_)
        return false;
    fullDrag_ = value;
    return true;
}

int SplitterGeometry::MinimumSize(int pane) const {
    return minimum_[checkedPane(pane)];
}

bool SplitterGeometry::setMinimumSize(int pane, int value) {
    int& slot = minimum_[checkedPane(pane)];
    if (slot == value)
        return false;
    slot = value;
    return true;
}

int SplitterGeometry::MaximumSize(int pane) const {
    return maximum_[checkedPane(pane)];
}

void SplitterGeometry::setMaximumSize(int pane, int value) {
    maximum_[checkedPane(pane)] = value;
}

int SplitterGeometry::limited(int position, std::optional<int> innerExtent) const {
    if (innerExtent) {
        const int secondPane = *innerExtent - position - splitterSize_;
        if (maximum_[1] >= 1 && secondPane > maximum_[1])
            position = *innerExtent - maximum_[1] - splitterSize_;
    }
    if (maximum_[0] >= 1 && position > maximum_[0])
        position = maximum_[0];
    if (innerExtent) {
        const int secondPane = *innerExtent - position - splitterSize_;
        if (minimum_[1] > 0 && secondPane < minimum_[1])
            position = *innerExtent - minimum_[1] - splitterSize_;
    }
    if (minimum_[0] >= 1 && position < minimum_[0])
        position = minimum_[0];
    return position;
}

int SplitterGeometry::proportionalPosition(int innerExtent) const {
    return static_cast<int>(std::lround(proportion_ * innerExtent));
}

int SplitterGeometry::extentOf(const QSize& inner) const {
    return orientation_ == kStacked ? inner.height() : inner.width();
}

int SplitterGeometry::along(const QPoint& delta) const {
    return orientation_ == kStacked ? delta.y() : delta.x();
}

SplitterGeometry::Layout SplitterGeometry::layout(const QSize& inner) const {
    Layout result;
    const bool stacked = orientation_ == kStacked;
    const int across = stacked ? inner.width() : inner.height();
    const int firstExtent = position_;
    if (firstExtent < 0 || across < 0)
        return result;
    const int secondStart = firstExtent + splitterSize_;
    const int secondExtent = extentOf(inner) - secondStart;
    if (stacked) {
        result.first = QRect(0, 0, across, firstExtent);
        result.bar = QRect(0, firstExtent, across, splitterSize_);
        if (secondExtent >= 0)
            result.second = QRect(0, secondStart, across, secondExtent);
    } else {
        result.first = QRect(0, 0, firstExtent, across);
        result.bar = QRect(firstExtent, 0, splitterSize_, across);
        if (secondExtent >= 0)
            result.second = QRect(secondStart, 0, secondExtent, across);
    }
    return result;
}

int SplitterGeometry::checkedPane(int pane) {
    if (pane != 1 && pane != 2)
        throw WidgetError(WidgetErrorNumber::SubscriptOutOfRange,
                          QStringLiteral("Subscript out of range: pane %1 (1 or 2)").arg(pane));
    return pane - 1;
}

void SplitterGeometry::invalidValue(const QString& what) const {
    throw WidgetError(WidgetErrorNumber::InvalidPropertyValue,
                      QStringLiteral("Invalid property value: ") + what, errorSource_);
}

} // namespace velora::widgets
