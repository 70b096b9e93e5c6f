#include "ExplorerEvents.h"

#include "ExplorerError.h"
#include "ExplorerKeyPart.h"
#include "ExplorerKeys.h"
#include "IncentiveExplorer.h"

namespace velora::explorer {

namespace {

using Kind = ExplorerNodeType;
using Keys = ExplorerKeys;

const QChar kSeparator(u'.');

QString lastSegment(const QString& key) {
    return key.mid(key.lastIndexOf(kSeparator) + 1);
}

QString groupKey(const QString& key) {
    return Keys::Group(Keys::GetGroupID(key));
}

} // namespace

void ExplorerEvents::click(int node) {
    if (!tree_.isAlive(node))
        throw ExplorerError::elementNotFound(QString());
    const QString key = tree_.at(node).key;
    if (key != focusKey_)
        raiseLostFocus(focusKey_);
    focusKey_ = key;
    raiseClick(key);
}

void ExplorerEvents::raiseLostFocus(const QString& key) {
    // The node that loses the focus may be gone by now; then nobody has anything to save.
    try {
        const int node = tree_.find(key);
        if (node == ExplorerTree::kNone)
            return;
        const QString text = tree_.at(node).text;
        switch (tree_.at(node).kind) {
        case Kind::User:
            Q_EMIT explorer_.LostFocusUser(text, DecodeKeyPart(lastSegment(key)));
            break;
        case Kind::Formula:
            Q_EMIT explorer_.LostFocusFormula(text, lastSegment(key));
            break;
        case Kind::Group:
            Q_EMIT explorer_.LostFocusGroup(text, lastSegment(key));
            break;
        case Kind::GroupAccount:
            Q_EMIT explorer_.LostFocusAccount(text, lastSegment(key), Keys::GetGroupID(key));
            break;
        case Kind::UserAccount:
            Q_EMIT explorer_.LostFocusUserAccount(names_.userName(key),
                                                  DecodeKeyPart(Keys::GetUserKeyPart(key)),
                                                  Keys::GetUserAccountID(key));
            break;
        default:
            break;
        }
    } catch (const NumberedError&) {
        return;
    }
}

void ExplorerEvents::raiseClick(const QString& key) {
    const QString text = names_.text(key);
    const QString transID = DecodeKeyPart(Keys::GetUserKeyPart(key));
    switch (Keys::GetNodeType(key)) {
    case Kind::Root:
        Q_EMIT explorer_.RootClick();
        break;
    case Kind::UsersFolder:
        Q_EMIT explorer_.UserFolderClick();
        break;
    case Kind::User:
        Q_EMIT explorer_.UserClick(text, DecodeKeyPart(lastSegment(key)));
        break;
    case Kind::FormulasFolder:
        Q_EMIT explorer_.FormulaFolderClick();
        break;
    case Kind::Formula:
        Q_EMIT explorer_.FormulaClick(text, lastSegment(key));
        break;
    case Kind::GroupsFolder:
        Q_EMIT explorer_.GroupFolderClick();
        break;
    case Kind::Group:
        Q_EMIT explorer_.GroupClick(text, lastSegment(key));
        break;
    case Kind::GroupAccountFolder:
        Q_EMIT explorer_.AccountFolderClick(Keys::GetGroupID(key));
        break;
    case Kind::GroupAccount:
        Q_EMIT explorer_.AccountClick(text, lastSegment(key), Keys::GetGroupID(key),
                                      names_.text(groupKey(key)));
        break;
    case Kind::UserAccountFolder:
        Q_EMIT explorer_.UserAccountFolderClick(transID);
        break;
    case Kind::UserAccount:
    case Kind::UserExternalAccount:
        Q_EMIT explorer_.UserAccountClick(names_.userName(key), transID, text,
                                          Keys::GetUserAccountID(key));
        break;
    case Kind::UserExternalAccountFolder:
        Q_EMIT explorer_.UserExternalAccountFolderClick(transID);
        break;
    }
}

void ExplorerEvents::runExpandRule(int node) {
    if (tree_.at(node).image == ExplorerImage::ClosedFolder)
        tree_.setImage(node, ExplorerImage::OpenFolder);
    const QString key = tree_.at(node).key;
    switch (tree_.at(node).kind) {
    case Kind::User:
        Q_EMIT explorer_.UserFolderExpand(ExplorerNode(&explorer_, key),
                                          DecodeKeyPart(Keys::GetUserKeyPart(key)));
        break;
    case Kind::FormulasFolder:
        Q_EMIT explorer_.FormulaFolderClick();
        break;
    case Kind::Formula:
        Q_EMIT explorer_.FormulaClick(tree_.at(node).text, lastSegment(key));
        break;
    case Kind::Group:
        Q_EMIT explorer_.GroupFolderExpand(ExplorerNode(&explorer_, key), Keys::GetGroupID(key));
        break;
    default:
        break;
    }
}

// The view reports expansions it made itself and those asked for by the explorer; the node's
// own flag tells them apart, so each expansion runs the rule once.
void ExplorerEvents::viewExpanded(int node) {
    if (!tree_.isAlive(node) || tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, true);
    runExpandRule(node);
}

void ExplorerEvents::viewCollapsed(int node) {
    if (!tree_.isAlive(node) || !tree_.at(node).expanded)
        return;
    tree_.setExpanded(node, false);
    if (tree_.at(node).image == ExplorerImage::OpenFolder)
        tree_.setImage(node, ExplorerImage::ClosedFolder);
    click(node);
}

} // namespace velora::explorer
