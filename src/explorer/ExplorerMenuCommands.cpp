#include "ExplorerMenuCommands.h"

#include "ExplorerKeyPart.h"
#include "ExplorerKeys.h"
#include "ExplorerNumbers.h"
#include "IncentiveExplorer.h"

namespace velora::explorer {

using Keys = ExplorerKeys;

void ExplorerMenuCommands::renameFormula(const QString& selectedKey) {
    const QString formulaID = Keys::GetFormulaID(selectedKey);
    const QString oldName = names_.text(Keys::Formula(formulaID));
    QString newName;
    qint16 cancel = 0;
    QString tag = tree_.at(tree_.require(selectedKey)).tag;
    Q_EMIT explorer_.RenameFormula(formulaID, oldName, newName, cancel, tag);
    if (cancel == 0)
        tree_.setText(tree_.require(Keys::Formula(formulaID)), newName);
}

void ExplorerMenuCommands::renameGroup(const QString& selectedKey) {
    const QString groupID = Keys::GetGroupID(selectedKey);
    const QString oldName = names_.text(Keys::Group(groupID));
    QString newName;
    qint16 cancel = 0;
    bool isDefault = false;
    Q_EMIT explorer_.RenameGroup(groupID, oldName, newName, cancel, isDefault);
    if (cancel == 0)
        tree_.setText(tree_.require(Keys::Group(groupID)),
                      isDefault ? newName + QStringLiteral(" (Default)") : newName);
}

void ExplorerMenuCommands::refreshUser(const QString& selectedKey) {
    tree_.setTag(tree_.require(selectedKey), QString());
    Q_EMIT explorer_.UserFolderExpand(ExplorerNode(&explorer_, selectedKey),
                                      DecodeKeyPart(Keys::GetUserKeyPart(selectedKey)));
}

bool ExplorerMenuCommands::deleteFormula(const QString& formulaID) {
    const double value = ExplorerNumbers::LeadingValue(formulaID);
    if (value == 1) {
        Q_EMIT explorer_.IncentiveExplorerError(
            -1, QStringLiteral("You can not delete the default formula."));
        return false;
    }
    if (value < 1) {
        Q_EMIT explorer_.IncentiveExplorerError(
            -1,
            QStringLiteral("An unresolved error occurred in an attempt to delete this formula."));
        return false;
    }
    const QString name = names_.text(Keys::Formula(formulaID));
    qint16 cancel = 0;
    Q_EMIT explorer_.DeleteFormula(name, formulaID, cancel);
    if (cancel != 0)
        return false;
    tree_.remove(tree_.require(Keys::Formula(formulaID)));
    return true;
}

bool ExplorerMenuCommands::deleteGroup(const QString& groupID) {
    const QString name = names_.text(Keys::Group(groupID));
    qint16 cancel = 0;
    Q_EMIT explorer_.DeleteGroup(name, groupID, cancel);
    if (cancel != 0)
        return false;
    tree_.remove(tree_.require(Keys::Group(groupID)));
    return true;
}

} // namespace velora::explorer
