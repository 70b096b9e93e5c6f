#pragma once

#include "ExplorerTree.h"

#include <QString>

namespace velora::explorer {

// Puts the catalogue's users, formulas, groups and their accounts into the explorer's tree:
// which folder each node goes under, its key, its text and its image. Failures throw; the
// explorer turns them into its error event.
class ExplorerTreeBuilder {
public:
    explicit ExplorerTreeBuilder(ExplorerTree& tree)
        : tree_(tree) {}

    // Empties the tree and adds the root with its three folders; returns the users' folder.
    int addFixedNodes();
    void addFormula(const QString& formulaName, const QString& formulaID);
    void addGroup(const QString& groupName, const QString& groupID, const QString& tag,
                  bool deferred);
    void addUser(const QString& userText, const QString& transID, const QString& tag,
                 bool isDeleted, bool deferred);
    void addGroupAccount(const QString& groupID, const QString& accountID, const QString& tag);
    void addUserAccount(const QString& transID, const QString& accountID, const QString& tag);
    void addExternalUserAccount(const QString& transID, const QString& accountID,
                                const QString& tag);
    // How many external accounts the account list did not know have been added; each gets a
    // key of its own from this count.
    qint16 unknownExternalCounter() const { return unknownExternalCounter_; }

private:
    int addFolderAccount(const QString& folderKey, const QString& accountID,
                         bool pseudoAccountImages);
    int addUnknownExternalAccount(int folder, const QString& transID);

    ExplorerTree& tree_;
    qint16 unknownExternalCounter_ = 0;
};

} // namespace velora::explorer
