#include "FormulaLocals.h"

#include "FormulaNameTable.h"
#include "FormulaProgram.h"

namespace velora::engine {

namespace {

using namespace ast;

constexpr TypeSet EmptyType = typeBit(ValueType::Empty);
constexpr TypeSet NumberType = typeBit(ValueType::Number);
constexpr TypeSet BooleanType = typeBit(ValueType::Boolean);

QString key(const QString& name) {
    return name.toLower();
}

bool isComparison(BinaryOperator op) {
    return op >= BinaryOperator::Equal && op <= BinaryOperator::GreaterEqual;
}

bool isLogical(BinaryOperator op) {
    return op == BinaryOperator::And || op == BinaryOperator::Or || op == BinaryOperator::Xor;
}

bool isNot(const Expression& expression) {
    return expression.kind == Expression::Kind::Unary && expression.unary == UnaryOperator::Not;
}

// The questions below look into every operand. They serve to choose faster code, so beyond
// this height they answer "not known" (the general code is always right): their recursion,
// and the compiler's recursion on what they find, stay shallow whatever the formula.
constexpr int MaxAnalysedHeight = 64;

} // namespace

FormulaLocals::FormulaLocals(const Block& statements, std::vector<QString>& names) {
    collect(statements, names);
    types_.assign(names.size(), EmptyType);
    dimmed_.assign(names.size(), false);
    emptyRead_.assign(names.size(), false);
}

void FormulaLocals::collect(const Block& block, std::vector<QString>& names) {
    auto declare = [&](const QString& name) {
        // Inputs and functions are refused where the statement is compiled.
        if (FormulaNameTable::find(name) || indexes_.contains(key(name)) ||
            key(name) == QLatin1String("results"))
            return;
        indexes_.insert(key(name), int(names.size()));
        names.push_back(name);
    };
    for (const StatementPtr& statement : block) {
        for (const NameAt& name : statement->names)
            declare(name.name);
        if (statement->kind == Statement::Kind::AssignLocal)
            declare(statement->target.name);
        for (const Branch& branch : statement->branches)
            collect(branch.body, names);
        collect(statement->elseBody, names);
        for (const CaseClause& clause : statement->cases)
            collect(clause.body, names);
    }
}

int FormulaLocals::index(const QString& name) const {
    return indexes_.value(key(name), -1);
}

int FormulaLocals::slot(int index) {
    return FormulaProgram::FirstLocalSlot + index;
}

bool FormulaLocals::isLocalSlot(int slot) {
    return slot >= FormulaProgram::FirstLocalSlot;
}

TypeSet FormulaLocals::read(int index) {
    const TypeSet types = types_[size_t(index)];
    if (types & EmptyType)
        emptyRead_[size_t(index)] = true;
    return types;
}

bool FormulaLocals::dim(int index) {
    if (dimmed_[size_t(index)])
        return false;
    dimmed_[size_t(index)] = true;
    return true;
}

void FormulaLocals::joinInto(State& joined) const {
    for (size_t i = 0; i < joined.size(); ++i)
        joined[i] |= types_[i];
}

std::vector<int> FormulaLocals::slotsStartingEmpty() const {
    std::vector<int> slots;
    for (size_t i = 0; i < types_.size(); ++i) {
        if (emptyRead_[i] || (types_[i] & EmptyType))
            slots.push_back(slot(int(i)));
    }
    return slots;
}

TypeSet FormulaLocals::simpleTypes(const Expression& expression) const {
    switch (expression.kind) {
    case Expression::Kind::Number:
    case Expression::Kind::Result:
        return NumberType;
    case Expression::Kind::Boolean:
        return BooleanType;
    case Expression::Kind::Date:
        return typeBit(ValueType::Date);
    case Expression::Kind::String:
        return typeBit(ValueType::String);
    case Expression::Kind::Name: {
        const int local = index(expression.text);
        if (local >= 0)
            return types_[size_t(local)];
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

bool FormulaLocals::isBoolean(const Expression& expression) const {
    if (expression.height > MaxAnalysedHeight)
        return false;
    if (expression.kind == Expression::Kind::Binary) {
        if (isComparison(expression.binary))
            return true;
        return isLogical(expression.binary) && isBoolean(*expression.operands[0]) &&
               isBoolean(*expression.operands[1]);
    }
    if (isNot(expression))
        return isBoolean(*expression.operands[0]);
    return simpleTypes(expression) == BooleanType;
}

bool FormulaLocals::cannotFail(const Expression& expression) const {
    if (expression.height > MaxAnalysedHeight)
        return false;
    if (expression.kind == Expression::Kind::Binary) {
        const Expression& left = *expression.operands[0];
        const Expression& right = *expression.operands[1];
        if (isComparison(expression.binary))
            return typesWithin(simpleTypes(left), ScalarTypes) &&
                   typesWithin(simpleTypes(right), ScalarTypes);
        return isLogical(expression.binary) && isBoolean(left) && isBoolean(right) &&
               cannotFail(left) && cannotFail(right);
    }
    if (isNot(expression))
        return isBoolean(*expression.operands[0]) && cannotFail(*expression.operands[0]);
    return simpleTypes(expression) != 0;
}

bool FormulaLocals::shortCircuits(const Expression& expression) const {
    if (expression.height > MaxAnalysedHeight || expression.kind != Expression::Kind::Binary ||
        (expression.binary != BinaryOperator::And && expression.binary != BinaryOperator::Or))
        return false;
    const Expression& left = *expression.operands[0];
    const Expression& right = *expression.operands[1];
    return isBoolean(left) && isBoolean(right) && (cannotFail(left) || cannotFail(right));
}

// Exact at any size: a walk with a list of the operands still to see.
bool FormulaLocals::reads(const Expression& expression, int slot) const {
    std::vector<const Expression*> pending{&expression};
    while (!pending.empty()) {
        const Expression& node = *pending.back();
        pending.pop_back();
        if (node.kind == Expression::Kind::Result && FormulaProgram::resultSlot(node.field) == slot)
            return true;
        if (node.kind == Expression::Kind::Name) {
            const int local = index(node.text);
            if (local >= 0 && FormulaLocals::slot(local) == slot)
                return true;
        }
        for (const ExpressionPtr& operand : node.operands)
            pending.push_back(operand.get());
    }
    return false;
}

} // namespace velora::engine
