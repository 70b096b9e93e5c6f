#pragma once

#include "ReportFile.h"
#include "ReportTable.h"

#include <QString>

namespace velora::report {

// The report as an Excel workbook (libxlsxwriter): one sheet named after the period
// ("2012-11-04 to 2012-11-10"), a bold header row, one row per line and the total row last;
// figures are stored as numbers, never as text. The workbook is built in a private temporary
// folder and then saved under its final name in one step (ReportFile).
class ReportXlsx {
public:
    static ExportResult write(const ReportTable& table, const QString& path);

private:
    // Builds the workbook at workbookPath; returns libxlsxwriter's error text, "" on success.
    static QString build(const ReportTable& table, const QString& workbookPath);
};

} // namespace velora::report
