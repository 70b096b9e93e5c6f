#include "FormulaEvaluator.h"
#include "ProductionFigures.h"

#include "DaySumsQuery.h"
#include "EvaluatedUser.h"
#include "FormulaAssignments.h"
#include "FormulaProgram.h"
#include "PeriodSums.h"
#include "RecalcSettings.h"
#include "RowCalculator.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"

namespace velora::engine {

FormulaEvaluator::FormulaEvaluator(db::Connection& connection)
    : connection_(connection) {}

void FormulaEvaluator::setError(const FormulaError& error) {
    error_ = error;
    results_ = FormulaResults{};
    inputsRead_.clear();
}

RowInputs FormulaEvaluator::readRow(int& firstDayOfWeek, bool& partitionMode) {
    const RecalcSettings settings = RecalcSettings::read(connection_);
    firstDayOfWeek = settings.firstDayOfWeek;
    partitionMode = settings.partitionMode;
    RowInputs row;
    row.hourMode = settings.hourMode;
    row.shiftDate = shiftDate_;
    row.accountId = accountId_;
    const EvaluatedUser user = EvaluatedUser::find(connection_, transId_);
    row.transId = user.transId;
    row.groupId = user.groupId;
    row.partitionId = user.partitionId;
    db::Recordset rs = connection_.openRecordset(
        QStringLiteral("SELECT * FROM Trans_incentive WHERE trans_id = ") +
        db::sqlTextLiteral(row.transId) + QStringLiteral(" AND hosp_acct_id = ") +
        QString::number(accountId_) + QStringLiteral(" AND shift_date = '") +
        shiftDate_.toString(Qt::ISODate) + QLatin1Char('\''));
    if (!rs.eof()) {
        readProductionFigures(rs, row);
    }
    return row;
}

void FormulaEvaluator::recordInputs(const CompiledFormula& formula, const RowInputs& row) {
    inputsRead_.clear();
    for (const InputKind input : formula.program().inputs)
        inputsRead_.append(
            {FormulaNameTable::inputName(input), FormulaNameTable::inputValue(input, row)});
}

QVariant FormulaEvaluator::Evaluate(const QString& formulaText) {
    FormulaError error;
    const auto formula = CompiledFormula::compile(formulaText, error);
    if (!formula) {
        setError(error);
        return {};
    }
    try {
        connection_.ensureOpen();
        int firstDayOfWeek = 1;
        bool partitionMode = false;
        RowInputs row = readRow(firstDayOfWeek, partitionMode);
        PeriodSums periods(
            [this](const QString& transId, const int* account, const QDate& from, const QDate& to) {
                return queryDaySums(connection_, transId, account, from, to);
            },
            firstDayOfWeek);
        if (formula->usesIncentiveFunctions()) {
            // The incentive functions are the group's own lines-typed and hours-worked results.
            FormulaAssignments assignments = FormulaAssignments::load(connection_, partitionMode);
            RowCalculator calculator(&periods);
            RowCalculator::Outcome outcome;
            calculator.calculate(assignments.lookup(row.groupId, row.accountId), row, outcome);
            if (outcome.ok()) {
                row.iTypedLines = outcome.results.lines;
                row.iHoursWorked = outcome.results.hours;
            }
        }
        FormulaResults results;
        if (!machine_.evaluate(*formula, row, &periods, results, error)) {
            setError(error);
            return {};
        }
        results_ = results;
        recordInputs(*formula, row);
        return results_.pay;
    } catch (const db::DbError& e) {
        FormulaError dbError;
        dbError.number = e.number();
        dbError.description = e.description();
        setError(dbError);
        return {};
    }
}

} // namespace velora::engine
