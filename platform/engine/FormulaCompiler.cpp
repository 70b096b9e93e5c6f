#include "FormulaCompiler.h"

#include "FormulaCompileState.h"
#include "FormulaStatementCompiler.h"

namespace velora::engine {

std::unique_ptr<FormulaProgram> FormulaCompiler::compile(const ast::Block& statements) {
    FormulaCompileState state(statements);
    FormulaStatementCompiler(state).compileProgram(statements);
    return std::move(state.program);
}

} // namespace velora::engine
