#pragma once

#include "AdminCommand.h"

#include <QDate>
#include <QList>

namespace velora::admin {

// "report DB --from YYYY-MM-DD --to YYYY-MM-DD [--partition N] --format csv|xlsx --output FILE":
// the pay-period report for payroll scripts, the same figures as the program's window, with
// the hours the system-level INCENT_HOUR_TYPE preference chooses.
class ReportCommand final : public AdminCommand {
public:
    struct Options {
        QString database;
        QDate from;
        QDate to;
        QList<int> partitions;
        QString format;
        QString output;
    };

    QString name() const override { return QStringLiteral("report"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

    // Throws UsageError for anything missing, unknown or malformed, and for --from after --to.
    static Options parseOptions(const QStringList& arguments);
};

} // namespace velora::admin
