#include "RecalcSettings.h"

#include "db/Connection.h"
#include "db/DbError.h"

namespace velora::engine {

namespace {

QString systemPreference(db::Connection& connection, const QString& key, const QString& fallback) {
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("EXEC usp_incentive_get_preference '") + key + QStringLiteral("', -1"));
    return rs.eof() || rs.value(0).isNull() ? fallback : rs.value(0).toString().trimmed();
}

int integerPreference(db::Connection& connection, const QString& key, int fallback) {
    bool ok = false;
    const int value = systemPreference(connection, key, QString::number(fallback)).toInt(&ok);
    return ok ? value : fallback;
}

bool booleanPreference(db::Connection& connection, const QString& key, bool fallback) {
    const QString text = systemPreference(
        connection, key, fallback ? QStringLiteral("True") : QStringLiteral("False"));
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok ? number != 0 : fallback;
}

} // namespace

RecalcSettings RecalcSettings::read(db::Connection& connection) {
    RecalcSettings settings;
    settings.hourMode = integerPreference(connection, QStringLiteral("INCENT_HOUR_TYPE"), 1);
    settings.autoLockingDays =
        integerPreference(connection, QStringLiteral("INCENT_AUTO_LOCKING"), 30);
    settings.addBlankEndOfMonthRows =
        booleanPreference(connection, QStringLiteral("INCENT_ADD_BLANK_EOM_VALUES"), false);
    settings.firstDayOfWeek =
        integerPreference(connection, QStringLiteral("INCENT_FIRST_DAY_OF_WEEK"), 1);
    if (settings.firstDayOfWeek < 1 || settings.firstDayOfWeek > 7)
        settings.firstDayOfWeek = 1;
    db::Recordset count = connection.openRecordset(
        QStringLiteral("SELECT COUNT(*) FROM system_partitions WHERE partition_id <> 0 AND "
                       "delete_date IS NULL"));
    settings.partitionMode = !count.eof() && count.value(0).toInt() > 1;
    return settings;
}

} // namespace velora::engine
