#include "PreferenceStore.h"

#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "db/Connection.h"

namespace velora::common {

namespace {
// Every preference row is written with this type; the procedures expect it.
const QString kPreferenceType = QStringLiteral("4");
const QString kSystemUserId = QStringLiteral("-1");
} // namespace

PreferenceStore::PreferenceStore(db::Connection& connection, PreferenceScope scope)
    : connection_(connection)
    , scope_(std::move(scope)) {}

// Key and value go between single quotes through QuoteSql; the ids are checked to be numbers
// (CatalogueError 13 when one is not).
QString PreferenceStore::getStatement(const QString& key, const QString& userId,
                                      const QString& partitionId) {
    QString statement = QStringLiteral("EXEC usp_incentive_get_preference '") %
                        catalogue::QuoteSql(key) % QStringLiteral("', ") %
                        catalogue::SqlNumber(userId);
    if (!partitionId.isEmpty())
        statement += QStringLiteral(", ") % catalogue::SqlNumber(partitionId);
    return statement;
}

QString PreferenceStore::addStatement(const QString& key, const QString& value,
                                      const QString& userId, const QString& partitionId) {
    QString statement = QStringLiteral("EXEC usp_incentive_add_preference ") %
                        catalogue::SqlNumber(userId) % QStringLiteral(", ") % kPreferenceType %
                        QStringLiteral(", '") % catalogue::QuoteSql(key) % QStringLiteral("', '") %
                        catalogue::QuoteSql(value) % QStringLiteral("'");
    if (!partitionId.isEmpty())
        statement += QStringLiteral(", ") % catalogue::SqlNumber(partitionId);
    return statement;
}

QString PreferenceStore::GetPreferenceValue(const QString& key, const QString& defaultValue,
                                            bool systemLevel) {
    const QString userId = levelUserId(systemLevel);
    connection_.ensureOpen();
    QString value;
    if (readFirstValue(getStatement(key, userId, partitionArgument()), value))
        return value;
    // A system value stored for no partition serves every partition.
    if (systemLevel && scope_.partitionMode && readFirstValue(getStatement(key, userId), value))
        return value;
    return defaultValue;
}

bool PreferenceStore::SetPreferenceValue(const QString& key, const QString& value,
                                         bool systemLevel) {
    const QString userId = levelUserId(systemLevel);
    connection_.ensureOpen();
    const QString statement = addStatement(key, value, userId, partitionArgument());
    send(statement);
    connection_.execute(statement);
    return true;
}

QString PreferenceStore::levelUserId(bool systemLevel) const {
    return systemLevel ? kSystemUserId : scope_.userId;
}

QString PreferenceStore::partitionArgument() const {
    return scope_.partitionMode ? QString::number(scope_.partitionId) : QString();
}

bool PreferenceStore::readFirstValue(const QString& statement, QString& value) {
    send(statement);
    db::Recordset rs = connection_.openRecordset(statement);
    if (rs.eof())
        return false;
    // A NULL value reads as empty text.
    value = rs.value(0).toString();
    return true;
}

void PreferenceStore::send(const QString& statement) {
    if (observer_)
        observer_(statement);
}

} // namespace velora::common
