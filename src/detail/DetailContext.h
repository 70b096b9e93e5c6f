#pragma once

#include "DayRecord.h"

#include <QString>
#include <functional>
#include <memory>

class QComboBox;

namespace velora::db {
class Connection;
}
namespace velora::suite {
class HXRegion;
class HXLoginUser;
} // namespace velora::suite
namespace velora::catalogue {
class User;
}
namespace velora::common {
class Messages;
}

namespace velora::detail {

class UserDetailPane;

// The explorer's current selection as the week's callers pass it on: CurrentTransID,
// CurrentUserName, CurrentUserAccountName, CurrentUserAccountID.
struct CurrentSelection {
    QString transID;
    QString userName;
    QString accountName;
    QString accountID;
};

// What the weekly detail works with: the shared connection (opened when closed, closed again
// when an operation ends), the suite components, the settings, the pane and the week buffer.
// The main window builds one and keeps it for its lifetime.
struct DetailContext {
    db::Connection& connection;
    const suite::HXRegion& region;
    std::function<const suite::HXLoginUser*()> loginUser; // privileges of the operator
    common::Messages& messages;
    UserDetailPane& pane;
    QComboBox& groupList; // cmbUserHeaderGroupName: entries carry the group id as item data
    WeekBuffer& week;
    std::shared_ptr<catalogue::User>& currentUser;
    std::function<int()> hourMode;       // INCENT_HOUR_TYPE: 1 or 2
    std::function<int()> firstDayOfWeek; // INCENT_FIRST_DAY_OF_WEEK: 1 Sunday .. 7 Saturday
    std::function<CurrentSelection()> selection;
    // BeginBusy without the wait dialog, and EndBusy.
    std::function<void()> beginBusy;
    std::function<void()> endBusy;
    // Shows the weekly detail pane in front of the others.
    std::function<void()> showDetailPane;
};

} // namespace velora::detail
