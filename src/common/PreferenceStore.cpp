#include "PreferenceStore.h"

#include "catalogue/QuoteSql.h"
#include "db/Connection.h"

namespace velora::common {

namespace {
// Every preference row is written with this type; the procedures expect it.
const QString kPreferenceType = QStringLiteral("4");
constexpr int kSystemUserId = -1;

QString quoted(const QString& text) {
    return QLatin1Char('\'') + catalogue::QuoteSql(text) + QLatin1Char('\'');
}

QString withPartition(QString statement, std::optional<int> partitionId) {
    if (partitionId)
        statement += QStringLiteral(", ") + QString::number(*partitionId);
    return statement;
}
} // namespace

PreferenceStore::PreferenceStore(db::Connection& connection, PreferenceScope scope)
    : connection_(connection)
    , scope_(std::move(scope)) {}

QString PreferenceStore::getStatement(const QString& key, int userId,
                                      std::optional<int> partitionId) {
    return withPartition(QStringLiteral("EXEC usp_incentive_get_preference ") + quoted(key) +
                             QStringLiteral(", ") + QString::number(userId),
                         partitionId);
}

QString PreferenceStore::addStatement(const QString& key, const QString& value, int userId,
                                      std::optional<int> partitionId) {
    return withPartition(QStringLiteral("EXEC usp_incentive_add_preference ") +
                             QString::number(userId) + QStringLiteral(", ") + kPreferenceType +
                             QStringLiteral(", ") + quoted(key) + QStringLiteral(", ") +
                             quoted(value),
                         partitionId);
}

QString PreferenceStore::GetPreferenceValue(const QString& key, const QString& defaultValue,
                                            bool systemLevel) {
    const int userId = levelUserId(systemLevel);
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
    const int userId = levelUserId(systemLevel);
    connection_.ensureOpen();
    const QString statement = addStatement(key, value, userId, partitionArgument());
    send(statement);
    connection_.execute(statement);
    return true;
}

int PreferenceStore::levelUserId(bool systemLevel) const {
    return systemLevel ? kSystemUserId : scope_.userId;
}

std::optional<int> PreferenceStore::partitionArgument() const {
    return scope_.partitionMode ? std::optional<int>(scope_.partitionId) : std::nullopt;
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
