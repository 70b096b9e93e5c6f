#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
class Group;
} // namespace velora::catalogue
namespace velora::common {
class Messages;
}
namespace velora::suite {
class HXRegion;
}

namespace velora::groups {

class EffectiveDateProcedure;
class GroupAccountPane;

// What the group-account pane works with. The main window owns all of it.
struct GroupAccountEnvironment {
    db::Connection& connection;
    const catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::function<int()> partitionDisplay; // INCENT_PARTITION_DISPLAY
    // True when the logged-in operator holds the right to change groups and formulas; an
    // operator without it neither sees the pane nor writes an assignment.
    std::function<bool()> fullMode;
    common::Messages& messages;
    EffectiveDateProcedure& effectiveDate;
    const suite::HXRegion& region;
    std::function<void()> beginBusy;
    std::function<void()> endBusy;
    std::function<void()> showPane;
};

// One group's pay formula for one client account (picAccount). Picking a formula writes
// nothing; leaving the account node saves the pick with an effective date and locks the
// group's production days before it, so that earlier days keep the pay of the old formula.
class GroupAccount {
public:
    GroupAccount(GroupAccountEnvironment environment, GroupAccountPane& pane);

    // Shows the group's assignment for the account; the IDs arrive as the explorer's texts.
    void LoadGroupAccount(const QString& groupID, const QString& accountID,
                          const QString& accountName, const QString& groupName);
    // Lists the pay formulas: every formula by name, or in partition mode the current group's
    // partition's formulas with the stored one selected.
    void FillPayFormulaList();
    // True when a group account is loaded and the list shows a formula other than the stored.
    bool GroupAccountChanged() const;
    // Saves a changed pick through the effective-date procedure. Cancelling or declining keeps
    // the pick, so the next leave asks again.
    void SaveGroupAccount();

    int groupID() const { return groupID_; }
    int storedPayFormulaID() const { return storedPayFormulaID_; }

    // Statement texts; the IDs are numbers, the date goes through QuoteSql.
    static QString loadStatement(int groupID, int accountID);
    static QString latestLockedStatement(int groupID, int accountID, const QString& date);
    static QString lockStatement(int groupID, const QString& date);
    static QString updateStatement(int groupID, int accountID, int payFormulaID);
    static QString insertStatement(int groupID, int accountID, int payFormulaID);
    static QString effectiveDateStatement(int groupID, const QString& date);

private:
    void reset();
    void load(const QString& groupID, const QString& accountID, const QString& accountName,
              const QString& groupName);
    void fillFromDatabase();
    void fillFromCatalogue();
    void save();
    void write(const QString& date);
    void closeConnection();

    GroupAccountEnvironment env_;
    GroupAccountPane& pane_;
    std::shared_ptr<catalogue::Group> group_;
    int groupID_ = 0;
    int accountID_ = 0;
    int storedPayFormulaID_ = 0;
    bool rowExists_ = false;
};

} // namespace velora::groups
