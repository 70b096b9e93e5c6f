#include "FormulaStatementCompiler.h"

#include <algorithm>

namespace velora::engine {

using namespace ast;
using namespace compiling;

namespace N = FormulaErrorNumber;

FormulaStatementCompiler::FormulaStatementCompiler(FormulaCompileState& state)
    : state_(state)
    , program_(*state.program)
    , code_(state.code)
    , locals_(state.locals)
    , expressions_(state)
    , conditions_(state, expressions_)
    , selections_(state, expressions_) {}

void FormulaStatementCompiler::compileProgram(const Block& statements) {
    for (size_t i = 0; i < statements.size(); ++i) {
        for (int field = 0; field < 3; ++field) {
            if (assigns(*statements[i], ResultField(field)))
                lastAssignment_[size_t(field)] = int(i);
        }
    }
    for (size_t i = 0; i < statements.size(); ++i) {
        topLevelIndex_ = int(i);
        compileStatement(*statements[i]);
        code_.releaseAll();
    }
    code_.emit({Op::End}, SourcePosition());
    program_.frameSize = code_.frameSize();
    program_.emptyLocals = locals_.slotsStartingEmpty();
}

bool FormulaStatementCompiler::assigns(const Statement& statement, ResultField field) {
    if (statement.kind == Statement::Kind::AssignResult)
        return statement.field == field;
    auto anyOf = [field](const Block& block) {
        return std::any_of(block.begin(), block.end(),
                           [field](const StatementPtr& s) { return assigns(*s, field); });
    };
    for (const Branch& branch : statement.branches) {
        if (anyOf(branch.body))
            return true;
    }
    for (const CaseClause& clause : statement.cases) {
        if (anyOf(clause.body))
            return true;
    }
    return anyOf(statement.elseBody);
}

void FormulaStatementCompiler::compileBlock(const Block& block) {
    for (const StatementPtr& statement : block) {
        compileStatement(*statement);
        code_.releaseAll();
    }
}

void FormulaStatementCompiler::compileStatement(const Statement& statement) {
    switch (statement.kind) {
    case Statement::Kind::Dim:
        return compileDim(statement);
    case Statement::Kind::AssignLocal:
        return compileAssignLocal(statement);
    case Statement::Kind::AssignResult:
        return compileAssignResult(statement);
    case Statement::Kind::If:
        return compileIf(statement);
    case Statement::Kind::Select:
        return compileSelect(statement);
    }
}

void FormulaStatementCompiler::compileDim(const Statement& statement) {
    for (const NameAt& name : statement.names) {
        const int index = locals_.index(name.name);
        if (index < 0 || !locals_.dim(index))
            fail(N::NameRedefined, name.name, name.position);
    }
}

void FormulaStatementCompiler::compileAssignLocal(const Statement& statement) {
    const int index = locals_.index(statement.target.name);
    if (index < 0)
        fail(N::IllegalAssignment, statement.target.name, statement.target.position);
    const Operand value = expressions_.compile(*statement.value);
    code_.store(value, FormulaLocals::slot(index), statement.position);
    locals_.assign(index, value.types);
}

// Results are Doubles: the value is converted when it is assigned, as a property of that
// type converts it.
void FormulaStatementCompiler::compileAssignResult(const Statement& statement) {
    const int slot = FormulaProgram::resultSlot(statement.field);
    const SourcePosition where = statement.value->position;
    if (aliasesInput(statement))
        return;
    Operand value = expressions_.compile(*statement.value);
    if (value.constant) {
        double number = 0;
        if (state_.fold.resultNumber(value.value, number))
            return code_.store(Operand::ofConstant(FormulaValue::makeNumber(number), false), slot,
                               where);
        value = Operand::ofSlot(code_.materialize(value, where), value.types);
    }
    if (value.types == NumberType)
        return code_.store(value, slot, where);
    const Op op = value.within(ScalarTypes) ? Op::ToNumberN : Op::ToNumber;
    code_.emit({op, 0, value.slot, 0, slot, 0}, where);
}

// The formula's last word on a result, at its top level, naming a numeric input: the
// result is read from that input's slot when the formula ends (inputs never change), and
// so are later reads of the result.
bool FormulaStatementCompiler::aliasesInput(const Statement& statement) {
    const size_t field = size_t(statement.field);
    const Expression& value = *statement.value;
    if (depth_ != 0 || lastAssignment_[field] != topLevelIndex_ ||
        value.kind != Expression::Kind::Name || locals_.index(value.text) >= 0)
        return false;
    const NameEntry* entry = FormulaNameTable::find(value.text);
    if (!entry || entry->kind != NameEntry::Kind::Input ||
        FormulaNameTable::inputTypes(entry->input) != NumberType)
        return false;
    const int input = expressions_.useInput(entry->input).slot;
    program_.resultSlots[field] = input;
    state_.resultAlias[field] = input;
    return true;
}

// The branches of an If see the local types from before it; after it a local may have
// the types any branch left it with.
void FormulaStatementCompiler::compileIf(const Statement& statement) {
    const Nested nested(depth_);
    if (selections_.compileIf(statement))
        return;
    const FormulaLocals::State before = locals_.state();
    FormulaLocals::State after(before.size(), 0);
    Label end;
    for (size_t i = 0; i < statement.branches.size(); ++i) {
        const Branch& branch = statement.branches[i];
        Label next;
        conditions_.condition(*branch.condition, false, next);
        code_.releaseAll();
        locals_.restore(before);
        compileBlock(branch.body);
        locals_.joinInto(after);
        const bool last = i + 1 == statement.branches.size();
        if (!last || !statement.elseBody.empty())
            code_.jump(end, {Op::Jump}, branch.condition->position);
        code_.bind(next);
    }
    locals_.restore(before);
    compileBlock(statement.elseBody);
    locals_.joinInto(after);
    code_.bind(end);
    locals_.restore(after);
}

void FormulaStatementCompiler::compileSelect(const Statement& statement) {
    const Nested nested(depth_);
    const int savedFloor = code_.floor();
    const Operand tested = expressions_.compile(*statement.value);
    code_.setFloor(code_.mark()); // the tested value lives until End Select
    if (selections_.compileCase(statement, tested)) {
        code_.setFloor(savedFloor);
        code_.release(savedFloor);
        return;
    }
    const FormulaLocals::State before = locals_.state();
    FormulaLocals::State after(before.size(), 0);
    bool hasElse = false;
    Label end;
    for (const CaseClause& clause : statement.cases) {
        locals_.restore(before);
        if (clause.isElse) {
            hasElse = true;
            compileBlock(clause.body);
            locals_.joinInto(after);
            continue;
        }
        Label body;
        Label next;
        for (size_t i = 0; i < clause.items.size(); ++i)
            caseItem(tested, clause.items[i], i + 1 == clause.items.size(), body, next);
        code_.bind(body);
        compileBlock(clause.body);
        locals_.joinInto(after);
        if (&clause != &statement.cases.back())
            code_.jump(end, {Op::Jump}, clause.position);
        code_.bind(next);
    }
    if (!hasElse) {
        locals_.restore(before);
        locals_.joinInto(after);
    }
    code_.bind(end);
    locals_.restore(after);
    code_.setFloor(savedFloor);
    code_.release(savedFloor);
}

// Jumps to `body` when the tested value matches the item. The last item of a Case instead
// jumps to `next` when it does not match, and falls through into the body when it does.
void FormulaStatementCompiler::caseItem(const Operand& tested, const CaseItem& item, bool last,
                                        Label& body, Label& next) {
    const int mark = code_.mark();
    Label& target = last ? next : body;
    if (item.kind != CaseItem::Kind::Range) {
        const Comparison comparison =
            item.kind == CaseItem::Kind::Is ? item.comparison : Comparison::Equal;
        conditions_.compareBranch(tested, expressions_.compile(*item.first), comparison, !last,
                                  target, item.position, mark);
        code_.release(mark);
        return;
    }
    Label outside;
    conditions_.compareBranch(tested, expressions_.compile(*item.first), Comparison::Less, true,
                              last ? next : outside, item.position, mark);
    code_.release(mark);
    conditions_.compareBranch(tested, expressions_.compile(*item.last), Comparison::LessEqual,
                              !last, target, item.last->position, mark);
    code_.bind(outside);
    code_.release(mark);
}

} // namespace velora::engine
