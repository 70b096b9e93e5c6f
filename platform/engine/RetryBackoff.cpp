#include "RetryBackoff.h"

#include <algorithm>

namespace velora::engine {

RetryBackoff::RetryBackoff(int firstMs, int maxMs)
    : firstMs_(std::max(1, firstMs))
    , maxMs_(std::max(firstMs_, maxMs))
    , step_(firstMs_)
    , random_(QRandomGenerator::system()->generate()) {}

int RetryBackoff::next() {
    const int wait = step_ / 2 + static_cast<int>(random_.bounded(step_ / 2 + 1));
    step_ = std::min(maxMs_, step_ * 2);
    return wait;
}

} // namespace velora::engine
