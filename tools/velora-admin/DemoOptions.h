#pragma once

#include <QDate>
#include <cstdint>

namespace velora::admin {

// What "velora-admin demo" makes: how many of each, over which span, from which seed.
struct DemoOptions {
    int users = 40;
    int accounts = 12;
    int days = 120;     // calendar days of production, ending the day before `today`
    int partitions = 0; // 0: no partition tree (partition mode off)
    std::uint32_t seed = 1;
    QDate today; // the day the demo is made for; rows end the day before

    QDate firstDay() const { return today.addDays(-days); }
    QDate lastDay() const { return today.addDays(-1); }
    // Rows before this day are locked, as a site that locks after about six weeks has them.
    QDate lockedBefore() const { return today.addDays(-45); }
};

} // namespace velora::admin
