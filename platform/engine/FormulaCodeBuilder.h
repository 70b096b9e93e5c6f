#pragma once

#include "FormulaErrors.h"
#include "FormulaProgram.h"
#include "FormulaValue.h"

#include <cstddef>
#include <vector>

namespace velora::engine {

// What an expression compiled to: a slot holding its value, or a constant not yet placed.
struct Operand {
    bool constant = false;
    int slot = -1;
    FormulaValue value; // constant
    TypeSet types = AnyType;
    bool hard = false;   // written as a literal (VBScript's hard type, for comparisons)
    bool isTemp = false; // a temporary that the last instruction wrote: it may be retargeted

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

// Writes the instructions of a program and hands out its temporaries. Temporaries are a
// stack above the locals: an expression takes them from the top and gives them back when its
// value is used; a statement gives back all of them down to the floor.
class FormulaCodeBuilder {
public:
    FormulaCodeBuilder(FormulaProgram& program, int firstTemporary);

    size_t emit(const Instruction& instruction, SourcePosition where);
    // An instruction whose result goes into a new temporary.
    Operand emitResult(Instruction instruction, SourcePosition where, TypeSet types);
    void jump(Label& label, Instruction instruction, SourcePosition where);
    void bind(Label& label);

    Instruction& last() { return program_.code.back(); }
    size_t size() const { return program_.code.size(); }
    // The last instruction computed the value now in `slot` (so it may be rewritten).
    bool lastComputed(int slot) const;
    // Marks the last instruction as the one computing its result (after rewriting it).
    void markLastComputed() { lastResult_ = program_.code.size() - 1; }

    int allocTemp();
    int mark() const { return top_; }
    void release(int mark) { top_ = mark; }
    int floor() const { return floor_; }
    void setFloor(int floor) { floor_ = floor; }
    void releaseAll() { top_ = floor_; }
    int frameSize() const { return frameSize_; }

    void loadConstant(const FormulaValue& value, int slot, SourcePosition where);
    // The slot of an operand, placing a constant in a temporary first.
    int materialize(const Operand& operand, SourcePosition where);
    // Puts the operand's value into `slot`: the instruction that computed it writes there
    // directly when it can.
    void store(const Operand& operand, int slot, SourcePosition where);

private:
    FormulaProgram& program_;
    int top_;
    int floor_;
    int frameSize_;
    size_t lastResult_ = size_t(-1);
};

} // namespace velora::engine
