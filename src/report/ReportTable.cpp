#include "ReportTable.h"

namespace velora::report {

ReportFigures& ReportFigures::operator+=(const ReportFigures& other) {
    reports += other.reports;
    lines += other.lines;
    hours += other.hours;
    iHours += other.iHours;
    iTyped += other.iTyped;
    iPay += other.iPay;
    return *this;
}

void ReportTable::addUpTotal() {
    total = {};
    for (const ReportLine& line : lines)
        total += line.figures;
}

QStringList ReportTable::headings() const {
    QStringList titles = accountLines
                             ? QStringList{QStringLiteral("Account ID"), QStringLiteral("Account")}
                             : QStringList{QStringLiteral("User ID"), QStringLiteral("Name")};
    titles << QStringLiteral("Reports") << QStringLiteral("True Lines") << QStringLiteral("Hours")
           << QStringLiteral("IHours") << QStringLiteral("ITyped") << QStringLiteral("IPay");
    return titles;
}

double ReportTable::figure(const ReportFigures& figures, ReportColumn column) {
    switch (column) {
    case ReportColumn::Reports:
        return figures.reports;
    case ReportColumn::Lines:
        return figures.lines;
    case ReportColumn::Hours:
        return figures.hours;
    case ReportColumn::IHours:
        return figures.iHours;
    case ReportColumn::ITyped:
        return figures.iTyped;
    case ReportColumn::IPay:
        return figures.iPay;
    case ReportColumn::Key:
    case ReportColumn::Name:
        break;
    }
    return 0;
}

} // namespace velora::report
