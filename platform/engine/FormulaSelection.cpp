#include "FormulaSelection.h"

#include "FormulaCompileState.h"

namespace velora::engine {

using namespace ast;
using compiling::NumberType;

bool FormulaSelection::sameTarget(const Statement& a, const Statement& b) {
    if (a.kind != b.kind)
        return false;
    if (a.kind == Statement::Kind::AssignResult)
        return a.field == b.field;
    return a.target.name.compare(b.target.name, Qt::CaseInsensitive) == 0;
}

// The one value a branch assigns; false when the branch does anything else.
bool FormulaSelection::chosenValue(const Block& body, const FormulaLocals& locals,
                                   FormulaSelection& selection, const Expression*& value) {
    value = nullptr;
    if (body.empty())
        return true;
    if (body.size() != 1)
        return false;
    const Statement& statement = *body.front();
    if (statement.kind != Statement::Kind::AssignLocal &&
        statement.kind != Statement::Kind::AssignResult)
        return false;
    if (!selection.model)
        selection.model = &statement;
    const TypeSet types = locals.simpleTypes(*statement.value);
    if (!sameTarget(*selection.model, statement) || types == 0 ||
        (statement.kind == Statement::Kind::AssignResult && types != NumberType))
        return false;
    value = statement.value.get();
    return true;
}

bool FormulaSelection::asSelection(const Statement& statement, const FormulaLocals& locals,
                                   FormulaSelection& selection) {
    for (const Branch& branch : statement.branches) {
        const Expression& condition = *branch.condition;
        const bool first = selection.conditions.empty();
        if (condition.isLiteral() || !locals.isBoolean(condition) ||
            (!first && !locals.cannotFail(condition)))
            return false;
        const Expression* value = nullptr;
        if (!chosenValue(branch.body, locals, selection, value))
            return false;
        selection.conditions.push_back(&condition);
        selection.values.push_back(value);
    }
    if (!chosenValue(statement.elseBody, locals, selection, selection.otherwise) ||
        !resolveTarget(locals, selection))
        return false;
    for (const Expression* condition : selection.conditions)
        selection.conditionsReadTarget =
            selection.conditionsReadTarget || locals.reads(*condition, selection.slot);
    return true;
}

bool FormulaSelection::resolveTarget(const FormulaLocals& locals, FormulaSelection& selection) {
    if (!selection.model)
        return false;
    if (selection.model->kind == Statement::Kind::AssignResult) {
        selection.slot = FormulaProgram::resultSlot(selection.model->field);
    } else {
        const int index = locals.index(selection.model->target.name);
        if (index < 0)
            return false; // not a local: the ordinary path reports the assignment
        selection.slot = FormulaLocals::slot(index);
    }
    return true;
}

bool FormulaSelection::asCaseSelection(const Statement& statement, const Operand& tested,
                                       const FormulaLocals& locals, FormulaSelection& selection) {
    if (!tested.within(ScalarTypes))
        return false;
    auto scalar = [&](const ExpressionPtr& item) {
        return !item || typesWithin(locals.simpleTypes(*item), ScalarTypes);
    };
    for (const CaseClause& clause : statement.cases) {
        const Expression* value = nullptr;
        if (!chosenValue(clause.body, locals, selection, value))
            return false;
        if (clause.isElse) {
            selection.otherwise = value;
            continue;
        }
        for (const CaseItem& item : clause.items) {
            if (!scalar(item.first) || !scalar(item.last))
                return false;
        }
        selection.values.push_back(value);
    }
    if (!resolveTarget(locals, selection))
        return false;
    selection.conditionsReadTarget = !tested.constant && tested.slot == selection.slot;
    for (const CaseClause& clause : statement.cases) {
        for (const CaseItem& item : clause.items) {
            selection.conditionsReadTarget =
                selection.conditionsReadTarget || locals.reads(*item.first, selection.slot) ||
                (item.last && locals.reads(*item.last, selection.slot));
        }
    }
    return true;
}

} // namespace velora::engine
