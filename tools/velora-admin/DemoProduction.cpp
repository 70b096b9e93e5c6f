#include "DemoProduction.h"

#include "BulkInsert.h"
#include "DemoRandom.h"

#include <algorithm>
#include <numeric>

namespace velora::admin {

namespace {

constexpr char kIncentiveInsert[] =
    "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, dept_id, locked, "
    "number_rpts, number_rpts_modified, chars, chars_modified, lines, lines_modified, "
    "pages, pages_modified, hours_typed, hours_typed_modified, hours_system, "
    "hours_system_modified, hours_other, hours_other_modified, incent_hours_typed, "
    "incent_hours_typed_modified, incent_typed, incent_typed_modified, incent_pay, "
    "incent_pay_modified) VALUES (?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
    "?, ?, ?, ?, ?)";

constexpr char kActivityInsert[] =
    "INSERT INTO Trans_activity (trans_id, shift_date, activity_time, work_type, update_type, "
    "count_activity) VALUES (?, ?, ?, ?, ?, 1)";

// Work types and update types of the suite's activity log.
constexpr int kTranscription = 1;
constexpr int kOtherWork = 2;
constexpr int kCounted = 9;
constexpr int kLeftOut = 6;

double hoursOf(int seconds) {
    return DemoFormulas::round(seconds / 3600.0, 2);
}

} // namespace

// One row of Trans_incentive: the figures as collected and as in force.
struct DemoProduction::Row {
    int accountIndex = 0;
    DemoFigures collected;
    DemoFigures modified;
    double payOverride = -1; // a supervisor's correction of the pay, when >= 0
};

DemoProduction::DemoProduction(const DemoOptions& options, const DemoCatalogue& catalogue,
                               const DemoFormulas& formulas, DemoRandom& random)
    : catalogue_(catalogue)
    , formulas_(formulas)
    , random_(random) {
    for (QDate date = options.firstDay(); date <= options.lastDay(); date = date.addDays(1)) {
        if (date.dayOfWeek() > 5)
            continue;
        days_.push_back({date, date.toString(Qt::ISODate).toStdString(),
                         date < options.lockedBefore(), date.year() * 12 + date.month()});
    }
}

void DemoProduction::write(sqlite3* db) {
    BulkInsert incentive(db, kIncentiveInsert);
    BulkInsert activity(db, kActivityInsert);
    // In key order, so that every index grows at its end.
    std::vector<const DemoUser*> ordered;
    for (const DemoUser& user : catalogue_.users) {
        if (user.transType == 1)
            ordered.push_back(&user);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const DemoUser* a, const DemoUser* b) { return a->transId < b->transId; });
    for (const DemoUser* user : ordered)
        writeUser(*user, incentive, activity);
}

std::vector<int> DemoProduction::accountsOfDay(const DemoUser& user, const WorkDay& day) {
    std::vector<int> open;
    for (int index : user.accountIndexes) {
        if (catalogue_.accounts[static_cast<std::size_t>(index)].lastWorkingDay >= day.date)
            open.push_back(index);
    }
    // One account on about 20% of days, two on 50%, three on 30%.
    const int draw = random_.between(1, 100);
    const int wanted = draw <= 20 ? 1 : draw <= 70 ? 2 : 3;
    random_.shuffle(open);
    open.resize(std::min<std::size_t>(open.size(), static_cast<std::size_t>(wanted)));
    std::sort(open.begin(), open.end());
    return open;
}

std::vector<DemoProduction::Row> DemoProduction::splitDay(const std::vector<int>& accountIndexes,
                                                          const DemoUser& user, int systemSeconds,
                                                          int otherSeconds) {
    const int totalLines =
        std::clamp(static_cast<int>(random_.real(800, 2500) * user.productivity), 800, 2500);
    const int totalReports = std::clamp(totalLines / random_.between(45, 110), 5, 40);
    const double totalHours = hoursOf(systemSeconds);
    const double typingShare = random_.real(0.78, 0.92);

    std::vector<double> weights;
    for (std::size_t i = 0; i < accountIndexes.size(); ++i)
        weights.push_back(random_.real(1.0, 4.0));
    const double weightSum = std::accumulate(weights.begin(), weights.end(), 0.0);

    std::vector<Row> rows(accountIndexes.size());
    int linesLeft = totalLines;
    int reportsLeft = totalReports - static_cast<int>(rows.size());
    double hoursLeft = totalHours;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool last = i + 1 == rows.size();
        const double share = weights[i] / weightSum;
        const int lines = last ? linesLeft : static_cast<int>(totalLines * share + 0.5);
        const int extraReports = last ? reportsLeft : static_cast<int>(reportsLeft * share);
        const double hours =
            last ? DemoFormulas::round(hoursLeft, 2)
                 : DemoFormulas::round(totalHours * lines / static_cast<double>(totalLines), 2);
        linesLeft -= lines;
        reportsLeft -= extraReports;
        hoursLeft -= hours;

        DemoFigures& f = rows[i].collected;
        rows[i].accountIndex = accountIndexes[i];
        f.lines = lines;
        f.reports = 1 + extraReports;
        f.chars = static_cast<int>(lines * random_.real(1.25, 1.35) + 0.5);
        f.pages = std::max(1, static_cast<int>(lines / 40.0 + 0.5));
        // System time is the user's day as the activity log counts it, the same on every
        // account of the day; typing time is the account's share of it.
        f.hoursSystem = hoursOf(systemSeconds);
        f.hoursTyped = DemoFormulas::round(hours * typingShare, 2);
        // Other work is not tied to a client; it is booked on the day's first account.
        f.hoursOther = i == 0 ? hoursOf(otherSeconds) : 0;
        rows[i].modified = f;
        correct(rows[i]);
    }
    return rows;
}

void DemoProduction::correct(Row& row) {
    // About one row in a hundred carries a supervisor's correction.
    if (!random_.chance(0.01))
        return;
    DemoFigures& f = row.modified;
    switch (random_.between(0, 2)) {
    case 0: {
        const int delta = random_.between(20, 150) * (random_.chance(0.5) ? 1 : -1);
        f.lines = std::max(0.0, f.lines + delta);
        f.chars = static_cast<int>(f.lines * 1.3 + 0.5);
        break;
    }
    case 1:
        f.reports = f.reports + random_.between(1, 3);
        break;
    default:
        row.payOverride = random_.between(5, 25);
        break;
    }
}

void DemoProduction::writeUser(const DemoUser& user, BulkInsert& incentive, BulkInsert& activity) {
    std::vector<DemoFormulas::Kind> payFormulas;
    for (const DemoAccount& account : catalogue_.accounts)
        payFormulas.push_back(catalogue_.payFormulaFor(user, account));

    int month = 0;
    double monthLines = 0;
    for (const WorkDay& day : days_) {
        if (day.date > user.lastWorkingDay)
            break;
        if (random_.chance(0.03)) // a day off
            continue;
        const std::vector<int> accounts = accountsOfDay(user, day);
        if (accounts.empty())
            continue;
        const int systemSeconds = random_.between(360, 510) * 60;
        const int otherSeconds = random_.chance(0.2) ? random_.between(15, 90) * 60 : 0;
        const std::vector<Row> rows = splitDay(accounts, user, systemSeconds, otherSeconds);

        if (day.month != month) {
            month = day.month;
            monthLines = 0;
        }
        for (const Row& row : rows)
            monthLines += row.modified.lines;

        for (const Row& row : rows) {
            const DemoAccount& account =
                catalogue_.accounts[static_cast<std::size_t>(row.accountIndex)];
            const DemoFigures& c = row.collected;
            const DemoFigures& m = row.modified;
            const double typed = DemoFormulas::typedLines(m);
            const double hours = DemoFormulas::hoursWorked(m);
            const double pay = formulas_.pay(
                payFormulas[static_cast<std::size_t>(row.accountIndex)], m, account.id, monthLines);
            const double payModified = row.payOverride >= 0 ? pay + row.payOverride : pay;
            incentive.insert(user.transId, account.id, day.text, day.locked, c.reports, m.reports,
                             c.chars, m.chars, c.lines, m.lines, c.pages, m.pages, c.hoursTyped,
                             m.hoursTyped, c.hoursSystem, m.hoursSystem, c.hoursOther, m.hoursOther,
                             hours, hours, typed, typed, pay, payModified);
        }

        activity.insert(user.transId, day.text, systemSeconds, kTranscription, kCounted);
        if (otherSeconds > 0)
            activity.insert(user.transId, day.text, otherSeconds, kOtherWork, kCounted);
        // Now and then an entry that the suite leaves out of the collected figures.
        if (random_.chance(0.03))
            activity.insert(user.transId, day.text, random_.between(5, 30) * 60, kTranscription,
                            kLeftOut);
    }
}

} // namespace velora::admin
