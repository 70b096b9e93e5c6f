#pragma once

#include "FormulaAst.h"
#include "FormulaProgram.h"

#include <memory>

namespace velora::engine {

// Turns parsed statements into a FormulaProgram: names resolved to frame slots, constants
// folded, and the fast numeric operations chosen wherever the compiler can tell the operand
// types. It follows the types of local variables through the formula (there are no loops,
// so one pass in text order sees every path). If statements that only choose a value for
// one variable (pay tiers) become branch-free picks, since their conditions depend on the
// row and jumps would be mispredicted. Throws FormulaCompileError for undefined names
// (500), assignments to inputs or functions (501), Dim of a name twice (1041), wrong argument
// counts (450), refused functions (1002) and unknown period measures (5).
class FormulaCompiler {
public:
    static std::unique_ptr<FormulaProgram> compile(const ast::Block& statements);
};

} // namespace velora::engine
