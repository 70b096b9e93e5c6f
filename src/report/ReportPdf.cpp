#include "ReportPdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace velora::report {

namespace {

QString cell(const QString& tag, const QString& text, bool right) {
    return QLatin1Char('<') + tag +
           (right ? QStringLiteral(" align=\"right\">") : QStringLiteral(">")) + text +
           QStringLiteral("</") + tag + QLatin1Char('>');
}

QString htmlRow(const QString& key, const QString& name, const ReportFigures& figures,
                const QLocale& locale, bool bold) {
    const QString tag = bold ? QStringLiteral("th") : QStringLiteral("td");
    QString row = QStringLiteral("<tr>") + cell(tag, key.toHtmlEscaped(), false) +
                  cell(tag, name.toHtmlEscaped(), false);
    for (int c = static_cast<int>(ReportColumn::Reports); c < kReportColumnCount; ++c) {
        const auto column = static_cast<ReportColumn>(c);
        row += cell(
            tag, ReportPdf::figureText(ReportTable::figure(figures, column), column, locale), true);
    }
    return row + QStringLiteral("</tr>");
}

} // namespace

QString ReportPdf::figureText(double value, ReportColumn column, const QLocale& locale) {
    const bool counted = column == ReportColumn::Reports || column == ReportColumn::Lines;
    const bool whole = counted && value == static_cast<double>(static_cast<qint64>(value));
    return locale.toString(value == 0 ? 0.0 : value, 'f', whole ? 0 : 2);
}

QString ReportPdf::html(const ReportTable& table, const QString& hoursBasis,
                        const QLocale& locale) {
    QString text =
        QStringLiteral("<h2>Pay Period Report</h2><p>") +
        locale.toString(table.period.from(), QLocale::LongFormat).toHtmlEscaped() +
        QStringLiteral(" &ndash; ") +
        locale.toString(table.period.to(), QLocale::LongFormat).toHtmlEscaped() +
        QStringLiteral("<br>") + hoursBasis.toHtmlEscaped() +
        QStringLiteral(
            "</p><table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    const QStringList headings = table.headings();
    for (int c = 0; c < headings.size(); ++c)
        text += cell(QStringLiteral("th"), headings.at(c).toHtmlEscaped(), c >= 2);
    text += QStringLiteral("</tr>");
    for (const ReportLine& line : table.lines)
        text += htmlRow(line.key, line.name, line.figures, locale, false);
    text += htmlRow(ReportTable::totalLabel(), QString(), table.total, locale, true);
    return text + QStringLiteral("</table>");
}

ExportResult ReportPdf::write(const ReportTable& table, const QString& hoursBasis,
                              const QString& path) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("Pay Period Report ") + table.period.title());
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        QTextDocument document;
        document.setHtml(html(table, hoursBasis, QLocale()));
        document.print(&pdf);
    }
    if (bytes.isEmpty())
        return {false,
                ReportFile::failure(path, QStringLiteral("the document could not be printed"))};
    return ReportFile::save(path, bytes);
}

} // namespace velora::report
