#pragma once

#include "FormulaCompileState.h"
#include "FormulaConditionCompiler.h"
#include "FormulaExpressionCompiler.h"
#include "FormulaSelectionCompiler.h"

#include <array>

namespace velora::engine {

// Compiles the statements of a formula in text order: Dim, assignments to locals and
// results, If and Select Case (as jumps, or as selections without jumps), following the types
// the locals may hold along every path. Internal to the compiler.
class FormulaStatementCompiler {
public:
    explicit FormulaStatementCompiler(FormulaCompileState& state);

    // The whole formula, ending the program.
    void compileProgram(const ast::Block& statements);

private:
    // The statement, or one inside it, assigns the result.
    static bool assigns(const ast::Statement& statement, ast::ResultField field);

    void compileBlock(const ast::Block& block);
    void compileStatement(const ast::Statement& statement);
    void compileDim(const ast::Statement& statement);
    void compileAssignLocal(const ast::Statement& statement);
    void compileAssignResult(const ast::Statement& statement);
    bool aliasesInput(const ast::Statement& statement);
    void compileIf(const ast::Statement& statement);
    void compileSelect(const ast::Statement& statement);
    void caseItem(const Operand& tested, const ast::CaseItem& item, bool last, Label& body,
                  Label& next);

    // Counts the blocks the compiler is inside while it compiles one.
    class Nested {
    public:
        explicit Nested(int& depth)
            : depth_(++depth) {}
        ~Nested() { --depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        int& depth_;
    };

    FormulaCompileState& state_;
    FormulaProgram& program_;
    FormulaCodeBuilder& code_;
    FormulaLocals& locals_;
    FormulaExpressionCompiler expressions_;
    FormulaConditionCompiler conditions_;
    FormulaSelectionCompiler selections_;
    int depth_ = 0;
    int topLevelIndex_ = -1;
    std::array<int, 3> lastAssignment_ = {-1, -1, -1};
};

} // namespace velora::engine
