#include "LastLockedDate.h"

#include "db/Connection.h"
#include "suite/HXRegion.h"

namespace velora::groups {

QString GetLastLockedDate(db::Connection& connection, const suite::HXRegion& region) {
    const bool wasOpen = connection.isOpen();
    connection.ensureOpen();
    db::Recordset latest = connection.openRecordset(
        QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1"));
    if (!wasOpen)
        connection.close();
    const QDate date = latest.eof() ? QDate() : latest.date(latest.columnNames().value(0));
    return date.isValid() ? region.formatDate(date)
                          : region.ConvertUSToRegion(QStringLiteral("01/01/1980"));
}

} // namespace velora::groups
