// libFuzzer target for the formula language: any text either compiles or fails with a
// numbered error on a line of the text; a formula that compiles runs for a few rows without
// crashing, gives the same results each time for the same row, and fails only with a
// numbered error.
//
// Build with clang from the repository root:
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//     -DQT_NO_KEYWORDS -Iplatform $(pkg-config --cflags Qt6Core) \
//     fuzz/fuzz_formula_compiler.cpp platform/engine/CompiledFormula.cpp \
//     platform/engine/FormulaArithmetic.cpp platform/engine/FormulaBuiltins.cpp \
//     platform/engine/FormulaCodeBuilder.cpp platform/engine/FormulaLocals.cpp \
//     platform/engine/FormulaCompiler.cpp platform/engine/FormulaCompileState.cpp \
//     platform/engine/FormulaConstantFolder.cpp platform/engine/FormulaStatementCompiler.cpp \
//     platform/engine/FormulaExpressionCompiler.cpp platform/engine/FormulaCallCompiler.cpp \
//     platform/engine/FormulaConditionCompiler.cpp platform/engine/FormulaSelection.cpp \
//     platform/engine/FormulaSelectionCompiler.cpp platform/engine/FormulaTierCompiler.cpp \
//     platform/engine/FormulaDate.cpp \
//     platform/engine/FormulaErrors.cpp platform/engine/FormulaLexer.cpp \
//     platform/engine/FormulaMachine.cpp platform/engine/FormulaNameTable.cpp \
//     platform/engine/FormulaOperators.cpp platform/engine/FormulaParser.cpp \
//     platform/engine/FormulaValue.cpp \
//     $(pkg-config --libs Qt6Core) -o fuzz_formula_compiler
//   ./fuzz_formula_compiler -max_len=4096

#include "engine/CompiledFormula.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace velora::engine;

class FixedPeriods : public PeriodSource {
public:
    double periodSum(Period period, Measure measure, bool allAccounts, const RowInputs&) override {
        return double(int(period) * 100 + int(measure) * 10 + (allAccounts ? 1 : 0));
    }
};

int lineCount(const QString& text) {
    return int(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')) + 1);
}

void checkError(const FormulaError& error, const QString& text) {
    if (!error.isError() || error.description.isEmpty() || error.line < 1 ||
        error.line > lineCount(text) || error.column < 0)
        std::abort();
}

RowInputs rowFor(int i) {
    RowInputs row;
    row.reports = i;
    row.charLines = 1000.5 * i;
    row.trueLines = i == 2 ? 0 : 65.25 * i;
    row.pages = i - 1;
    row.hoursTyped = i * 0.5;
    row.systemHours = i == 1 ? 0 : 8;
    row.otherHours = -i;
    row.hourMode = 1 + i % 2;
    row.shiftDate = QDate(2012, 1 + i, 28 + i);
    row.transId = i == 0 ? QString() : QStringLiteral("user%1").arg(i);
    row.accountId = i;
    row.groupId = -i;
    row.partitionId = 0;
    row.iTypedLines = 1e300 * i;
    row.iHoursWorked = 0.1 * i;
    return row;
}

bool sameResults(const FormulaResults& a, const FormulaResults& b) {
    auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return same(a.hours, b.hours) && same(a.lines, b.lines) && same(a.pay, b.pay);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FormulaError error;
    const std::shared_ptr<const CompiledFormula> formula = CompiledFormula::compile(text, error);
    if (!formula) {
        checkError(error, text);
        return 0;
    }
    if (error.isError())
        std::abort();
    FixedPeriods periods;
    FormulaMachine machine;
    for (int i = 0; i < 3; ++i) {
        const RowInputs row = rowFor(i);
        FormulaResults first;
        FormulaError firstError;
        const bool ran = machine.evaluate(*formula, row, &periods, first, firstError);
        if (!ran)
            checkError(firstError, text);
        // Same row, same outcome: nothing of one evaluation leaks into the next.
        FormulaResults second;
        FormulaError secondError;
        if (machine.evaluate(*formula, row, &periods, second, secondError) != ran)
            std::abort();
        if (ran ? !sameResults(first, second) : secondError.number != firstError.number)
            std::abort();
    }
    // Without a period source a formula that uses the period functions fails cleanly.
    FormulaResults results;
    if (!machine.evaluate(*formula, rowFor(1), nullptr, results, error))
        checkError(error, text);
    return 0;
}
