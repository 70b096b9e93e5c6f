#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

namespace velora::engine {

// What one recalculation covers: the days, and a condition on Trans_info (T-SQL text, empty for
// every user) such as "Trans_info.trans_id = 'jdoe'".
struct RecalcRequest {
    QDate startDate = QDate(1980, 1, 1);
    QDate endDate = QDate(2030, 1, 1);
    QString filter;

    bool isFullRun() const { return filter.trimmed().isEmpty(); }
};

// What a recalculation reports while it works, from the thread it works on.
class RecalcObserver {
public:
    virtual ~RecalcObserver() = default;
    // rowsDone: rows gone through so far, computed or failed.
    virtual void progress(qint64 rowsDone, qint64 rowsToDo) = 0;
    virtual void rowError(int number, const QString& description) = 0;
    virtual bool cancelRequested() const = 0;
};

// Counts of a finished recalculation.
struct RecalcSummary {
    qint64 rowsToDo = 0;
    qint64 rowsDone = 0;    // rows computed: they hold the formulas' results now; never a row
                            // that was passed over
    qint64 rowsWritten = 0; // of those, the rows whose stored results changed
    qint64 rowsFailed = 0;  // rows left unchanged because a formula failed
    qint64 rowsAutoLocked = 0;
    qint64 blankRowsAdded = 0;
};

// Error number of a recalculation cancelled by the operator.
constexpr int kRecalcCancelledError = 6;

} // namespace velora::engine
