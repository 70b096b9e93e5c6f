#include "IncentiveExplorer.h"

#include "ExplorerContextMenus.h"
#include "ExplorerError.h"
#include "ExplorerKeyPart.h"
#include "ExplorerKeys.h"
#include "ExplorerListView.h"
#include "ExplorerNumbers.h"
#include "ExplorerTreeModel.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <limits>

namespace velora::explorer {

namespace {

using Kind = ExplorerNodeType;
using Keys = ExplorerKeys;

const QChar kSeparator(u'.');

QString lastSegment(const QString& key) {
    return key.mid(key.lastIndexOf(kSeparator) + 1);
}

QString userKey(const QString& key) {
    return Keys::UsersFolder() + kSeparator + Keys::GetUserKeyPart(key);
}

QString groupKey(const QString& key) {
    return Keys::Group(Keys::GetGroupID(key));
}

} // namespace

IncentiveExplorer::IncentiveExplorer(QWidget* parent)
    : QWidget(parent) {
    qRegisterMetaType<ExplorerNode>();
    model_ = new ExplorerTreeModel(tree_, images_, this);
    tree_.setListener(model_);
    tvwExplorer_ = new QTreeView(this);
    tvwExplorer_->setObjectName(QStringLiteral("tvwExplorer"));
    tvwExplorer_->setHeaderHidden(true);
    tvwExplorer_->setUniformRowHeights(true);
    tvwExplorer_->setAnimated(false);
    tvwExplorer_->setSelectionMode(QAbstractItemView::SingleSelection);
    tvwExplorer_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwExplorer_->setIconSize(QSize(ExplorerImages::kSize, ExplorerImages::kSize));
    tvwExplorer_->setModel(model_);
    tvwExplorer_->viewport()->installEventFilter(this);
    tvwExplorer_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tvwExplorer_);

    connect(tvwExplorer_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        guarded([&] { dispatchClick(ExplorerTreeModel::nodeAt(index)); });
    });
    connect(tvwExplorer_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        guarded([&] { onViewExpanded(ExplorerTreeModel::nodeAt(index)); });
    });
    connect(tvwExplorer_, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        guarded([&] { onViewCollapsed(ExplorerTreeModel::nodeAt(index)); });
    });
    buildMenus();
    guarded([&] { initialise(); });
}

int IncentiveExplorer::typicalWidth() const {
    static const QString typicalName = QStringLiteral("Fitzgerald-Lopez, Annemarie");
    const QFontMetrics metrics(tvwExplorer_->font());
    const QStyle* style = tvwExplorer_->style();
    constexpr int kLevels = 2; // the root, then the users' folder
    constexpr int kTextMargins = 8;
    return kLevels * tvwExplorer_->indentation() + ExplorerImages::kSize + kTextMargins +
           metrics.horizontalAdvance(typicalName) + style->pixelMetric(QStyle::PM_ScrollBarExtent) +
           2 * tvwExplorer_->frameWidth();
}

IncentiveExplorer::~IncentiveExplorer() {
    // The view goes with its parent after this; it must not ask a model whose tree is gone.
    tree_.setListener(nullptr);
    tvwExplorer_->setModel(nullptr);
}

template <typename Step> void IncentiveExplorer::guarded(Step&& step) {
    try {
        step();
    } catch (const NumberedError& error) {
        Q_EMIT IncentiveExplorerError(error.number(), error.description());
    } catch (const std::exception& error) {
        Q_EMIT IncentiveExplorerError(ExplorerErrorNumber::Internal,
                                      QString::fromLocal8Bit(error.what()));
    }
}

// ---- Initialisation and menus ----

void IncentiveExplorer::initialise() {
    // The view hears of the whole new tree at once, not of each fixed node.
    model_->beginReset();
    tree_.setListener(nullptr);
    tree_.clear();
    const int root = tree_.add(ExplorerTree::kNone, Keys::Root(),
                               QStringLiteral("Zarererov Avudezez"), ExplorerImage::Root);
    const int users = tree_.add(root, Keys::UsersFolder(), QStringLiteral("Users"),
                                ExplorerImage::ClosedFolder, true);
    tree_.add(root, Keys::FormulasFolder(), QStringLiteral("Formulas"), ExplorerImage::ClosedFolder,
              true);
    tree_.add(root, Keys::GroupsFolder(), QStringLiteral("Groups"), ExplorerImage::ClosedFolder,
              true);
    tree_.setListener(model_);
    model_->endReset();
    lastKey_ = Keys::Root();
    selectNode(users);
    operatorMode_ = true;
}

void IncentiveExplorer::buildMenus() {
    menus_ = std::make_unique<ExplorerContextMenus>(
        *this, ExplorerContextMenus::Handlers{
                   [this] { Q_EMIT CreateFormula(); }, [this] { renameFormulaChosen(); },
                   [this] { deleteFormulaChosen(); }, [this] { renameGroupChosen(); },
                   [this] { deleteGroupChosen(); }, [this] { Q_EMIT CreateGroup(); },
                   [this] { refreshChosen(); }});
}

// ---- Population ----

void IncentiveExplorer::AddAccount(const QString& accountName, const QString& accountID,
                                   bool isDeleted) {
    guarded([&] { tree_.addAccount(accountName, accountID, isDeleted); });
}

void IncentiveExplorer::AddFormula(const QString& formulaName, const QString& formulaID) {
    guarded([&] {
        tree_.add(tree_.require(Keys::FormulasFolder()), Keys::Formula(formulaID), formulaName,
                  ExplorerImage::Formula);
    });
}

void IncentiveExplorer::AddGroup(const QString& groupName, const QString& groupID,
                                 const QString& tag, bool deferred) {
    guarded([&] {
        const int group = tree_.add(tree_.require(Keys::GroupsFolder()), Keys::Group(groupID),
                                    groupName, ExplorerImage::Group);
        tree_.setTag(group, tag);
        const QString folderKey = Keys::GroupAccountFolder(groupID);
        // A group's default formula assignment is reached through its "Default Account"
        // node; an account list without the default account's record (outside partition
        // mode) gives the folder the node of its own.
        const bool ownDefault = !deferred && tree_.accounts().indexOf(QStringLiteral("-1")) < 0;
        const int folder = tree_.addAccountFolder(group, folderKey, true, !deferred, ownDefault);
        if (!deferred)
            return;
        // Two placeholders give the folder an expander until the accounts are loaded.
        tree_.add(folder, folderKey + QStringLiteral(".-1"), QStringLiteral("Default Account"),
                  ExplorerImage::AccountDef);
        tree_.add(folder, folderKey + QStringLiteral(".-2"), QStringLiteral("External Accounts"),
                  ExplorerImage::AccountExt);
    });
}

void IncentiveExplorer::AddUser(const QString& userText, const QString& transID, const QString& tag,
                                bool isDeleted, bool deferred) {
    guarded([&] {
        const int user =
            tree_.add(tree_.require(Keys::UsersFolder()), Keys::User(transID), userText,
                      isDeleted ? ExplorerImage::DeletedUser : ExplorerImage::User);
        tree_.setTag(user, tag);
        tree_.addAccountFolder(user, Keys::UserAccountFolder(transID), false, !deferred);
        if (deferred)
            tree_.add(user, Keys::UserExternalAccountFolder(transID),
                      QStringLiteral("External Accounts"), ExplorerImage::ClosedFolder, true);
    });
}

void IncentiveExplorer::AddGroupAccount(const QString& groupID, const QString& accountID,
                                        const QString& tag) {
    guarded([&] {
        tree_.setTag(addFolderAccount(Keys::GroupAccountFolder(groupID), accountID, true), tag);
    });
}

void IncentiveExplorer::AddUserAccount(const QString& transID, const QString& accountID,
                                       const QString& tag) {
    guarded([&] {
        tree_.setTag(addFolderAccount(Keys::UserAccountFolder(transID), accountID, false), tag);
    });
}

// A node under a user's or a group's account folder for an account of the account list; an id
// the list does not know shows as "UNKNOWN ACCTID". Only a group's folder marks its default
// (-1) and external (-3) accounts with their own images.
int IncentiveExplorer::addFolderAccount(const QString& folderKey, const QString& accountID,
                                        bool pseudoAccountImages) {
    const int folder = tree_.require(folderKey);
    const int record = tree_.accounts().indexOf(accountID);
    if (record < 0)
        return tree_.add(folder, folderKey + kSeparator + accountID,
                         QStringLiteral("UNKNOWN ACCTID ") + accountID, ExplorerImage::Account);
    const ExplorerAccountRecord r = tree_.accounts().at(record);
    ExplorerImage image = r.IsDeleted ? ExplorerImage::DeletedAccount : ExplorerImage::Account;
    if (pseudoAccountImages && !r.IsDeleted && r.number == -1)
        image = ExplorerImage::AccountDef;
    else if (pseudoAccountImages && !r.IsDeleted && r.number == -3)
        image = ExplorerImage::AccountExt;
    return tree_.add(folder, folderKey + kSeparator + r.AccountID, r.AccountName, image);
}

void IncentiveExplorer::AddExternalUserAccount(const QString& transID, const QString& accountID,
                                               const QString& tag) {
    guarded([&] {
        const QString folderKey = Keys::UserExternalAccountFolder(transID);
        const int folder = tree_.require(folderKey);
        const int record = tree_.accounts().indexOf(accountID);
        int added = ExplorerTree::kNone;
        if (record < 0) {
            added = tree_.add(
                folder, Keys::UnknownExternalAccount(transID, unknownExternalCounter_),
                QStringLiteral("UNKNOWN ACCOUNT") + QString::number(unknownExternalCounter_),
                ExplorerImage::AccountExt);
            if (unknownExternalCounter_ == std::numeric_limits<qint16>::max())
                throw ExplorerError(ExplorerErrorNumber::Overflow,
                                    QStringLiteral("Overflow: too many unknown external accounts"));
            ++unknownExternalCounter_;
        } else {
            const ExplorerAccountRecord r = tree_.accounts().at(record);
            added =
                tree_.add(folder, folderKey + kSeparator + accountID, r.AccountName,
                          r.IsDeleted ? ExplorerImage::DeletedAccount : ExplorerImage::AccountExt);
        }
        tree_.setTag(added, tag);
    });
}

void IncentiveExplorer::ClearAllChildren(const ExplorerNode& node) {
    guarded([&] { tree_.clearChildren(tree_.require(node.key())); });
}

void IncentiveExplorer::ClearAllNodes() {
    guarded([&] { initialise(); });
}

bool IncentiveExplorer::Enabled() const {
    return tvwExplorer_->isEnabled();
}

void IncentiveExplorer::SetEnabled(bool enabled) {
    tvwExplorer_->setEnabled(enabled);
}

void IncentiveExplorer::SetOperatorMode(bool operatorMode) {
    operatorMode_ = operatorMode;
}

void IncentiveExplorer::Sort() {
    guarded([&] { tree_.cleanUpTexts(); });
}

// ---- List views ----

// Items for the children of one folder, in the order they were added. Every node a list
// shows lives in the folder its key names, so no other part of the tree is walked.
void IncentiveExplorer::fillFromFolder(QListWidget* listView, const QString& folderKey,
                                       ExplorerNodeType kind, const QString& groupID) {
    ExplorerListView::prepare(listView);
    const int folder = tree_.find(folderKey);
    if (folder == ExplorerTree::kNone)
        return;
    const std::vector<int> children = tree_.childrenInAdditionOrder(folder);
    for (const int child : children) {
        const ExplorerTreeNode& n = tree_.at(child);
        if (n.kind != kind)
            continue;
        if (kind == Kind::GroupAccount && Keys::GetGroupID(n.key) != groupID)
            continue;
        ExplorerListView::addItem(listView, n.key, n.text,
                                  images_.icon(ExplorerListView::imageFor(kind, n.key)));
    }
}

void IncentiveExplorer::FillFormulaListView(QListWidget* listView) {
    guarded([&] { fillFromFolder(listView, Keys::FormulasFolder(), Kind::Formula); });
}

void IncentiveExplorer::FillUserListView(QListWidget* listView) {
    guarded([&] { fillFromFolder(listView, Keys::UsersFolder(), Kind::User); });
}

void IncentiveExplorer::FillGroupListView(QListWidget* listView) {
    guarded([&] { fillFromFolder(listView, Keys::GroupsFolder(), Kind::Group); });
}

void IncentiveExplorer::FillGroupAccountFolderListView(const QString& groupID,
                                                       QListWidget* listView) {
    guarded([&] {
        fillFromFolder(listView, Keys::GroupAccountFolder(groupID), Kind::GroupAccount, groupID);
    });
}

void IncentiveExplorer::FillUserAccountFolderListView(const QString& transID,
                                                      QListWidget* listView) {
    guarded([&] { fillFromFolder(listView, Keys::UserAccountFolder(transID), Kind::UserAccount); });
}

void IncentiveExplorer::FillUserExternalAccountFolderListView(const QString& transID,
                                                              QListWidget* listView) {
    guarded([&] {
        fillFromFolder(listView, Keys::UserExternalAccountFolder(transID),
                       Kind::UserExternalAccount);
    });
}

void IncentiveExplorer::ShowGroupAccountFolder(const QString& groupID, QListWidget* listView) {
    guarded([&] {
        ExplorerListView::prepare(listView);
        ExplorerListView::addItem(listView, Keys::GroupAccountFolder(groupID),
                                  QStringLiteral("Accounts"),
                                  images_.icon(ExplorerImage::ClosedFolder));
    });
}

// ---- Selection ----

int IncentiveExplorer::selectedNode() const {
    const int node = ExplorerTreeModel::nodeAt(tvwExplorer_->currentIndex());
    return tree_.isAlive(node) ? node : ExplorerTree::kNone;
}

QString IncentiveExplorer::selectedKey() const {
    const int node = selectedNode();
    return node == ExplorerTree::kNone ? QString() : tree_.at(node).key;
}

void IncentiveExplorer::selectNode(int node) {
    tvwExplorer_->setCurrentIndex(model_->indexOf(node));
}

QString IncentiveExplorer::textOf(const QString& key) {
    return tree_.at(tree_.require(key)).text;
}

QString IncentiveExplorer::userNodeText(const QString& key) {
    return textOf(userKey(key));
}

ExplorerNode IncentiveExplorer::CurrentNode() {
    const QString key = selectedKey();
    return key.isEmpty() ? ExplorerNode() : ExplorerNode(this, key);
}

QString IncentiveExplorer::CurrentTransID() {
    return DecodeKeyPart(Keys::GetUserKeyPart(selectedKey()));
}

QString IncentiveExplorer::CurrentUserAccountID() {
    return Keys::GetUserAccountID(selectedKey());
}

QString IncentiveExplorer::CurrentUserAccountName() {
    QString name;
    guarded([&] {
        const QString key = selectedKey();
        const QString user = Keys::GetUserKeyPart(key);
        const QString account = Keys::GetUserAccountID(key);
        if (user.isEmpty() || account.isEmpty())
            return;
        const QString folder = key.contains(QStringLiteral(".EXTERNALACCOUNTS."))
                                   ? QStringLiteral(".EXTERNALACCOUNTS.")
                                   : QStringLiteral(".USERACCOUNTS.");
        name = textOf(Keys::UsersFolder() + kSeparator + user + folder + account);
    });
    return name;
}

QString IncentiveExplorer::CurrentUserName() {
    QString name;
    guarded([&] {
        const QString key = selectedKey();
        if (!Keys::GetUserKeyPart(key).isEmpty())
            name = userNodeText(key);
    });
    return name;
}

// ---- Events ----

void IncentiveExplorer::raiseLostFocus(const QString& key) {
    // The node that loses the focus may be gone by now; then nobody has anything to save.
    try {
        const int node = tree_.find(key);
        if (node == ExplorerTree::kNone)
            return;
        const QString text = tree_.at(node).text;
        switch (tree_.at(node).kind) {
        case Kind::User:
            Q_EMIT LostFocusUser(text, DecodeKeyPart(lastSegment(key)));
            break;
        case Kind::Formula:
            Q_EMIT LostFocusFormula(text, lastSegment(key));
            break;
        case Kind::Group:
            Q_EMIT LostFocusGroup(text, lastSegment(key));
            break;
        case Kind::GroupAccount:
            Q_EMIT LostFocusAccount(text, lastSegment(key), Keys::GetGroupID(key));
            break;
        case Kind::UserAccount:
            Q_EMIT LostFocusUserAccount(userNodeText(key), DecodeKeyPart(Keys::GetUserKeyPart(key)),
                                        Keys::GetUserAccountID(key));
            break;
        default:
            break;
        }
    } catch (const NumberedError&) {
        return;
    }
}

void IncentiveExplorer::raiseClick(const QString& key) {
    const QString text = textOf(key);
    const QString transID = DecodeKeyPart(Keys::GetUserKeyPart(key));
    switch (Keys::GetNodeType(key)) {
    case Kind::Root:
        Q_EMIT RootClick();
        break;
    case Kind::UsersFolder:
        Q_EMIT UserFolderClick();
        break;
    case Kind::User:
        Q_EMIT UserClick(text, DecodeKeyPart(lastSegment(key)));
        break;
    case Kind::FormulasFolder:
        Q_EMIT FormulaFolderClick();
        break;
    case Kind::Formula:
        Q_EMIT FormulaClick(text, lastSegment(key));
        break;
    case Kind::GroupsFolder:
        Q_EMIT GroupFolderClick();
        break;
    case Kind::Group:
        Q_EMIT GroupClick(text, lastSegment(key));
        break;
    case Kind::GroupAccountFolder:
        Q_EMIT AccountFolderClick(Keys::GetGroupID(key));
        break;
    case Kind::GroupAccount:
        Q_EMIT AccountClick(text, lastSegment(key), Keys::GetGroupID(key), textOf(groupKey(key)));
        break;
    case Kind::UserAccountFolder:
        Q_EMIT UserAccountFolderClick(transID);
        break;
    case Kind::UserAccount:
    case Kind::UserExternalAccount:
        Q_EMIT UserAccountClick(userNodeText(key), transID, text, Keys::GetUserAccountID(key));
        break;
    case Kind::UserExternalAccountFolder:
        Q_EMIT UserExternalAccountFolderClick(transID);
        break;
    }
}

// The click dispatch: the node that had the focus hears of losing it first.
void IncentiveExplorer::dispatchClick(int node) {
    if (!tree_.isAlive(node))
        throw ExplorerError::elementNotFound(QString());
    const QString key = tree_.at(node).key;
    if (key != lastKey_)
        raiseLostFocus(lastKey_);
    lastKey_ = key;
    raiseClick(key);
}

void IncentiveExplorer::runExpandRule(int node) {
    if (tree_.at(node).image == ExplorerImage::ClosedFolder)
        tree_.setImage(node, ExplorerImage::OpenFolder);
    const QString key = tree_.at(node).key;
    switch (tree_.at(node).kind) {
    case Kind::User:
        Q_EMIT UserFolderExpand(ExplorerNode(this, key), DecodeKeyPart(Keys::GetUserKeyPart(key)));
        break;
    case Kind::FormulasFolder:
        Q_EMIT FormulaFolderClick();
        break;
    case Kind::Formula:
        Q_EMIT FormulaClick(tree_.at(node).text, lastSegment(key));
        break;
    case Kind::Group:
        Q_EMIT GroupFolderExpand(ExplorerNode(this, key), Keys::GetGroupID(key));
        break;
    default:
        break;
    }
}

// The view reports expansions it made itself and those asked for below; the node's own
// flag tells them apart, so each expansion runs the rule once.
void IncentiveExplorer::onViewExpanded(int node) {
    if (!tree_.isAlive(node) || tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, true);
    runExpandRule(node);
}

void IncentiveExplorer::onViewCollapsed(int node) {
    if (!tree_.isAlive(node) || !tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, false);
    if (tree_.at(node).image == ExplorerImage::OpenFolder)
        tree_.setImage(node, ExplorerImage::ClosedFolder);
    dispatchClick(node);
}

void IncentiveExplorer::expandNode(int node) {
    if (tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, true);
    tvwExplorer_->expand(model_->indexOf(node));
    if (tree_.isAlive(node))
        runExpandRule(node);
}

// ---- Right button and menus ----

void IncentiveExplorer::RightClickNode(const QString& key, const QPoint& globalPos) {
    guarded([&] {
        lastPopup_ = nullptr;
        const int node = tree_.require(key);
        selectNode(node);
        if (operatorMode_)
            return;
        lastPopup_ = menus_->popupFor(tree_.at(node).kind);
        if (lastPopup_ != nullptr)
            lastPopup_->popup(globalPos);
    });
}

bool IncentiveExplorer::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the keyboard opens the current node as a click does.
    if (watched == tvwExplorer_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QModelIndex current = tvwExplorer_->currentIndex();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current.isValid()) {
            guarded([&] { dispatchClick(ExplorerTreeModel::nodeAt(current)); });
            return true;
        }
    }
    if (watched == tvwExplorer_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            const QModelIndex index = tvwExplorer_->indexAt(press->position().toPoint());
            if (index.isValid())
                RightClickNode(index.data(ExplorerTreeModel::KeyRole).toString(),
                               press->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void IncentiveExplorer::renameFormulaChosen() {
    guarded([&] {
        const QString formulaID = Keys::GetFormulaID(selectedKey());
        const QString oldName = textOf(Keys::Formula(formulaID));
        QString newName;
        qint16 cancel = 0;
        QString tag = tree_.at(tree_.require(selectedKey())).tag;
        Q_EMIT RenameFormula(formulaID, oldName, newName, cancel, tag);
        if (cancel == 0)
            tree_.setText(tree_.require(Keys::Formula(formulaID)), newName);
    });
}

void IncentiveExplorer::renameGroupChosen() {
    guarded([&] {
        const QString groupID = Keys::GetGroupID(selectedKey());
        const QString oldName = textOf(Keys::Group(groupID));
        QString newName;
        qint16 cancel = 0;
        bool isDefault = false;
        Q_EMIT RenameGroup(groupID, oldName, newName, cancel, isDefault);
        if (cancel == 0)
            tree_.setText(tree_.require(Keys::Group(groupID)),
                          isDefault ? newName + QStringLiteral(" (Default)") : newName);
    });
}

void IncentiveExplorer::deleteFormulaChosen() {
    DeleteFormula(Keys::GetFormulaID(selectedKey()));
}

void IncentiveExplorer::deleteGroupChosen() {
    DeleteGroup(Keys::GetGroupID(selectedKey()));
}

void IncentiveExplorer::refreshChosen() {
    guarded([&] {
        const QString key = selectedKey();
        tree_.setTag(tree_.require(key), QString());
        Q_EMIT UserFolderExpand(ExplorerNode(this, key), DecodeKeyPart(Keys::GetUserKeyPart(key)));
    });
}

// ---- Navigation ----

void IncentiveExplorer::DeleteFormula(const QString& formulaID) {
    guarded([&] {
        const double value = ExplorerNumbers::LeadingValue(formulaID);
        if (value == 1) {
            Q_EMIT IncentiveExplorerError(
                -1, QStringLiteral("You can not delete the default formula."));
            return;
        }
        if (value < 1) {
            Q_EMIT IncentiveExplorerError(
                -1, QStringLiteral(
                        "An unresolved error occurred in an attempt to delete this formula."));
            return;
        }
        const QString name = textOf(Keys::Formula(formulaID));
        qint16 cancel = 0;
        Q_EMIT DeleteFormula(name, formulaID, cancel);
        if (cancel != 0)
            return;
        tree_.remove(tree_.require(Keys::Formula(formulaID)));
        dispatchClick(tree_.require(Keys::FormulasFolder()));
    });
}

void IncentiveExplorer::DeleteGroup(const QString& groupID) {
    guarded([&] {
        const QString name = textOf(Keys::Group(groupID));
        qint16 cancel = 0;
        Q_EMIT DeleteGroup(name, groupID, cancel);
        if (cancel != 0)
            return;
        tree_.remove(tree_.require(Keys::Group(groupID)));
        dispatchClick(tree_.require(Keys::GroupsFolder()));
    });
}

void IncentiveExplorer::ClickNode(const QString& key) {
    guarded([&] {
        const qsizetype dot = key.lastIndexOf(kSeparator);
        if (dot >= 0)
            expandNode(tree_.require(key.left(dot)));
        expandNode(tree_.require(key));
        // Compared by text: a node that reads like the selected one is not selected.
        const int node = tree_.require(key);
        const int selected = selectedNode();
        if (selected == ExplorerTree::kNone || tree_.at(selected).text != tree_.at(node).text)
            selectNode(node);
        dispatchClick(tree_.require(key));
    });
}

void IncentiveExplorer::ReturnToNode(const QString& key) {
    guarded([&] {
        selectNode(tree_.require(key));
        lastKey_ = key;
    });
}

void IncentiveExplorer::ClickFormulaNode(const QString& formulaID) {
    ClickNode(Keys::Formula(formulaID));
}

void IncentiveExplorer::ClickGroupNode(const QString& groupID) {
    ClickNode(Keys::Group(groupID));
}

void IncentiveExplorer::Refresh() {
    guarded([&] {
        const int node = selectedNode();
        if (node == ExplorerTree::kNone)
            throw ExplorerError(ExplorerErrorNumber::ObjectNotSet,
                                QStringLiteral("No node is selected"));
        dispatchClick(node);
    });
}

void IncentiveExplorer::RemoveFormulaNode(const QString& formulaID) {
    guarded([&] {
        const int node = tree_.find(Keys::Formula(formulaID));
        if (node != ExplorerTree::kNone)
            tree_.remove(node);
    });
}

void IncentiveExplorer::RemoveGroupNode(const QString& groupID) {
    guarded([&] {
        const int node = tree_.find(Keys::Group(groupID));
        if (node != ExplorerTree::kNone)
            tree_.remove(node);
    });
}

// ---- Reading the tree ----

ExplorerNode IncentiveExplorer::node(const QString& key) {
    return hasNode(key) ? ExplorerNode(this, key) : ExplorerNode();
}

bool IncentiveExplorer::hasNode(const QString& key) {
    return tree_.find(key) != ExplorerTree::kNone;
}

QModelIndex IncentiveExplorer::modelIndex(const QString& key) {
    return model_->indexOf(tree_.find(key));
}

QStringList IncentiveExplorer::childKeys(const QString& key) {
    QStringList keys;
    const int node = tree_.find(key);
    if (node == ExplorerTree::kNone)
        return keys;
    for (const int child : tree_.displayOrder(node))
        keys << tree_.at(child).key;
    return keys;
}

} // namespace velora::explorer
