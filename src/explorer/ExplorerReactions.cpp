#include "ExplorerReactions.h"

#include "ExplorerKeys.h"
#include "IncentiveExplorer.h"
#include "NumberedError.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "common/AppContext.h"
#include "common/BusyIndicator.h"
#include "common/DetailArea.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QEvent>
#include <QListWidget>
#include <utility>

namespace velora::explorer {

namespace {

constexpr int kBusyAnimation = 201;
const QString kLoaded = QStringLiteral("LOADED");

// Raised when an expanded group is not in the catalogue.
class MissingGroupError : public NumberedError {
public:
    explicit MissingGroupError(const QString& groupID)
        : NumberedError(99,
                        QStringLiteral("Group ") + groupID +
                            QStringLiteral(" could not be loaded because the ID was not in "
                                           "the collection."),
                        QStringLiteral("GroupFolderExpand")) {}
};

// The accounts outside the user's partitions that the user has rows for; `shown` are the ids
// already in the user's account folder.
QString externalAccountsStatement(const QString& transID, const QStringList& shown) {
    const QString others = shown.isEmpty() ? QString()
                                           : QStringLiteral("AND hosp_acct_id NOT IN (") +
                                                 shown.join(QLatin1Char(',')) + QLatin1Char(')');
    return QStringLiteral("SELECT DISTINCT trans_id, hosp_acct_id FROM trans_incentive ") +
           QStringLiteral("WHERE trans_id = '") + catalogue::QuoteSql(transID) +
           QStringLiteral("' ") + others;
}

} // namespace

ExplorerReactions::ExplorerReactions(common::AppContext& context, IncentiveExplorer& explorer,
                                     common::DetailArea& details, common::BusyIndicator& busy,
                                     ExplorerEditors editors, QObject* parent)
    : QObject(parent)
    , context_(context)
    , explorer_(explorer)
    , details_(details)
    , busy_(busy)
    , editors_(std::move(editors)) {
    connectClicks();
    connectFolderClicks();
    connectLostFocus();
    connectListView();
    connect(&explorer_, &IncentiveExplorer::UserFolderExpand, this,
            &ExplorerReactions::loadUserAccounts, Qt::DirectConnection);
    connect(&explorer_, &IncentiveExplorer::GroupFolderExpand, this,
            &ExplorerReactions::loadGroupAccounts, Qt::DirectConnection);
    connect(&explorer_, &IncentiveExplorer::IncentiveExplorerError, this,
            &ExplorerReactions::showError, Qt::DirectConnection);
}

void ExplorerReactions::showList() {
    details_.showPane(common::DetailArea::Pane::ListView);
}

// The click after a week or a formula could not be saved on leaving it opens nothing: the
// edit stays on screen and the tree goes back to its node.
bool ExplorerReactions::keepNode() {
    if (keptNode_.isEmpty())
        return false;
    explorer_.ReturnToNode(std::exchange(keptNode_, QString()));
    details_.showPane(keptPane_);
    return true;
}

template <typename Signal, typename Reaction>
void ExplorerReactions::onClick(Signal signal, Reaction reaction) {
    connect(&explorer_, signal, this, [this, reaction](const auto&... arguments) {
        if (!keepNode())
            reaction(arguments...);
    });
}

void ExplorerReactions::connectClicks() {
    using Pane = common::DetailArea::Pane;
    onClick(&IncentiveExplorer::RootClick, [this] { details_.showPane(Pane::Splash); });
    onClick(&IncentiveExplorer::UserClick, [this](const QString& userName, const QString& transID) {
        if (editors_.loadUser)
            editors_.loadUser(transID, userName);
        else
            details_.showPane(Pane::UserHeader);
    });
    onClick(&IncentiveExplorer::UserAccountClick,
            [this](const QString& userName, const QString& transID, const QString& accountName,
                   const QString& accountID) {
                if (!editors_.loadWeek) {
                    details_.showPane(Pane::UserDetail);
                    return;
                }
                try {
                    editors_.loadWeek(context_.catalogue.databaseTransID(transID), userName,
                                      accountName,
                                      catalogue::SqlNumber(accountNumber(transID, accountID)));
                } catch (const NumberedError& e) {
                    showLoadFailure(e.number(), e.description());
                }
            });
    onClick(&IncentiveExplorer::AccountClick,
            [this](const QString& accountName, const QString& accountID, const QString& groupID,
                   const QString& groupName) {
                if (editors_.loadGroupAccount)
                    editors_.loadGroupAccount(groupID, accountID, accountName, groupName);
                else
                    details_.showPane(Pane::Account);
            });
    onClick(&IncentiveExplorer::FormulaClick,
            [this](const QString& formulaName, const QString& formulaID) {
                if (editors_.loadFormula)
                    editors_.loadFormula(formulaID, formulaName);
                else
                    details_.showPane(Pane::Formula);
            });
}

void ExplorerReactions::connectFolderClicks() {
    QListWidget* list = details_.listView();
    onClick(&IncentiveExplorer::UserFolderClick, [this, list] {
        showList();
        explorer_.FillUserListView(list);
    });
    onClick(&IncentiveExplorer::FormulaFolderClick, [this, list] {
        showList();
        explorer_.FillFormulaListView(list);
    });
    onClick(&IncentiveExplorer::GroupFolderClick, [this, list] {
        showList();
        explorer_.FillGroupListView(list);
    });
    onClick(&IncentiveExplorer::AccountFolderClick, [this, list](const QString& groupID) {
        showList();
        explorer_.FillGroupAccountFolderListView(groupID, list);
    });
    onClick(&IncentiveExplorer::UserAccountFolderClick, [this, list](const QString& transID) {
        showList();
        explorer_.FillUserAccountFolderListView(transID, list);
    });
    onClick(&IncentiveExplorer::UserExternalAccountFolderClick,
            [this, list](const QString& transID) {
                showList();
                explorer_.FillUserExternalAccountFolderListView(transID, list);
            });
    onClick(&IncentiveExplorer::GroupClick, [this, list](const QString&, const QString& groupID) {
        showList();
        explorer_.ShowGroupAccountFolder(groupID, list);
    });
}

void ExplorerReactions::connectLostFocus() {
    auto call = [](const std::function<void()>& save) {
        if (save)
            save();
    };
    connect(&explorer_, &IncentiveExplorer::LostFocusUser, this,
            [this, call] { call(editors_.saveUserGroup); });
    connect(&explorer_, &IncentiveExplorer::LostFocusFormula, this, [this] {
        if (editors_.saveFormula && !editors_.saveFormula())
            keep(common::DetailArea::Pane::Formula);
    });
    connect(&explorer_, &IncentiveExplorer::LostFocusAccount, this,
            [this, call] { call(editors_.saveGroupAccount); });
    connect(&explorer_, &IncentiveExplorer::LostFocusUserAccount, this, [this] {
        if (editors_.saveWeek && !editors_.saveWeek())
            keep(common::DetailArea::Pane::UserDetail);
    });
}

void ExplorerReactions::keep(common::DetailArea::Pane pane) {
    keptNode_ = explorer_.FocusKey();
    keptPane_ = pane;
}

// A press of a mouse button in the list arms the flag; the item click that follows moves the
// tree. Clicks made by code find the flag down and leave the tree alone.
void ExplorerReactions::connectListView() {
    QListWidget* list = details_.listView();
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const bool pressed = mousePressed_;
        mousePressed_ = false;
        if (pressed && item)
            explorer_.ClickNode(item->data(Qt::UserRole).toString());
    });
}

bool ExplorerReactions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == details_.listView()->viewport())
        mousePressed_ = true;
    return QObject::eventFilter(watched, event);
}

void ExplorerReactions::showError(qint32 number, const QString& description) {
    context_.messages.show(QStringLiteral("Zarererov Avudezez Error ") + QString::number(number) +
                               QLatin1Char(':') + description,
                           common::Messages::kTitle, common::MessageIcon::None,
                           common::MessageButtons::Ok);
}

void ExplorerReactions::showLoadFailure(int number, const QString& description) {
    context_.messages.show(QStringLiteral("Error Number:") + QString::number(number) +
                               QStringLiteral("\r\nError Description:") + description,
                           common::Messages::kTitle, common::MessageIcon::None,
                           common::MessageButtons::Ok);
}

QString ExplorerReactions::CurrentTransID() {
    return context_.catalogue.databaseTransID(explorer_.CurrentTransID());
}

QString ExplorerReactions::CurrentUserAccountID() {
    const QString accountID = explorer_.CurrentUserAccountID();
    if (accountID.isEmpty())
        return accountID;
    const QString number = accountNumber(explorer_.CurrentTransID(), accountID);
    return catalogue::IsSqlNumber(number) ? number : QString();
}

// The key of an external account missing from the account list carries a made-up id ("--100");
// its node keeps the account's real number as its tag.
QString ExplorerReactions::accountNumber(const QString& transID, const QString& accountID) {
    if (catalogue::IsSqlNumber(accountID))
        return accountID;
    return explorer_.node(ExplorerKeys::UserExternalAccount(transID, accountID)).tag();
}

void ExplorerReactions::closeConnection() {
    if (context_.connection && context_.connection->isOpen())
        context_.connection->close();
}

void ExplorerReactions::loadUserAccounts(const ExplorerNode& node, const QString& transID) {
    if (!context_.partitionMode)
        return;
    busy_.BeginBusy(false, QString(), QString(), kBusyAnimation);
    // The click loads the user, which rebuilds the partitions below the user's partition.
    explorer_.ClickNode(node.key());
    if (node.tag() == kLoaded) {
        busy_.EndBusy();
        return;
    }
    try {
        const ExplorerNode accounts = node.firstChild();
        const ExplorerNode external = accounts.nextSibling();
        explorer_.ClearAllChildren(accounts);
        explorer_.ClearAllChildren(external);
        context_.connection->ensureOpen();
        QStringList shown;
        addUserAccountsOfPartitions(transID, shown);
        explorer_.AddUserAccount(transID, QStringLiteral("-2"));
        addExternalAccounts(transID, shown);
        ExplorerNode(node).setTag(kLoaded);
        explorer_.Sort();
    } catch (const NumberedError& e) {
        showLoadFailure(e.number(), e.description());
    }
    closeConnection();
    busy_.EndBusy();
}

void ExplorerReactions::addUserAccountsOfPartitions(const QString& transID, QStringList& shown) {
    for (const auto& account : context_.catalogue.accounts()) {
        if (!context_.userPartitions.contains(QString::number(account->PartitionID())))
            continue;
        if (account->IsDeleted() && !context_.preferences.showDeletedAccounts)
            continue;
        const QString id = QString::number(account->AccountID());
        shown.append(id);
        explorer_.AddUserAccount(transID, id);
    }
}

// Every other account the user has incentive rows for goes into the external folder. The rows
// are filed under the user's node as the explorer holds it: the database may spell the id in
// another case, and a deleted user's key carries a mark the rows do not. Each node keeps its
// account's number as tag, which a node for an account missing from the list needs.
void ExplorerReactions::addExternalAccounts(const QString& transID, const QStringList& shown) {
    db::Recordset rows = context_.connection->openRecordset(
        externalAccountsStatement(context_.catalogue.databaseTransID(transID), shown));
    for (; !rows.eof(); rows.moveNext()) {
        const QString account =
            QString::number(rows.value(QStringLiteral("hosp_acct_id")).toLongLong());
        explorer_.AddExternalUserAccount(transID, account, account);
    }
}

void ExplorerReactions::loadGroupAccounts(const ExplorerNode& node, const QString& groupID) {
    busy_.BeginBusy(false, QString(), QString(), kBusyAnimation);
    if (node.tag() == kLoaded || !context_.partitionMode) {
        busy_.EndBusy();
        return;
    }
    try {
        explorer_.ClearAllChildren(node.firstChild());
        context_.connection->ensureOpen();
        const auto group = catalogue::GetObjectFromCollection(context_.catalogue.groups(), groupID);
        if (!group)
            throw MissingGroupError(groupID);
        const catalogue::PartitionAccess access(*context_.connection, context_.catalogue);
        const auto below = access.accessiblePartitions(group->PartitionID());
        for (const auto& account : context_.catalogue.accounts()) {
            const bool reachable = account->PartitionID() == -1 ||
                                   below.contains(QString::number(account->PartitionID()));
            if (!reachable || (account->IsDeleted() && !context_.preferences.showDeletedAccounts))
                continue;
            explorer_.AddGroupAccount(groupID, QString::number(account->AccountID()), QString());
        }
        ExplorerNode(node).setTag(kLoaded);
        explorer_.ClickNode(node.key());
        explorer_.Sort();
    } catch (const NumberedError& e) {
        showLoadFailure(e.number(), e.description());
    }
    closeConnection();
    busy_.EndBusy();
}

} // namespace velora::explorer
