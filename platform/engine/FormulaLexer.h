#pragma once

#include "FormulaToken.h"

#include <QString>
#include <vector>

namespace velora::engine {

// Splits formula text into tokens. Comments (' and a Rem statement) and " _" continuations
// disappear; every other line break is a Newline token. Throws FormulaCompileError for an
// invalid character (1014), an unterminated string (1033), a bad date literal (1002) and a
// number too large for a Double (6).
class FormulaLexer {
public:
    static std::vector<FormulaToken> tokenize(const QString& text);
};

} // namespace velora::engine
