#include "ExplorerTreeBuilder.h"

#include "ExplorerError.h"
#include "ExplorerKeys.h"

#include <limits>

namespace velora::explorer {

namespace {

using Keys = ExplorerKeys;

const QChar kSeparator(u'.');

} // namespace

int ExplorerTreeBuilder::addFixedNodes() {
    tree_.clear();
    const int root = tree_.add(ExplorerTree::kNone, Keys::Root(),
                               QStringLiteral("Zarererov Avudezez"), ExplorerImage::Root);
    const int users = tree_.add(root, Keys::UsersFolder(), QStringLiteral("Users"),
                                ExplorerImage::ClosedFolder, true);
    tree_.add(root, Keys::FormulasFolder(), QStringLiteral("Formulas"), ExplorerImage::ClosedFolder,
              true);
    tree_.add(root, Keys::GroupsFolder(), QStringLiteral("Groups"), ExplorerImage::ClosedFolder,
              true);
    return users;
}

void ExplorerTreeBuilder::addFormula(const QString& formulaName, const QString& formulaID) {
    tree_.add(tree_.require(Keys::FormulasFolder()), Keys::Formula(formulaID), formulaName,
              ExplorerImage::Formula);
}

void ExplorerTreeBuilder::addGroup(const QString& groupName, const QString& groupID,
                                   const QString& tag, bool deferred) {
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
}

void ExplorerTreeBuilder::addUser(const QString& userText, const QString& transID,
                                  const QString& tag, bool isDeleted, bool deferred) {
    const int user = tree_.add(tree_.require(Keys::UsersFolder()), Keys::User(transID), userText,
                               isDeleted ? ExplorerImage::DeletedUser : ExplorerImage::User);
    tree_.setTag(user, tag);
    tree_.addAccountFolder(user, Keys::UserAccountFolder(transID), false, !deferred);
    if (deferred)
        tree_.add(user, Keys::UserExternalAccountFolder(transID),
                  QStringLiteral("External Accounts"), ExplorerImage::ClosedFolder, true);
}

void ExplorerTreeBuilder::addGroupAccount(const QString& groupID, const QString& accountID,
                                          const QString& tag) {
    tree_.setTag(addFolderAccount(Keys::GroupAccountFolder(groupID), accountID, true), tag);
}

void ExplorerTreeBuilder::addUserAccount(const QString& transID, const QString& accountID,
                                         const QString& tag) {
    tree_.setTag(addFolderAccount(Keys::UserAccountFolder(transID), accountID, false), tag);
}

// A node under a user's or a group's account folder for an account of the account list; an id
// the list does not know shows as "UNKNOWN ACCTID". Only a group's folder marks its default
// (-1) and external (-3) accounts with their own images.
int ExplorerTreeBuilder::addFolderAccount(const QString& folderKey, const QString& accountID,
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

void ExplorerTreeBuilder::addExternalUserAccount(const QString& transID, const QString& accountID,
                                                 const QString& tag) {
    const QString folderKey = Keys::UserExternalAccountFolder(transID);
    const int folder = tree_.require(folderKey);
    const int record = tree_.accounts().indexOf(accountID);
    int added = ExplorerTree::kNone;
    if (record < 0) {
        added = addUnknownExternalAccount(folder, transID);
    } else {
        const ExplorerAccountRecord r = tree_.accounts().at(record);
        added = tree_.add(folder, folderKey + kSeparator + accountID, r.AccountName,
                          r.IsDeleted ? ExplorerImage::DeletedAccount : ExplorerImage::AccountExt);
    }
    tree_.setTag(added, tag);
}

// An external account the account list does not know: numbered by the counter, which refuses
// to wrap round so that no two such nodes share a key.
int ExplorerTreeBuilder::addUnknownExternalAccount(int folder, const QString& transID) {
    const int added =
        tree_.add(folder, Keys::UnknownExternalAccount(transID, unknownExternalCounter_),
                  QStringLiteral("UNKNOWN ACCOUNT") + QString::number(unknownExternalCounter_),
                  ExplorerImage::AccountExt);
    if (unknownExternalCounter_ == std::numeric_limits<qint16>::max())
        throw ExplorerError(ExplorerErrorNumber::Overflow,
                            QStringLiteral("Overflow: too many unknown external accounts"));
    ++unknownExternalCounter_;
    return added;
}

} // namespace velora::explorer
