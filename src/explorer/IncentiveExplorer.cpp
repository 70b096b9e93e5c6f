#include "IncentiveExplorer.h"

#include "ExplorerContextMenus.h"
#include "ExplorerError.h"
#include "ExplorerEvents.h"
#include "ExplorerKeyPart.h"
#include "ExplorerKeys.h"
#include "ExplorerListView.h"
#include "ExplorerMenuCommands.h"
#include "ExplorerNodeNames.h"
#include "ExplorerTreeBuilder.h"
#include "ExplorerTreeModel.h"
#include "ExplorerViewInput.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QMenu>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace velora::explorer {

namespace {

using Kind = ExplorerNodeType;
using Keys = ExplorerKeys;

const QChar kSeparator(u'.');

} // namespace

IncentiveExplorer::IncentiveExplorer(QWidget* parent)
    : QWidget(parent)
    , builder_(std::make_unique<ExplorerTreeBuilder>(tree_))
    , events_(std::make_unique<ExplorerEvents>(*this, tree_))
    , commands_(std::make_unique<ExplorerMenuCommands>(*this, tree_)) {
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
    new ExplorerViewInput(*tvwExplorer_,
                          {[this](const QModelIndex& current) {
                               guarded([&] { events_->click(ExplorerTreeModel::nodeAt(current)); });
                           },
                           [this](const QModelIndex& index, const QPoint& globalPos) {
                               RightClickNode(index.data(ExplorerTreeModel::KeyRole).toString(),
                                              globalPos);
                           }},
                          this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tvwExplorer_);

    connect(tvwExplorer_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        guarded([&] { events_->click(ExplorerTreeModel::nodeAt(index)); });
    });
    connect(tvwExplorer_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        guarded([&] { events_->viewExpanded(ExplorerTreeModel::nodeAt(index)); });
    });
    connect(tvwExplorer_, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        guarded([&] { events_->viewCollapsed(ExplorerTreeModel::nodeAt(index)); });
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
    const int users = builder_->addFixedNodes();
    tree_.setListener(model_);
    model_->endReset();
    events_->setFocusKey(Keys::Root());
    selectNode(users);
    operatorMode_ = true;
}

void IncentiveExplorer::buildMenus() {
    menus_ = std::make_unique<ExplorerContextMenus>(
        *this, ExplorerContextMenus::Handlers{
                   [this] { Q_EMIT CreateFormula(); },
                   [this] { guarded([&] { commands_->renameFormula(selectedKey()); }); },
                   [this] { DeleteFormula(Keys::GetFormulaID(selectedKey())); },
                   [this] { guarded([&] { commands_->renameGroup(selectedKey()); }); },
                   [this] { DeleteGroup(Keys::GetGroupID(selectedKey())); },
                   [this] { Q_EMIT CreateGroup(); },
                   [this] { guarded([&] { commands_->refreshUser(selectedKey()); }); }});
}

// ---- Population ----

void IncentiveExplorer::AddAccount(const QString& accountName, const QString& accountID,
                                   bool isDeleted) {
    guarded([&] { tree_.addAccount(accountName, accountID, isDeleted); });
}

void IncentiveExplorer::AddFormula(const QString& formulaName, const QString& formulaID) {
    guarded([&] { builder_->addFormula(formulaName, formulaID); });
}

void IncentiveExplorer::AddGroup(const QString& groupName, const QString& groupID,
                                 const QString& tag, bool deferred) {
    guarded([&] { builder_->addGroup(groupName, groupID, tag, deferred); });
}

void IncentiveExplorer::AddUser(const QString& userText, const QString& transID, const QString& tag,
                                bool isDeleted, bool deferred) {
    guarded([&] { builder_->addUser(userText, transID, tag, isDeleted, deferred); });
}

void IncentiveExplorer::AddGroupAccount(const QString& groupID, const QString& accountID,
                                        const QString& tag) {
    guarded([&] { builder_->addGroupAccount(groupID, accountID, tag); });
}

void IncentiveExplorer::AddUserAccount(const QString& transID, const QString& accountID,
                                       const QString& tag) {
    guarded([&] { builder_->addUserAccount(transID, accountID, tag); });
}

void IncentiveExplorer::AddExternalUserAccount(const QString& transID, const QString& accountID,
                                               const QString& tag) {
    guarded([&] { builder_->addExternalUserAccount(transID, accountID, tag); });
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

void IncentiveExplorer::fillFromFolder(QListWidget* listView, const QString& folderKey,
                                       ExplorerNodeType kind, const QString& groupID) {
    ExplorerListView::fillFromFolder(listView, tree_, images_, folderKey, kind, groupID);
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
    guarded([&] { name = ExplorerNodeNames(tree_).userAccountName(selectedKey()); });
    return name;
}

QString IncentiveExplorer::CurrentUserName() {
    QString name;
    guarded([&] {
        const QString key = selectedKey();
        if (!Keys::GetUserKeyPart(key).isEmpty())
            name = ExplorerNodeNames(tree_).userName(key);
    });
    return name;
}

// ---- Events ----

// Opens a node from the program's side (ClickNode). Its flag is set before the view hears of
// it, so the view's own expansion notice does not run the node's rule a second time.
void IncentiveExplorer::expandNode(int node) {
    if (tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, true);
    tvwExplorer_->expand(model_->indexOf(node));
    if (tree_.isAlive(node))
        events_->runExpandRule(node);
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

// ---- Navigation ----

void IncentiveExplorer::DeleteFormula(const QString& formulaID) {
    guarded([&] {
        if (commands_->deleteFormula(formulaID))
            events_->click(tree_.require(Keys::FormulasFolder()));
    });
}

void IncentiveExplorer::DeleteGroup(const QString& groupID) {
    guarded([&] {
        if (commands_->deleteGroup(groupID))
            events_->click(tree_.require(Keys::GroupsFolder()));
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
        events_->click(tree_.require(key));
    });
}

void IncentiveExplorer::ReturnToNode(const QString& key) {
    guarded([&] {
        selectNode(tree_.require(key));
        events_->setFocusKey(key);
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
        events_->click(node);
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

QString IncentiveExplorer::FocusKey() const {
    return events_->focusKey();
}

qint16 IncentiveExplorer::unknownExternalCounter() const {
    return builder_->unknownExternalCounter();
}

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
