#pragma once

#include "SystemInfoReport.h"

#include <QDialog>

class QTableWidget;

namespace velora::shell {

// The system-information window: connection, configuration, user and workstation in a
// read-only two-column table, a heading row per section, and Copy, which puts the same report
// on the clipboard as text (for a support request). The connection string's password is shown
// as "****". Long values wrap instead of being cut off.
//
// Controls: tblSystemInfo, cmdCopy, cmdClose.
class SystemInformationDialog : public QDialog {
    Q_OBJECT

public:
    explicit SystemInformationDialog(const SystemInfo& info, QWidget* owner = nullptr);

    QTableWidget* tblSystemInfo() const { return table_; }
    // What Copy puts on the clipboard.
    QString reportText() const { return report_.toText(); }

    void copyToClipboard() const;

private:
    void buildTable();
    void addHeading(const QString& title);
    void addRow(const SystemInfoReport::Row& row);

    SystemInfoReport report_;
    QTableWidget* table_;
};

} // namespace velora::shell
