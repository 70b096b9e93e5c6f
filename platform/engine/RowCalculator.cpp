#include "RowCalculator.h"

namespace velora::engine {

bool RowCalculator::run(const CompiledFormula& formula, int formulaId, const RowInputs& row,
                        FormulaResults& results, Outcome& outcome) {
    results = FormulaResults{};
    if (machine_.evaluate(formula, row, periods_, results, outcome.error))
        return true;
    outcome.failedFormulaId = formulaId;
    return false;
}

void RowCalculator::calculate(const FormulaSet& set, RowInputs& row, Outcome& outcome) {
    outcome.failedFormulaId = 0;
    outcome.error = FormulaError{};
    if (!set.usable()) {
        outcome.failedFormulaId = set.failedFormulaId;
        outcome.error = set.failure;
        return;
    }
    FormulaResults& out = outcome.results;
    row.iTypedLines = 0;
    row.iHoursWorked = 0;

    // The common case: one formula for all three results that does not read its own results.
    if (set.typed == set.pay && set.hours == set.pay && !set.pay->usesIncentiveFunctions()) {
        run(*set.pay, set.payId, row, out, outcome);
        return;
    }
    if (!run(*set.typed, set.typedId, row, scratch_, outcome))
        return;
    const double typed = scratch_.lines;
    if (set.hours != set.typed && !run(*set.hours, set.hoursId, row, scratch_, outcome))
        return;
    const double hours = scratch_.hours;
    row.iTypedLines = typed;
    row.iHoursWorked = hours;
    if (!run(*set.pay, set.payId, row, scratch_, outcome))
        return;
    out.lines = typed;
    out.hours = hours;
    out.pay = scratch_.pay;
}

} // namespace velora::engine
