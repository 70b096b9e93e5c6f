#pragma once

#include <QString>
#include <QtGlobal>

namespace velora::explorer {

// The icons of the explorer's image list, in the list's order. Nodes store the value; events
// and queries speak of the key text.
enum class ExplorerImage : quint8 {
    Company,
    Formula,
    Group,
    Department,
    Account,
    AccountExt,
    AccountDef,
    ClosedFolder,
    User,
    OpenFolder,
    Root,
    DefaultFormula,
    Report,
    DeletedUser,
    DeletedAccount,
};

inline constexpr int kExplorerImageCount = 15;

// The key text of an image ("CLSDFOLD" for ClosedFolder and so on).
QString ExplorerImageKey(ExplorerImage image);

// The image stored under a key text; false when no image has that key.
bool ExplorerImageFromKey(const QString& key, ExplorerImage* image);

} // namespace velora::explorer
