#pragma once

#include "FormulaCompileState.h"

#include <vector>

namespace velora::engine {

class FormulaExpressionCompiler;

// Compiles calls of the built-in functions: checks the name and the argument count, folds
// pure functions of constants, writes Round, Min and Max of numbers as single fast
// operations, the period functions as Period operations, and any other call as a generic
// Call over consecutive slots. Internal to the compiler.
class FormulaCallCompiler {
public:
    FormulaCallCompiler(FormulaCompileState& state, FormulaExpressionCompiler& expressions);

    // name(arguments)
    Operand compileCall(const ast::Expression& expression);
    // The call of a function named by `entry`, with or without parentheses.
    Operand compileFunction(const ast::Expression& expression, const NameEntry& entry);

private:
    void checkInterval(const ast::Expression& expression, const NameEntry& entry);
    static TypeSet resultTypes(BuiltinId id, const std::vector<Operand>& arguments);
    bool fastCall(BuiltinId id, const std::vector<Operand>& arguments, bool computedLast,
                  SourcePosition where, Operand& result);
    Operand compilePeriod(const ast::Expression& expression, BuiltinId id, const NameEntry& entry);

    FormulaProgram& program_;
    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaConstantFolder& fold_;
    FormulaExpressionCompiler& expressions_;
};

} // namespace velora::engine
