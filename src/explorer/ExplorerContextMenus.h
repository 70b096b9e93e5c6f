#pragma once

#include "ExplorerNodeType.h"

#include <functional>

class QMenu;
class QWidget;

namespace velora::explorer {

// The explorer's five pop-up menus and the choice among them by the kind of node that was
// right-clicked. The items call the handlers the explorer gives.
class ExplorerContextMenus {
public:
    struct Handlers {
        std::function<void()> createFormula;
        std::function<void()> renameFormula;
        std::function<void()> deleteFormula;
        std::function<void()> renameGroup;
        std::function<void()> deleteGroup;
        std::function<void()> createGroup;
        std::function<void()> refreshUser;
    };

    // The menus are children of the owner, so its findChild reaches them and their items.
    ExplorerContextMenus(QWidget& owner, const Handlers& handlers);

    // The menu of a node kind: users, the formulas folder, formulas, the groups folder and
    // groups have one; every other kind none (nullptr).
    QMenu* popupFor(ExplorerNodeType kind) const;

private:
    QMenu* addPopup(QWidget& owner, const char* name, const char* caption);
    static void addItem(QMenu* menu, const char* name, const char* caption,
                        const std::function<void()>& handler);

    QMenu* formulaFolder_ = nullptr;
    QMenu* formula_ = nullptr;
    QMenu* group_ = nullptr;
    QMenu* groupFolder_ = nullptr;
    QMenu* userFolder_ = nullptr;
};

} // namespace velora::explorer
