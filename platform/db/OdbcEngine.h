#pragma once

#include "DatabaseEngine.h"

#include <QString>

namespace velora::db {

// SQL Server through Qt SQL's QODBC driver. Statements pass through unchanged; procedure calls
// become "EXEC name @p = ?, ..., @out = ? OUTPUT" with bound parameters.
class OdbcEngine final : public DatabaseEngine {
public:
    explicit OdbcEngine(const QString& odbcConnectionText);
    ~OdbcEngine() override;

    int execute(const QString& statement) override;
    Recordset query(const QString& statement) override;
    Recordset callProcedure(const QString& name, ProcedureParameters& parameters) override;
    void beginTransaction() override;
    void commit() override;
    void rollback() override;

    // The statement text a procedure call is sent as (tested without a server).
    static QString procedureCallText(const QString& name, const ProcedureParameters& parameters);

private:
    QString connectionName_;
};

} // namespace velora::db
