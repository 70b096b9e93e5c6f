#include "ReportXlsx.h"

#include <QFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace velora::report {

namespace {

// One row of text and figures; the number formats belong to the figure columns.
struct SheetWriter {
    lxw_worksheet* sheet;
    lxw_format* whole;
    lxw_format* decimal;
    lxw_format* bold;

    void text(lxw_row_t row, int column, const QString& value, lxw_format* format) const {
        // A line break inside a cell is a bare line feed in a workbook; a carriage return
        // would be stored as an escape that not every reader decodes.
        QString cellText = value;
        cellText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        cellText.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QByteArray utf8 = cellText.toUtf8();
        worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column), utf8.constData(),
                               format);
    }

    void line(lxw_row_t row, const QString& key, const QString& name, const ReportFigures& figures,
              lxw_format* emphasis) const {
        text(row, 0, key, emphasis);
        text(row, 1, name, emphasis);
        for (int c = static_cast<int>(ReportColumn::Reports); c < kReportColumnCount; ++c) {
            const auto column = static_cast<ReportColumn>(c);
            const bool counted = column == ReportColumn::Reports || column == ReportColumn::Lines;
            worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c),
                                   ReportTable::figure(figures, column), counted ? whole : decimal);
        }
    }
};

} // namespace

QString ReportXlsx::build(const ReportTable& table, const QString& workbookPath) {
    const QByteArray file = QFile::encodeName(workbookPath);
    lxw_workbook* workbook = workbook_new(file.constData());
    if (!workbook)
        return QStringLiteral("the workbook could not be created");
    const QByteArray title = table.period.title().toUtf8();
    const QByteArray documentTitle = "Pay Period Report " + title;
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(documentTitle.constData());
    workbook_set_properties(workbook, &properties);

    SheetWriter writer{workbook_add_worksheet(workbook, title.constData()),
                       workbook_add_format(workbook), workbook_add_format(workbook),
                       workbook_add_format(workbook)};
    format_set_num_format(writer.whole, "#,##0");
    format_set_num_format(writer.decimal, "#,##0.00");
    format_set_bold(writer.bold);
    if (writer.sheet) {
        const QStringList headings = table.headings();
        for (int c = 0; c < headings.size(); ++c)
            writer.text(0, c, headings.at(c), writer.bold);
        lxw_row_t row = 1;
        for (const ReportLine& line : table.lines)
            writer.line(row++, line.key, line.name, line.figures, nullptr);
        writer.line(row, ReportTable::totalLabel(), QString(), table.total, writer.bold);
        worksheet_set_column(writer.sheet, 0, 1, 24, nullptr);
        worksheet_set_column(writer.sheet, 2, kReportColumnCount - 1, 13, nullptr);
        worksheet_freeze_panes(writer.sheet, 1, 0);
    }
    const lxw_error closed = workbook_close(workbook);
    if (!writer.sheet)
        return QStringLiteral("the sheet could not be added");
    return closed == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(closed));
}

ExportResult ReportXlsx::write(const ReportTable& table, const QString& path) {
    QTemporaryDir work;
    if (!work.isValid())
        return {false, ReportFile::failure(path, QStringLiteral("no temporary folder: ") +
                                                     work.errorString())};
    const QString workbookPath = work.filePath(QStringLiteral("report.xlsx"));
    const QString error = build(table, workbookPath);
    if (!error.isEmpty())
        return {false, ReportFile::failure(path, error)};
    QFile built(workbookPath);
    if (!built.open(QIODevice::ReadOnly))
        return {false, ReportFile::failure(path, built.errorString())};
    return ReportFile::save(path, built.readAll());
}

} // namespace velora::report
