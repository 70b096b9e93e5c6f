#include "DaySumsQuery.h"

#include "db/Connection.h"
#include "db/SqlText.h"

namespace velora::engine {

const char* const kDaySumColumns =
    "shift_date, SUM(number_rpts_modified), SUM(chars_modified), SUM(lines_modified), "
    "SUM(pages_modified), SUM(hours_system_modified), SUM(incent_hours_typed_modified), "
    "SUM(incent_typed_modified), SUM(incent_pay_modified), SUM(hours_typed_modified)";

std::vector<DaySums> readDaySums(db::Recordset rows) {
    std::vector<DaySums> days;
    for (; !rows.eof(); rows.moveNext()) {
        DaySums day;
        day.day = QDate::fromString(rows.value(0).toString().left(10), Qt::ISODate);
        for (int i = 0; i < static_cast<int>(day.values.size()); ++i)
            day.values[static_cast<std::size_t>(i)] = rows.value(i + 1).toDouble();
        days.push_back(day);
    }
    return days;
}

std::vector<DaySums> queryDaySums(db::Connection& connection, const QString& transId,
                                  const int* account, const QDate& from, const QDate& to) {
    QString statement = QStringLiteral("SELECT ") + QLatin1String(kDaySumColumns) +
                        QStringLiteral(" FROM Trans_incentive WHERE trans_id = ") +
                        db::sqlTextLiteral(transId);
    if (account)
        statement += QStringLiteral(" AND hosp_acct_id = ") + QString::number(*account);
    statement += QStringLiteral(" AND shift_date BETWEEN '") + from.toString(Qt::ISODate) +
                 QStringLiteral("' AND '") + to.toString(Qt::ISODate) +
                 QStringLiteral("' GROUP BY shift_date ORDER BY shift_date");
    return readDaySums(connection.openRecordset(statement));
}

} // namespace velora::engine
