#pragma once

#include <QFrame>

class QLabel;
class QListWidget;

namespace velora::common {

// The details area (picDetails): exactly one of its panes shows at a time. The splash, the
// list view and the fixed-size editor panes, which the editors' own classes fill.
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

    // Puts an editor's controls into its fixed pane, in place of the pane's placeholder title.
    void setPaneContent(Pane pane, QWidget* content);
    bool isShowing(Pane which) const { return !pane(which)->isHidden(); }

    QListWidget* listView() const { return listView_; }
    int accountPaneWidth() const;

    // Widens the fixed panes to the widest polished content (see setPaneContent).
    void fitFixedPanesToContent();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeFixedPane(const char* name, const QString& title);
    void widenFixedPanes(int width);
    void buildSplash();
    void layOut();

    QWidget* panes_[6] = {};
    QListWidget* listView_ = nullptr;
};

} // namespace velora::common
