#include "ExplorerKeys.h"

#include "ExplorerKeyPart.h"

#include <array>

namespace velora::explorer {

namespace {

constexpr QLatin1String kUsers("USERS");
constexpr QLatin1String kFormulas("FORMULAS");
constexpr QLatin1String kGroups("GROUPS");
constexpr QLatin1String kAccounts("ACCOUNTS");
constexpr QLatin1String kUserAccounts("USERACCOUNTS");
constexpr QLatin1String kExternalAccounts("EXTERNALACCOUNTS");
constexpr QChar kSeparator(u'.');

QString child(const QString& parentKey, QLatin1String segment) {
    return parentKey + kSeparator + segment;
}

QString child(const QString& parentKey, const QString& segment) {
    return parentKey + kSeparator + segment;
}

QString marker(QLatin1String word) {
    return kSeparator + word + kSeparator;
}

// The text after the marker at position `at` up to the next ".", or "" when at is -1.
QString segmentAfter(const QString& key, qsizetype at, qsizetype markerLength) {
    if (at < 0)
        return {};
    const qsizetype start = at + markerLength;
    const qsizetype end = key.indexOf(kSeparator, start);
    return end < 0 ? key.mid(start) : key.mid(start, end - start);
}

QString segmentAfterFirst(const QString& key, QLatin1String word) {
    const QString m = marker(word);
    return segmentAfter(key, key.indexOf(m), m.size());
}

// A folder word names the node below it when it is the second-to-last segment, and the
// folder itself when it is the last one.
struct FolderWord {
    QLatin1String word;
    ExplorerNodeType item;
    ExplorerNodeType folder;
};

constexpr std::array<FolderWord, 6> kFolderWords{{
    {kUsers, ExplorerNodeType::User, ExplorerNodeType::UsersFolder},
    {kFormulas, ExplorerNodeType::Formula, ExplorerNodeType::FormulasFolder},
    {kGroups, ExplorerNodeType::Group, ExplorerNodeType::GroupsFolder},
    {kAccounts, ExplorerNodeType::GroupAccount, ExplorerNodeType::GroupAccountFolder},
    {kUserAccounts, ExplorerNodeType::UserAccount, ExplorerNodeType::UserAccountFolder},
    {kExternalAccounts, ExplorerNodeType::UserExternalAccount,
     ExplorerNodeType::UserExternalAccountFolder},
}};

} // namespace

QString ExplorerKeys::Root() {
    return QStringLiteral("[ROOT]");
}

QString ExplorerKeys::UsersFolder() {
    return child(Root(), kUsers);
}

QString ExplorerKeys::FormulasFolder() {
    return child(Root(), kFormulas);
}

QString ExplorerKeys::GroupsFolder() {
    return child(Root(), kGroups);
}

QString ExplorerKeys::User(const QString& transID) {
    return child(UsersFolder(), EncodeKeyPart(transID));
}

QString ExplorerKeys::UserAccountFolder(const QString& transID) {
    return child(User(transID), kUserAccounts);
}

QString ExplorerKeys::UserAccount(const QString& transID, const QString& accountID) {
    return child(UserAccountFolder(transID), accountID);
}

QString ExplorerKeys::UserExternalAccountFolder(const QString& transID) {
    return child(User(transID), kExternalAccounts);
}

QString ExplorerKeys::UserExternalAccount(const QString& transID, const QString& accountID) {
    return child(UserExternalAccountFolder(transID), accountID);
}

QString ExplorerKeys::UnknownExternalAccount(const QString& transID, qint16 counter) {
    return UserExternalAccountFolder(transID) + QStringLiteral(".-") +
           QString::number(int(counter) - 100);
}

QString ExplorerKeys::Formula(const QString& formulaID) {
    return child(FormulasFolder(), formulaID);
}

QString ExplorerKeys::Group(const QString& groupID) {
    return child(GroupsFolder(), groupID);
}

QString ExplorerKeys::GroupAccountFolder(const QString& groupID) {
    return child(Group(groupID), kAccounts);
}

QString ExplorerKeys::GroupAccount(const QString& groupID, const QString& accountID) {
    return child(GroupAccountFolder(groupID), accountID);
}

ExplorerNodeType ExplorerKeys::GetNodeType(const QString& key) {
    const qsizetype last = key.lastIndexOf(kSeparator);
    if (last < 0)
        return ExplorerNodeType::Root;
    // lastIndexOf with a start of -1 would search from the end again, hence the guard.
    const qsizetype before = last == 0 ? -1 : key.lastIndexOf(kSeparator, last - 1);
    const QString lastTwo = key.mid(before + 1);
    const qsizetype split = lastTwo.indexOf(kSeparator);
    const QString secondToLast = lastTwo.left(split);
    const QString finalSegment = lastTwo.mid(split + 1);
    for (const FolderWord& w : kFolderWords) {
        if (secondToLast == w.word)
            return w.item;
    }
    for (const FolderWord& w : kFolderWords) {
        if (finalSegment == w.word)
            return w.folder;
    }
    return ExplorerNodeType::Root;
}

QString ExplorerKeys::GetUserKeyPart(const QString& key) {
    return segmentAfterFirst(key, kUsers);
}

QString ExplorerKeys::GetGroupID(const QString& key) {
    return segmentAfterFirst(key, kGroups);
}

QString ExplorerKeys::GetGroupAccountID(const QString& key) {
    return segmentAfterFirst(key, kAccounts);
}

QString ExplorerKeys::GetUserAccountID(const QString& key) {
    const QString external = marker(kExternalAccounts);
    const qsizetype at = key.lastIndexOf(external);
    if (at >= 0)
        return segmentAfter(key, at, external.size());
    return segmentAfterFirst(key, kUserAccounts);
}

QString ExplorerKeys::GetFormulaID(const QString& key) {
    return segmentAfterFirst(key, kFormulas);
}

} // namespace velora::explorer
