#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace velora::db {
class Recordset;
}

namespace velora::detail {

struct DetailContext;

// Loads one user's week for one account (or the account summary, "-2") into the weekly grid:
// saves the week on screen first (when that fails, the operator chooses between keeping the
// typed week in view and discarding it), reads the last locked date, labels the days, shows the
// user, group and account, fills each day from its stored row or as an empty day, decides which
// cells may be edited and which values are corrections, keeps the week buffer, writes the
// period totals and shows the pane. A failure stops the load with the load-failure message.
class WeekLoader {
public:
    // saveWeek writes the operator's pending edits of the week on screen; false when it failed
    // (and said so).
    WeekLoader(DetailContext& context, std::function<bool()> saveWeek);

    // The start date is the text of the pane's start date picker.
    void LoadWeek(const QString& transID, const QString& userName, const QString& accountName,
                  const QString& accountID);
    // The same load without saving first, for a caller that has just saved the week: a second
    // save would find the unsaved cells of a new row (the incentive values typed on a day
    // without a row) still differing and store them.
    void ReloadWeek(const QString& transID, const QString& userName, const QString& accountName,
                    const QString& accountID);

    // A day without a stored row: zeros (the activity-log hours in hour mode 1), black, and
    // editable exactly when enabled. Reports its own failure.
    void FillEmptyDay(int row, const QString& accountID, const QString& transID, bool enabled,
                      const QString& dateText);
    // Enables a day's cells by the operator's privileges (18 hours, 19 production counts,
    // 22 ITyped, 23 IPay, 45 IHours), or disables them all; Save Changes follows.
    void ApplyCellPrivileges(int row, bool disableAll);

    static QString failureText(int number, const QString& description);
    // Asked when the week on screen could not be saved before the operator leaves it: the
    // operator decides, rather than losing the changes unseen or being held in the week.
    static QString discardQuestion();

private:
    void run(bool saveFirst, const QString& transID, const QString& userName,
             const QString& accountName, const QString& accountID);
    void load(const QString& transID, const QString& userName, const QString& accountName,
              const QString& accountID);
    QDate readLastLockedDate();
    QDate labelDays();
    void showUser(const QString& transID, const QString& userName, const QString& accountName);
    void fillDays(const QString& transID, const QString& accountID, const QDate& start,
                  const QDate& lastLocked);
    void fillFromRow(int row, const db::Recordset& day, const QString& transID,
                     const QString& accountID);
    void colourCells(int row);
    void fillEmptyDay(int row, const QString& accountID, const QString& transID, bool enabled,
                      const QString& dateText);
    void enableDay(int row, bool enabled);
    void replaceCurrentUser(const QString& transID);

    DetailContext& context_;
    std::function<bool()> saveWeek_;
};

} // namespace velora::detail
