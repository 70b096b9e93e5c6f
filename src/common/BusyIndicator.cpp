#include "BusyIndicator.h"

#include "widgets/frmWait.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

namespace {

// The window stops taking input; its owned wait dialog stays usable (a disabled window would
// disable the dialog's close box with it).
void setInputEnabled(QWidget& window, bool enabled) {
    auto* main = qobject_cast<QMainWindow*>(&window);
    if (!main || !main->centralWidget()) {
        window.setEnabled(enabled);
        return;
    }
    main->centralWidget()->setEnabled(enabled);
    main->menuBar()->setEnabled(enabled);
}

} // namespace

namespace velora::common {

BusyIndicator::~BusyIndicator() {
    delete wait_;
    if (busy_)
        QApplication::restoreOverrideCursor();
}

void BusyIndicator::BeginBusy(bool showDialog, const QString& firstText, const QString& secondText,
                              int animation) {
    if (wait_ && wait_->isVisible())
        return;
    if (!busy_)
        focus_ = QApplication::focusWidget();
    setInputEnabled(window_, false);
    if (!busy_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
    if (showDialog) {
        wait_ = new widgets::frmWait(&window_);
        wait_->setMessageText(firstText);
        wait_->setDetailsText(secondText);
        wait_->setAniType(animation);
        wait_->centreOver(window_);
        wait_->show();
    }
    QApplication::processEvents();
}

void BusyIndicator::EndBusy() {
    setInputEnabled(window_, true);
    if (busy_) {
        QApplication::restoreOverrideCursor();
        if (focus_ && focus_->isEnabled())
            focus_->setFocus();
    }
    busy_ = false;
    QApplication::processEvents();
    if (wait_) {
        wait_->close();
        delete wait_;
    }
}

} // namespace velora::common
