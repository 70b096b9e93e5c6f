#pragma once

#include "ExplorerImages.h"
#include "ExplorerNode.h"
#include "ExplorerPopulation.h"
#include "ExplorerTree.h"

#include <QModelIndex>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <memory>

class QListWidget;
class QMenu;
class QTreeView;

namespace velora::explorer {

class ExplorerContextMenus;
class ExplorerEvents;
class ExplorerMenuCommands;
class ExplorerTreeBuilder;
class ExplorerTreeModel;

// The navigation control of the main window: a tree of users, formulas and groups with
// their account folders, the image list it draws from, the account list, and the context
// menus. Every public member reports its failures through IncentiveExplorerError instead
// of throwing; steps done before a failure stay done.
class IncentiveExplorer : public QWidget, public ExplorerPopulation {
    Q_OBJECT

public:
    explicit IncentiveExplorer(QWidget* parent = nullptr);
    ~IncentiveExplorer() override;

    // Population.
    void AddAccount(const QString& accountName, const QString& accountID,
                    bool isDeleted = false) override;
    void AddFormula(const QString& formulaName, const QString& formulaID) override;
    void AddGroup(const QString& groupName, const QString& groupID, const QString& tag = QString(),
                  bool deferred = false) override;
    void AddUser(const QString& userText, const QString& transID, const QString& tag,
                 bool isDeleted, bool deferred) override;
    void SetOperatorMode(bool operatorMode) override;
    void Sort() override;
    void AddGroupAccount(const QString& groupID, const QString& accountID,
                         const QString& tag = QString());
    void AddUserAccount(const QString& transID, const QString& accountID,
                        const QString& tag = QString());
    void AddExternalUserAccount(const QString& transID, const QString& accountID,
                                const QString& tag = QString());
    void ClearAllChildren(const ExplorerNode& node);
    void ClearAllNodes();
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // List views: each item carries its node's key in Qt::UserRole.
    void FillFormulaListView(QListWidget* listView);
    void FillUserListView(QListWidget* listView);
    void FillGroupListView(QListWidget* listView);
    void FillGroupAccountFolderListView(const QString& groupID, QListWidget* listView);
    void FillUserAccountFolderListView(const QString& transID, QListWidget* listView);
    void FillUserExternalAccountFolderListView(const QString& transID, QListWidget* listView);
    void ShowGroupAccountFolder(const QString& groupID, QListWidget* listView);

    // Selection.
    ExplorerNode CurrentNode();
    QString CurrentTransID();
    QString CurrentUserAccountID();
    QString CurrentUserAccountName();
    QString CurrentUserName();
    // The node that has the focus: the one clicked last, until another click takes it.
    QString FocusKey() const;
    // Selects a node and gives it the focus again without raising any event, for a host that
    // keeps the operator on a node the last click could not leave.
    void ReturnToNode(const QString& key);

    // Navigation.
    void DeleteFormula(const QString& formulaID);
    void DeleteGroup(const QString& groupID);
    void ClickNode(const QString& key);
    void ClickFormulaNode(const QString& formulaID);
    void ClickGroupNode(const QString& groupID);
    void Refresh();
    // Takes a formula's or a group's node (with everything below it) out of the tree without
    // raising any event, for a row found gone from the database; nothing when there is none.
    void RemoveFormulaNode(const QString& formulaID);
    void RemoveGroupNode(const QString& groupID);

    // The right button over a node: selects it and, in full mode (operator mode off), pops up
    // the node kind's menu at globalPos. The menus create, rename and delete, which only a
    // supervisor may do, so operator mode never shows them. lastPopup() tells which menu that
    // was (none: nullptr).
    void RightClickNode(const QString& key, const QPoint& globalPos);
    QMenu* lastPopup() const { return lastPopup_; }

    // Reading the tree (the host's on-demand loading and the tests).
    ExplorerNode node(const QString& key);
    bool hasNode(const QString& key);
    QStringList childKeys(const QString& key);
    const ExplorerAccountList& accountList() const { return tree_.accounts(); }
    qint16 unknownExternalCounter() const;
    QTreeView* tree() const { return tvwExplorer_; }
    // Wide enough to show a typical name ("Fitzgerald-Lopez, Annemarie") under its folder
    // in the tree's font, beside the tree's scroll bar.
    int typicalWidth() const;
    // The view's index of a node, invalid when there is none.
    QModelIndex modelIndex(const QString& key);
    const ExplorerImages& imglTreeView() const { return images_; }
    // Off: account folders are filled as soon as they are made (to compare with the lazy way).
    void setLazyAccountFolders(bool lazy) { tree_.setLazyAccountFolders(lazy); }

Q_SIGNALS:
    void RenameFormula(const QString& formulaID, const QString& oldName, QString& newName,
                       qint16& cancel, QString& tag);
    void RenameGroup(const QString& groupID, const QString& oldName, QString& newName,
                     qint16& cancel, bool& isDefault);
    void CreateFormula();
    void CreateGroup();
    void DeleteFormula(const QString& formulaName, const QString& formulaID, qint16& cancel);
    void DeleteGroup(const QString& groupName, const QString& groupID, qint16& cancel);
    void RootClick();
    void UserClick(const QString& userName, const QString& transID);
    void FormulaClick(const QString& formulaName, const QString& formulaID);
    void GroupClick(const QString& groupName, const QString& groupID);
    void AccountClick(const QString& accountName, const QString& accountID, const QString& groupID,
                      const QString& groupName);
    void UserAccountClick(const QString& userName, const QString& transID,
                          const QString& accountName, const QString& accountID);
    void LostFocusUser(const QString& userName, const QString& transID);
    void LostFocusFormula(const QString& formulaName, const QString& formulaID);
    void LostFocusGroup(const QString& groupName, const QString& groupID);
    void LostFocusAccount(const QString& accountName, const QString& accountID,
                          const QString& groupID);
    void LostFocusUserAccount(const QString& userName, const QString& transID,
                              const QString& accountID);
    void UserFolderClick();
    void FormulaFolderClick();
    void GroupFolderClick();
    void AccountFolderClick(const QString& groupID);
    void UserAccountFolderClick(const QString& transID);
    void UserExternalAccountFolderClick(const QString& transID);
    void UserFolderExpand(velora::explorer::ExplorerNode node, const QString& transID);
    void GroupFolderExpand(velora::explorer::ExplorerNode node, const QString& groupID);
    void IncentiveExplorerError(qint32 number, const QString& description);

private:
    friend class ExplorerNode;
    ExplorerTree& treeData() { return tree_; }

    template <typename Step> void guarded(Step&& step);

    void initialise();
    void buildMenus();

    int selectedNode() const;
    QString selectedKey() const;
    void selectNode(int node);
    void expandNode(int node);

    void fillFromFolder(QListWidget* listView, const QString& folderKey, ExplorerNodeType kind,
                        const QString& groupID = QString());

    ExplorerTree tree_;
    ExplorerImages images_;
    std::unique_ptr<ExplorerTreeBuilder> builder_;
    std::unique_ptr<ExplorerEvents> events_;
    std::unique_ptr<ExplorerMenuCommands> commands_;
    ExplorerTreeModel* model_ = nullptr;
    QTreeView* tvwExplorer_ = nullptr;
    std::unique_ptr<ExplorerContextMenus> menus_;
    QMenu* lastPopup_ = nullptr;
    bool operatorMode_ = true;
};

} // namespace velora::explorer
