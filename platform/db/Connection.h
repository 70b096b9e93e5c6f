#pragma once

#include "ConnectionOptions.h"
#include "DatabaseEngine.h"
#include "ProcedureParameter.h"
#include "Recordset.h"

#include <QString>
#include <memory>

namespace velora::db {

enum class ConnectionState { Closed, Open };

// The program's one database connection. The connection string is fixed at the first Open;
// later opens with an empty string reuse it. The engine is chosen from the string:
// "Data Source=(embedded)" is the embedded SQLite engine, anything else goes through ODBC.
class Connection {
public:
    explicit Connection(ConnectionOptions options = {});
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void open(const QString& connectionString = {});
    void close();
    ConnectionState state() const;
    bool isOpen() const { return state() == ConnectionState::Open; }
    // Opens with the stored connection string when closed; for "open if it is closed".
    void ensureOpen();

    const QString& connectionString() const { return connectionString_; }
    const ConnectionOptions& options() const { return options_; }
    void setOptions(const ConnectionOptions& options) { options_ = options; }

    int execute(const QString& statement);
    Recordset openRecordset(const QString& statement);
    // Runs a stored procedure with named parameters; output parameters receive their values.
    // The procedure's rows, if any, are returned.
    Recordset callProcedure(const QString& name, ProcedureParameters& parameters);

    void beginTransaction();
    void commit();
    void rollback();

    // For tools and the update engine that need the engine itself (never the program's panes).
    DatabaseEngine* engine() const { return engine_.get(); }

private:
    DatabaseEngine& requireOpen() const;

    ConnectionOptions options_;
    QString connectionString_;
    std::unique_ptr<DatabaseEngine> engine_;
};

// Commits on commit(), rolls back when left without it (an exception, an early return).
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace velora::db
