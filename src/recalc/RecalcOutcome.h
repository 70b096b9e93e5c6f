#pragma once

#include <QString>

namespace velora::recalc {

// How a recalculation request ended. Only a completed one is followed by the engine's
// completion event; a caller that waits for that event must not wait after anything else. A
// queued request (local updates disabled) is left to the server: nothing was recalculated yet.
struct RecalcOutcome {
    enum class Result { Completed, Queued, Cancelled, Failed };

    Result result = Result::Completed;
    QString error; // "Error <number>:<description>" of a failed run

    bool completed() const { return result == Result::Completed; }
    bool queued() const { return result == Result::Queued; }

    // What the operator is told after a queued request: the figures shown are the old ones.
    static QString queuedNotice() {
        return QStringLiteral("The recalculation was queued for the server, so the figures on "
                              "screen are not yet recalculated. They will show the new values "
                              "once the server has recalculated them and the week is opened "
                              "again.");
    }

    static RecalcOutcome failed(int number, const QString& description) {
        return {Result::Failed, QStringLiteral("Error ") + QString::number(number) +
                                    QLatin1Char(':') + description};
    }
};

} // namespace velora::recalc
