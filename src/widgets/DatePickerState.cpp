#include "DatePickerState.h"

#include "Twips.h"

namespace velora::widgets {

QSize DatePickerState::collapsedSize() {
    return Twips::toPixels(QSize(kCollapsedWidthTwips, kCollapsedHeightTwips));
}

QSize DatePickerState::droppedSize() {
    return Twips::toPixels(QSize(kDroppedWidthTwips, kDroppedHeightTwips));
}

void DatePickerState::textAssigned(const QString& text) {
    if (initialTextSet_)
        return;
    initialText_ = text;
    initialTextSet_ = true;
}

} // namespace velora::widgets
