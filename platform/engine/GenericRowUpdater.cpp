#include "GenericRowUpdater.h"
#include "ProductionFigures.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"

namespace velora::engine {

namespace {

QString number(double value) {
    return QString::number(value, 'g', 17);
}

QString rowsToDoCondition(const RecalcRequest& request) {
    return QStringLiteral("locked = 0 AND shift_date BETWEEN '") +
           request.startDate.toString(Qt::ISODate) + QStringLiteral("' AND '") +
           request.endDate.toString(Qt::ISODate) + QLatin1Char('\'');
}

// collected = value; modified follows unless it holds a correction.
QString assignment(const QString& collected, const QString& modified, double value,
                   const db::Recordset& rs) {
    QString text = collected + QStringLiteral(" = ") + number(value);
    if (rs.value(modified).toDouble() == rs.value(collected).toDouble())
        text += QStringLiteral(", ") + modified + QStringLiteral(" = ") + number(value);
    return text;
}

} // namespace

GenericRowUpdater::GenericRowUpdater(Context context)
    : context_(context)
    , calculator_(context.periods) {
    row_.hourMode = context_.hourMode;
}

void GenericRowUpdater::throwIfCancelled() {
    if (!context_.observer.cancelRequested())
        return;
    if (transactionOpen_) {
        context_.connection.rollback();
        transactionOpen_ = false;
    }
    throw db::DbError(kRecalcCancelledError, QStringLiteral("Update cancelled by user."));
}

qint64 GenericRowUpdater::countRowsToDo(const RecalcRequest& request) {
    db::Recordset rs = context_.connection.openRecordset(
        QStringLiteral("SELECT COUNT(*) FROM Trans_incentive WHERE ") + rowsToDoCondition(request) +
        QStringLiteral(" AND trans_id IN (") + RecalcScope::userCondition(request) +
        QLatin1Char(')'));
    return rs.eof() ? 0 : rs.value(0).toLongLong();
}

void GenericRowUpdater::commitBatchIfFull(bool force) {
    if (transactionOpen_ && (force || inBatch_ >= context_.batchRows)) {
        context_.connection.commit();
        transactionOpen_ = false;
        inBatch_ = 0;
        context_.observer.progress(passed_, rowsToDo_);
    }
}

void GenericRowUpdater::writeRow(const RecalcScope::User& user, const db::Recordset& rs) {
    row_.accountId = rs.value(QStringLiteral("hosp_acct_id")).toInt();
    row_.shiftDate = rs.date(QStringLiteral("shift_date"));
    readProductionFigures(rs, row_);
    calculator_.calculate(context_.assignments.lookup(user.groupId, row_.accountId), row_,
                          outcome_);
    ++passed_;
    if (!outcome_.ok()) {
        context_.errors.report(outcome_.failedFormulaId, outcome_.error, user.transId,
                               row_.accountId, row_.shiftDate);
        return;
    }
    const FormulaResults& r = outcome_.results;
    ++done_;
    if (r.hours == rs.value(QStringLiteral("incent_hours_typed")).toDouble() &&
        r.lines == rs.value(QStringLiteral("incent_typed")).toDouble() &&
        r.pay == rs.value(QStringLiteral("incent_pay")).toDouble())
        return; // the stored results stand: nothing to write
    if (!transactionOpen_) {
        context_.connection.beginTransaction();
        transactionOpen_ = true;
    }
    const int written = context_.connection.execute(
        QStringLiteral("UPDATE Trans_incentive SET ") +
        assignment(QStringLiteral("incent_hours_typed"),
                   QStringLiteral("incent_hours_typed_modified"), r.hours, rs) +
        QStringLiteral(", ") +
        assignment(QStringLiteral("incent_typed"), QStringLiteral("incent_typed_modified"), r.lines,
                   rs) +
        QStringLiteral(", ") +
        assignment(QStringLiteral("incent_pay"), QStringLiteral("incent_pay_modified"), r.pay, rs) +
        QStringLiteral(" WHERE trans_id = ") + db::sqlTextLiteral(user.transId) +
        QStringLiteral(" AND hosp_acct_id = ") + QString::number(row_.accountId) +
        QStringLiteral(" AND shift_date = '") + row_.shiftDate.toString(Qt::ISODate) +
        QStringLiteral("' AND locked = 0"));
    if (written != 0) // -1: the engine cannot tell, and the row was read by this key just now
        ++written_;
    ++inBatch_;
    commitBatchIfFull(false);
}

void GenericRowUpdater::updateUser(const RecalcScope::User& user, const RecalcRequest& request) {
    row_.transId = user.transId;
    row_.groupId = user.groupId;
    row_.partitionId = user.partitionId;
    // Read the user's rows completely before writing any of them.
    db::Recordset rs = context_.connection.openRecordset(
        QStringLiteral("SELECT * FROM Trans_incentive WHERE trans_id = ") +
        db::sqlTextLiteral(user.transId) + QStringLiteral(" AND ") + rowsToDoCondition(request) +
        QStringLiteral(" ORDER BY hosp_acct_id, shift_date"));
    for (; !rs.eof(); rs.moveNext()) {
        throwIfCancelled();
        writeRow(user, rs);
    }
}

qint64 GenericRowUpdater::run(const RecalcRequest& request, RecalcSummary& summary) {
    rowsToDo_ = summary.rowsToDo = countRowsToDo(request);
    context_.observer.progress(0, rowsToDo_);
    try {
        for (const auto& [key, user] : context_.scope.users())
            updateUser(user, request);
        commitBatchIfFull(true);
    } catch (...) {
        if (transactionOpen_)
            context_.connection.rollback();
        throw;
    }
    summary.rowsWritten = written_;
    return done_;
}

} // namespace velora::engine
