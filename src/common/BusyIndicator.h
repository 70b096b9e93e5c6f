#pragma once

#include "widgets/frmWait.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace velora::common {

// The busy indication of the main window (BeginBusy/EndBusy): the window disabled with the
// hourglass, optionally the wait dialog centred over it. Not counted: one EndBusy ends any
// number of BeginBusy calls, and BeginBusy while the wait dialog shows does nothing.
class BusyIndicator {
public:
    explicit BusyIndicator(QWidget& window)
        : window_(window) {}
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    void BeginBusy(bool showDialog, const QString& firstText, const QString& secondText,
                   int animation);
    void EndBusy();

    widgets::frmWait* waitDialog() const { return wait_; }
    bool isBusy() const { return busy_; }

private:
    QWidget& window_;
    QPointer<widgets::frmWait> wait_;
    // The control that had the keyboard focus: disabling the window takes it away, and the
    // operator goes on typing where they were once the window is usable again.
    QPointer<QWidget> focus_;
    bool busy_ = false;
};

} // namespace velora::common
