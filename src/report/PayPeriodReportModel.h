#pragma once

#include "ReportTable.h"

#include <QAbstractTableModel>
#include <QLocale>

namespace velora::report {

// The rows of a report for a table view: one per line and the total row, which stays last
// however the lines are sorted. Figures show as the printout shows them; Qt::UserRole gives
// the raw value.
class PayPeriodReportModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PayPeriodReportModel(QObject* parent = nullptr);

    // Shows a new table, sorted as the view last asked.
    void setTable(ReportTable table);
    // The table as shown: its lines in the current order.
    const ReportTable& table() const { return table_; }
    // The line of a row; nullptr for the total row and rows outside the table.
    const ReportLine* lineAt(int row) const;
    bool isTotalRow(int row) const { return row == static_cast<int>(table_.lines.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Orders lines by one column: texts without regard to case, figures by value; lines that
    // compare equal keep their order.
    static void sortLines(std::vector<ReportLine>& lines, ReportColumn column, Qt::SortOrder order);

private:
    QVariant display(const ReportLine& line, ReportColumn column) const;

    ReportTable table_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QLocale locale_;
};

} // namespace velora::report
