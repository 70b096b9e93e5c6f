#pragma once

#include <QSize>
#include <QString>

namespace velora::widgets {

// What the date picker remembers between events: the first text ever written to it (Escape
// goes back to it) and whether the calendar is dropped down, which fixes the control's size.
class DatePickerState {
public:
    static constexpr int kCollapsedWidthTwips = 1635;
    static constexpr int kCollapsedHeightTwips = 315;
    static constexpr int kDroppedWidthTwips = 2730;
    static constexpr int kDroppedHeightTwips = 2760;

    static QSize collapsedSize();
    static QSize droppedSize();

    // A text written through the control's Text property; only the first one is kept.
    void textAssigned(const QString& text);
    bool hasInitialText() const { return initialTextSet_; }
    // The text Escape restores: the first text written, "" before any.
    const QString& initialText() const { return initialText_; }

    bool isOpen() const { return open_; }
    void setOpen(bool open) { open_ = open; }
    // The size the control keeps: dropped down while open, collapsed otherwise.
    QSize size() const { return open_ ? droppedSize() : collapsedSize(); }

private:
    QString initialText_;
    bool initialTextSet_ = false;
    bool open_ = false;
};

} // namespace velora::widgets
