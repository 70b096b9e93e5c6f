#pragma once

namespace velora::explorer {

// The kind of an explorer node. The values are the codes the explorer's events carry and
// that GetNodeType derives from a node's key, so they must not be renumbered.
enum class ExplorerNodeType : int {
    Root = 0,
    UsersFolder = 1,
    User = 2,
    FormulasFolder = 3,
    Formula = 4,
    GroupsFolder = 5,
    Group = 6,
    GroupAccountFolder = 7,
    GroupAccount = 8,
    UserAccountFolder = 9,
    UserAccount = 10,
    UserExternalAccountFolder = 11,
    UserExternalAccount = 12,
};

} // namespace velora::explorer
