#pragma once

#include "FormulaTypes.h"
#include "RecalcRequest.h"

#include <QDate>
#include <QHash>
#include <QString>

namespace velora::engine {

// Turns a failed row into the engine's error event: the number of the formula's error and a
// description naming formula, user, account and day. A broken formula fails every row it
// covers, so after kMaxReported events the rest are only counted and summed up at the end.
class RowErrorReporter {
public:
    static constexpr int kMaxReported = 100;

    RowErrorReporter(RecalcObserver& observer, QHash<int, QString> formulaNames)
        : observer_(observer)
        , formulaNames_(std::move(formulaNames)) {}

    void report(int formulaId, const FormulaError& error, const QString& transId, int accountId,
                const QDate& day);
    // Raises one closing event when errors went unreported; returns the number of failed rows.
    qint64 finish();
    qint64 failedRows() const { return failed_; }

    static QString describe(int formulaId, const QString& formulaName, const FormulaError& error,
                            const QString& transId, int accountId, const QDate& day);

private:
    RecalcObserver& observer_;
    QHash<int, QString> formulaNames_;
    qint64 failed_ = 0;
};

} // namespace velora::engine
