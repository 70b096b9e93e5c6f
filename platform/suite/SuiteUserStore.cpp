#include "SuiteUserStore.h"

#include "SuiteError.h"

#include "db/Connection.h"
#include "db/DbError.h"

namespace velora::suite {

namespace {

const QString kUserColumns = QStringLiteral(
    "user_id, user_name, password_hash, trans_id, partition_id, first_name, last_name, "
    "is_administrator, is_disabled, failed_logins, is_locked_out");

} // namespace

SuiteUserStore::SuiteUserStore(db::Connection& connection, PasswordHash::Cost cost)
    : connection_(connection)
    , cost_(cost) {}

QString SuiteUserStore::quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString SuiteUserStore::nullableQuoted(const QString& text) {
    return text.isEmpty() ? QStringLiteral("NULL") : quoted(text);
}

SuiteUserRecord SuiteUserStore::recordFrom(const db::Recordset& row) {
    SuiteUserRecord record;
    record.userId = row.value(QStringLiteral("user_id")).toInt();
    record.userName = row.text(QStringLiteral("user_name"));
    record.passwordHash = row.text(QStringLiteral("password_hash"));
    record.transId = row.text(QStringLiteral("trans_id"));
    record.partitionId = row.value(QStringLiteral("partition_id")).toInt();
    record.firstName = row.text(QStringLiteral("first_name"));
    record.lastName = row.text(QStringLiteral("last_name"));
    record.isAdministrator = row.value(QStringLiteral("is_administrator")).toInt() != 0;
    record.isDisabled = row.value(QStringLiteral("is_disabled")).toInt() != 0;
    record.failedLogins = row.value(QStringLiteral("failed_logins")).toInt();
    record.isLockedOut = row.value(QStringLiteral("is_locked_out")).toInt() != 0;
    return record;
}

std::optional<SuiteUserRecord> SuiteUserStore::find(const QString& userName) {
    db::Recordset row = connection_.openRecordset(QStringLiteral("SELECT ") + kUserColumns +
                                                  QStringLiteral(" FROM Suite_user WHERE "
                                                                 "user_name = ") +
                                                  quoted(userName));
    if (row.eof())
        return std::nullopt;
    return recordFrom(row);
}

SuiteUserRecord SuiteUserStore::require(const QString& userName) {
    std::optional<SuiteUserRecord> record = find(userName);
    if (!record)
        throw db::DbError(db::ErrorNumber::ItemNotFound,
                          QStringLiteral("There is no user named \"%1\".").arg(userName));
    return *record;
}

std::set<int> SuiteUserStore::privileges(int userId) {
    std::set<int> rights;
    db::Recordset rows = connection_.openRecordset(
        QStringLiteral("SELECT privilege FROM Suite_user_privilege WHERE user_id = %1")
            .arg(userId));
    for (; !rows.eof(); rows.moveNext())
        rights.insert(rows.value(0).toInt());
    return rights;
}

bool SuiteUserStore::claimPasswordCheck(int userId, int lockoutThreshold) {
    // The condition and the count are one statement, so two workstations cannot both read
    // "four failures" and both go on to check a password.
    return connection_.execute(QStringLiteral("UPDATE Suite_user SET failed_logins = "
                                              "failed_logins + 1 WHERE user_id = %1 AND "
                                              "is_locked_out = 0 AND failed_logins < %2")
                                   .arg(userId)
                                   .arg(lockoutThreshold)) == 1;
}

bool SuiteUserStore::lockOutWhenExhausted(int userId, int lockoutThreshold) {
    connection_.execute(QStringLiteral("UPDATE Suite_user SET is_locked_out = 1 WHERE user_id = "
                                       "%1 AND failed_logins >= %2")
                            .arg(userId)
                            .arg(lockoutThreshold));
    db::Recordset row = connection_.openRecordset(
        QStringLiteral("SELECT is_locked_out FROM Suite_user WHERE user_id = %1").arg(userId));
    return !row.eof() && row.value(0).toInt() != 0;
}

void SuiteUserStore::resetFailedLogins(int userId) {
    connection_.execute(
        QStringLiteral("UPDATE Suite_user SET failed_logins = 0 WHERE user_id = %1").arg(userId));
}

int SuiteUserStore::add(const NewSuiteUser& user) {
    if (user.userName.trimmed().isEmpty())
        throw SuiteError(SuiteErrorNumber::InvalidArgument, QStringLiteral("A user needs a name."));
    const QString passwordHash = PasswordHash::hash(user.password, cost_);
    if (find(user.userName))
        throw db::DbError(db::ErrorNumber::IntegrityViolation,
                          QStringLiteral("A user named \"%1\" already exists.").arg(user.userName));
    // The id is left to the database (an identity column on SQL Server) and read back by name.
    connection_.execute(
        QStringLiteral("INSERT INTO Suite_user (user_name, password_hash, trans_id, partition_id, "
                       "first_name, last_name, is_administrator) VALUES (") +
        quoted(user.userName) + QStringLiteral(", ") + quoted(passwordHash) + QStringLiteral(", ") +
        nullableQuoted(user.transId) + QStringLiteral(", ") + QString::number(user.partitionId) +
        QStringLiteral(", ") + nullableQuoted(user.firstName) + QStringLiteral(", ") +
        nullableQuoted(user.lastName) + QStringLiteral(", ") +
        QString::number(user.isAdministrator ? 1 : 0) + QLatin1Char(')'));
    return require(user.userName).userId;
}

void SuiteUserStore::setPassword(const QString& userName, const QString& password) {
    const SuiteUserRecord record = require(userName);
    connection_.execute(QStringLiteral("UPDATE Suite_user SET password_hash = ") +
                        quoted(PasswordHash::hash(password, cost_)) +
                        QStringLiteral(", failed_logins = 0, is_locked_out = 0 WHERE user_id = ") +
                        QString::number(record.userId));
}

void SuiteUserStore::grant(const QString& userName, const QList<int>& rights) {
    const SuiteUserRecord record = require(userName);
    std::set<int> held = privileges(record.userId);
    db::Transaction transaction(connection_);
    for (int right : rights) {
        if (!held.insert(right).second)
            continue;
        connection_.execute(
            QStringLiteral("INSERT INTO Suite_user_privilege (user_id, privilege) VALUES (%1, %2)")
                .arg(record.userId)
                .arg(right));
    }
    transaction.commit();
}

void SuiteUserStore::revoke(const QString& userName, const QList<int>& rights) {
    const SuiteUserRecord record = require(userName);
    db::Transaction transaction(connection_);
    for (int right : rights)
        connection_.execute(QStringLiteral("DELETE FROM Suite_user_privilege WHERE user_id = %1 "
                                           "AND privilege = %2")
                                .arg(record.userId)
                                .arg(right));
    transaction.commit();
}

void SuiteUserStore::setDisabled(const QString& userName, bool disabled) {
    const SuiteUserRecord record = require(userName);
    const QString statement =
        disabled ? QStringLiteral("UPDATE Suite_user SET is_disabled = 1 WHERE user_id = %1")
                 : QStringLiteral("UPDATE Suite_user SET is_disabled = 0, failed_logins = 0, "
                                  "is_locked_out = 0 WHERE user_id = %1");
    connection_.execute(statement.arg(record.userId));
}

} // namespace velora::suite
