#include "AnimationControl.h"

#include "AnimationClip.h"
#include "ClipPainter.h"

#include <QPainter>

namespace velora::widgets {

AnimationControl::AnimationControl(QWidget* parent)
    : QWidget(parent) {
    connect(&timer_, &QTimer::timeout, this, &AnimationControl::advance);
}

void AnimationControl::Open(int clip) {
    const AnimationClip& definition = AnimationClip::find(clip);
    clip_ = definition.number;
    frame_ = 0;
    playing_ = false;
    timer_.setInterval(definition.frameMilliseconds);
    syncTimer();
    update();
}

void AnimationControl::Play() {
    if (clip_ == 0)
        return;
    playing_ = true;
    syncTimer();
}

void AnimationControl::Stop() {
    playing_ = false;
    syncTimer();
}

void AnimationControl::Close() {
    Stop();
    clip_ = 0;
    frame_ = 0;
    update();
}

void AnimationControl::advance() {
    if (clip_ == 0)
        return;
    frame_ = (frame_ + 1) % AnimationClip::find(clip_).frameCount;
    update();
}

// The timer runs only while there is something to see.
void AnimationControl::syncTimer() {
    if (playing_ && isVisible())
        timer_.start();
    else
        timer_.stop();
}

QSize AnimationControl::sizeHint() const {
    return ClipPainter::kCanvas.toSize();
}

void AnimationControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ClipPainter::paint(painter, QRectF(rect()), clip_, frame_);
}

void AnimationControl::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    syncTimer();
}

void AnimationControl::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    syncTimer();
}

} // namespace velora::widgets
