#include "FormulaCompiler.h"

#include "FormulaBuiltins.h"
#include "FormulaCodeBuilder.h"
#include "FormulaLocals.h"
#include "FormulaNameTable.h"
#include "FormulaOperators.h"
#include "FormulaRuntime.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <optional>

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;
using namespace ast;

constexpr TypeSet NumberType = typeBit(ValueType::Number);
constexpr TypeSet BooleanType = typeBit(ValueType::Boolean);
constexpr TypeSet StringType = typeBit(ValueType::String);
constexpr TypeSet DateType = typeBit(ValueType::Date);

bool isComparison(BinaryOperator op) {
    return op >= BinaryOperator::Equal && op <= BinaryOperator::GreaterEqual;
}

Comparison comparisonOf(BinaryOperator op) {
    return Comparison(int(op) - int(BinaryOperator::Equal));
}

Op offset(Op first, Comparison comparison) {
    return Op(int(first) + int(comparison));
}

class Compiler {
public:
    Compiler()
        : program_(std::make_unique<FormulaProgram>())
        , fold_(program_->texts) {}

    std::unique_ptr<FormulaProgram> run(const Block& statements) {
        locals_.emplace(statements, program_->localNames);
        code_.emplace(*program_, FormulaProgram::FirstLocalSlot + int(program_->localNames.size()));
        for (size_t i = 0; i < statements.size(); ++i) {
            for (int field = 0; field < 3; ++field) {
                if (assigns(*statements[i], ResultField(field)))
                    lastAssignment_[size_t(field)] = int(i);
            }
        }
        for (size_t i = 0; i < statements.size(); ++i) {
            topLevelIndex_ = int(i);
            compileStatement(*statements[i]);
            code_->releaseAll();
        }
        emit({Op::End}, SourcePosition());
        program_->frameSize = code_->frameSize();
        program_->emptyLocals = locals_->slotsStartingEmpty();
        return std::move(program_);
    }

private:
    // ---- errors

    [[noreturn]] void fail(int number, const QString& subject, SourcePosition where) {
        throw FormulaCompileError(FormulaFault::withSubject(number, subject), where);
    }
    [[noreturn]] void refuse(const NameEntry& entry, SourcePosition where) {
        throw FormulaCompileError(
            FormulaFault::withText(N::SyntaxError, FormulaNameTable::refusal(entry)), where);
    }

    // ---- locals (see FormulaLocals)

    int localIndex(const QString& name) const { return locals_->index(name); }
    static int localSlot(int index) { return FormulaLocals::slot(index); }

    Operand readLocal(int index) { return Operand::ofSlot(localSlot(index), locals_->read(index)); }

    // The value a slot holds before the statement changes it.
    Operand keptValue(int slot, TypeSet types) {
        if (FormulaLocals::isLocalSlot(slot))
            return readLocal(slot - FormulaProgram::FirstLocalSlot);
        return Operand::ofSlot(slot, types);
    }

    TypeSet simpleTypes(const Expression& expression) const {
        return locals_->simpleTypes(expression);
    }
    bool isBoolean(const Expression& expression) const { return locals_->isBoolean(expression); }
    bool cannotFail(const Expression& expression) const { return locals_->cannotFail(expression); }
    bool shortCircuits(const Expression& expression) const {
        return locals_->shortCircuits(expression);
    }
    bool reads(const Expression& expression, int slot) const {
        return locals_->reads(expression, slot);
    }

    // The statement, or one inside it, assigns the result.
    static bool assigns(const Statement& statement, ResultField field) {
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

    // ---- emitting (see FormulaCodeBuilder)

    size_t emit(const Instruction& instruction, SourcePosition where) {
        return code_->emit(instruction, where);
    }
    int allocTemp() { return code_->allocTemp(); }
    Operand emitResult(const Instruction& instruction, SourcePosition where, TypeSet types) {
        return code_->emitResult(instruction, where, types);
    }
    void jump(Label& label, const Instruction& instruction, SourcePosition where) {
        code_->jump(label, instruction, where);
    }
    void bind(Label& label) { code_->bind(label); }
    int materialize(const Operand& operand, SourcePosition where) {
        return code_->materialize(operand, where);
    }
    void store(const Operand& operand, int slot, SourcePosition where) {
        code_->store(operand, slot, where);
    }

    // ---- statements

    void compileBlock(const Block& block) {
        for (const StatementPtr& statement : block) {
            compileStatement(*statement);
            code_->releaseAll();
        }
    }

    void compileStatement(const Statement& statement) {
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

    void compileDim(const Statement& statement) {
        for (const NameAt& name : statement.names) {
            const int index = localIndex(name.name);
            if (index < 0 || !locals_->dim(index))
                fail(N::NameRedefined, name.name, name.position);
        }
    }

    void compileAssignLocal(const Statement& statement) {
        const int index = localIndex(statement.target.name);
        if (index < 0)
            fail(N::IllegalAssignment, statement.target.name, statement.target.position);
        const Operand value = compileExpression(*statement.value);
        store(value, localSlot(index), statement.position);
        locals_->assign(index, value.types);
    }

    // Results are Doubles: the value is converted when it is assigned, as a property of that
    // type converts it.
    void compileAssignResult(const Statement& statement) {
        const int slot = FormulaProgram::resultSlot(statement.field);
        const SourcePosition where = statement.value->position;
        if (aliasesInput(statement))
            return;
        Operand value = compileExpression(*statement.value);
        if (value.constant) {
            double number = 0;
            if (operators::resultNumber(fold_, value.value, number))
                return store(Operand::ofConstant(FormulaValue::makeNumber(number), false), slot,
                             where);
            value = Operand::ofSlot(materialize(value, where), value.types);
        }
        if (value.types == NumberType)
            return store(value, slot, where);
        const Op op = value.within(ScalarTypes) ? Op::ToNumberN : Op::ToNumber;
        emit({op, 0, value.slot, 0, slot, 0}, where);
    }

    // The formula's last word on a result, at its top level, naming a numeric input: the
    // result is read from that input's slot when the formula ends (inputs never change), and
    // so are later reads of the result.
    bool aliasesInput(const Statement& statement) {
        const size_t field = size_t(statement.field);
        const Expression& value = *statement.value;
        if (depth_ != 0 || lastAssignment_[field] != topLevelIndex_ ||
            value.kind != Expression::Kind::Name || localIndex(value.text) >= 0)
            return false;
        const NameEntry* entry = FormulaNameTable::find(value.text);
        if (!entry || entry->kind != NameEntry::Kind::Input ||
            FormulaNameTable::inputTypes(entry->input) != NumberType)
            return false;
        const int input = useInput(entry->input).slot;
        program_->resultSlots[field] = input;
        resultAlias_[field] = input;
        return true;
    }

    // The branches of an If see the local types from before it; after it a local may have
    // the types any branch left it with.
    void compileIf(const Statement& statement) {
        const Nested nested(depth_);
        Selection selection;
        if (asSelection(statement, selection))
            return compileSelection(selection);
        const FormulaLocals::State before = locals_->state();
        FormulaLocals::State after(before.size(), 0);
        Label end;
        for (size_t i = 0; i < statement.branches.size(); ++i) {
            const Branch& branch = statement.branches[i];
            Label next;
            condition(*branch.condition, false, next);
            code_->releaseAll();
            locals_->restore(before);
            compileBlock(branch.body);
            locals_->joinInto(after);
            const bool last = i + 1 == statement.branches.size();
            if (!last || !statement.elseBody.empty())
                jump(end, {Op::Jump}, branch.condition->position);
            bind(next);
        }
        locals_->restore(before);
        compileBlock(statement.elseBody);
        locals_->joinInto(after);
        bind(end);
        locals_->restore(after);
    }

    // ---- If statements that only choose a value, compiled without jumps

    // If c1 Then x = v1 ElseIf c2 Then x = v2 ... Else x = v End If, where every part assigns
    // the same x a literal or a name (or nothing) and the conditions after the first cannot
    // fail: x gets the value of the first true condition. Pay tiers are written this way, and
    // their conditions depend on the row, so jumps would be mispredicted; instead x is chosen
    // by branch-free picks from the last branch up, each true condition overriding those
    // below it.
    struct Selection {
        const Statement* model = nullptr; // the first assignment, naming x
        int slot = -1;                    // x
        std::vector<const Expression*> conditions;
        std::vector<const Expression*> values; // null: this branch keeps x as it was
        const Expression* otherwise = nullptr; // the Else value; null keeps x
    };

    static bool sameTarget(const Statement& a, const Statement& b) {
        if (a.kind != b.kind)
            return false;
        if (a.kind == Statement::Kind::AssignResult)
            return a.field == b.field;
        return a.target.name.compare(b.target.name, Qt::CaseInsensitive) == 0;
    }

    // The one value a branch assigns; false when the branch does anything else.
    bool chosenValue(const Block& body, Selection& selection, const Expression*& value) const {
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
        const TypeSet types = simpleTypes(*statement.value);
        if (!sameTarget(*selection.model, statement) || types == 0 ||
            (statement.kind == Statement::Kind::AssignResult && types != NumberType))
            return false;
        value = statement.value.get();
        return true;
    }

    bool asSelection(const Statement& statement, Selection& selection) const {
        for (const Branch& branch : statement.branches) {
            const Expression& condition = *branch.condition;
            const bool first = selection.conditions.empty();
            if (condition.isLiteral() || !isBoolean(condition) ||
                (!first && !cannotFail(condition)))
                return false;
            const Expression* value = nullptr;
            if (!chosenValue(branch.body, selection, value))
                return false;
            selection.conditions.push_back(&condition);
            selection.values.push_back(value);
        }
        if (!chosenValue(statement.elseBody, selection, selection.otherwise) || !selection.model)
            return false;
        if (selection.model->kind == Statement::Kind::AssignResult) {
            selection.slot = FormulaProgram::resultSlot(selection.model->field);
        } else {
            const int index = localIndex(selection.model->target.name);
            if (index < 0)
                return false; // not a local: the ordinary path reports the assignment
            selection.slot = localSlot(index);
        }
        return true;
    }

    void compileSelection(const Selection& selection) {
        const int target = selection.slot;
        const bool isResult = target < FormulaProgram::FirstInputSlot;
        const size_t local = size_t(target - localSlot(0));
        const TypeSet before = isResult ? NumberType : locals_->types(int(local));
        // The picks build the value in a temporary when x itself is read along the way.
        bool readsTarget = selection.otherwise && reads(*selection.otherwise, target);
        for (size_t i = 0; i < selection.conditions.size(); ++i)
            readsTarget = readsTarget || !selection.values[i] ||
                          reads(*selection.conditions[i], target) ||
                          reads(*selection.values[i], target);
        const int slot = readsTarget ? allocTemp() : target;
        const SourcePosition where = selection.model->position;
        TypeSet types = 0;
        if (selection.otherwise) {
            const Operand value = compileExpression(*selection.otherwise);
            store(value, slot, where);
            types |= value.types;
        } else {
            if (slot != target)
                emit({Op::Move, 0, target, 0, slot, 0}, where);
            types |= before;
        }
        for (size_t i = selection.conditions.size(); i-- > 0;) {
            const int mark = code_->mark();
            const Operand value = selection.values[i] ? compileExpression(*selection.values[i])
                                                      : keptValue(target, before);
            types |= value.types;
            pickInto(*selection.conditions[i], value, slot, slot, where);
            code_->release(mark);
        }
        if (slot != target) {
            Instruction& last = code_->last();
            if (last.c == slot)
                last.c = target; // the last pick writes x itself
            else
                emit({Op::Move, 0, slot, 0, target, 0}, where);
        }
        if (!isResult)
            locals_->assign(int(local), types);
    }

    // out = condition ? value : slot `otherwise`.
    void pickInto(const Expression& condition, const Operand& value, int otherwise, int out,
                  SourcePosition where) {
        const int mark = code_->mark();
        Instruction pick;
        pick.b = otherwise;
        pick.c = out;
        const bool constantValue = value.constant && value.value.type == ValueType::Number;
        if (constantValue)
            pick.k2 = value.value.number;
        else
            pick.d = materialize(value, where);
        const Op truth = constantValue ? Op::PickK : Op::Pick;
        const Op compared = constantValue ? Op::PickEqNKK : Op::PickEqNK;
        if (condition.kind == Expression::Kind::Binary && isComparison(condition.binary)) {
            const Operand left = compileExpression(*condition.operands[0]);
            const Operand right = compileExpression(*condition.operands[1]);
            Comparison comparison = comparisonOf(condition.binary);
            if (left.within(ScalarTypes) && right.within(ScalarTypes) &&
                left.constant != right.constant) {
                const Operand& variable = left.constant ? right : left;
                const Operand& constant = left.constant ? left : right;
                if (left.constant)
                    comparison = arithmetic::mirrored(comparison);
                pick.op = offset(compared, comparison);
                pick.a = variable.slot;
                pick.k = constant.value.number;
                emit(pick, condition.position);
                code_->release(mark);
                return;
            }
            pick.a = materialize(compare(left, right, comparisonOf(condition.binary),
                                         condition.position, code_->mark()),
                                 where);
        } else if (shortCircuits(condition)) {
            // A And B ? v : o is A ? (B ? v : o) : o; A Or B ? v : o is A ? v : (B ? v : o).
            // The side that can fail is computed first, as evaluating both in order would.
            const Expression& left = *condition.operands[0];
            const Expression& right = *condition.operands[1];
            const bool rightLast = cannotFail(right);
            const Expression& first = rightLast ? left : right;
            const Expression& last = rightLast ? right : left;
            const int inner = allocTemp();
            pickInto(first, value, otherwise, inner, where);
            if (condition.binary == BinaryOperator::And)
                pickInto(last, Operand::ofSlot(inner, value.types), otherwise, out, where);
            else
                pickInto(last, value, inner, out, where);
            code_->release(mark);
            return;
        } else {
            pick.a = materialize(compileExpression(condition), where);
        }
        pick.op = truth;
        emit(pick, condition.position);
        code_->release(mark);
    }

    void compileSelect(const Statement& statement) {
        const Nested nested(depth_);
        const int savedFloor = code_->floor();
        const Operand tested = compileExpression(*statement.value);
        code_->setFloor(code_->mark()); // the tested value lives until End Select
        const FormulaLocals::State before = locals_->state();
        FormulaLocals::State after(before.size(), 0);
        bool hasElse = false;
        Label end;
        for (const CaseClause& clause : statement.cases) {
            locals_->restore(before);
            if (clause.isElse) {
                hasElse = true;
                compileBlock(clause.body);
                locals_->joinInto(after);
                continue;
            }
            Label body;
            Label next;
            for (size_t i = 0; i < clause.items.size(); ++i)
                caseItem(tested, clause.items[i], i + 1 == clause.items.size(), body, next);
            bind(body);
            compileBlock(clause.body);
            locals_->joinInto(after);
            if (&clause != &statement.cases.back())
                jump(end, {Op::Jump}, clause.position);
            bind(next);
        }
        if (!hasElse) {
            locals_->restore(before);
            locals_->joinInto(after);
        }
        bind(end);
        locals_->restore(after);
        code_->setFloor(savedFloor);
        code_->release(savedFloor);
    }

    // Jumps to `body` when the tested value matches the item. The last item of a Case instead
    // jumps to `next` when it does not match, and falls through into the body when it does.
    void caseItem(const Operand& tested, const CaseItem& item, bool last, Label& body,
                  Label& next) {
        const int mark = code_->mark();
        Label& target = last ? next : body;
        if (item.kind != CaseItem::Kind::Range) {
            const Comparison comparison =
                item.kind == CaseItem::Kind::Is ? item.comparison : Comparison::Equal;
            compareBranch(tested, compileExpression(*item.first), comparison, !last, target,
                          item.position, mark);
            code_->release(mark);
            return;
        }
        Label outside;
        compareBranch(tested, compileExpression(*item.first), Comparison::Less, true,
                      last ? next : outside, item.position, mark);
        code_->release(mark);
        compareBranch(tested, compileExpression(*item.last), Comparison::LessEqual, !last, target,
                      item.last->position, mark);
        bind(outside);
        code_->release(mark);
    }

    // ---- conditions: code that jumps to `target` when the expression's truth is `jumpIf`

    void condition(const Expression& expression, bool jumpIf, Label& target) {
        if (expression.kind == Expression::Kind::Binary && isComparison(expression.binary)) {
            const int mark = code_->mark();
            const Operand left = compileExpression(*expression.operands[0]);
            const Operand right = compileExpression(*expression.operands[1]);
            compareBranch(left, right, comparisonOf(expression.binary), jumpIf, target,
                          expression.position, mark);
            return;
        }
        if (expression.kind == Expression::Kind::Unary && expression.unary == UnaryOperator::Not &&
            isBoolean(*expression.operands[0])) {
            condition(*expression.operands[0], !jumpIf, target);
            return;
        }
        if (shortCircuits(expression)) {
            // Both sides are Booleans and one of them cannot fail. That one is tested last:
            // skipping it when the other decides gives what evaluating both would.
            const Expression& left = *expression.operands[0];
            const Expression& right = *expression.operands[1];
            const bool rightLast = cannotFail(right);
            const Expression& first = rightLast ? left : right;
            const Expression& last = rightLast ? right : left;
            const bool isAnd = expression.binary == BinaryOperator::And;
            if (jumpIf != isAnd) {
                condition(first, jumpIf, target);
                condition(last, jumpIf, target);
            } else {
                Label decided;
                condition(first, !jumpIf, decided);
                condition(last, jumpIf, target);
                bind(decided);
            }
            return;
        }
        truthBranch(compileExpression(expression), jumpIf, target, expression.position);
    }

    void truthBranch(const Operand& value, bool jumpIf, Label& target, SourcePosition where) {
        if (value.constant) {
            bool truth = false;
            if (operators::truth(fold_, value.value, truth)) {
                if (truth == jumpIf)
                    jump(target, {Op::Jump}, where);
                return;
            }
        }
        const int slot = materialize(value, where);
        jump(target, {jumpIf ? Op::JumpIfTrue : Op::JumpIfFalse, 0, slot}, where);
    }

    void compareBranch(const Operand& left, const Operand& right, Comparison comparison,
                       bool jumpIf, Label& target, SourcePosition where, int mark) {
        const Comparison tested = jumpIf ? comparison : arithmetic::inverted(comparison);
        if (!(left.constant && right.constant) && left.within(ScalarTypes) &&
            right.within(ScalarTypes)) {
            if (right.constant)
                return jump(target,
                            {offset(Op::JumpEqNK, tested), 0, left.slot, 0, 0, right.value.number},
                            where);
            if (left.constant)
                return jump(target,
                            {offset(Op::JumpEqNK, arithmetic::mirrored(tested)), 0, right.slot, 0,
                             0, left.value.number},
                            where);
            return jump(target, {offset(Op::JumpEqN, tested), 0, left.slot, right.slot}, where);
        }
        truthBranch(compare(left, right, comparison, where, mark), jumpIf, target, where);
    }

    // ---- expressions

    Operand compileExpression(const Expression& expression) {
        switch (expression.kind) {
        case Expression::Kind::Number:
            return Operand::ofConstant(FormulaValue::makeNumber(expression.number), true);
        case Expression::Kind::Boolean:
            return Operand::ofConstant(FormulaValue::makeBoolean(expression.number != 0), true);
        case Expression::Kind::Date:
            return Operand::ofConstant(FormulaValue::makeDate(expression.number), true);
        case Expression::Kind::String:
            return Operand::ofConstant(FormulaValue::makeString(fold_.keep(expression.text)), true);
        case Expression::Kind::Result: {
            const int alias = resultAlias_[size_t(expression.field)];
            const int slot = alias >= 0 ? alias : FormulaProgram::resultSlot(expression.field);
            return Operand::ofSlot(slot, NumberType);
        }
        case Expression::Kind::Name:
            return compileName(expression);
        case Expression::Kind::Call:
            return compileCall(expression);
        case Expression::Kind::Unary:
            return compileUnary(expression);
        case Expression::Kind::Binary:
            return compileBinary(expression);
        }
        return Operand();
    }

    Operand useInput(InputKind input) {
        std::vector<InputKind>& inputs = program_->inputs;
        if (std::find(inputs.begin(), inputs.end(), input) == inputs.end()) {
            inputs.push_back(input);
            double RowInputs::*member = FormulaNameTable::numberMember(input);
            if (member || input == InputKind::Hours)
                program_->numberInputs.push_back({FormulaProgram::inputSlot(input), member});
            else
                program_->otherInputs.push_back(input);
        }
        if (input == InputKind::ITypedLines || input == InputKind::IHoursWorked)
            program_->usesIncentiveFunctions = true;
        return Operand::ofSlot(FormulaProgram::inputSlot(input),
                               FormulaNameTable::inputTypes(input));
    }

    Operand compileName(const Expression& expression) {
        const int index = localIndex(expression.text);
        if (index >= 0)
            return readLocal(index);
        const NameEntry* entry = FormulaNameTable::find(expression.text);
        if (!entry)
            fail(N::UndefinedVariable, expression.text, expression.position);
        switch (entry->kind) {
        case NameEntry::Kind::Input:
            return useInput(entry->input);
        case NameEntry::Kind::Constant:
            return Operand::ofConstant(FormulaValue::makeNumber(entry->constant), true);
        case NameEntry::Kind::Refused:
            refuse(*entry, expression.position);
        case NameEntry::Kind::Function:
            break;
        }
        return compileFunction(expression, *entry);
    }

    Operand compileCall(const Expression& expression) {
        if (localIndex(expression.text) >= 0)
            fail(N::TypeMismatch, expression.text, expression.position); // no arrays
        const NameEntry* entry = FormulaNameTable::find(expression.text);
        if (!entry)
            fail(N::UndefinedVariable, expression.text, expression.position);
        if (entry->kind == NameEntry::Kind::Refused)
            refuse(*entry, expression.position);
        if (entry->kind != NameEntry::Kind::Function)
            fail(N::TypeMismatch, expression.text, expression.position);
        return compileFunction(expression, *entry);
    }

    Operand compileFunction(const Expression& expression, const NameEntry& entry) {
        const BuiltinId id = entry.function;
        const BuiltinInfo& info = FormulaBuiltins::info(id);
        const int count = int(expression.operands.size());
        if (id == BuiltinId::IsLastDayOfMonth && count == 0)
            return useInput(InputKind::IsLastDayOfMonth);
        if (count < info.minArguments || count > info.maxArguments)
            fail(N::WrongArgumentCount, entry.canonical, expression.position);
        if (FormulaBuiltins::isPeriodFunction(id))
            return compilePeriod(expression, id, entry);

        // A generic call reads its arguments from consecutive slots. Computed arguments are
        // written there at once; locals and inputs are copied only if the call is generic
        // (nothing can change them in between: expressions have no side effects).
        const int first = code_->mark();
        for (int i = 0; i < count; ++i)
            allocTemp();
        std::vector<Operand> arguments;
        bool computedLast = false;
        for (int i = 0; i < count; ++i) {
            const Expression& argument = *expression.operands[size_t(i)];
            const size_t codeBefore = code_->size();
            Operand operand = compileExpression(argument);
            computedLast = i == 0 ? operand.isTemp : computedLast && code_->size() == codeBefore;
            if (operand.isTemp) {
                store(operand, first + i, argument.position);
                operand = Operand::ofSlot(first + i, operand.types);
            }
            arguments.push_back(operand);
            code_->release(first + count);
        }
        const TypeSet types = resultTypes(id, arguments);
        Operand result;
        if (info.pure && foldCall(info, arguments, result)) {
            code_->release(first);
            return result;
        }
        code_->release(first);
        if (fastCall(id, arguments, computedLast, expression.position, result))
            return result;
        for (int i = 0; i < count; ++i)
            store(arguments[size_t(i)], first + i, expression.position);
        return emitResult({Op::Call, std::uint8_t(id), first, count}, expression.position, types);
    }

    static TypeSet resultTypes(BuiltinId id, const std::vector<Operand>& arguments) {
        const BuiltinInfo& info = FormulaBuiltins::info(id);
        if (id == BuiltinId::IIf)
            return arguments[1].types | arguments[2].types;
        if (info.keepsDate && !(arguments[0].types & DateType))
            return NumberType;
        return info.result;
    }

    bool foldCall(const BuiltinInfo& info, const std::vector<Operand>& arguments, Operand& folded) {
        std::vector<FormulaValue> values;
        for (const Operand& argument : arguments) {
            if (!argument.constant)
                return false;
            values.push_back(argument.value);
        }
        FormulaValue result;
        if (!info.function(fold_, values.data(), int(values.size()), result))
            return false; // the error is raised when the formula runs, as VBScript does
        folded = Operand::ofConstant(result, false);
        return true;
    }

    // Round, Min and Max of numbers: the commonest calls of pay formulas.
    // `computedLast`: the last instruction computed the first argument (into its slot).
    bool fastCall(BuiltinId id, const std::vector<Operand>& arguments, bool computedLast,
                  SourcePosition where, Operand& result) {
        if (id == BuiltinId::Round && arguments[0].within(ArithmeticTypes) &&
            !arguments[0].constant) {
            const double digits = arguments.size() > 1 ? arguments[1].value.number : 0;
            if (arguments.size() > 1 &&
                !(arguments[1].constant && arguments[1].within(ArithmeticTypes) && digits >= 0 &&
                  digits <= 15 && digits == std::trunc(digits)))
                return false;
            Instruction& last = code_->last();
            if (computedLast && last.c == arguments[0].slot &&
                (last.op == Op::MulN || last.op == Op::MulNK)) {
                // Round(a * b, n) in one step.
                if (last.op == Op::MulN)
                    last.k = digits;
                else
                    last.k2 = digits;
                last.op = last.op == Op::MulN ? Op::RoundMulN : Op::RoundMulNK;
                code_->markLastComputed();
                result = Operand::ofSlot(last.c, NumberType, true);
                return true;
            }
            result =
                emitResult({Op::RoundN, 0, arguments[0].slot, 0, 0, digits}, where, NumberType);
            return true;
        }
        if ((id != BuiltinId::Min && id != BuiltinId::Max) || arguments.size() != 2 ||
            !arguments[0].within(ArithmeticTypes) || !arguments[1].within(ArithmeticTypes) ||
            (arguments[0].constant && arguments[1].constant))
            return false;
        const bool min = id == BuiltinId::Min;
        const Operand& a = arguments[0];
        const Operand& b = arguments[1];
        if (a.constant || b.constant) {
            const Operand& variable = a.constant ? b : a;
            const Operand& constant = a.constant ? a : b;
            result = emitResult(
                {min ? Op::MinNK : Op::MaxNK, 0, variable.slot, 0, 0, constant.value.number}, where,
                NumberType);
        } else {
            result = emitResult({min ? Op::MinN : Op::MaxN, 0, a.slot, b.slot}, where, NumberType);
        }
        return true;
    }

    Operand compilePeriod(const Expression& expression, BuiltinId id, const NameEntry& entry) {
        program_->usesPeriodFunctions = true;
        const std::uint8_t period =
            std::uint8_t(id == BuiltinId::WeekToDate
                             ? Period::Week
                             : (id == BuiltinId::MonthToDate ? Period::Month : Period::Year));
        const int mark = code_->mark();
        const Expression& nameArgument = *expression.operands[0];
        const Operand name = compileExpression(nameArgument);
        Operand all = Operand::ofConstant(FormulaValue::makeBoolean(false), true);
        if (expression.operands.size() > 1)
            all = compileExpression(*expression.operands[1]);
        bool allConstant = false;
        const bool allKnown = all.constant && toBoolean(all.value, allConstant);
        const int allSlot = allKnown ? -1 : materialize(all, expression.position);
        const double allValue = allConstant ? 1 : 0;
        if (name.constant) {
            Measure measure = Measure::Reports;
            if (!FormulaNameTable::findMeasure(valueText(name.value), measure))
                fail(N::InvalidArgument, entry.canonical, nameArgument.position);
            code_->release(mark);
            return emitResult({Op::Period, period, allSlot, int(measure), 0, allValue},
                              expression.position, NumberType);
        }
        const int nameSlot = name.slot;
        code_->release(mark);
        return emitResult({Op::PeriodByName, period, nameSlot, allSlot, 0, allValue},
                          expression.position, NumberType);
    }

    Operand compileUnary(const Expression& expression) {
        const Expression& inner = *expression.operands[0];
        const Operand operand = compileExpression(inner);
        const SourcePosition where = expression.position;
        if (expression.unary == UnaryOperator::Plus)
            return operand;
        const bool negate = expression.unary == UnaryOperator::Negate;
        if (operand.constant) {
            FormulaValue result;
            const bool folded = negate ? operators::negate(fold_, operand.value, result)
                                       : operators::logicalNot(fold_, operand.value, result);
            // -12 written in the text is still a literal.
            if (folded)
                return Operand::ofConstant(result, negate && operand.hard &&
                                                       inner.kind == Expression::Kind::Number);
        }
        const int mark = code_->mark();
        const int slot = materialize(operand, where);
        code_->release(mark);
        if (negate) {
            if (operand.within(ArithmeticTypes))
                return emitResult({Op::NegN, 0, slot}, where, NumberType);
            return emitResult({Op::Negate, 0, slot}, where,
                              operand.types & DateType ? NumberType | DateType : NumberType);
        }
        if (operand.types == BooleanType)
            return emitResult({Op::NotB, 0, slot}, where, BooleanType);
        return emitResult({Op::Not, 0, slot}, where, BooleanType | NumberType);
    }

    Operand compileBinary(const Expression& expression) {
        const int mark = code_->mark();
        const Operand left = compileExpression(*expression.operands[0]);
        const Operand right = compileExpression(*expression.operands[1]);
        const SourcePosition where = expression.position;
        const BinaryOperator op = expression.binary;
        if (left.constant && right.constant) {
            FormulaValue result;
            if (foldBinary(op, left, right, result))
                return Operand::ofConstant(result, false);
        }
        if (isComparison(op))
            return compare(left, right, comparisonOf(op), where, mark);
        Operand result;
        if (arithmeticFast(op, left, right, where, mark, result))
            return result;
        const int a = materialize(left, where);
        const int b = materialize(right, where);
        code_->release(mark);
        if ((op == BinaryOperator::And || op == BinaryOperator::Or || op == BinaryOperator::Xor) &&
            left.types == BooleanType && right.types == BooleanType) {
            const Op logic = op == BinaryOperator::And
                                 ? Op::AndB
                                 : (op == BinaryOperator::Or ? Op::OrB : Op::XorB);
            return emitResult({logic, 0, a, b}, where, BooleanType);
        }
        return emitResult({genericOp(op), 0, a, b}, where, genericTypes(op, left, right));
    }

    bool foldBinary(BinaryOperator op, const Operand& left, const Operand& right,
                    FormulaValue& result) {
        if (isComparison(op))
            return operators::compare(fold_, left.value, right.value, comparisonOf(op), left.hard,
                                      right.hard, result);
        const FormulaValue& a = left.value;
        const FormulaValue& b = right.value;
        switch (op) {
        case BinaryOperator::Power:
            return operators::power(fold_, a, b, result);
        case BinaryOperator::Multiply:
            return operators::multiply(fold_, a, b, result);
        case BinaryOperator::Divide:
            return operators::divide(fold_, a, b, result);
        case BinaryOperator::IntegerDivide:
            return operators::integerDivide(fold_, a, b, result);
        case BinaryOperator::Modulo:
            return operators::modulo(fold_, a, b, result);
        case BinaryOperator::Add:
            return operators::add(fold_, a, b, result);
        case BinaryOperator::Subtract:
            return operators::subtract(fold_, a, b, result);
        case BinaryOperator::Concatenate:
            return operators::concatenate(fold_, a, b, result);
        case BinaryOperator::And:
            return operators::logicalAnd(fold_, a, b, result);
        case BinaryOperator::Or:
            return operators::logicalOr(fold_, a, b, result);
        case BinaryOperator::Xor:
            return operators::logicalXor(fold_, a, b, result);
        default:
            return false;
        }
    }

    // `mark` is where the temporaries of the operands begin: the result may reuse them.
    Operand compare(const Operand& left, const Operand& right, Comparison comparison,
                    SourcePosition where, int mark) {
        if (left.constant && right.constant) {
            FormulaValue result;
            if (operators::compare(fold_, left.value, right.value, comparison, left.hard,
                                   right.hard, result))
                return Operand::ofConstant(result, false);
        }
        if (left.within(ScalarTypes) && right.within(ScalarTypes) &&
            !(left.constant && right.constant)) {
            code_->release(mark);
            if (right.constant)
                return emitResult(
                    {offset(Op::EqNK, comparison), 0, left.slot, 0, 0, right.value.number}, where,
                    BooleanType);
            if (left.constant)
                return emitResult({offset(Op::EqNK, arithmetic::mirrored(comparison)), 0,
                                   right.slot, 0, 0, left.value.number},
                                  where, BooleanType);
            return emitResult({offset(Op::EqN, comparison), 0, left.slot, right.slot}, where,
                              BooleanType);
        }
        const int a = materialize(left, where);
        const int b = materialize(right, where);
        code_->release(mark);
        const std::uint8_t aux = std::uint8_t(int(comparison) | (left.hard ? HardLeft : 0) |
                                              (right.hard ? HardRight : 0));
        return emitResult({Op::Compare, aux, a, b}, where, BooleanType);
    }

    bool arithmeticFast(BinaryOperator op, const Operand& left, const Operand& right,
                        SourcePosition where, int mark, Operand& result) {
        if (!left.within(ArithmeticTypes) || !right.within(ArithmeticTypes))
            return false;
        Op slots = Op::End;
        Op withRight = Op::End; // a op k
        Op withLeft = Op::End;  // k op a
        switch (op) {
        case BinaryOperator::Add:
            slots = Op::AddN, withRight = Op::AddNK, withLeft = Op::AddNK;
            break;
        case BinaryOperator::Subtract:
            slots = Op::SubN, withRight = Op::SubNK, withLeft = Op::SubKN;
            break;
        case BinaryOperator::Multiply:
            slots = Op::MulN, withRight = Op::MulNK, withLeft = Op::MulNK;
            break;
        case BinaryOperator::Divide:
            slots = Op::DivN, withRight = Op::DivNK, withLeft = Op::DivKN;
            break;
        case BinaryOperator::Power:
            slots = Op::PowN, withRight = Op::PowNK;
            break;
        case BinaryOperator::IntegerDivide:
            slots = Op::IntDivN;
            break;
        case BinaryOperator::Modulo:
            slots = Op::ModN;
            break;
        default:
            return false;
        }
        if (right.constant && !left.constant && withRight != Op::End) {
            code_->release(mark);
            result =
                emitResult({withRight, 0, left.slot, 0, 0, right.value.number}, where, NumberType);
            return true;
        }
        if (left.constant && !right.constant && withLeft != Op::End) {
            code_->release(mark);
            result =
                emitResult({withLeft, 0, right.slot, 0, 0, left.value.number}, where, NumberType);
            return true;
        }
        const int a = materialize(left, where);
        const int b = materialize(right, where);
        code_->release(mark);
        result = emitResult({slots, 0, a, b}, where, NumberType);
        return true;
    }

    static Op genericOp(BinaryOperator op) {
        switch (op) {
        case BinaryOperator::Power:
            return Op::Power;
        case BinaryOperator::Multiply:
            return Op::Multiply;
        case BinaryOperator::Divide:
            return Op::Divide;
        case BinaryOperator::IntegerDivide:
            return Op::IntegerDivide;
        case BinaryOperator::Modulo:
            return Op::Modulo;
        case BinaryOperator::Add:
            return Op::Add;
        case BinaryOperator::Subtract:
            return Op::Subtract;
        case BinaryOperator::Concatenate:
            return Op::Concatenate;
        case BinaryOperator::And:
            return Op::And;
        case BinaryOperator::Or:
            return Op::Or;
        default:
            return Op::Xor;
        }
    }

    static TypeSet genericTypes(BinaryOperator op, const Operand& left, const Operand& right) {
        const TypeSet both = left.types | right.types;
        switch (op) {
        case BinaryOperator::Add:
            if (both & StringType)
                return NumberType | StringType | DateType;
            return both & DateType ? NumberType | DateType : NumberType;
        case BinaryOperator::Subtract:
            return both & (DateType | StringType) ? NumberType | DateType : NumberType;
        case BinaryOperator::Concatenate:
            return StringType;
        case BinaryOperator::And:
        case BinaryOperator::Or:
        case BinaryOperator::Xor:
            return BooleanType | NumberType;
        default:
            return NumberType;
        }
    }

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

    std::unique_ptr<FormulaProgram> program_;
    std::optional<FormulaCodeBuilder> code_; // set up once the locals are known
    FormulaRuntime fold_;
    int depth_ = 0;
    int topLevelIndex_ = -1;
    std::array<int, 3> lastAssignment_ = {-1, -1, -1};
    std::array<int, 3> resultAlias_ = {-1, -1, -1}; // folds constants; its texts are the program's
    std::optional<FormulaLocals> locals_;           // set up from the statements in run()
};

} // namespace

std::unique_ptr<FormulaProgram> FormulaCompiler::compile(const Block& statements) {
    return Compiler().run(statements);
}

} // namespace velora::engine
