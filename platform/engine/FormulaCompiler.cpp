#include "FormulaCompiler.h"

#include "FormulaBuiltins.h"
#include "FormulaNameTable.h"
#include "FormulaOperators.h"
#include "FormulaRuntime.h"

#include <QHash>
#include <algorithm>

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

// What an expression compiled to: a slot holding its value, or a constant not yet placed.
struct Operand {
    bool constant = false;
    int slot = -1;
    FormulaValue value; // constant
    TypeSet types = AnyType;
    bool hard = false;   // written as a literal (VBScript's hard type, for comparisons)
    bool isTemp = false; // a temporary this expression wrote last: it may be retargeted

    static Operand ofConstant(const FormulaValue& value, bool hard) {
        Operand operand;
        operand.constant = true;
        operand.value = value;
        operand.types = typeBit(value.type);
        operand.hard = hard;
        return operand;
    }
    static Operand ofSlot(int slot, TypeSet types, bool isTemp = false) {
        Operand operand;
        operand.slot = slot;
        operand.types = types;
        operand.isTemp = isTemp;
        return operand;
    }
    bool within(TypeSet allowed) const { return typesWithin(types, allowed); }
};

// A jump target that may not be known yet.
struct Label {
    std::vector<size_t> uses;
    int target = -1;
};

class Compiler {
public:
    Compiler()
        : program_(std::make_unique<FormulaProgram>())
        , fold_(program_->texts) {}

    std::unique_ptr<FormulaProgram> run(const Block& statements) {
        collectLocals(statements);
        localTypes_.assign(program_->localNames.size(), typeBit(ValueType::Empty));
        dimmed_.assign(program_->localNames.size(), false);
        tempBase_ = FormulaProgram::FirstLocalSlot + int(program_->localNames.size());
        tempTop_ = tempFloor_ = tempBase_;
        frameSize_ = tempBase_;
        compileBlock(statements);
        emit({Op::End}, SourcePosition());
        program_->frameSize = frameSize_;
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

    // ---- locals: every name given to Dim or assigned anywhere is a local of the whole formula

    static QString key(const QString& name) { return name.toLower(); }

    void declare(const QString& name) {
        if (FormulaNameTable::find(name) || locals_.contains(key(name)) ||
            key(name) == QLatin1String("results"))
            return; // an input or function: refused where the statement is compiled
        locals_.insert(key(name), int(program_->localNames.size()));
        program_->localNames.push_back(name);
    }

    void collectLocals(const Block& block) {
        for (const StatementPtr& statement : block) {
            for (const NameAt& name : statement->names)
                declare(name.name);
            if (statement->kind == Statement::Kind::AssignLocal)
                declare(statement->target.name);
            for (const Branch& branch : statement->branches)
                collectLocals(branch.body);
            collectLocals(statement->elseBody);
            for (const CaseClause& clause : statement->cases)
                collectLocals(clause.body);
        }
    }

    int localIndex(const QString& name) const { return locals_.value(key(name), -1); }
    static int localSlot(int index) { return FormulaProgram::FirstLocalSlot + index; }

    // ---- emitting

    size_t emit(Instruction instruction, SourcePosition where) {
        program_->code.push_back(instruction);
        program_->positions.push_back(where);
        return program_->code.size() - 1;
    }

    int allocTemp() {
        const int slot = tempTop_++;
        frameSize_ = std::max(frameSize_, tempTop_);
        return slot;
    }

    // An instruction that writes its result into a new temporary.
    Operand emitResult(Instruction instruction, SourcePosition where, TypeSet types) {
        instruction.c = allocTemp();
        lastResult_ = emit(instruction, where);
        return Operand::ofSlot(instruction.c, types, true);
    }

    void jump(Label& label, Instruction instruction, SourcePosition where) {
        const size_t at = emit(instruction, where);
        if (label.target >= 0)
            program_->code[at].c = label.target;
        else
            label.uses.push_back(at);
    }

    void bind(Label& label) {
        label.target = int(program_->code.size());
        for (size_t use : label.uses)
            program_->code[use].c = label.target;
        label.uses.clear();
    }

    int constantIndex(const FormulaValue& value) {
        program_->constants.push_back(value);
        return int(program_->constants.size() - 1);
    }

    void loadConstant(const FormulaValue& value, int slot, SourcePosition where) {
        if (value.type == ValueType::Number)
            emit({Op::LoadNumber, 0, 0, 0, slot, value.number}, where);
        else
            emit({Op::LoadConstant, 0, 0, constantIndex(value), slot, 0}, where);
    }

    // The slot of an operand, placing a constant in a temporary first.
    int materialize(const Operand& operand, SourcePosition where) {
        if (!operand.constant)
            return operand.slot;
        const int slot = allocTemp();
        loadConstant(operand.value, slot, where);
        return slot;
    }

    // Puts the operand's value into `slot`: the instruction that computed it writes there
    // directly when it can.
    void store(const Operand& operand, int slot, SourcePosition where) {
        if (operand.constant) {
            loadConstant(operand.value, slot, where);
        } else if (operand.isTemp && !program_->code.empty() &&
                   lastResult_ == program_->code.size() - 1 &&
                   program_->code.back().c == operand.slot) {
            program_->code.back().c = slot;
        } else if (operand.slot != slot) {
            emit({Op::Move, 0, operand.slot, 0, slot, 0}, where);
        }
    }

    // ---- statements

    void compileBlock(const Block& block) {
        for (const StatementPtr& statement : block) {
            compileStatement(*statement);
            tempTop_ = tempFloor_;
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
            if (index < 0 || dimmed_[size_t(index)])
                fail(N::NameRedefined, name.name, name.position);
            dimmed_[size_t(index)] = true;
        }
    }

    void compileAssignLocal(const Statement& statement) {
        const int index = localIndex(statement.target.name);
        if (index < 0)
            fail(N::IllegalAssignment, statement.target.name, statement.target.position);
        const Operand value = compileExpression(*statement.value);
        store(value, localSlot(index), statement.position);
        localTypes_[size_t(index)] = value.types;
    }

    // Results are Doubles: the value is converted when it is assigned, as a property of that
    // type converts it.
    void compileAssignResult(const Statement& statement) {
        const int slot = FormulaProgram::resultSlot(statement.field);
        const SourcePosition where = statement.value->position;
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

    // The branches of an If see the local types from before it; after it a local may have
    // the types any branch left it with.
    void compileIf(const Statement& statement) {
        const std::vector<TypeSet> before = localTypes_;
        std::vector<TypeSet> after(before.size(), 0);
        Label end;
        for (size_t i = 0; i < statement.branches.size(); ++i) {
            const Branch& branch = statement.branches[i];
            Label next;
            condition(*branch.condition, false, next);
            tempTop_ = tempFloor_;
            localTypes_ = before;
            compileBlock(branch.body);
            merge(after);
            const bool last = i + 1 == statement.branches.size();
            if (!last || !statement.elseBody.empty())
                jump(end, {Op::Jump}, branch.condition->position);
            bind(next);
        }
        localTypes_ = before;
        compileBlock(statement.elseBody);
        merge(after);
        bind(end);
        localTypes_ = after;
    }

    void merge(std::vector<TypeSet>& into) const {
        for (size_t i = 0; i < into.size(); ++i)
            into[i] |= localTypes_[i];
    }

    void compileSelect(const Statement& statement) {
        const int savedFloor = tempFloor_;
        const Operand tested = compileExpression(*statement.value);
        tempFloor_ = tempTop_; // the tested value lives until End Select
        const std::vector<TypeSet> before = localTypes_;
        std::vector<TypeSet> after(before.size(), 0);
        bool hasElse = false;
        Label end;
        for (const CaseClause& clause : statement.cases) {
            localTypes_ = before;
            if (clause.isElse) {
                hasElse = true;
                compileBlock(clause.body);
                merge(after);
                continue;
            }
            Label body;
            Label next;
            for (const CaseItem& item : clause.items)
                caseItem(tested, item, body);
            jump(next, {Op::Jump}, clause.position);
            bind(body);
            compileBlock(clause.body);
            merge(after);
            jump(end, {Op::Jump}, clause.position);
            bind(next);
        }
        if (!hasElse) {
            localTypes_ = before;
            merge(after);
        }
        bind(end);
        localTypes_ = after;
        tempFloor_ = savedFloor;
        tempTop_ = savedFloor;
    }

    // Jumps to `body` when the tested value matches the item.
    void caseItem(const Operand& tested, const CaseItem& item, Label& body) {
        const int mark = tempTop_;
        switch (item.kind) {
        case CaseItem::Kind::Value:
            compareBranch(tested, compileExpression(*item.first), Comparison::Equal, true, body,
                          item.position, mark);
            break;
        case CaseItem::Kind::Is:
            compareBranch(tested, compileExpression(*item.first), item.comparison, true, body,
                          item.position, mark);
            break;
        case CaseItem::Kind::Range: {
            Label outside;
            compareBranch(tested, compileExpression(*item.first), Comparison::Less, true,
                          outside, item.position, mark);
            tempTop_ = mark;
            compareBranch(tested, compileExpression(*item.last), Comparison::LessEqual, true,
                          body, item.last->position, mark);
            bind(outside);
            break;
        }
        }
        tempTop_ = mark;
    }

    // ---- conditions: code that jumps to `target` when the expression's truth is `jumpIf`

    void condition(const Expression& expression, bool jumpIf, Label& target) {
        if (expression.kind == Expression::Kind::Binary && isComparison(expression.binary)) {
            const int mark = tempTop_;
            const Operand left = compileExpression(*expression.operands[0]);
            const Operand right = compileExpression(*expression.operands[1]);
            compareBranch(left, right, comparisonOf(expression.binary), jumpIf, target,
                          expression.position, mark);
            return;
        }
        if (expression.kind == Expression::Kind::Unary &&
            expression.unary == UnaryOperator::Not && isBoolean(*expression.operands[0])) {
            condition(*expression.operands[0], !jumpIf, target);
            return;
        }
        if (shortCircuits(expression)) {
            // Both sides are Booleans and the right one cannot fail, so skipping it when the
            // left one decides gives what evaluating both would.
            const bool isAnd = expression.binary == BinaryOperator::And;
            if (jumpIf != isAnd) {
                condition(*expression.operands[0], jumpIf, target);
                condition(*expression.operands[1], jumpIf, target);
            } else {
                Label decided;
                condition(*expression.operands[0], !jumpIf, decided);
                condition(*expression.operands[1], jumpIf, target);
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
                return jump(target, {offset(Op::JumpEqNK, tested), 0, left.slot, 0, 0,
                                     right.value.number},
                            where);
            if (left.constant)
                return jump(target, {offset(Op::JumpEqNK, arithmetic::mirrored(tested)), 0,
                                     right.slot, 0, 0, left.value.number},
                            where);
            return jump(target, {offset(Op::JumpEqN, tested), 0, left.slot, right.slot}, where);
        }
        truthBranch(compare(left, right, comparison, where, mark), jumpIf, target, where);
    }

    // ---- static knowledge used to simplify conditions

    // The types a name or literal has here, without compiling it; 0 when not that simple.
    TypeSet simpleTypes(const Expression& expression) const {
        switch (expression.kind) {
        case Expression::Kind::Number:
            return NumberType;
        case Expression::Kind::Boolean:
            return BooleanType;
        case Expression::Kind::Date:
            return DateType;
        case Expression::Kind::String:
            return StringType;
        case Expression::Kind::Result:
            return NumberType;
        case Expression::Kind::Name: {
            const int index = localIndex(expression.text);
            if (index >= 0)
                return localTypes_[size_t(index)];
            const NameEntry* entry = FormulaNameTable::find(expression.text);
            if (entry && entry->kind == NameEntry::Kind::Input)
                return FormulaNameTable::inputTypes(entry->input);
            if (entry && entry->kind == NameEntry::Kind::Constant)
                return NumberType;
            return 0;
        }
        default:
            return 0;
        }
    }

    bool isBoolean(const Expression& expression) const {
        if (expression.kind == Expression::Kind::Binary) {
            if (isComparison(expression.binary))
                return true;
            if (expression.binary == BinaryOperator::And ||
                expression.binary == BinaryOperator::Or ||
                expression.binary == BinaryOperator::Xor)
                return isBoolean(*expression.operands[0]) && isBoolean(*expression.operands[1]);
            return false;
        }
        if (expression.kind == Expression::Kind::Unary && expression.unary == UnaryOperator::Not)
            return isBoolean(*expression.operands[0]);
        return simpleTypes(expression) == BooleanType;
    }

    // Evaluating the expression cannot fail.
    bool cannotFail(const Expression& expression) const {
        if (expression.kind == Expression::Kind::Binary) {
            const Expression& left = *expression.operands[0];
            const Expression& right = *expression.operands[1];
            if (isComparison(expression.binary))
                return typesWithin(simpleTypes(left), ScalarTypes) &&
                       typesWithin(simpleTypes(right), ScalarTypes);
            if (expression.binary == BinaryOperator::And ||
                expression.binary == BinaryOperator::Or ||
                expression.binary == BinaryOperator::Xor)
                return isBoolean(left) && isBoolean(right) && cannotFail(left) &&
                       cannotFail(right);
            return false;
        }
        if (expression.kind == Expression::Kind::Unary && expression.unary == UnaryOperator::Not)
            return isBoolean(*expression.operands[0]) && cannotFail(*expression.operands[0]);
        return simpleTypes(expression) != 0;
    }

    bool shortCircuits(const Expression& expression) const {
        return expression.kind == Expression::Kind::Binary &&
               (expression.binary == BinaryOperator::And ||
                expression.binary == BinaryOperator::Or) &&
               isBoolean(*expression.operands[0]) && isBoolean(*expression.operands[1]) &&
               cannotFail(*expression.operands[1]);
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
            return Operand::ofConstant(FormulaValue::makeString(fold_.keep(expression.text)),
                                       true);
        case Expression::Kind::Result:
            return Operand::ofSlot(FormulaProgram::resultSlot(expression.field), NumberType);
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
        if (std::find(inputs.begin(), inputs.end(), input) == inputs.end())
            inputs.push_back(input);
        if (input == InputKind::ITypedLines || input == InputKind::IHoursWorked)
            program_->usesIncentiveFunctions = true;
        return Operand::ofSlot(FormulaProgram::inputSlot(input),
                               FormulaNameTable::inputTypes(input));
    }

    Operand compileName(const Expression& expression) {
        const int index = localIndex(expression.text);
        if (index >= 0)
            return Operand::ofSlot(localSlot(index), localTypes_[size_t(index)]);
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
        const int first = tempTop_;
        for (int i = 0; i < count; ++i)
            allocTemp();
        std::vector<Operand> arguments;
        for (int i = 0; i < count; ++i) {
            const Expression& argument = *expression.operands[size_t(i)];
            Operand operand = compileExpression(argument);
            if (operand.isTemp) {
                store(operand, first + i, argument.position);
                operand = Operand::ofSlot(first + i, operand.types);
            }
            arguments.push_back(operand);
            tempTop_ = first + count;
        }
        const TypeSet types = resultTypes(id, arguments);
        Operand result;
        if (info.pure && foldCall(info, arguments, result)) {
            tempTop_ = first;
            return result;
        }
        tempTop_ = first;
        if (fastCall(id, arguments, expression.position, result))
            return result;
        for (int i = 0; i < count; ++i)
            store(arguments[size_t(i)], first + i, expression.position);
        return emitResult({Op::Call, std::uint8_t(id), first, count}, expression.position,
                          types);
    }

    static TypeSet resultTypes(BuiltinId id, const std::vector<Operand>& arguments) {
        const BuiltinInfo& info = FormulaBuiltins::info(id);
        if (id == BuiltinId::IIf)
            return arguments[1].types | arguments[2].types;
        if (info.keepsDate && !(arguments[0].types & DateType))
            return NumberType;
        return info.result;
    }

    bool foldCall(const BuiltinInfo& info, const std::vector<Operand>& arguments,
                  Operand& folded) {
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
    bool fastCall(BuiltinId id, const std::vector<Operand>& arguments, SourcePosition where,
                  Operand& result) {
        if (id == BuiltinId::Round && arguments[0].within(ArithmeticTypes) &&
            !arguments[0].constant) {
            const double digits = arguments.size() > 1 ? arguments[1].value.number : 0;
            if (arguments.size() > 1 &&
                !(arguments[1].constant && arguments[1].within(ArithmeticTypes) &&
                  digits >= 0 && digits <= 15 && digits == std::trunc(digits)))
                return false;
            result = emitResult({Op::RoundN, 0, arguments[0].slot, 0, 0, digits}, where,
                                NumberType);
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
            result = emitResult({min ? Op::MinNK : Op::MaxNK, 0, variable.slot, 0, 0,
                                 constant.value.number},
                                where, NumberType);
        } else {
            result = emitResult({min ? Op::MinN : Op::MaxN, 0, a.slot, b.slot}, where,
                                NumberType);
        }
        return true;
    }

    Operand compilePeriod(const Expression& expression, BuiltinId id, const NameEntry& entry) {
        program_->usesPeriodFunctions = true;
        const std::uint8_t period = std::uint8_t(
            id == BuiltinId::WeekToDate ? Period::Week
                                        : (id == BuiltinId::MonthToDate ? Period::Month
                                                                        : Period::Year));
        const int mark = tempTop_;
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
            tempTop_ = mark;
            return emitResult({Op::Period, period, allSlot, int(measure), 0, allValue},
                              expression.position, NumberType);
        }
        const int nameSlot = name.slot;
        tempTop_ = mark;
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
        const int mark = tempTop_;
        const int slot = materialize(operand, where);
        tempTop_ = mark;
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
        const int mark = tempTop_;
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
        tempTop_ = mark;
        if ((op == BinaryOperator::And || op == BinaryOperator::Or ||
             op == BinaryOperator::Xor) &&
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
            return operators::compare(fold_, left.value, right.value, comparisonOf(op),
                                      left.hard, right.hard, result);
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
            tempTop_ = mark;
            if (right.constant)
                return emitResult({offset(Op::EqNK, comparison), 0, left.slot, 0, 0,
                                   right.value.number},
                                  where, BooleanType);
            if (left.constant)
                return emitResult({offset(Op::EqNK, arithmetic::mirrored(comparison)), 0,
                                   right.slot, 0, 0, left.value.number},
                                  where, BooleanType);
            return emitResult({offset(Op::EqN, comparison), 0, left.slot, right.slot}, where,
                              BooleanType);
        }
        const int a = materialize(left, where);
        const int b = materialize(right, where);
        tempTop_ = mark;
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
            tempTop_ = mark;
            result = emitResult({withRight, 0, left.slot, 0, 0, right.value.number}, where,
                                NumberType);
            return true;
        }
        if (left.constant && !right.constant && withLeft != Op::End) {
            tempTop_ = mark;
            result = emitResult({withLeft, 0, right.slot, 0, 0, left.value.number}, where,
                                NumberType);
            return true;
        }
        const int a = materialize(left, where);
        const int b = materialize(right, where);
        tempTop_ = mark;
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

    std::unique_ptr<FormulaProgram> program_;
    FormulaRuntime fold_; // folds constants; its texts are the program's
    QHash<QString, int> locals_;
    std::vector<TypeSet> localTypes_;
    std::vector<bool> dimmed_;
    int tempBase_ = 0;
    int tempTop_ = 0;
    int tempFloor_ = 0;
    int frameSize_ = 0;
    size_t lastResult_ = size_t(-1);
};

} // namespace

std::unique_ptr<FormulaProgram> FormulaCompiler::compile(const Block& statements) {
    return Compiler().run(statements);
}

} // namespace velora::engine
