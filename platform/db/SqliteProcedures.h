#pragma once

#include "ProcedureParameter.h"
#include "Recordset.h"

#include <QString>

struct sqlite3;

namespace velora::db {

// The five stored procedures of the incentive schema, implemented for the embedded engine
// with the parameter names, order and results that SQL Server's versions have.
class SqliteProcedures {
public:
    explicit SqliteProcedures(sqlite3* db)
        : db_(db) {}

    static bool exists(const QString& name);
    // Binds the parameters (by name, or by position in declaration order), runs the procedure,
    // writes output parameters back and returns its rows (empty for procedures without rows).
    Recordset call(const QString& name, ProcedureParameters& parameters);

private:
    sqlite3* db_;
};

} // namespace velora::db
