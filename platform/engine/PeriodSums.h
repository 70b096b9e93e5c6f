#pragma once

#include "FormulaTypes.h"

#include <QDate>
#include <QHash>
#include <array>
#include <functional>
#include <vector>

namespace velora::engine {

// One day's sums of the measures the period functions read, in Measure order, with the hours
// of both hour modes (system, typed) so that the hour mode is chosen at lookup.
struct DaySums {
    QDate day;
    std::array<double, 9> values{}; // Reports, CharLines, TrueLines, Pages, SystemHours,
                                    // IHours, ITyped, IPay, HoursTyped
};

// Answers WeekToDate, MonthToDate and YearToDate from the values stored when the run began.
// Each (user, account or all accounts, period) is read once and kept as running totals, so
// that a month of rows costs one query, not one per row.
class PeriodSums final : public PeriodSource {
public:
    // Reads the per-day sums of a user between two days, for one account or (account null)
    // all accounts, ordered by day.
    using Fetch = std::function<std::vector<DaySums>(const QString& transId, const int* account,
                                                     const QDate& from, const QDate& to)>;

    PeriodSums(Fetch fetch, int firstDayOfWeek);

    double periodSum(Period period, Measure measure, bool allAccounts,
                     const RowInputs& row) override;

    static QDate periodStart(Period period, const QDate& day, int firstDayOfWeek);
    static QDate periodEnd(Period period, const QDate& start);

private:
    struct Key {
        QString transId;
        int account;
        bool allAccounts;
        int period;
        qint64 start;
        bool operator==(const Key& other) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed);

    const std::vector<DaySums>& runningTotals(const Key& key, const QDate& start, Period period);

    Fetch fetch_;
    int firstDayOfWeek_;
    QHash<Key, std::vector<DaySums>> cache_;
};

} // namespace velora::engine
