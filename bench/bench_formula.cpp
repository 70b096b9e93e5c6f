// Formula evaluation: ns per evaluation of a tiered pay formula in the engine, beside the same
// computation in hand-written C++ and in muparser. Prints figures and ratios; never fails on time.
#include "BenchFormulas.h"
#include "engine/CompiledFormula.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <muParser.h>
#include <random>
#include <vector>

using namespace velora;
using Clock = std::chrono::steady_clock;

namespace {

struct Row {
    double lines;
    double hours;
};

std::vector<Row> makeRows(std::size_t count) {
    std::mt19937 random(7);
    std::vector<Row> rows(count);
    for (Row& row : rows) {
        row.lines = 600 + static_cast<double>(random() % 2200);
        row.hours = 5 + static_cast<double>(random() % 400) / 100.0;
    }
    return rows;
}

template <typename F> double nsPerRow(const std::vector<Row>& rows, int rounds, F&& body) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (const Row& row : rows)
            body(row);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        best = std::min(best, ns / static_cast<double>(rows.size()));
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<Row> rows = makeRows(1'000'000);
    const int rounds = 5;
    double checksum = 0;

    const double nativeNs = nsPerRow(rows, rounds, [&](const Row& row) {
        checksum += bench::nativeTieredPay(row.lines, row.hours).pay;
    });

    engine::FormulaError error;
    const auto formula = engine::CompiledFormula::compile(bench::kTieredPayFormula, error);
    if (!formula) {
        std::fprintf(stderr, "formula does not compile: %s\n", qPrintable(error.description));
        return 1;
    }
    engine::FormulaMachine machine;
    engine::RowInputs inputs;
    inputs.hourMode = 1;
    engine::FormulaResults results;
    double engineSum = 0;
    const double engineNs = nsPerRow(rows, rounds, [&](const Row& row) {
        inputs.trueLines = row.lines;
        inputs.systemHours = row.hours;
        machine.evaluate(*formula, inputs, nullptr, results, error);
        engineSum += results.pay;
    });

    mu::Parser parser;
    double L = 0;
    double H = 0;
    parser.DefineVar("L", &L);
    parser.DefineVar("H", &H);
    parser.SetExpr(bench::kMuparserPay);
    double muSum = 0;
    const double muNs = nsPerRow(rows, rounds, [&](const Row& row) {
        L = row.lines;
        H = row.hours;
        muSum += parser.Eval();
    });

    std::printf("formula evaluation, tiered pay formula (%zu rows, best of %d)\n", rows.size(),
                rounds);
    std::printf("  native C++      %8.1f ns/row\n", nativeNs);
    std::printf("  Velora engine   %8.1f ns/row   %.2fx native\n", engineNs, engineNs / nativeNs);
    std::printf("  muparser        %8.1f ns/row   %.2fx native\n", muNs, muNs / nativeNs);
    std::printf("  engine vs muparser: %.2fx (below 1 is faster)\n", engineNs / muNs);
    std::printf("  checksums: native %.2f engine %.2f muparser %.2f\n", checksum / rounds,
                engineSum / rounds, muSum / rounds);
    return 0;
}
