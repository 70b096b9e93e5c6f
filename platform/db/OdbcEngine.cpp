#include "OdbcEngine.h"

#include "DbError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace velora::db {

namespace {

// An output text parameter without a declared size gets a buffer of this many characters. QODBC
// binds a text of more than 254 bytes as a long text, which SQL Server refuses for an OUTPUT
// parameter of a varchar type, so the default stays below that.
constexpr int defaultOutputTextSize = 127;

// The driver's own diagnostic when there is one ("[unixODBC][Driver Manager]Data source name
// not found..."), Qt's summary otherwise.
QString describe(const QSqlError& error) {
    const QString database = error.databaseText().trimmed();
    if (!database.isEmpty())
        return database;
    const QString driver = error.driverText().trimmed();
    return driver.isEmpty() ? QStringLiteral("Unspecified ODBC error") : driver;
}

// Maps SQL Server's native error numbers (or an SQLSTATE, when the driver reports that instead)
// onto the numbers the program shows, so that a message reads as it would with the provider.
int statementErrorNumber(const QSqlError& error) {
    const QString code = error.nativeErrorCode().trimmed();
    bool numeric = false;
    const int native = code.toInt(&numeric);
    if (numeric) {
        switch (native) {
        case 515:  // NULL into a NOT NULL column
        case 547:  // foreign key or check constraint
        case 2601: // duplicate key in a unique index
        case 2627: // duplicate key of a unique constraint
            return ErrorNumber::IntegrityViolation;
        case 241:  // text to date
        case 242:  // date out of range
        case 245:  // text to number
        case 8114: // conversion to numeric
        case 8115: // arithmetic overflow
            return ErrorNumber::DataConversion;
        case 1205: // chosen as deadlock victim
        case 1222: // lock request timeout
            return ErrorNumber::Busy;
        case 0:
            break;
        default:
            return ErrorNumber::CommandError;
        }
    }
    if (code.startsWith(QLatin1String("23")))
        return ErrorNumber::IntegrityViolation;
    if (code.startsWith(QLatin1String("22")))
        return ErrorNumber::DataConversion;
    if (code.startsWith(QLatin1String("HYT")))
        return ErrorNumber::Busy;
    if (code.startsWith(QLatin1String("42")))
        return ErrorNumber::CommandError;
    return error.type() == QSqlError::StatementError ? ErrorNumber::CommandError
                                                     : ErrorNumber::General;
}

DbError statementError(const QSqlError& error) {
    return DbError(statementErrorNumber(error), describe(error));
}

bool isIdentifierCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') ||
           c == QLatin1Char('#') || c == QLatin1Char('$');
}

bool isValidProcedureName(const QString& name) {
    if (name.isEmpty())
        return false;
    bool inBrackets = false;
    for (const QChar c : name) {
        if (c == QLatin1Char('[')) {
            if (inBrackets)
                return false;
            inBrackets = true;
        } else if (c == QLatin1Char(']')) {
            if (!inBrackets)
                return false;
            inBrackets = false;
        } else if (inBrackets ? (c == QLatin1Char(';') || c == QLatin1Char('\''))
                              : !(isIdentifierCharacter(c) || c == QLatin1Char('.'))) {
            return false;
        }
    }
    return !inBrackets;
}

// A procedure name ("usp_x", "dbo.usp_x", "[dbo].[usp x]") goes into the statement text as it
// stands, so anything that could end the name and start other text is refused.
void checkProcedureName(const QString& name) {
    if (!isValidProcedureName(name))
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Invalid stored procedure name: \"") + name +
                          QStringLiteral("\"."));
}

// "@name" for a named parameter ("name" gains its "@"); empty for a positional one.
QString parameterName(const ProcedureParameter& parameter) {
    const QString name = parameter.name.trimmed();
    if (name.isEmpty())
        return name;
    const QString withAt = name.startsWith(QLatin1Char('@')) ? name : QLatin1Char('@') + name;
    bool valid = withAt.size() > 1;
    for (qsizetype i = 1; i < withAt.size(); ++i)
        valid = valid && isIdentifierCharacter(withAt[i]) && withAt[i] != QLatin1Char('@');
    if (!valid)
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Invalid stored procedure parameter name: \"") +
                          parameter.name + QStringLiteral("\"."));
    return withAt;
}

// The value bound for a parameter: typed even when NULL, so that the driver binds the SQL
// type the procedure declares; output texts carry a buffer of the parameter's size.
QVariant boundValue(const ProcedureParameter& parameter) {
    const bool isOutput = parameter.direction == ProcedureParameter::Direction::Output;
    if (parameter.type == ProcedureParameter::Type::Integer) {
        if (isOutput || parameter.value.isNull())
            return isOutput ? QVariant(0) : QVariant(QMetaType::fromType<int>());
        bool ok = false;
        const int number = parameter.value.toInt(&ok);
        if (!ok)
            throw DbError(ErrorNumber::DataConversion,
                          QStringLiteral("Error converting the value \"") +
                              parameter.value.toString() + QStringLiteral("\" of parameter ") +
                              parameter.name + QStringLiteral(" to int."));
        return number;
    }
    if (isOutput)
        return QString(parameter.size > 0 ? parameter.size : defaultOutputTextSize,
                       QLatin1Char(' '));
    if (parameter.value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return parameter.value.toString();
}

QVariant outputValue(const ProcedureParameter& parameter, const QVariant& value) {
    if (value.isNull())
        return {};
    if (parameter.type == ProcedureParameter::Type::Integer)
        return value.toInt();
    // The driver writes the text and a terminating NUL into the buffer bound for it; what
    // follows the NUL is the rest of that buffer, not part of the value.
    const QString text = value.toString();
    const qsizetype end = text.indexOf(QChar(u'\0'));
    return end < 0 ? text : text.left(end);
}

// Reads every row of an executed query. A NULL becomes an invalid QVariant, as the embedded
// engine gives it, whatever type the driver attached to it.
Recordset readAll(QSqlQuery& query) {
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns.append(record.fieldName(i));
    std::vector<Recordset::Row> rows;
    while (query.next()) {
        Recordset::Row row;
        row.reserve(static_cast<std::size_t>(record.count()));
        for (int i = 0; i < record.count(); ++i) {
            const QVariant value = query.value(i);
            row.push_back(value.isNull() ? QVariant() : value);
        }
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw statementError(query.lastError());
    return Recordset(std::move(columns), std::move(rows));
}

// A query that reads forward once, with decimals as doubles rather than text.
QSqlQuery newQuery(const QSqlDatabase& database) {
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    return query;
}

void openDatabase(const QString& connectionName, const QString& odbcConnectionText) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
    if (!database.isValid())
        throw DbError(ErrorNumber::ConnectionFailed,
                      QStringLiteral("The ODBC database driver (QODBC) is not available: ") +
                          describe(database.lastError()));
    database.setDatabaseName(odbcConnectionText);
    // Wait for a server no longer than the provider does by default, then fail the open.
    database.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15"));
    if (!database.open())
        throw DbError(ErrorNumber::ConnectionFailed, describe(database.lastError()));
}

} // namespace

OdbcEngine::OdbcEngine(const QString& odbcConnectionText)
    : connectionName_(QStringLiteral("velora-odbc-") + QUuid::createUuid().toString(QUuid::Id128)) {
    try {
        openDatabase(connectionName_, odbcConnectionText);
    } catch (const DbError&) {
        // No handle of the connection is alive here, so it can be removed at once.
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

OdbcEngine::~OdbcEngine() {
    // Every QSqlDatabase and QSqlQuery of the connection is local to a member function, so
    // after this block none is left and removeDatabase releases the connection cleanly.
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
        if (database.isOpen())
            database.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

int OdbcEngine::execute(const QString& statement) {
    QSqlQuery query = newQuery(QSqlDatabase::database(connectionName_, false));
    if (!query.exec(statement))
        throw statementError(query.lastError());
    return query.numRowsAffected();
}

Recordset OdbcEngine::query(const QString& statement) {
    QSqlQuery query = newQuery(QSqlDatabase::database(connectionName_, false));
    if (!query.exec(statement))
        throw statementError(query.lastError());
    if (!query.isSelect())
        return {};
    return readAll(query);
}

Recordset OdbcEngine::callProcedure(const QString& name, ProcedureParameters& parameters) {
    QSqlQuery query = newQuery(QSqlDatabase::database(connectionName_, false));
    if (!query.prepare(procedureCallText(name, parameters)))
        throw statementError(query.lastError());
    for (int i = 0; i < parameters.size(); ++i) {
        const bool isOutput = parameters[i].direction == ProcedureParameter::Direction::Output;
        query.bindValue(i, boundValue(parameters[i]), isOutput ? QSql::Out : QSql::In);
    }
    if (!query.exec())
        throw statementError(query.lastError());
    Recordset rows = query.isSelect() ? readAll(query) : Recordset();
    for (int i = 0; i < parameters.size(); ++i) {
        if (parameters[i].direction == ProcedureParameter::Direction::Output)
            parameters[i].value = outputValue(parameters[i], query.boundValue(i));
    }
    return rows;
}

void OdbcEngine::beginTransaction() {
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    if (!database.transaction())
        throw statementError(database.lastError());
}

void OdbcEngine::commit() {
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    if (!database.commit())
        throw statementError(database.lastError());
}

void OdbcEngine::rollback() {
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    if (!database.rollback())
        throw statementError(database.lastError());
}

QString OdbcEngine::procedureCallText(const QString& name, const ProcedureParameters& parameters) {
    checkProcedureName(name.trimmed());
    QString text = QStringLiteral("EXEC ") + name.trimmed();
    for (int i = 0; i < parameters.size(); ++i) {
        const QString parameter = parameterName(parameters[i]);
        text += i == 0 ? QStringLiteral(" ") : QStringLiteral(", ");
        if (!parameter.isEmpty())
            text += parameter + QStringLiteral(" = ");
        text += QLatin1Char('?');
        if (parameters[i].direction == ProcedureParameter::Direction::Output)
            text += QStringLiteral(" OUTPUT");
    }
    return text;
}

} // namespace velora::db
