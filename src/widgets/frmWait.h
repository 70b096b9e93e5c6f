#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace velora::widgets {

class AnimationControl;

// The modeless "please wait" window shown during long operations: a message, a line of
// details and an animation, no buttons. Closing it (its title-bar button) unloads it: CancelWait
// turns true and Unloaded is raised, so that a caller polling the flag can stop. Escape does not
// close it, so a stray key cannot abandon the work. Showing it again loads it afresh.
//
// Controls: Frame1, lblMessage, lblDetails, ccrpAnimation1.
class frmWait : public QDialog {
    Q_OBJECT

public:
    explicit frmWait(QWidget* owner = nullptr);

    // False while the dialog is loaded; true once it has been unloaded.
    bool CancelWait() const { return cancelWait_; }

    QString MessageText() const;
    void setMessageText(const QString& text);
    QString DetailsText() const;
    void setDetailsText(const QString& text);

    // The clip playing (201 or 202); writing opens and starts that clip. An unknown number fails
    // with 326 and the clip playing goes on.
    int AniType() const { return aniType_; }
    void setAniType(int clip);

    QLabel* lblMessage() const { return message_; }
    QLabel* lblDetails() const { return details_; }
    AnimationControl* ccrpAnimation1() const { return animation_; }

    // Where a window of size `size` goes to sit centred over `owner` (both outer frames).
    static QPoint centredOver(const QRect& owner, const QSize& size);
    // Moves the dialog so that it sits centred over the owner window.
    void centreOver(const QWidget& owner);

Q_SIGNALS:
    void Unloaded();

public Q_SLOTS:
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static constexpr int kWidth = 360;
    static constexpr int kMinimumHeight = 170;
    static constexpr int kAnimationGap = 4;

    void unload();
    void fitHeight();
    int wantedHeight() const;

    QFrame* frame_;
    QLabel* message_;
    QLabel* details_;
    AnimationControl* animation_;
    int aniType_ = 0;
    bool cancelWait_ = false;
};

} // namespace velora::widgets
