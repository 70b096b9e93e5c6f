#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace velora::db {
class Connection;
}
namespace velora::suite {
class HXRegion;
}
namespace velora::common {
class Messages;
}

namespace velora::groups {

class ValuePrompter;

// How the asking loop treats an empty answer. Group and user saves give up at once; a formula
// save first asks whether the operator really wants to throw the edit away.
enum class EffectiveDateVariant { GroupOrUser, Formula };

// One change that reaches back in time, as its caller describes it. Both statements receive the
// effective date exactly as typed (or as offered), to be put between single quotes.
struct EffectiveDateRequest {
    QString title;
    QString prompt;
    EffectiveDateVariant variant = EffectiveDateVariant::GroupOrUser;
    // The latest locked shift_date of the affected rows after the date.
    std::function<QString(const QString& date)> maximumQuery;
    // Locks the affected rows before the date.
    std::function<QString(const QString& date)> lockStatement;
};

struct EffectiveDateOutcome {
    enum class Kind {
        NoDate,   // no valid date was given (or, for a formula, the operator chose to cancel)
        Declined, // the operator refused the earliest date that could be used
        Locked,   // the rows before `date` are locked; the caller writes its change now
    };
    Kind kind = Kind::NoDate;
    QString date;
};

// The effective-date procedure shared by every change that alters how incentives are computed:
// ask for a date, move it forward past rows that are locked already when the operator agrees,
// and lock the affected rows before it, so that earlier days keep the values computed under the
// old rules.
class EffectiveDateProcedure {
public:
    EffectiveDateProcedure(ValuePrompter& prompter, common::Messages& messages,
                           const suite::HXRegion& region, std::function<QDate()> today);

    // The whole procedure. Database errors propagate to the caller, whose handler reports them;
    // statements run before the failure stay run.
    EffectiveDateOutcome Run(db::Connection& connection, const EffectiveDateRequest& request);

    // The asking loop: a valid date, or "" when there is none.
    QString AskForDate(const QString& title, const QString& prompt, EffectiveDateVariant variant);

    // The date to lock before: `date` when no affected row after it is locked, the latest such
    // locked day when the operator accepts it, "" when the operator refuses it.
    QString EarliestRevertDate(db::Connection& connection, const QString& date,
                               const QString& maximumQuery);

    bool isValidDate(const QString& text) const;

private:
    // One prompt in date mode with today as the default; "" unless left with OK.
    QString ask(const QString& title, const QString& prompt);

    ValuePrompter& prompter_;
    common::Messages& messages_;
    const suite::HXRegion& region_;
    std::function<QDate()> today_;
};

} // namespace velora::groups
