#pragma once

#include "FormulaAst.h"
#include "FormulaBuiltins.h"
#include "FormulaCodeBuilder.h"
#include "FormulaRuntime.h"

#include <QString>
#include <deque>
#include <vector>

namespace velora::engine {

// Computes while compiling what the formula would compute from constants when it runs: the
// operators and the pure functions, through the same code the machine runs, with no row. A
// fold that would fail is refused (false), so that the error is raised when the formula
// runs, as VBScript does. Internal to the compiler.
class FormulaConstantFolder {
public:
    // The texts that folding makes are kept in `texts` (the program's).
    explicit FormulaConstantFolder(std::deque<QString>& texts)
        : runtime_(texts) {}

    // Keeps a text written in the formula with the program.
    const QString* keep(QString text) { return runtime_.keep(std::move(text)); }

    bool binary(ast::BinaryOperator op, const Operand& left, const Operand& right,
                FormulaValue& result);
    bool compare(const Operand& left, const Operand& right, Comparison comparison,
                 FormulaValue& result);
    // - (negate) or Not.
    bool unary(bool negate, const FormulaValue& operand, FormulaValue& result);
    // A call of a pure function whose arguments are all constants.
    bool call(const BuiltinInfo& info, const std::vector<Operand>& arguments, Operand& folded);
    // The constant as the condition of If, or as a number for a result.
    bool truth(const FormulaValue& value, bool& result);
    bool resultNumber(const FormulaValue& value, double& result);

private:
    FormulaRuntime runtime_;
};

} // namespace velora::engine
