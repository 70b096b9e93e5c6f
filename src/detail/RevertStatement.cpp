#include "RevertStatement.h"

#include "catalogue/QuoteSql.h"

namespace velora::detail {

QString RevertStatement::resetClause(ValueKind kind, int hourMode) {
    switch (kind) {
    case ValueKind::Reports:
        return QStringLiteral("number_rpts_modified = number_rpts ");
    case ValueKind::Hours:
        return hourMode == 1 ? QStringLiteral("hours_system_modified = hours_system ")
                             : QStringLiteral("hours_typed_modified = hours_typed ");
    case ValueKind::CharLines:
        return QStringLiteral("chars_modified = chars ");
    case ValueKind::TrueLines:
        return QStringLiteral("lines_modified = lines ");
    case ValueKind::IHours:
        return QStringLiteral("incent_hours_typed_modified = incent_hours_typed ");
    case ValueKind::ITyped:
        return QStringLiteral("incent_typed_modified = incent_typed ");
    case ValueKind::IPay:
        return QStringLiteral("incent_pay_modified = incent_pay ");
    }
    return {};
}

bool RevertStatement::leavesRowEmpty(const DayRecord& record, ValueKind kind) {
    // Production (reports, hours, char lines, true lines): nothing collected, and nothing in
    // force apart from the value being reverted.
    for (ValueKind production :
         {ValueKind::CharLines, ValueKind::TrueLines, ValueKind::Hours, ValueKind::Reports}) {
        const ValuePair& pair = record.value(production);
        if (pair.collected != 0)
            return false;
        if (production != kind && pair.current != 0)
            return false;
    }
    // Incentive values: no correction left apart from the one being reverted.
    for (ValueKind incentive : {ValueKind::IHours, ValueKind::ITyped, ValueKind::IPay}) {
        const ValuePair& pair = record.value(incentive);
        if (incentive != kind && pair.current != pair.collected)
            return false;
    }
    return true;
}

QString RevertStatement::build(const DayRecord& record, ValueKind kind, int hourMode) {
    const QString head =
        leavesRowEmpty(record, kind)
            ? QStringLiteral("DELETE FROM Trans_incentive ")
            : QStringLiteral("UPDATE Trans_incentive SET ") + resetClause(kind, hourMode);
    return head + QStringLiteral("WHERE trans_id = '") + catalogue::QuoteSql(record.TransID) +
           QStringLiteral("' AND hosp_acct_id = ") + QString::number(record.AccountID) +
           QStringLiteral(" AND shift_date = '") +
           record.ShiftDate.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

} // namespace velora::detail
