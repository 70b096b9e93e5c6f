#include "FormulaCodeBuilder.h"

#include <algorithm>

namespace velora::engine {

FormulaCodeBuilder::FormulaCodeBuilder(FormulaProgram& program, int firstTemporary)
    : program_(program)
    , top_(firstTemporary)
    , floor_(firstTemporary)
    , frameSize_(firstTemporary) {}

size_t FormulaCodeBuilder::emit(const Instruction& instruction, SourcePosition where) {
    program_.code.push_back(instruction);
    program_.positions.push_back(where);
    return program_.code.size() - 1;
}

Operand FormulaCodeBuilder::emitResult(Instruction instruction, SourcePosition where,
                                       TypeSet types) {
    instruction.c = allocTemp();
    lastResult_ = emit(instruction, where);
    return Operand::ofSlot(instruction.c, types, true);
}

void FormulaCodeBuilder::jump(Label& label, Instruction instruction, SourcePosition where) {
    const size_t at = emit(instruction, where);
    if (label.target >= 0)
        program_.code[at].c = label.target;
    else
        label.uses.push_back(at);
}

void FormulaCodeBuilder::bind(Label& label) {
    label.target = int(program_.code.size());
    for (size_t use : label.uses)
        program_.code[use].c = label.target;
    label.uses.clear();
}

bool FormulaCodeBuilder::lastComputed(int slot) const {
    return !program_.code.empty() && lastResult_ == program_.code.size() - 1 &&
           program_.code.back().c == slot;
}

int FormulaCodeBuilder::allocTemp() {
    const int slot = top_++;
    frameSize_ = std::max(frameSize_, top_);
    return slot;
}

void FormulaCodeBuilder::loadConstant(const FormulaValue& value, int slot, SourcePosition where) {
    if (value.type == ValueType::Number) {
        emit({Op::LoadNumber, 0, 0, 0, slot, value.number}, where);
        return;
    }
    program_.constants.push_back(value);
    emit({Op::LoadConstant, 0, 0, int(program_.constants.size() - 1), slot, 0}, where);
}

int FormulaCodeBuilder::materialize(const Operand& operand, SourcePosition where) {
    if (!operand.constant)
        return operand.slot;
    const int slot = allocTemp();
    loadConstant(operand.value, slot, where);
    return slot;
}

void FormulaCodeBuilder::store(const Operand& operand, int slot, SourcePosition where) {
    if (operand.constant)
        loadConstant(operand.value, slot, where);
    else if (operand.isTemp && lastComputed(operand.slot))
        program_.code.back().c = slot;
    else if (operand.slot != slot)
        emit({Op::Move, 0, operand.slot, 0, slot, 0}, where);
}

} // namespace velora::engine
