#include "SystemInformationDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velora::shell {

namespace {

// The value with a break opportunity after every ';', so that a long connection string
// wraps between its pairs.
QString breakable(const QString& value) {
    QString text = value;
    return text.replace(QLatin1Char(';'), QStringLiteral(";\u200B"));
}

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

SystemInformationDialog::SystemInformationDialog(const SystemInfo& info, QWidget* owner)
    : QDialog(owner)
    , report_(info)
    , table_(new QTableWidget(0, 2, this)) {
    setObjectName(QStringLiteral("frmSystemInfo"));
    setWindowTitle(tr("System Information"));
    buildTable();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    copy->setToolTip(tr("Copy the system information to the clipboard as text"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(copy, &QPushButton::clicked, this, &SystemInformationDialog::copyToClipboard);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(680, 500);
    close->setFocus(); // not the table, whose first cell would show as current
}

void SystemInformationDialog::buildTable() {
    table_->setObjectName(QStringLiteral("tblSystemInfo"));
    table_->setHorizontalHeaderLabels({tr("Item"), tr("Value")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setShowGrid(false);
    table_->setWordWrap(true);
    table_->setTextElideMode(Qt::ElideNone);
    for (const SystemInfoReport::Section& section : report_.sections()) {
        addHeading(section.title);
        for (const SystemInfoReport::Row& row : section.rows)
            addRow(row);
    }
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Wrapped values need their rows re-measured whenever the value column changes width.
    connect(header, &QHeaderView::sectionResized, table_, &QTableWidget::resizeRowsToContents);
    table_->resizeRowsToContents();
}

void SystemInformationDialog::addHeading(const QString& title) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* item = readOnlyItem(title);
    QFont bold = table_->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setBackground(table_->palette().brush(QPalette::AlternateBase));
    item->setFlags(Qt::ItemIsEnabled);
    table_->setItem(row, 0, item);
    table_->setSpan(row, 0, 1, 2);
}

void SystemInformationDialog::addRow(const SystemInfoReport::Row& row) {
    const int at = table_->rowCount();
    table_->insertRow(at);
    table_->setItem(at, 0, readOnlyItem(row.item));
    auto* value = readOnlyItem(breakable(row.value));
    value->setToolTip(row.value);
    table_->setItem(at, 1, value);
}

void SystemInformationDialog::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(reportText());
}

} // namespace velora::shell
