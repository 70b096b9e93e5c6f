#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace velora::admin {

// One day's figures of a user on one account (the _modified values the formulas read).
struct DemoFigures {
    double reports = 0;
    double chars = 0;
    double lines = 0;
    double pages = 0;
    double hoursTyped = 0;
    double hoursSystem = 0;
    double hoursOther = 0;
};

// The demo's incentive formulas: their names and texts in the formula language, and the same
// computations in C++ so that the generated rows carry the incentive values a recalculation
// with the default hour mode (system hours) would give them.
class DemoFormulas {
public:
    enum Kind { LineRate, MonthlyTier, HourlyBonus, AccountRates, HoursWorked, TypedLines };
    static constexpr int kCount = 6;

    // accountIds: the live accounts, in the order in which the per-account formula names them.
    explicit DemoFormulas(const std::vector<int>& accountIds);

    // Formula ids follow the default formula (1): LineRate is 2, TypedLines 7.
    static int idOf(Kind kind) { return 2 + kind; }
    static QString nameOf(Kind kind);
    QString textOf(Kind kind) const;

    // Results of the typed-lines, hours-worked and pay formulas for one row. monthLines is the
    // user's true lines of the month up to and including the row's day, over all accounts.
    static double typedLines(const DemoFigures& figures);
    static double hoursWorked(const DemoFigures& figures);
    double pay(Kind payFormula, const DemoFigures& figures, int accountId, double monthLines) const;

    // VBScript's Round: to the given places, halves to even.
    static double round(double value, int places);

private:
    double accountRate(int accountId) const;
    QString accountRatesText() const;

    std::vector<std::pair<int, double>> accountRates_;
};

} // namespace velora::admin
