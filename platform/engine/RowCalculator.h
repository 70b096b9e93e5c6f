#pragma once

#include "CompiledFormula.h"
#include "FormulaAssignments.h"

namespace velora::engine {

// Computes one row's three results from its formula set: ITyped from the lines-typed
// formula's Results.ILines, IHours from the hours-worked formula's Results.IHours, IPay from
// the pay formula's Results.IPay, which reads the first two as ITypedLines and IHoursWorked.
// A formula shared by several results runs once when it does not read the incentive functions.
class RowCalculator {
public:
    struct Outcome {
        FormulaResults results; // hours = IHours, lines = ITyped, pay = IPay
        int failedFormulaId = 0;
        FormulaError error;
        bool ok() const { return failedFormulaId == 0; }
    };

    explicit RowCalculator(PeriodSource* periods)
        : periods_(periods) {}

    // row.iTypedLines and row.iHoursWorked are set here.
    void calculate(const FormulaSet& set, RowInputs& row, Outcome& outcome);

private:
    bool run(const CompiledFormula& formula, int formulaId, const RowInputs& row,
             FormulaResults& results, Outcome& outcome);

    PeriodSource* periods_;
    FormulaMachine machine_;
    FormulaResults scratch_;
};

} // namespace velora::engine
