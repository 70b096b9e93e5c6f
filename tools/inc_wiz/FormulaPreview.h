#pragma once

#include "engine/FormulaTypes.h"

#include <QDate>
#include <QList>
#include <QString>

namespace velora::db {
class Connection;
}

namespace velora::wizard {

// What a formula text would do on real data, computed by the engine's evaluator: its three
// results for one user, account and day, and a user's pay for a week under the formula beside
// the pay stored now.
class FormulaPreview {
public:
    struct DayResults {
        engine::FormulaResults results;
        engine::FormulaError error; // compile, run-time or database error; number 0 when none
    };

    struct WeekDay {
        QDate day;
        double newPay = 0;    // the formula's pay summed over the user's accounts of the day
        double storedPay = 0; // incent_pay_modified summed likewise
        int rows = 0;         // production rows of the day
    };

    struct Week {
        QList<WeekDay> days; // seven days from the week's first
        double newTotal = 0;
        double storedTotal = 0;
        engine::FormulaError error; // the first error met; the week is then incomplete
    };

    explicit FormulaPreview(db::Connection& connection)
        : connection_(connection) {}

    // The compile error of a text (number 0 when it compiles).
    static engine::FormulaError compileError(const QString& text);

    DayResults day(const QString& text, const QString& transId, int accountId, const QDate& date);
    Week week(const QString& text, const QString& transId, const QDate& firstDay);

    // The first day of the last week that has ended before today, weeks starting on
    // firstDayOfWeek (1 Sunday .. 7 Saturday).
    static QDate lastFullWeek(const QDate& today, int firstDayOfWeek);

private:
    db::Connection& connection_;
};

} // namespace velora::wizard
