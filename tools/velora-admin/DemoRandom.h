#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace velora::admin {

// The demo's source of chance. std::mt19937 produces the same sequence everywhere, but the
// standard distributions do not, so the mapping to ranges is done here: one seed gives the
// same installation with every compiler and library.
class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed)
        : engine_(seed) {}

    // A whole number from low to high, both included.
    int between(int low, int high) {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
        return low + static_cast<int>((static_cast<std::uint64_t>(engine_()) * span) >> 32);
    }

    // A number in [low, high).
    double real(double low, double high) {
        return low + (high - low) * (static_cast<double>(engine_()) / 4294967296.0);
    }

    bool chance(double probability) { return real(0.0, 1.0) < probability; }

    template <typename T> void shuffle(std::vector<T>& items) {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
            std::swap(items[static_cast<std::size_t>(i)],
                      items[static_cast<std::size_t>(between(0, i))]);
    }

private:
    std::mt19937 engine_;
};

} // namespace velora::admin
