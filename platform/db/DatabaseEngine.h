#pragma once

#include "ProcedureParameter.h"
#include "Recordset.h"

#include <QString>

namespace velora::db {

// What one database engine provides behind Connection: statements in the program's dialect
// (SQL Server's) in, rows and effects out. Every failure is thrown as DbError.
class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;

    virtual int execute(const QString& statement) = 0; // rows affected
    virtual Recordset query(const QString& statement) = 0;
    virtual Recordset callProcedure(const QString& name, ProcedureParameters& parameters) = 0;

    virtual void beginTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

} // namespace velora::db
