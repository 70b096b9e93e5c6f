#pragma once

#include <QString>
#include <functional>
#include <memory>

class QComboBox;

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
class User;
} // namespace velora::catalogue
namespace velora::common {
class Messages;
}

namespace velora::groups {

class EffectiveDateProcedure;

// What the user's group assignment works with. The main window owns all of it.
struct UserGroupEnvironment {
    db::Connection& connection;
    const catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::function<int()> partitionDisplay; // INCENT_PARTITION_DISPLAY
    std::shared_ptr<catalogue::User>& currentUser;
    common::Messages& messages;
    EffectiveDateProcedure& effectiveDate;
};

// The group drop-down list of the user header (cmbUserHeaderGroupName) and the saving of the
// group picked there. Nothing is written when the operator picks a group: the save runs when the
// operator leaves the user, asks for the date from which the new group applies and locks the
// user's production days before it.
class UserGroupAssignment {
public:
    UserGroupAssignment(UserGroupEnvironment environment, QComboBox& groupList);

    // Lists the groups (all of them by name, or in partition mode the current user's partition's
    // groups in catalogue order, labelled with their partition). Selects none.
    void FillGroupList();

    // True when the list shows a group other than the current user's.
    bool UserGroupChanged() const;

    // Saves the picked group with an effective date. `force` saves even when the pick equals
    // the user's group (after the user was moved to the default group of the partition). False
    // when the save failed (after its message); a declined date is not a failure.
    bool SaveUserGroup(bool& force);

    // Statement texts; the user's trans_id and the effective date go through QuoteSql.
    static QString groupListStatement();
    static QString latestLockedStatement(const QString& transID, const QString& date);
    static QString lockStatement(const QString& transID, const QString& date);
    static QString assignStatement(const QString& transID, int groupID, const QString& date);

private:
    void fillFromDatabase();
    void fillFromCatalogue();
    void save(bool changed);
    QString groupName(int groupID) const;
    void closeConnection();

    UserGroupEnvironment env_;
    QComboBox& groupList_;
};

} // namespace velora::groups
