#pragma once

#include <QList>
#include <QString>

namespace velora::common {
class Messages;
class PreferenceStore;
} // namespace velora::common

namespace velora::shell {

// What the Preferences dialog shows and what its OK writes back. Lists hold the item data of
// the chosen entry; the auto-lock days are the text as typed.
struct PreferenceChoices {
    int hourType = 2;
    int firstDayOfWeek = 2;
    QString autoLock = QStringLiteral("30");
    bool includeDeletedReports = false;
    bool eomAdjustment = false;
    bool showDeletedAccounts = false;
    bool showDeletedUsers = false;
    bool enableFormulaWizard = false;
    int partitionDisplay = 1;
};

// The decisions of the Preferences dialog without its window: which values it reads at which
// level, which controls the operator may change, how the auto-lock days are checked, and what
// OK writes in which scope. System values are written only for an operator of the admin
// partition; everything else belongs to the operator.
class PreferencesForm {
public:
    struct Situation {
        bool admin = false; // the operator's partition is the admin partition (0)
        bool partitionMode = false;
        bool supportDeletedReports = false;
        bool firstUse = false; // shown at start-up: the dialog can only be left with OK
    };

    enum class AutoLockCheck { Accepted, NotNumeric, OutOfRange };

    PreferencesForm(common::PreferenceStore& store, common::Messages& messages,
                    Situation situation);

    const Situation& situation() const { return situation_; }
    bool cancelAllowed() const { return !situation_.firstUse; }
    // Hour type, first day, auto-lock and EOM adjustment.
    bool systemValuesEditable() const { return situation_.admin; }
    bool includeDeletedReportsEditable() const {
        return situation_.admin && situation_.supportDeletedReports;
    }
    bool partitionDisplayEditable() const { return situation_.partitionMode; }

    // Reads every value the dialog shows, each at its level. Database failures reach the
    // caller as db::DbError.
    PreferenceChoices load();

    // Checks the auto-lock days and, when they are acceptable, writes the choices in their
    // scopes. False (after the matching message, with nothing written) when they are not.
    bool accept(const PreferenceChoices& choices);

    static AutoLockCheck checkAutoLock(const QString& text);
    // The item data to select for a stored list value: the matching entry's, the first
    // entry's when none matches, the second entry's when nothing is stored.
    static int chosenItem(const QString& stored, const QList<int>& itemData);
    // A stored check-box value: checked when it converts to true; unchecked when it is empty
    // or not a boolean at all.
    static bool checkedFrom(const QString& stored);

    static const QList<int>& hourTypeItems();
    static const QList<int>& dayOfWeekItems();
    static const QList<int>& partitionDisplayItems();

    static inline const QString kNotNumericMessage =
        QStringLiteral("Auto Lock value is invalid.  It have a numeric value between 0 and 32000.");
    static inline const QString kOutOfRangeMessage =
        QStringLiteral("Auto Lock value is invalid.  It must be a numeric value from 0 to 32000.");

private:
    QString readSystem(const QString& key, const QString& defaultValue);
    QString readOperatorOverSystem(const QString& key, const QString& defaultValue);
    void write(const QString& key, const QString& value, bool systemLevel);

    common::PreferenceStore& store_;
    common::Messages& messages_;
    Situation situation_;
};

} // namespace velora::shell
