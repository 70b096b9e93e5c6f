#pragma once

#include "ReportFile.h"
#include "ReportTable.h"

#include <QLocale>
#include <QString>

namespace velora::report {

// The report printed to a PDF document: a heading with the period and the hours basis, then
// the table with its total row, figures in the locale's form with two decimals. Saved under
// its final name in one step (ReportFile).
class ReportPdf {
public:
    static QString html(const ReportTable& table, const QString& hoursBasis, const QLocale& locale);
    static ExportResult write(const ReportTable& table, const QString& hoursBasis,
                              const QString& path);
    // A figure as the window and the printout show it: whole counts without decimals, the
    // others with two.
    static QString figureText(double value, ReportColumn column, const QLocale& locale);
};

} // namespace velora::report
