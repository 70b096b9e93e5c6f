#pragma once

#include <QString>

namespace velora::recalc {

// How a recalculation request ended. Only a completed one is followed by the engine's
// completion event; a caller that waits for that event must not wait after anything else.
struct RecalcOutcome {
    enum class Result { Completed, Cancelled, Failed };

    Result result = Result::Completed;
    QString error; // "Error <number>:<description>" of a failed run

    bool completed() const { return result == Result::Completed; }

    static RecalcOutcome failed(int number, const QString& description) {
        return {Result::Failed, QStringLiteral("Error ") + QString::number(number) +
                                    QLatin1Char(':') + description};
    }
};

} // namespace velora::recalc
