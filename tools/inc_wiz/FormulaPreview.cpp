#include "FormulaPreview.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"
#include "engine/CompiledFormula.h"
#include "engine/FormulaEvaluator.h"

namespace velora::wizard {

engine::FormulaError FormulaPreview::compileError(const QString& text) {
    engine::FormulaError error;
    engine::CompiledFormula::compile(text, error);
    return error;
}

FormulaPreview::DayResults FormulaPreview::day(const QString& text, const QString& transId,
                                               int accountId, const QDate& date) {
    engine::FormulaEvaluator evaluator(connection_);
    evaluator.TransID(transId);
    evaluator.AccountID(accountId);
    evaluator.ShiftDate(date);
    evaluator.Evaluate(text);
    DayResults day;
    day.error.number = evaluator.ErrorNumber();
    day.error.line = evaluator.ErrorLine();
    day.error.description = evaluator.ErrorDescription();
    day.error.lineText = evaluator.ErrorText();
    if (!day.error.isError())
        day.results = {evaluator.ResultHours(), evaluator.ResultLines(), evaluator.ResultPay()};
    return day;
}

FormulaPreview::Week FormulaPreview::week(const QString& text, const QString& transId,
                                          const QDate& firstDay) {
    Week week;
    for (int i = 0; i < 7; ++i)
        week.days.append({firstDay.addDays(i), 0, 0, 0});
    struct Row {
        int accountId;
        QDate day;
        double storedPay;
    };
    QList<Row> rows;
    try {
        connection_.ensureOpen();
        db::Recordset rs = connection_.openRecordset(
            QStringLiteral("SELECT hosp_acct_id, shift_date, incent_pay_modified FROM "
                           "Trans_incentive WHERE trans_id = ") +
            db::sqlTextLiteral(transId) + QStringLiteral(" AND shift_date BETWEEN '") +
            firstDay.toString(Qt::ISODate) + QStringLiteral("' AND '") +
            firstDay.addDays(6).toString(Qt::ISODate) +
            QStringLiteral("' ORDER BY shift_date, hosp_acct_id"));
        for (; !rs.eof(); rs.moveNext())
            rows.append({rs.value(0).toInt(),
                         QDate::fromString(rs.value(1).toString().left(10), Qt::ISODate),
                         rs.value(2).toDouble()});
    } catch (const db::DbError& e) {
        week.error.number = e.number();
        week.error.description = e.description();
        return week;
    }
    for (const Row& row : rows) {
        const qint64 index = firstDay.daysTo(row.day);
        if (index < 0 || index > 6)
            continue;
        WeekDay& day = week.days[index];
        const DayResults results = this->day(text, transId, row.accountId, row.day);
        if (results.error.isError() && !week.error.isError())
            week.error = results.error;
        day.newPay += results.results.pay;
        day.storedPay += row.storedPay;
        ++day.rows;
        week.newTotal += results.results.pay;
        week.storedTotal += row.storedPay;
    }
    return week;
}

QDate FormulaPreview::lastFullWeek(const QDate& today, int firstDayOfWeek) {
    const int weekday = today.dayOfWeek() % 7 + 1; // 1 Sunday .. 7 Saturday
    const int intoWeek = (weekday - firstDayOfWeek + 7) % 7;
    return today.addDays(-intoWeek - 7);
}

} // namespace velora::wizard
