#include "ExplorerNodeNames.h"

#include "ExplorerKeys.h"
#include "ExplorerTree.h"

namespace velora::explorer {

using Keys = ExplorerKeys;

namespace {

const QChar kSeparator(u'.');

} // namespace

QString ExplorerNodeNames::text(const QString& key) const {
    return tree_.at(tree_.require(key)).text;
}

QString ExplorerNodeNames::userName(const QString& key) const {
    return text(Keys::UsersFolder() + kSeparator + Keys::GetUserKeyPart(key));
}

QString ExplorerNodeNames::userAccountName(const QString& key) const {
    const QString user = Keys::GetUserKeyPart(key);
    const QString account = Keys::GetUserAccountID(key);
    if (user.isEmpty() || account.isEmpty())
        return QString();
    // The account's key part does not tell which of the user's two folders holds it.
    const QString folder = key.contains(QStringLiteral(".EXTERNALACCOUNTS."))
                               ? QStringLiteral(".EXTERNALACCOUNTS.")
                               : QStringLiteral(".USERACCOUNTS.");
    return text(Keys::UsersFolder() + kSeparator + user + folder + account);
}

} // namespace velora::explorer
