#pragma once

#include "CompiledFormula.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

namespace velora::db {
class Connection;
}

namespace velora::engine {

// One input a formula read and its value for the evaluated row.
struct FormulaInputReading {
    QString name; // as the language documents it ("TrueLines" also for "Lines")
    QVariant value;
};

// Evaluates one formula text for one user, account and day, for the formula editor and
// tester. Reads that row from the database (zeros when there is none), computes ITypedLines
// and IHoursWorked from the user's group formulas for the row, and keeps its inputs between
// calls. An error stays reported until Reset, even across later successful evaluations.
// The user may be given as a list shows it in partition mode (see EvaluatedUser).
class FormulaEvaluator {
public:
    explicit FormulaEvaluator(db::Connection& connection);

    // Parses and evaluates; the result (the pay) is returned for completeness and unused.
    QVariant Evaluate(const QString& formulaText);
    float ResultHours() const { return static_cast<float>(results_.hours); }
    float ResultLines() const { return static_cast<float>(results_.lines); }
    float ResultPay() const { return static_cast<float>(results_.pay); }
    void Reset() { error_ = FormulaError{}; }
    // The inputs the last evaluation read, in the order the formula first reads them, with
    // their values for the row; empty after a failed evaluation.
    const QList<FormulaInputReading>& InputsRead() const { return inputsRead_; }
    QString ErrorText() const { return error_.lineText; }
    int ErrorNumber() const { return error_.number; }
    int ErrorLine() const { return error_.line; }
    QString ErrorDescription() const { return error_.description; }

    void ShiftDate(const QDate& day) { shiftDate_ = day; }
    void TransID(const QString& transId) { transId_ = transId; }
    void AccountID(int accountId) { accountId_ = accountId; }

    QDate shiftDate() const { return shiftDate_; }
    QString transId() const { return transId_; }
    int accountId() const { return accountId_; }

private:
    RowInputs readRow(int& firstDayOfWeek, bool& partitionMode);
    void setError(const FormulaError& error);
    void recordInputs(const CompiledFormula& formula, const RowInputs& row);

    db::Connection& connection_;
    QDate shiftDate_ = QDate::currentDate();
    QString transId_;
    int accountId_ = 0;
    FormulaResults results_;
    FormulaError error_;
    QList<FormulaInputReading> inputsRead_;
    FormulaMachine machine_;
};

} // namespace velora::engine
