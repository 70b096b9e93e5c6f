#pragma once

#include "PayPeriodReport.h"
#include "PayPeriodReportModel.h"
#include "ReportFile.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QTableView;

namespace velora::db {
class Connection;
}
namespace velora::common {
class Messages;
struct AppContext;
} // namespace velora::common

namespace velora::report {

// What the report window needs from the program: the shared connection, the message boxes,
// the operator's hour type and first day of the week, and, in partition mode, the partitions
// within the operator's reach (id, name).
struct PayPeriodReportSettings {
    db::Connection& connection;
    common::Messages& messages;
    int hourMode = 1;
    int firstDayOfWeek = 1;
    bool partitionMode = false;
    std::vector<std::pair<int, QString>> partitions;
    QDate today = QDate::currentDate();
};

// Asks for the file an export goes to (caption, suggested file name, filter); "" cancels.
using SaveFileChooser =
    std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

// File > Pay Period Report: choose a period and the partitions, see every user's figures with
// the total row last, a user's accounts on a click, and export the table as shown to CSV,
// XLSX or PDF.
class frmPayPeriodReport final : public QDialog {
    Q_OBJECT

public:
    frmPayPeriodReport(PayPeriodReportSettings settings, QWidget* parent = nullptr);

    // The main window's settings: its connection and messages, the operator's preferences and,
    // in partition mode, the partitions the operator may see.
    static PayPeriodReportSettings settingsFor(common::AppContext& context);

    // Tests answer the save dialogs here.
    void setFileChooser(SaveFileChooser chooser) { chooseFile_ = std::move(chooser); }

    // Runs the report for the period and partitions chosen; false (with a message) when the
    // choice is incomplete or the database fails.
    bool showReport();
    void showAccounts(int row);
    void exportCsv();
    void exportXlsx();
    void printPdf();

    // The period the controls describe.
    PayPeriod chosenPeriod() const;
    // "System hours (activity log)" or "Hours typed".
    static QString hoursBasis(int hourMode);

protected:
    // The first showing runs the report for the default period (the bi-week holding yesterday).
    void showEvent(QShowEvent* event) override;

private:
    void buildPeriodControls();
    void buildPartitionList();
    void buildTables();
    void buildButtons();
    void updatePeriodControls();
    std::optional<QList<int>> chosenPartitions() const;
    void exportTo(const QString& caption, const QString& extension, const QString& filter,
                  const std::function<ExportResult(const QString&)>& write);
    void reportDatabaseError(int number, const QString& description);

    PayPeriodReportSettings settings_;
    SaveFileChooser chooseFile_;
    PayPeriodReportModel users_;
    PayPeriodReportModel accounts_;
    std::optional<std::map<QString, std::vector<ReportLine>>> accountLines_;
    ReportScope scope_;
    bool shownOnce_ = false;

    QComboBox* cmbPeriod_ = nullptr;
    QDateEdit* dtpFrom_ = nullptr;
    QDateEdit* dtpTo_ = nullptr;
    QLabel* lblFrom_ = nullptr;
    QLabel* lblPeriod_ = nullptr;
    QListWidget* lstPartitions_ = nullptr;
    QTableView* tblUsers_ = nullptr;
    QTableView* tblAccounts_ = nullptr;
    QLabel* lblAccounts_ = nullptr;
    QLabel* lblStatus_ = nullptr;
};

} // namespace velora::report
