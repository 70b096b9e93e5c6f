#pragma once

#include <QFrame>

class QLabel;
class QListWidget;

namespace velora::common {

// The details area (picDetails): exactly one of its panes shows at a time. The splash, the
// list view and the editor panes, which the editors' own classes fill. Every pane takes the
// whole area, so the panes grow with the window.
class DetailArea : public QFrame {
    Q_OBJECT

public:
    enum class Pane { Splash, ListView, UserHeader, UserDetail, Account, Formula };

    explicit DetailArea(QWidget* parent = nullptr);

    QWidget* pane(Pane pane) const;
    // Shows one pane in front and hides the others.
    void showPane(Pane pane);
    // The splash in front, the five other panes hidden (start-up and catalogue reload).
    void showSplash() { showPane(Pane::Splash); }

    // Puts an editor's controls into its pane, in place of the pane's placeholder title.
    void setPaneContent(Pane pane, QWidget* content);
    bool isShowing(Pane which) const { return !pane(which)->isHidden(); }
    // The pane in front.
    Pane shownPane() const { return shown_; }

    QListWidget* listView() const { return listView_; }
    // The width every editor pane needs at least: its designed width, or more when a pane's
    // content needs more (known for certain once the area has been shown and polished).
    int minimumPaneWidth() const;

Q_SIGNALS:
    void paneShown(velora::common::DetailArea::Pane pane);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeEditorPane(const char* name, const QString& title);
    void buildSplash();
    void layOut();

    QWidget* panes_[6] = {};
    QListWidget* listView_ = nullptr;
    Pane shown_ = Pane::Splash;
};

} // namespace velora::common
