#pragma once

#include "PeriodSums.h"

#include <vector>

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::engine {

// The per-day sums the period functions read, in DaySums order after the day.
extern const char* const kDaySumColumns;

// The rows of a "SELECT <kDaySumColumns> ... GROUP BY shift_date" as DaySums.
std::vector<DaySums> readDaySums(db::Recordset rows);

// A user's per-day sums between two days, for one account or (account null) all accounts,
// through the program's statement interface.
std::vector<DaySums> queryDaySums(db::Connection& connection, const QString& transId,
                                  const int* account, const QDate& from, const QDate& to);

} // namespace velora::engine
