#pragma once

#include "DemoCatalogue.h"
#include "DemoFormulas.h"
#include "DemoOptions.h"

#include <QDate>
#include <string>
#include <vector>

struct sqlite3;

namespace velora::admin {

class BulkInsert;
class DemoRandom;

// The daily production of the demo: for every transcriptionist and working day (Monday to
// Friday) of the period, one Trans_incentive row per account worked on and the day's
// Trans_activity rows, with the incentive values the group's formulas give. The bulk of the
// demo's rows: they go through two prepared statements, user by user in trans_id order.
class DemoProduction {
public:
    DemoProduction(const DemoOptions& options, const DemoCatalogue& catalogue,
                   const DemoFormulas& formulas, DemoRandom& random);

    void write(sqlite3* db);

private:
    struct WorkDay {
        QDate date;
        std::string text; // YYYY-MM-DD, bound as it stands
        bool locked = false;
        int month = 0;
    };
    struct Row;

    void writeUser(const DemoUser& user, BulkInsert& incentive, BulkInsert& activity);
    std::vector<int> accountsOfDay(const DemoUser& user, const WorkDay& day);
    // The day's rows for the accounts: totals split by weight, then corrections.
    std::vector<Row> splitDay(const std::vector<int>& accountIndexes, const DemoUser& user,
                              int systemSeconds, int otherSeconds);
    void correct(Row& row);

    const DemoCatalogue& catalogue_;
    const DemoFormulas& formulas_;
    DemoRandom& random_;
    std::vector<WorkDay> days_;
};

} // namespace velora::admin
