#include "ReportCsv.h"

#include <QStringList>
#include <cmath>

namespace velora::report {

// A text that a spreadsheet would run as a formula (a name beginning with "=", "+", "-" or "@")
// gets an apostrophe in front, so that opening the file shows the text and runs nothing.
QString ReportCsv::field(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const QString safe =
        !text.isEmpty() && formulaStarts.contains(text.front()) ? QLatin1Char('\'') + text : text;
    bool quote = false;
    for (const QChar c : safe)
        quote = quote || special.contains(c);
    if (!quote)
        return safe;
    QString doubled = safe;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString ReportCsv::number(double value) {
    const double rounded = std::round(value * 1e6) / 1e6;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QByteArray ReportCsv::content(const ReportTable& table) {
    const auto row = [](const QString& key, const QString& name,
                        const ReportFigures& figures) -> QString {
        QStringList fields{field(key), field(name)};
        for (int c = static_cast<int>(ReportColumn::Reports); c < kReportColumnCount; ++c)
            fields << number(ReportTable::figure(figures, static_cast<ReportColumn>(c)));
        return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    QStringList headings;
    for (const QString& heading : table.headings())
        headings << field(heading);
    QString text = headings.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const ReportLine& line : table.lines)
        text += row(line.key, line.name, line.figures);
    text += row(ReportTable::totalLabel(), QString(), table.total);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

ExportResult ReportCsv::write(const ReportTable& table, const QString& path) {
    return ReportFile::save(path, content(table));
}

} // namespace velora::report
