#pragma once

#include "OperatorPreferences.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QFrame;
class QMenu;

namespace velora::widgets {
class cSplitter;
}
namespace velora::recalc {
class IncentiveRecalculation;
}
namespace velora::detail {
class UserPanes;
}
namespace velora::explorer {
class IncentiveExplorer;
class ExplorerReactions;
} // namespace velora::explorer

namespace velora::common {
class DetailArea;
}
namespace velora::formulas {
class FormulaPanes;
}

namespace velora::shell {

class ExplorerRefresh;
class HelpWindow;
class KeyCommandRunner;
class MainMenuBar;
class MainWindowGeometry;
class StartupRecalculation;
class UnloadSequence;

// The program's one long-lived window: the explorer on the left, the details area on the
// right, the menus, the busy indication, start-up (load) and the unload sequence. It
// coordinates; the panes and the routines it calls do the work.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(common::AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: login, connection, partition mode, preferences, placement, start dates and the
    // start-up timer. False when the program must end (the reason has been shown).
    bool load();
    // The unload sequence; runs once (closing, File > Exit or a failed start-up). False when a
    // pane's save failed and the operator chose to keep the window open.
    bool unload();

    common::AppContext& context() { return context_; }
    common::BusyIndicator& busy() { return busy_; }
    common::DetailArea& details() { return *details_; }
    explorer::IncentiveExplorer& explorer() { return *explorer_; }
    explorer::ExplorerReactions& explorerReactions() { return *reactions_; }
    // The user header and weekly detail; built once the operator is logged in.
    detail::UserPanes* userPanes() const { return userPanes_.get(); }
    // The formula pane and the formula and group operations; built with the user panes.
    formulas::FormulaPanes* formulaPanes() const { return formulaPanes_.get(); }
    widgets::cSplitter& splitter();
    QTimer& loaderTimer();
    recalc::IncentiveRecalculation* recalculation() const;

    // The latest day strictly before today that falls on the first day of the week
    // (1 = Sunday .. 7 = Saturday).
    static QDate lastWeekStartBefore(const QDate& today, int firstDayOfWeek);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildCentre();
    bool startUp();
    void decidePartitionMode();
    bool displayCatalogue();
    void setFullModeControls(bool full);
    void connectExplorer();
    void buildUserPanes();
    void onUpdateComplete();
    void revert();
    void setStartDates();
    void showGeneralError(int number, const QString& description);
    void updateIncentiveValues();
    void editPreferences();
    void applyPreferences(const common::Preferences& before);
    void showHelp();
    void showPaneHelp();
    void saveWindowSettings();
    bool savePanesOnUnload();

    common::AppContext& context_;
    common::BusyIndicator busy_;
    OperatorPreferences preferences_;
    explorer::IncentiveExplorer* explorer_ = nullptr;
    std::unique_ptr<explorer::ExplorerReactions> reactions_;
    std::unique_ptr<detail::UserPanes> userPanes_;
    std::unique_ptr<formulas::FormulaPanes> formulaPanes_;
    common::DetailArea* details_ = nullptr;
    std::unique_ptr<MainWindowGeometry> geometry_;
    std::unique_ptr<StartupRecalculation> startup_;
    std::unique_ptr<KeyCommandRunner> keys_;
    std::unique_ptr<MainMenuBar> menus_;
    std::unique_ptr<ExplorerRefresh> refresh_;
    std::unique_ptr<UnloadSequence> unload_;
    HelpWindow* help_ = nullptr;
};

} // namespace velora::shell
