#include "Connection.h"

#include "ConnectionString.h"
#include "DbError.h"
#include "OdbcEngine.h"
#include "SqliteEngine.h"

namespace velora::db {

Connection::Connection(ConnectionOptions options)
    : options_(std::move(options)) {}

Connection::~Connection() = default;

void Connection::open(const QString& connectionString) {
    if (engine_)
        throw DbError(ErrorNumber::General,
                      QStringLiteral("Operation is not allowed when the object is open."));
    if (connectionString_.isEmpty())
        connectionString_ = connectionString;
    if (connectionString_.isEmpty())
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("No connection string has been given."));

    const ConnectionString parsed = ConnectionString::parse(connectionString_);
    if (parsed.isEmbedded())
        engine_ = std::make_unique<SqliteEngine>(
            parsed.embeddedDatabasePath(options_.baseDirectory), options_);
    else
        engine_ = std::make_unique<OdbcEngine>(parsed.odbcConnectionText(options_.odbcDriver));
}

void Connection::close() {
    engine_.reset();
}

ConnectionState Connection::state() const {
    return engine_ ? ConnectionState::Open : ConnectionState::Closed;
}

void Connection::ensureOpen() {
    if (!engine_)
        open();
}

DatabaseEngine& Connection::requireOpen() const {
    if (!engine_)
        throw DbError(ErrorNumber::ConnectionClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."));
    return *engine_;
}

int Connection::execute(const QString& statement) {
    return requireOpen().execute(statement);
}

Recordset Connection::openRecordset(const QString& statement) {
    return requireOpen().query(statement);
}

Recordset Connection::callProcedure(const QString& name, ProcedureParameters& parameters) {
    return requireOpen().callProcedure(name, parameters);
}

void Connection::beginTransaction() {
    requireOpen().beginTransaction();
}

void Connection::commit() {
    requireOpen().commit();
}

void Connection::rollback() {
    requireOpen().rollback();
}

Transaction::Transaction(Connection& connection)
    : connection_(connection) {
    connection_.beginTransaction();
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            connection_.rollback();
        } catch (const DbError&) {
            // The connection may already be gone; nothing is left to undo then.
        }
    }
}

void Transaction::commit() {
    connection_.commit();
    done_ = true;
}

} // namespace velora::db
