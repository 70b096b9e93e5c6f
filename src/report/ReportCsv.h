#pragma once

#include "ReportFile.h"
#include "ReportTable.h"

#include <QByteArray>
#include <QString>

namespace velora::report {

// The report as comma-separated values (RFC 4180): a header row, one row per line, the total
// row last; fields holding a comma, a quote or a line break between double quotes, quotes
// doubled; lines ended by CR LF. UTF-8 with a byte-order mark, so that spreadsheets read names
// with accents correctly. Numbers are plain: '.' decimals, no grouping. A text beginning as a
// spreadsheet formula would ("=", "+", "-", "@") gets an apostrophe in front.
class ReportCsv {
public:
    static QByteArray content(const ReportTable& table);
    static ExportResult write(const ReportTable& table, const QString& path);

    static QString field(const QString& text);
    // A figure as plain text: rounded to six decimals, trailing zeros dropped ("1234.5", "-3").
    static QString number(double value);
};

} // namespace velora::report
