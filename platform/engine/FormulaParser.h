#pragma once

#include "FormulaAst.h"
#include "FormulaToken.h"

#include <vector>

namespace velora::engine {

// Builds the statements of a formula from its tokens with VBScript's grammar and operator
// precedence. Throws FormulaCompileError at the first error: 1002 for a syntax error (the
// description says what was expected), 1025 for text after a complete statement, and a
// description of its own for what VBScript has and formulas refuse (loops, procedures...).
class FormulaParser {
public:
    static ast::Block parse(const std::vector<FormulaToken>& tokens);
};

} // namespace velora::engine
