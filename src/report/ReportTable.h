#pragma once

#include "PayPeriod.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace velora::report {

// The six figures of one line of the report, summed from the stored (corrected) values.
struct ReportFigures {
    double reports = 0;
    double lines = 0;
    double hours = 0;
    double iHours = 0;
    double iTyped = 0;
    double iPay = 0;

    ReportFigures& operator+=(const ReportFigures& other);
};

// One line: a user (key = trans_id, name = "Last, First") or one of a user's accounts
// (key = account id, name = account name).
struct ReportLine {
    QString key;
    QString name;
    ReportFigures figures;
};

// The columns every form of the report shows, in order.
enum class ReportColumn { Key, Name, Reports, Lines, Hours, IHours, ITyped, IPay };
inline constexpr int kReportColumnCount = 8;

// A finished report: its lines and their total. accountLines says whether the lines are
// accounts (of one user) rather than users; it only changes the first two headings.
struct ReportTable {
    PayPeriod period;
    std::vector<ReportLine> lines;
    ReportFigures total;
    bool accountLines = false;

    // Adds up the lines into total.
    void addUpTotal();
    // "User ID", "Name", "Reports", "True Lines", "Hours", "IHours", "ITyped", "IPay"
    // ("Account ID", "Account" for account lines).
    QStringList headings() const;
    static bool isNumber(ReportColumn column) { return column >= ReportColumn::Reports; }
    static double figure(const ReportFigures& figures, ReportColumn column);
    // The label of the total line.
    static QString totalLabel() { return QStringLiteral("Total"); }
};

} // namespace velora::report
