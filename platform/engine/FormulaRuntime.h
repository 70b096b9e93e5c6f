#pragma once

#include "FormulaErrors.h"
#include "FormulaTypes.h"
#include "FormulaValue.h"

#include <QString>
#include <deque>

namespace velora::engine {

// What operators and functions see while they run: a store for the texts they make, the row
// and period source (for the functions that read them), and the fault that ends evaluation.
// The compiler uses one too, with no row, to fold constants.
class FormulaRuntime {
public:
    explicit FormulaRuntime(std::deque<QString>& texts)
        : texts_(texts) {}

    // Keeps a text made during evaluation until the next evaluation starts.
    const QString* keep(QString text) {
        texts_.push_back(std::move(text));
        return &texts_.back();
    }
    FormulaValue makeString(QString text) {
        return FormulaValue::makeString(keep(std::move(text)));
    }

    // Records the fault; returns false so that callers can `return rt.fail(...)`.
    bool fail(int number, const QString& subject = QString()) {
        fault_ = FormulaFault::withSubject(number, subject);
        return false;
    }
    // The value could not be converted to a number, a truth value or a date: Overflow for a
    // number beyond the Double range written as text, otherwise Type mismatch naming the value.
    bool failMismatch(const FormulaValue& value) {
        if (isNumberTextOutOfRange(value))
            return fail(FormulaErrorNumber::Overflow);
        return fail(FormulaErrorNumber::TypeMismatch, mismatchSubject(value));
    }
    // The same for an argument of a function, which the caller names.
    bool failArgument(const FormulaValue& value) {
        return fail(isNumberTextOutOfRange(value) ? FormulaErrorNumber::Overflow
                                                  : FormulaErrorNumber::TypeMismatch);
    }
    FormulaFault& fault() { return fault_; }

    const RowInputs* row = nullptr;
    PeriodSource* periods = nullptr;

private:
    std::deque<QString>& texts_;
    FormulaFault fault_;
};

} // namespace velora::engine
