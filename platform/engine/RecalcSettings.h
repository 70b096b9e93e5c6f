#pragma once

namespace velora::db {
class Connection;
}

namespace velora::engine {

// The system-level preferences a recalculation depends on, read once per run.
struct RecalcSettings {
    int hourMode = 1;                    // INCENT_HOUR_TYPE
    int autoLockingDays = 30;            // INCENT_AUTO_LOCKING (0: no automatic locking)
    bool addBlankEndOfMonthRows = false; // INCENT_ADD_BLANK_EOM_VALUES
    int firstDayOfWeek = 1;              // INCENT_FIRST_DAY_OF_WEEK, 1 = Sunday .. 7 = Saturday
    bool partitionMode = false;          // more than one live partition besides partition 0

    // Reads the system-level values (user -1, no partition) with their defaults. A stored value
    // that does not convert keeps the default.
    static RecalcSettings read(db::Connection& connection);
};

} // namespace velora::engine
