#pragma once

#include "FormulaAst.h"
#include "FormulaValue.h"

#include <QHash>
#include <QString>
#include <vector>

namespace velora::engine {

// What the compiler knows about names while it compiles a formula. Every name given to Dim or
// assigned anywhere is a local of the whole formula (VBScript hoists Dim); each local has the
// types it may hold at the point being compiled, followed through the formula in text order
// (there are no loops, so one pass sees every path). From these it also tells what an
// expression is without compiling it: its types, whether it is a Boolean, whether evaluating
// it can fail.
class FormulaLocals {
public:
    using State = std::vector<TypeSet>;

    // Collects the locals of the statements; `names` receives their names in slot order.
    FormulaLocals(const ast::Block& statements, std::vector<QString>& names);

    int count() const { return int(types_.size()); }
    int index(const QString& name) const; // -1 for a name that is no local
    static int slot(int index);
    static bool isLocalSlot(int slot);

    TypeSet types(int index) const { return types_[size_t(index)]; }
    void assign(int index, TypeSet types) { types_[size_t(index)] = types; }
    // A read of the local: its types. Notes when the read may see the Empty the local starts
    // with, which the machine must then set before each run.
    TypeSet read(int index);
    // Dim of the local; false when it was given to Dim before.
    bool dim(int index);

    // The types of every local at this point, to compile alternative paths from the same
    // point and join them afterwards.
    const State& state() const { return types_; }
    void restore(const State& state) { types_ = state; }
    void joinInto(State& joined) const;

    // The slots of the locals that must start each run Empty: read before they are surely
    // assigned, or possibly still Empty at the end (where the formula tester shows them).
    std::vector<int> slotsStartingEmpty() const;

    // The types of a literal, a local, an input, a constant or a result; 0 for anything else.
    TypeSet simpleTypes(const ast::Expression& expression) const;
    // The next three serve to choose faster code: for a very tall expression they answer
    // false, "not known", and the general code runs.
    // The expression is surely a Boolean: a comparison, or Not, And, Or, Xor of Booleans.
    bool isBoolean(const ast::Expression& expression) const;
    // Evaluating the expression cannot raise an error.
    bool cannotFail(const ast::Expression& expression) const;
    // An And or Or of two Booleans of which one cannot fail: deciding on the other alone
    // gives what evaluating both would.
    bool shortCircuits(const ast::Expression& expression) const;
    // The expression reads the local or result in `slot`.
    bool reads(const ast::Expression& expression, int slot) const;

private:
    void collect(const ast::Block& block, std::vector<QString>& names);

    QHash<QString, int> indexes_; // by name in lower case
    State types_;
    std::vector<bool> dimmed_;
    std::vector<bool> emptyRead_;
};

} // namespace velora::engine
