#pragma once

#include "FormulaCallCompiler.h"
#include "FormulaCompileState.h"

namespace velora::engine {

// Compiles expressions into operands: literals stay constants, names become the slots of
// locals and inputs, constant parts are folded, and the fast numeric operations are chosen
// wherever the operand types are known. Internal to the compiler.
class FormulaExpressionCompiler {
public:
    explicit FormulaExpressionCompiler(FormulaCompileState& state);
    FormulaExpressionCompiler(const FormulaExpressionCompiler&) = delete;
    FormulaExpressionCompiler& operator=(const FormulaExpressionCompiler&) = delete;

    Operand compile(const ast::Expression& expression);

    // left comparison right as a Boolean. `mark` is where the temporaries of the operands
    // begin: the result may reuse them.
    Operand compare(const Operand& left, const Operand& right, Comparison comparison,
                    SourcePosition where, int mark);

    // The input's slot; the program loads the input from then on.
    Operand useInput(InputKind input);
    Operand readLocal(int index);
    // The value a slot holds before the statement changes it.
    Operand keptValue(int slot, TypeSet types);

private:
    Operand compileName(const ast::Expression& expression);
    Operand compileUnary(const ast::Expression& expression);
    Operand compileBinary(const ast::Expression& expression);
    Operand applyBinary(const ast::Expression& expression, const Operand& left, int mark);
    bool arithmeticFast(ast::BinaryOperator op, const Operand& left, const Operand& right,
                        SourcePosition where, int mark, Operand& result);
    static Op genericOp(ast::BinaryOperator op);
    static TypeSet genericTypes(ast::BinaryOperator op, const Operand& left, const Operand& right);

    FormulaCompileState& state_;
    FormulaProgram& program_;
    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaConstantFolder& fold_;
    FormulaCallCompiler calls_;
};

} // namespace velora::engine
