#pragma once

#include "ExplorerNodeType.h"

#include <QString>
#include <QtGlobal>

namespace velora::explorer {

// The key grammar of the explorer's nodes. A node's key alone tells its kind and the user,
// formula, group and account it stands for, so the tree carries no other identity. TransIDs
// go into keys through EncodeKeyPart; formula, group and account ids go in as their text.
class ExplorerKeys {
public:
    // The four nodes every tree holds.
    static QString Root();
    static QString UsersFolder();
    static QString FormulasFolder();
    static QString GroupsFolder();

    // Key builders. transID is the plain TransID: the builders encode it.
    static QString User(const QString& transID);
    static QString UserAccountFolder(const QString& transID);
    static QString UserAccount(const QString& transID, const QString& accountID);
    static QString UserExternalAccountFolder(const QString& transID);
    static QString UserExternalAccount(const QString& transID, const QString& accountID);
    // An external account that the account list does not know gets a key from the running
    // count of such accounts: ".-" followed by (counter - 100), which no real id produces.
    static QString UnknownExternalAccount(const QString& transID, qint16 counter);
    static QString Formula(const QString& formulaID);
    static QString Group(const QString& groupID);
    static QString GroupAccountFolder(const QString& groupID);
    static QString GroupAccount(const QString& groupID, const QString& accountID);

    // The kind of node a key names, judged by its last two segments only.
    static ExplorerNodeType GetNodeType(const QString& key);

    // One segment of a key, "" when the key has none. GetUserKeyPart returns the TransID
    // still encoded; DecodeKeyPart gives the TransID itself.
    static QString GetUserKeyPart(const QString& key);
    static QString GetGroupID(const QString& key);
    static QString GetGroupAccountID(const QString& key);
    static QString GetUserAccountID(const QString& key);
    static QString GetFormulaID(const QString& key);
};

} // namespace velora::explorer
