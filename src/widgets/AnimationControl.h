#pragma once

#include <QTimer>
#include <QWidget>

namespace velora::widgets {

// Plays one of the program's animation clips (AnimationClip) in a loop. The frames are drawn by
// ClipPainter; a timer steps through them while the control is playing and visible.
class AnimationControl : public QWidget {
    Q_OBJECT

public:
    explicit AnimationControl(QWidget* parent = nullptr);

    // Opens the clip with that number at its first frame, stopped; an unknown number fails with
    // 326 and leaves the current clip as it was.
    void Open(int clip);
    void Play();
    void Stop();
    // Closes the clip: nothing is shown any more.
    void Close();

    int clip() const { return clip_; }
    int frame() const { return frame_; }
    bool isPlaying() const { return playing_; }

    // One step of the clip, as the timer takes it.
    void advance();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void syncTimer();

    QTimer timer_;
    int clip_ = 0;
    int frame_ = 0;
    bool playing_ = false;
};

} // namespace velora::widgets
