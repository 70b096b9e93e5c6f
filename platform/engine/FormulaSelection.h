#pragma once

#include "FormulaAst.h"
#include "FormulaCodeBuilder.h"
#include "FormulaLocals.h"

#include <vector>

namespace velora::engine {

// An If or Select Case that only chooses a value for one variable x:
//   If c1 Then x = v1 ElseIf c2 Then x = v2 ... Else x = v End If
// where every part assigns the same x a literal or a name (or nothing) and the conditions
// after the first cannot fail, so that x gets the value of the first true condition. Pay
// tiers are written this way; FormulaSelectionCompiler compiles them without jumps. Internal
// to the compiler.
struct FormulaSelection {
    const ast::Statement* model = nullptr;          // the first assignment, naming x
    int slot = -1;                                  // x
    std::vector<const ast::Expression*> conditions; // If: of each branch
    std::vector<const ast::Expression*> values;     // null: this branch keeps x as it was
    const ast::Expression* otherwise = nullptr;     // the Else value; null keeps x
    bool conditionsReadTarget = false;

    // Reads an If as a selection; false when it is none.
    static bool asSelection(const ast::Statement& statement, const FormulaLocals& locals,
                            FormulaSelection& selection);
    // Reads a Select Case whose cases compare a number with literals or names as a selection
    // (without conditions: the cases are its branches); false when it is none.
    static bool asCaseSelection(const ast::Statement& statement, const Operand& tested,
                                const FormulaLocals& locals, FormulaSelection& selection);

private:
    static bool sameTarget(const ast::Statement& a, const ast::Statement& b);
    static bool chosenValue(const ast::Block& body, const FormulaLocals& locals,
                            FormulaSelection& selection, const ast::Expression*& value);
    static bool resolveTarget(const FormulaLocals& locals, FormulaSelection& selection);
};

} // namespace velora::engine
