#include "SaveWeekStatements.h"

#include "CellNumber.h"
#include "catalogue/QuoteSql.h"

namespace velora::detail {

namespace {

using catalogue::QuoteSql;

QString sqlDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// Hours of one kind of activity of the day, as the suite's activity log holds them.
QString activityHours(const QString& column, const QString& alias, const QString& date,
                      const QString& transID, const QString& condition) {
    return column +
           QStringLiteral(" = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / "
                          "3600.0) FROM Trans_activity ") +
           alias + QStringLiteral(" WHERE ") + alias + QStringLiteral(".shift_date = '") + date +
           QStringLiteral("' AND ") + alias + QStringLiteral(".trans_id = '") + transID +
           QStringLiteral("' AND ") + condition + QStringLiteral("),0), ");
}

} // namespace

SaveWeekStatements::SaveWeekStatements(const suite::HXRegion& region, int hourMode)
    : region_(region)
    , hourMode_(hourMode) {}

QString SaveWeekStatements::value(const DayCellTexts& cells, ValueKind kind) const {
    return CellNumber::toPlain(cells[static_cast<std::size_t>(valueIndex(kind))], region_);
}

QString SaveWeekStatements::activityHoursClauses(const QString& transID, const QDate& shiftDate) {
    const QString d = sqlDate(shiftDate);
    const QString q = QuoteSql(transID);
    return activityHours(QStringLiteral("hours_system"), QStringLiteral("TA1"), d, q,
                         QStringLiteral("TA1.count_activity > 0 AND TA1.work_type = 1 AND "
                                        "TA1.update_type <> 6")) +
           activityHours(QStringLiteral("hours_other"), QStringLiteral("TA2"), d, q,
                         QStringLiteral("TA2.count_activity > 0 AND TA2.work_type = 2 AND "
                                        "TA2.update_type <> 6")) +
           activityHours(QStringLiteral("hours_system_modified"), QStringLiteral("TA3"), d, q,
                         QStringLiteral("TA3.work_type = 1 AND TA3.update_type = 9")) +
           activityHours(QStringLiteral("hours_other_modified"), QStringLiteral("TA4"), d, q,
                         QStringLiteral("TA4.work_type = 2 AND TA4.update_type = 9"));
}

QString SaveWeekStatements::dayFilter(const DayRecord& record) {
    return QStringLiteral(" WHERE trans_id = '") + QuoteSql(record.TransID) +
           QStringLiteral("' AND hosp_acct_id = ") + QString::number(record.AccountID) +
           QStringLiteral(" AND shift_date = '") + sqlDate(record.ShiftDate) + QLatin1Char('\'');
}

QString SaveWeekStatements::columnClause(const DayRecord& record, ValueKind kind,
                                         const DayCellTexts& cells) const {
    QString column;
    switch (kind) {
    case ValueKind::Reports:
        column = QStringLiteral("number_rpts_modified");
        break;
    case ValueKind::Hours:
        // Hour mode 1 takes the hours from the activity log, which the work-time editor changed;
        // the text of the Hours cell is not written.
        if (hourMode_ == 1)
            return activityHoursClauses(record.TransID, record.ShiftDate);
        column = QStringLiteral("hours_typed_modified");
        break;
    case ValueKind::CharLines:
        column = QStringLiteral("chars_modified");
        break;
    case ValueKind::TrueLines:
        column = QStringLiteral("lines_modified");
        break;
    case ValueKind::IHours:
        column = QStringLiteral("incent_hours_typed_modified");
        break;
    case ValueKind::ITyped:
        column = QStringLiteral("incent_typed_modified");
        break;
    case ValueKind::IPay:
        column = QStringLiteral("incent_pay_modified");
        break;
    }
    return column + QStringLiteral(" = ") + value(cells, kind) + QStringLiteral(", ");
}

QString SaveWeekStatements::update(const DayRecord& record, int mask,
                                   const DayCellTexts& cells) const {
    QString clauses;
    for (ValueKind kind : kValueKinds) {
        if (mask & DayChangeMask::bit(kind))
            clauses += columnClause(record, kind, cells);
    }
    if (clauses.isEmpty())
        return {};
    clauses.chop(2);
    return QStringLiteral("UPDATE trans_incentive SET ") + clauses + dayFilter(record);
}

QString SaveWeekStatements::insertWithoutHours(const DayRecord& record,
                                               const DayCellTexts& cells) const {
    return QStringLiteral("INSERT INTO trans_incentive (number_rpts_modified, chars_modified, "
                          "lines_modified, trans_id, hosp_acct_id, shift_date, dept_id) VALUES(") +
           value(cells, ValueKind::Reports) + QStringLiteral(", ") +
           value(cells, ValueKind::CharLines) + QStringLiteral(", ") +
           value(cells, ValueKind::TrueLines) + QStringLiteral(", '") + QuoteSql(record.TransID) +
           QStringLiteral("', ") + QString::number(record.AccountID) + QStringLiteral(", '") +
           sqlDate(record.ShiftDate) + QStringLiteral("', 0)");
}

QString SaveWeekStatements::insert(const DayRecord& record, const DayCellTexts& cells) const {
    if (hourMode_ == 1)
        return insertWithoutHours(record, cells);
    return QStringLiteral("INSERT INTO trans_incentive (number_rpts_modified, "
                          "hours_typed_modified, chars_modified, lines_modified, trans_id, "
                          "hosp_acct_id, shift_date, dept_id) VALUES(") +
           value(cells, ValueKind::Reports) + QStringLiteral(", ") +
           value(cells, ValueKind::Hours) + QStringLiteral(", ") +
           value(cells, ValueKind::CharLines) + QStringLiteral(", ") +
           value(cells, ValueKind::TrueLines) + QStringLiteral(", '") + QuoteSql(record.TransID) +
           QStringLiteral("', ") + QString::number(record.AccountID) + QStringLiteral(", '") +
           sqlDate(record.ShiftDate) + QStringLiteral("', 0)");
}

QString SaveWeekStatements::systemHoursInsert(const DayRecord& record,
                                              const DayCellTexts& cells) const {
    return insertWithoutHours(record, cells);
}

} // namespace velora::detail
