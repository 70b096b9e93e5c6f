#include "frmPayPeriodReport.h"

#include "ReportCsv.h"
#include "ReportPdf.h"
#include "ReportXlsx.h"
#include "common/AppContext.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "detail/ConnectionUse.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace velora::report {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QTableView* reportTable(QWidget* parent, const char* name, PayPeriodReportModel& model) {
    auto* table = named(new QTableView(parent), name);
    table->setModel(&model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView* header = table->horizontalHeader();
    header->setDefaultSectionSize(100);
    header->resizeSection(static_cast<int>(ReportColumn::Key), 90);
    header->setSectionResizeMode(static_cast<int>(ReportColumn::Name), QHeaderView::Stretch);
    return table;
}

QString defaultFileChooser(QWidget* parent, const QString& caption, const QString& suggested,
                           const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, QDir::home().filePath(suggested), filter);
}

} // namespace

frmPayPeriodReport::frmPayPeriodReport(PayPeriodReportSettings settings, QWidget* parent)
    : QDialog(parent)
    , settings_(std::move(settings)) {
    setObjectName(QStringLiteral("frmPayPeriodReport"));
    setWindowTitle(tr("Pay Period Report"));
    chooseFile_ = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return defaultFileChooser(this, caption, suggested, filter);
    };
    auto* layout = new QVBoxLayout(this);
    buildPeriodControls();
    buildPartitionList();
    buildTables();
    buildButtons();
    layout->addWidget(findChild<QWidget*>(QStringLiteral("fraReportChoice")));
    layout->addWidget(findChild<QSplitter*>(QStringLiteral("splReportTables")), 1);
    layout->addWidget(lblStatus_);
    layout->addWidget(findChild<QWidget*>(QStringLiteral("fraReportButtons")));
    resize(900, 620);
    updatePeriodControls();
}

void frmPayPeriodReport::buildPeriodControls() {
    auto* frame = named(new QWidget(this), "fraReportChoice");
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    cmbPeriod_ = named(new QComboBox(frame), "cmbReportPeriod");
    cmbPeriod_->addItem(tr("Week"), static_cast<int>(PayPeriod::Kind::Week));
    cmbPeriod_->addItem(tr("Bi-Week"), static_cast<int>(PayPeriod::Kind::BiWeek));
    cmbPeriod_->addItem(tr("Month"), static_cast<int>(PayPeriod::Kind::Month));
    cmbPeriod_->addItem(tr("Dates"), static_cast<int>(PayPeriod::Kind::Range));
    cmbPeriod_->setCurrentIndex(1);
    const QString dateFormat = QLocale().dateFormat(QLocale::ShortFormat);
    // The last complete day: the bi-week around it is the one the weekly detail's bi-week row
    // shows when the program starts.
    const QDate yesterday = settings_.today.addDays(-1);
    dtpFrom_ = named(new QDateEdit(yesterday, frame), "dtpReportFrom");
    dtpTo_ = named(new QDateEdit(yesterday, frame), "dtpReportTo");
    for (QDateEdit* edit : {dtpFrom_, dtpTo_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(dateFormat);
        connect(edit, &QDateEdit::dateChanged, this, &frmPayPeriodReport::updatePeriodControls);
    }
    connect(cmbPeriod_, &QComboBox::currentIndexChanged, this,
            &frmPayPeriodReport::updatePeriodControls);
    lblFrom_ = named(new QLabel(frame), "lblReportFrom");
    lblPeriod_ = named(new QLabel(frame), "lblReportPeriod");
    auto* show = named(new QPushButton(tr("&Show"), frame), "cmdReportShow");
    show->setDefault(true);
    connect(show, &QPushButton::clicked, this, &frmPayPeriodReport::showReport);
    grid->addWidget(new QLabel(tr("Period:"), frame), 0, 0);
    grid->addWidget(cmbPeriod_, 0, 1);
    grid->addWidget(lblFrom_, 0, 2);
    grid->addWidget(dtpFrom_, 0, 3);
    grid->addWidget(named(new QLabel(tr("To:"), frame), "lblReportTo"), 0, 4);
    grid->addWidget(dtpTo_, 0, 5);
    grid->addWidget(show, 0, 6);
    grid->addWidget(lblPeriod_, 1, 1, 1, 6);
    grid->setColumnStretch(7, 1);
}

void frmPayPeriodReport::buildPartitionList() {
    auto* frame = findChild<QWidget*>(QStringLiteral("fraReportChoice"));
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    grid->addWidget(new QLabel(tr("Partitions:"), frame), 0, 8, Qt::AlignTop);
    lstPartitions_ = named(new QListWidget(frame), "lstReportPartitions");
    lstPartitions_->setMaximumHeight(80);
    for (const auto& [id, name] : settings_.partitions) {
        auto* item = new QListWidgetItem(name, lstPartitions_);
        item->setData(Qt::UserRole, id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    if (!settings_.partitionMode) {
        lstPartitions_->hide();
        grid->addWidget(named(new QLabel(tr("All users"), frame), "lblReportAllPartitions"), 0, 9,
                        Qt::AlignTop);
        return;
    }
    grid->addWidget(lstPartitions_, 0, 9, 2, 1);
}

void frmPayPeriodReport::buildTables() {
    auto* splitter = named(new QSplitter(Qt::Vertical, this), "splReportTables");
    tblUsers_ = reportTable(splitter, "tblReportUsers", users_);
    tblUsers_->setSortingEnabled(true);
    tblUsers_->sortByColumn(static_cast<int>(ReportColumn::Name), Qt::AscendingOrder);
    connect(tblUsers_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { showAccounts(index.row()); });
    auto* lower = new QWidget(splitter);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lblAccounts_ = named(new QLabel(tr("Click a user to see the user's accounts."), lower),
                         "lblReportAccounts");
    tblAccounts_ = reportTable(lower, "tblReportAccounts", accounts_);
    lowerLayout->addWidget(lblAccounts_);
    lowerLayout->addWidget(tblAccounts_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    lblStatus_ = named(new QLabel(this), "lblReportStatus");
    lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void frmPayPeriodReport::buildButtons() {
    auto* frame = named(new QWidget(this), "fraReportButtons");
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](const char* name, const QString& text,
                            void (frmPayPeriodReport::*slot)()) {
        auto* push = named(new QPushButton(text, frame), name);
        push->setAutoDefault(false);
        push->setEnabled(slot == &QDialog::accept);
        connect(push, &QPushButton::clicked, this, slot);
        row->addWidget(push);
    };
    button("cmdReportExportCsv", tr("Export &CSV..."), &frmPayPeriodReport::exportCsv);
    button("cmdReportExportXlsx", tr("Export &XLSX..."), &frmPayPeriodReport::exportXlsx);
    button("cmdReportPrintPdf", tr("Print to &PDF..."), &frmPayPeriodReport::printPdf);
    row->addStretch(1);
    button("cmdReportClose", tr("Close"), &QDialog::accept);
}

void frmPayPeriodReport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    QTimer::singleShot(0, this, &frmPayPeriodReport::showReport);
}

PayPeriodReportSettings frmPayPeriodReport::settingsFor(common::AppContext& context) {
    std::vector<std::pair<int, QString>> partitions;
    for (const auto& partition : context.accessiblePartitions)
        partitions.emplace_back(partition->PartitionID(), partition->PartitionName());
    return {*context.connection,          context.messages,
            context.preferences.hourType, context.preferences.firstDayOfWeek,
            context.partitionMode,        std::move(partitions),
            QDate::currentDate()};
}

PayPeriod frmPayPeriodReport::chosenPeriod() const {
    const auto kind = static_cast<PayPeriod::Kind>(cmbPeriod_->currentData().toInt());
    return PayPeriod::of(kind, dtpFrom_->date(), dtpTo_->date(), settings_.firstDayOfWeek);
}

QString frmPayPeriodReport::hoursBasis(int hourMode) {
    return hourMode == 2 ? tr("Hours: hours typed") : tr("Hours: system hours (activity log)");
}

// A range shows both dates; the other periods need only the day they contain.
void frmPayPeriodReport::updatePeriodControls() {
    const bool range =
        cmbPeriod_->currentData().toInt() == static_cast<int>(PayPeriod::Kind::Range);
    lblFrom_->setText(range ? tr("From:") : tr("Day:"));
    dtpTo_->setEnabled(range);
    const PayPeriod period = chosenPeriod();
    const QLocale locale;
    lblPeriod_->setText(period.isValid()
                            ? tr("%1 to %2 (%n day(s))", nullptr, static_cast<int>(period.days()))
                                  .arg(locale.toString(period.from(), QLocale::LongFormat),
                                       locale.toString(period.to(), QLocale::LongFormat))
                            : tr("The first date is after the last."));
}

std::optional<QList<int>> frmPayPeriodReport::chosenPartitions() const {
    QList<int> chosen;
    if (!settings_.partitionMode)
        return chosen;
    for (int i = 0; i < lstPartitions_->count(); ++i) {
        const QListWidgetItem* item = lstPartitions_->item(i);
        if (item->checkState() == Qt::Checked)
            chosen << item->data(Qt::UserRole).toInt();
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

bool frmPayPeriodReport::showReport() {
    const PayPeriod period = chosenPeriod();
    if (!period.isValid()) {
        settings_.messages.inform(tr("The first date of the period is after the last date."),
                                  common::MessageIcon::Warning);
        return false;
    }
    const std::optional<QList<int>> partitions = chosenPartitions();
    if (!partitions) {
        settings_.messages.inform(tr("Choose at least one partition."),
                                  common::MessageIcon::Warning);
        return false;
    }
    scope_ = {settings_.hourMode, *partitions};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        detail::ConnectionUse use(settings_.connection);
        users_.setTable(PayPeriodReport(settings_.connection).users(period, scope_));
    } catch (const db::DbError& e) {
        QApplication::restoreOverrideCursor();
        reportDatabaseError(e.number(), e.description());
        return false;
    }
    QApplication::restoreOverrideCursor();
    for (const char* name : {"cmdReportExportCsv", "cmdReportExportXlsx", "cmdReportPrintPdf"})
        findChild<QPushButton*>(QLatin1String(name))->setEnabled(true);
    accountLines_.reset();
    accounts_.setTable({});
    lblAccounts_->setText(tr("Click a user to see the user's accounts."));
    const std::size_t count = users_.table().lines.size();
    lblStatus_->setText((count == 0 ? tr("No production in this period.")
                                    : tr("%n user(s).", nullptr, static_cast<int>(count))) +
                        QStringLiteral("  ") + hoursBasis(settings_.hourMode));
    return true;
}

void frmPayPeriodReport::showAccounts(int row) {
    const ReportLine* user = users_.lineAt(row);
    if (!user) {
        accounts_.setTable({});
        lblAccounts_->setText(tr("Click a user to see the user's accounts."));
        return;
    }
    if (!accountLines_) {
        try {
            detail::ConnectionUse use(settings_.connection);
            accountLines_ =
                PayPeriodReport(settings_.connection).accounts(users_.table().period, scope_);
        } catch (const db::DbError& e) {
            reportDatabaseError(e.number(), e.description());
            return;
        }
    }
    ReportTable table;
    table.period = users_.table().period;
    table.accountLines = true;
    if (const auto found = accountLines_->find(PayPeriodReport::userKey(user->key));
        found != accountLines_->end())
        table.lines = found->second;
    table.total = user->figures;
    accounts_.setTable(std::move(table));
    // As in the weekly detail, system hours belong to the user, not to an account, and the
    // user's total counts each day's IHours once.
    const QString hoursNote =
        scope_.hourMode == 2
            ? QString()
            : tr(" (Hours are the user's system hours; the total counts each day's IHours once)");
    lblAccounts_->setText(tr("Accounts of %1 (%2)%3:").arg(user->name, user->key, hoursNote));
}

void frmPayPeriodReport::exportTo(const QString& caption, const QString& extension,
                                  const QString& filter,
                                  const std::function<ExportResult(const QString&)>& write) {
    const QString suggested = QStringLiteral("pay-period-") + users_.table().period.title() +
                              QLatin1Char('.') + extension;
    // Nothing to export before a report has been shown (the first one failed, say).
    if (!users_.table().period.isValid())
        return;
    QString path = chooseFile_(
        caption, QString(suggested).replace(QLatin1Char(' '), QLatin1Char('-')), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    const ExportResult result = write(path);
    if (!result.ok) {
        settings_.messages.inform(result.message, common::MessageIcon::Critical);
        return;
    }
    lblStatus_->setText(tr("Written to %1").arg(QDir::toNativeSeparators(path)));
}

void frmPayPeriodReport::exportCsv() {
    exportTo(tr("Export CSV"), QStringLiteral("csv"), tr("CSV files (*.csv)"),
             [this](const QString& path) { return ReportCsv::write(users_.table(), path); });
}

void frmPayPeriodReport::exportXlsx() {
    exportTo(tr("Export XLSX"), QStringLiteral("xlsx"), tr("Excel workbooks (*.xlsx)"),
             [this](const QString& path) { return ReportXlsx::write(users_.table(), path); });
}

void frmPayPeriodReport::printPdf() {
    exportTo(tr("Print to PDF"), QStringLiteral("pdf"), tr("PDF documents (*.pdf)"),
             [this](const QString& path) {
                 return ReportPdf::write(users_.table(), hoursBasis(settings_.hourMode), path);
             });
}

void frmPayPeriodReport::reportDatabaseError(int number, const QString& description) {
    settings_.messages.inform(tr("An Error Occurred Attempting To Make The Pay Period Report.") +
                                  QStringLiteral("\n\nError ") + QString::number(number) +
                                  QLatin1Char(':') + description,
                              common::MessageIcon::Critical);
}

} // namespace velora::report
