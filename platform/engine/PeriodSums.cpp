#include "PeriodSums.h"

#include <algorithm>

namespace velora::engine {

namespace {
constexpr qsizetype kMaxCachedPeriods = 8192;
}

size_t qHash(const PeriodSums::Key& key, size_t seed) {
    return qHashMulti(seed, key.transId.toUpper(), key.account, key.allAccounts, key.period,
                      key.start);
}

PeriodSums::PeriodSums(Fetch fetch, int firstDayOfWeek)
    : fetch_(std::move(fetch))
    , firstDayOfWeek_(firstDayOfWeek) {}

QDate PeriodSums::periodStart(Period period, const QDate& day, int firstDayOfWeek) {
    switch (period) {
    case Period::Week: {
        // QDate: Monday = 1 .. Sunday = 7; preference: Sunday = 1 .. Saturday = 7.
        const int weekday = day.dayOfWeek() % 7 + 1;
        return day.addDays(-((weekday - firstDayOfWeek + 7) % 7));
    }
    case Period::Month:
        return QDate(day.year(), day.month(), 1);
    case Period::Year:
        return QDate(day.year(), 1, 1);
    }
    return day;
}

QDate PeriodSums::periodEnd(Period period, const QDate& start) {
    switch (period) {
    case Period::Week:
        return start.addDays(6);
    case Period::Month:
        return start.addMonths(1).addDays(-1);
    case Period::Year:
        return QDate(start.year(), 12, 31);
    }
    return start;
}

const std::vector<DaySums>& PeriodSums::runningTotals(const Key& key, const QDate& start,
                                                      Period period) {
    auto it = cache_.find(key);
    if (it != cache_.end())
        return it.value();
    // Bounded so that memory stays flat however many rows a run covers; rows arrive roughly in
    // day order, so the periods dropped are mostly finished ones.
    if (cache_.size() >= kMaxCachedPeriods)
        cache_.clear();
    std::vector<DaySums> days = fetch_(key.transId, key.allAccounts ? nullptr : &key.account, start,
                                       periodEnd(period, start));
    for (std::size_t i = 1; i < days.size(); ++i) {
        for (std::size_t m = 0; m < days[i].values.size(); ++m)
            days[i].values[m] += days[i - 1].values[m];
    }
    return cache_.insert(key, std::move(days)).value();
}

double PeriodSums::periodSum(Period period, Measure measure, bool allAccounts,
                             const RowInputs& row) {
    const QDate start = periodStart(period, row.shiftDate, firstDayOfWeek_);
    const Key key{row.transId, allAccounts ? 0 : row.accountId, allAccounts,
                  static_cast<int>(period), start.toJulianDay()};
    const std::vector<DaySums>& totals = runningTotals(key, start, period);
    // The last day on or before the row's day carries the running total through that day.
    const auto after =
        std::upper_bound(totals.begin(), totals.end(), row.shiftDate,
                         [](const QDate& day, const DaySums& sums) { return day < sums.day; });
    if (after == totals.begin())
        return 0;
    std::size_t index = static_cast<std::size_t>(measure);
    if (measure == Measure::Hours && row.hourMode == 2)
        index = 8;
    return std::prev(after)->values[index];
}

} // namespace velora::engine
