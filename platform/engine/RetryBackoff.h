#pragma once

#include <QRandomGenerator>

namespace velora::engine {

// How long to wait before trying again after a transient failure (a busy database): the wait
// doubles from firstMs up to maxMs while failures follow one another and starts small again
// after a success. Each wait is drawn between half and all of its step, so that servers held
// up by the same lock do not all come back at the same moment.
class RetryBackoff {
public:
    explicit RetryBackoff(int firstMs = 50, int maxMs = 2000);

    // Milliseconds to wait now; the next wait will be longer, up to the bound.
    int next();
    void reset() { step_ = firstMs_; }

private:
    int firstMs_;
    int maxMs_;
    int step_;
    QRandomGenerator random_;
};

} // namespace velora::engine
