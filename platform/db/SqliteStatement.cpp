#include "SqliteStatement.h"

#include "DbError.h"

#include <sqlite3.h>

namespace velora::db {

namespace {

int errorNumberFor(int resultCode) {
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ErrorNumber::Busy;
    case SQLITE_ERROR:
        return ErrorNumber::CommandError;
    case SQLITE_CONSTRAINT:
        return ErrorNumber::IntegrityViolation;
    case SQLITE_MISMATCH:
        return ErrorNumber::DataConversion;
    default:
        return ErrorNumber::General;
    }
}

QString describe(sqlite3* db, int resultCode) {
    const int primary = resultCode & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return QStringLiteral("The database is in use by another program and did not become "
                              "free in time; try again in a moment (%1).")
            .arg(QString::fromUtf8(sqlite3_errstr(resultCode)));
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    return QString::fromUtf8(message);
}

} // namespace

void throwSqliteError(sqlite3* db, int resultCode, const QString& context) {
    QString description = describe(db, resultCode);
    if (!context.isEmpty())
        description += QStringLiteral(" [") + context + QLatin1Char(']');
    throw DbError(errorNumberFor(resultCode), description);
}

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sqliteText)
    : db_(db) {
    const QByteArray utf8 = sqliteText.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()),
                                      &statement_, &tail);
    if (rc != SQLITE_OK)
        throwSqliteError(db_, rc);
    if (!statement_)
        throw DbError(ErrorNumber::CommandError, QStringLiteral("The statement is empty."));
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(statement_);
            throw DbError(ErrorNumber::CommandError,
                          QStringLiteral("Only one statement may be sent at a time."));
        }
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(statement_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(statement_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(statement_, index, value.toDouble());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(statement_, index, text.constData(),
                                   static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throwSqliteError(db_, rc);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throwSqliteError(db_, rc);
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(statement_);
}

QVariant SqliteStatement::column(int index) const {
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, index));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement_, index)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, index));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement_, index)));
    }
    default:
        return QVariant();
    }
}

Recordset SqliteStatement::readAll() {
    const int columns = columnCount();
    QStringList names;
    names.reserve(columns);
    for (int i = 0; i < columns; ++i)
        names.append(QString::fromUtf8(sqlite3_column_name(statement_, i)));
    std::vector<Recordset::Row> rows;
    while (step()) {
        Recordset::Row row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(column(i));
        rows.push_back(std::move(row));
    }
    return Recordset(std::move(names), std::move(rows));
}

} // namespace velora::db
