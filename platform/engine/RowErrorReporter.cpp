#include "RowErrorReporter.h"

namespace velora::engine {

QString RowErrorReporter::describe(int formulaId, const QString& formulaName,
                                   const FormulaError& error, const QString& transId, int accountId,
                                   const QDate& day) {
    QString text = QStringLiteral("Formula \"%1\" (%2) failed for user %3, account %4, day %5: %6")
                       .arg(formulaName)
                       .arg(formulaId)
                       .arg(transId.trimmed())
                       .arg(accountId)
                       .arg(day.toString(Qt::ISODate), error.description);
    if (error.line > 0)
        text += QStringLiteral(" (line %1)").arg(error.line);
    return text;
}

void RowErrorReporter::report(int formulaId, const FormulaError& error, const QString& transId,
                              int accountId, const QDate& day) {
    ++failed_;
    if (failed_ > kMaxReported)
        return;
    observer_.rowError(error.number, describe(formulaId, formulaNames_.value(formulaId), error,
                                              transId, accountId, day));
}

qint64 RowErrorReporter::finish() {
    if (failed_ > kMaxReported)
        observer_.rowError(0, QStringLiteral("%1 further rows failed and were left unchanged.")
                                  .arg(failed_ - kMaxReported));
    return failed_;
}

} // namespace velora::engine
