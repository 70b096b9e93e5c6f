#include "PayPeriodReportModel.h"

#include "ReportPdf.h"

#include <QFont>
#include <algorithm>

namespace velora::report {

namespace {

QVariant rawValue(const ReportLine& line, ReportColumn column) {
    switch (column) {
    case ReportColumn::Key:
        return line.key;
    case ReportColumn::Name:
        return line.name;
    default:
        return ReportTable::figure(line.figures, column);
    }
}

} // namespace

PayPeriodReportModel::PayPeriodReportModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void PayPeriodReportModel::setTable(ReportTable table) {
    beginResetModel();
    table_ = std::move(table);
    if (sortColumn_ >= 0)
        sortLines(table_.lines, static_cast<ReportColumn>(sortColumn_), sortOrder_);
    endResetModel();
}

const ReportLine* PayPeriodReportModel::lineAt(int row) const {
    if (row < 0 || row >= static_cast<int>(table_.lines.size()))
        return nullptr;
    return &table_.lines[static_cast<std::size_t>(row)];
}

int PayPeriodReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.lines.size()) + 1;
}

int PayPeriodReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kReportColumnCount;
}

QVariant PayPeriodReportModel::display(const ReportLine& line, ReportColumn column) const {
    if (!ReportTable::isNumber(column))
        return rawValue(line, column);
    return ReportPdf::figureText(ReportTable::figure(line.figures, column), column, locale_);
}

QVariant PayPeriodReportModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto column = static_cast<ReportColumn>(index.column());
    const bool total = isTotalRow(index.row());
    const ReportLine line = total ? ReportLine{ReportTable::totalLabel(), QString(), table_.total}
                                  : *lineAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return display(line, column);
    case Qt::UserRole:
        return rawValue(line, column);
    case Qt::TextAlignmentRole:
        return ReportTable::isNumber(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (total) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    default:
        break;
    }
    return {};
}

QVariant PayPeriodReportModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kReportColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return table_.headings().at(section);
}

void PayPeriodReportModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kReportColumnCount)
        return;
    sortColumn_ = column;
    sortOrder_ = order;
    beginResetModel();
    sortLines(table_.lines, static_cast<ReportColumn>(column), order);
    endResetModel();
}

void PayPeriodReportModel::sortLines(std::vector<ReportLine>& lines, ReportColumn column,
                                     Qt::SortOrder order) {
    const auto before = [column](const ReportLine& a, const ReportLine& b) {
        if (!ReportTable::isNumber(column))
            return QString::compare(rawValue(a, column).toString(), rawValue(b, column).toString(),
                                    Qt::CaseInsensitive) < 0;
        return ReportTable::figure(a.figures, column) < ReportTable::figure(b.figures, column);
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(lines.begin(), lines.end(), before);
    else
        std::stable_sort(
            lines.begin(), lines.end(),
            [&before](const ReportLine& a, const ReportLine& b) { return before(b, a); });
}

} // namespace velora::report
