#pragma once

#include "FormulaTypes.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace velora::engine {

class FormulaProgram; // the compact compiled form, private to the language implementation

// A formula compiled once and evaluated many times. Immutable after compilation, so one
// CompiledFormula may be evaluated from several threads, each with its own FormulaMachine.
class CompiledFormula {
public:
    // Compiles the text. On failure returns nullptr and fills error (number, line, column,
    // description, line text).
    static std::shared_ptr<const CompiledFormula> compile(const QString& text, FormulaError& error);
    ~CompiledFormula();

    const QString& text() const { return text_; }
    // The formula reads ITypedLines or IHoursWorked (the incentive functions).
    bool usesIncentiveFunctions() const;
    // The formula calls WeekToDate, MonthToDate or YearToDate.
    bool usesPeriodFunctions() const;
    const FormulaProgram& program() const { return *program_; }

private:
    CompiledFormula(QString text, std::unique_ptr<FormulaProgram> program);

    QString text_;
    std::unique_ptr<FormulaProgram> program_;
};

// Evaluates compiled formulas. Holds the working storage (locals, value stack) so that an
// evaluation allocates nothing for a numeric formula; reuse one machine for many rows.
class FormulaMachine {
public:
    FormulaMachine();
    ~FormulaMachine();
    FormulaMachine(const FormulaMachine&) = delete;
    FormulaMachine& operator=(const FormulaMachine&) = delete;

    // Runs the formula for the row. Returns false on a run-time error (error filled, results
    // unspecified and not to be written). periods may be null when the formula does not use
    // the period functions.
    bool evaluate(const CompiledFormula& formula, const RowInputs& row, PeriodSource* periods,
                  FormulaResults& results, FormulaError& error);

    // The value of a local variable as the last evaluation of this formula left it (for the
    // formula tester): invalid for Empty or an unknown name, else bool, double, QString,
    // QDate or QDateTime.
    QVariant localValue(const CompiledFormula& formula, const QString& name) const;

private:
    struct Storage;
    std::unique_ptr<Storage> storage_;
};

} // namespace velora::engine
