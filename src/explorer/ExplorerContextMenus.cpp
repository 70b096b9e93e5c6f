#include "ExplorerContextMenus.h"

#include <QMenu>

namespace velora::explorer {

ExplorerContextMenus::ExplorerContextMenus(QWidget& owner, const Handlers& handlers) {
    formulaFolder_ = addPopup(owner, "mnuFormulaFolderPopup", "FORMULAFOLDERPOPUP");
    addItem(formulaFolder_, "mnuCreateFormula", "&Create Formula", handlers.createFormula);
    formula_ = addPopup(owner, "mnuFormulaPopup", "FORMULAPOPUP");
    addItem(formula_, "mnuRenameFormula", "&Rename Formula", handlers.renameFormula);
    addItem(formula_, "mnuDeleteFormula", "&Delete Formula", handlers.deleteFormula);
    group_ = addPopup(owner, "mnuGroupPopup", "GROUPPOPUP");
    addItem(group_, "mnuRenameGroup", "&Rename Group", handlers.renameGroup);
    addItem(group_, "mnuDeleteGroup", "&Delete Group", handlers.deleteGroup);
    groupFolder_ = addPopup(owner, "mnuGroupFolderPopup", "GROUPFOLDERPOPUP");
    addItem(groupFolder_, "mnuCreateGroup", "&Create Group", handlers.createGroup);
    userFolder_ = addPopup(owner, "mnuUserFolderPopup", "USERFOLDERPOPUP");
    addItem(userFolder_, "mnuRefreshUser", "&Refresh", handlers.refreshUser);
}

QMenu* ExplorerContextMenus::addPopup(QWidget& owner, const char* name, const char* caption) {
    auto* menu = new QMenu(QString::fromLatin1(caption), &owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void ExplorerContextMenus::addItem(QMenu* menu, const char* name, const char* caption,
                                   const std::function<void()>& handler) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menu, handler);
}

QMenu* ExplorerContextMenus::popupFor(ExplorerNodeType kind) const {
    switch (kind) {
    case ExplorerNodeType::User:
        return userFolder_;
    case ExplorerNodeType::FormulasFolder:
        return formulaFolder_;
    case ExplorerNodeType::Formula:
        return formula_;
    case ExplorerNodeType::GroupsFolder:
        return groupFolder_;
    case ExplorerNodeType::Group:
        return group_;
    default:
        return nullptr;
    }
}

} // namespace velora::explorer
