#include "FormulaCompileState.h"

namespace velora::engine {

FormulaCompileState::FormulaCompileState(const ast::Block& statements)
    : program(std::make_unique<FormulaProgram>())
    , fold(program->texts)
    , locals(statements, program->localNames)
    , code(*program, FormulaProgram::FirstLocalSlot + int(program->localNames.size())) {}

namespace compiling {

void fail(int number, const QString& subject, SourcePosition where) {
    throw FormulaCompileError(FormulaFault::withSubject(number, subject), where);
}

void refuse(const NameEntry& entry, SourcePosition where) {
    throw FormulaCompileError(
        FormulaFault::withText(FormulaErrorNumber::SyntaxError, FormulaNameTable::refusal(entry)),
        where);
}

} // namespace compiling

} // namespace velora::engine
