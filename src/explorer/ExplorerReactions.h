#pragma once

#include "ExplorerNode.h"
#include "common/DetailArea.h"

#include <QObject>
#include <QString>
#include <functional>

class QListWidget;

namespace velora::common {
struct AppContext;
class BusyIndicator;
} // namespace velora::common

namespace velora::explorer {

class IncentiveExplorer;

// The editors the explorer's clicks open and the saves its lost-focus notices trigger. Each
// editor's own class provides its entry; an entry left empty shows its pane and nothing else.
struct ExplorerEditors {
    std::function<void(const QString& transID, const QString& userName)> loadUser;
    std::function<void(const QString& transID, const QString& userName, const QString& accountName,
                       const QString& accountID)>
        loadWeek;
    std::function<void(const QString& groupID, const QString& accountID, const QString& accountName,
                       const QString& groupName)>
        loadGroupAccount;
    std::function<void(const QString& formulaID, const QString& formulaName)> loadFormula;
    std::function<void()> saveUserGroup; // the user's group choice, not forced
    // The week's pending daily edits; false when the operator keeps the week on screen after
    // its save failed, so the click that follows opens nothing.
    std::function<bool()> saveWeek;
    std::function<void()> saveGroupAccount; // the group account's formula choice
    // The formula's edited text; false when it could not be saved and the operator stays on the
    // formula with the edit (as with a week).
    std::function<bool()> saveFormula;
};

// The main window's side of the explorer: which pane each click shows, the list view filled
// from the tree and its way back into the tree, the saves on leaving a node, and the
// on-demand loading of a user's or a group's accounts in partition mode.
class ExplorerReactions : public QObject {
    Q_OBJECT

public:
    ExplorerReactions(common::AppContext& context, IncentiveExplorer& explorer,
                      common::DetailArea& details, common::BusyIndicator& busy,
                      ExplorerEditors editors, QObject* parent = nullptr);

    // The list view's mouse-pressed flag: only an item click that follows a press of the mouse
    // in the list moves the tree.
    bool mousePressed() const { return mousePressed_; }
    // The editors can be replaced after construction (the main window builds them later).
    ExplorerEditors& editors() { return editors_; }

    // The explorer's selected user and account as statements take them: the user's trans_id as
    // the database holds it and the account's number ("" when the selection has none).
    QString CurrentTransID();
    QString CurrentUserAccountID();

    // The two on-demand loaders (also reached through the explorer's expand events).
    void loadUserAccounts(const ExplorerNode& node, const QString& transID);
    void loadGroupAccounts(const ExplorerNode& node, const QString& groupID);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectClicks();
    void connectFolderClicks();
    void connectLostFocus();
    void connectListView();
    void showList();
    bool keepNode();
    void keep(common::DetailArea::Pane pane);
    // Connects a click of the explorer to its reaction, which does not run while the operator
    // stays on a week or a formula that could not be saved.
    template <typename Signal, typename Reaction> void onClick(Signal signal, Reaction reaction);
    void showError(qint32 number, const QString& description);
    void showLoadFailure(int number, const QString& description);
    void closeConnection();
    void addUserAccountsOfPartitions(const QString& transID, QStringList& shown);
    void addExternalAccounts(const QString& transID, const QStringList& shown);
    QString accountNumber(const QString& transID, const QString& accountID);

    common::AppContext& context_;
    IncentiveExplorer& explorer_;
    common::DetailArea& details_;
    common::BusyIndicator& busy_;
    ExplorerEditors editors_;
    bool mousePressed_ = false;
    // The week or formula node the operator stays on after its save failed on leaving it, and
    // the pane that shows it.
    QString keptNode_;
    common::DetailArea::Pane keptPane_ = common::DetailArea::Pane::Splash;
};

} // namespace velora::explorer
