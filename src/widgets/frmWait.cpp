#include "frmWait.h"

#include "AnimationControl.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace velora::widgets {

frmWait::frmWait(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint)
    , frame_(new QFrame(this))
    , message_(new QLabel(frame_))
    , details_(new QLabel(frame_))
    , animation_(new AnimationControl(frame_)) {
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Velora Incentive"));
    setModal(false);
    setFont(QFont(QStringLiteral("Arial"), 9));

    frame_->setObjectName(QStringLiteral("Frame1"));
    frame_->setFrameShape(QFrame::StyledPanel);
    frame_->setFrameShadow(QFrame::Sunken);
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setText(QStringLiteral("Please wait while the Incentive data is loaded..."));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    details_->setObjectName(QStringLiteral("lblDetails"));
    details_->setAlignment(Qt::AlignCenter);
    details_->setWordWrap(true);
    details_->setForegroundRole(QPalette::PlaceholderText);
    QFont smaller = details_->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
    details_->setFont(smaller);
    animation_->setObjectName(QStringLiteral("ccrpAnimation1"));
    animation_->setFixedSize(animation_->sizeHint());

    auto* content = new QVBoxLayout(frame_);
    content->setContentsMargins(14, 12, 14, 12);
    content->setSpacing(6);
    content->addWidget(animation_, 0, Qt::AlignHCenter);
    content->addSpacing(kAnimationGap);
    content->addWidget(message_);
    content->addWidget(details_);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(frame_);
    setFixedWidth(kWidth);
    fitHeight();
}

// Long messages wrap; the dialog grows downward to show them whole, keeping its centre when it
// is already on screen.
void frmWait::fitHeight() {
    const int wanted = std::max(kMinimumHeight, wantedHeight());
    if (wanted == height())
        return;
    const int grown = wanted - height();
    setFixedHeight(wanted);
    if (isVisible())
        move(x(), y() - grown / 2);
}

// Worked out from the labels themselves rather than asked of the layouts, whose cached answers
// lag one layout pass behind a new text.
int frmWait::wantedHeight() const {
    const QMargins outer = layout()->contentsMargins();
    const QLayout* content = frame_->layout();
    const QMargins inner = content->contentsMargins();
    const int frameWidth = frame_->frameWidth();
    const int labelWidth =
        kWidth - outer.left() - outer.right() - 2 * frameWidth - inner.left() - inner.right();
    const int labels = message_->heightForWidth(labelWidth) + details_->heightForWidth(labelWidth);
    return outer.top() + outer.bottom() + 2 * frameWidth + inner.top() + inner.bottom() +
           animation_->height() + kAnimationGap + 3 * content->spacing() + labels;
}

QString frmWait::MessageText() const {
    return message_->text();
}

void frmWait::setMessageText(const QString& text) {
    message_->setText(text);
    fitHeight();
}

QString frmWait::DetailsText() const {
    return details_->text();
}

void frmWait::setDetailsText(const QString& text) {
    details_->setText(text);
    fitHeight();
}

void frmWait::setAniType(int clip) {
    animation_->Open(clip);
    aniType_ = clip;
    animation_->Play();
}

QPoint frmWait::centredOver(const QRect& owner, const QSize& size) {
    return {owner.left() + (owner.width() - size.width()) / 2,
            owner.top() + (owner.height() - size.height()) / 2};
}

void frmWait::centreOver(const QWidget& owner) {
    move(centredOver(owner.frameGeometry(), frameGeometry().size()));
}

bool frmWait::event(QEvent* event) {
    // Texts written straight into the labels reach here as a layout request.
    if (event->type() == QEvent::LayoutRequest)
        fitHeight();
    return QDialog::event(event);
}

void frmWait::reject() {
    // Escape: the dialog has no cancel button, only its close box unloads it.
}

void frmWait::showEvent(QShowEvent* event) {
    if (cancelWait_) {
        cancelWait_ = false;
        if (aniType_ != 0)
            animation_->Play();
    }
    fitHeight();
    QDialog::showEvent(event);
}

void frmWait::closeEvent(QCloseEvent* event) {
    event->accept();
    unload();
}

void frmWait::unload() {
    if (cancelWait_)
        return;
    cancelWait_ = true;
    animation_->Stop();
    Q_EMIT Unloaded();
}

} // namespace velora::widgets
