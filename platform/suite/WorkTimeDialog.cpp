#include "WorkTimeDialog.h"

#include "SuiteError.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velora::suite {

namespace {

QString workTypeText(int workType) {
    switch (workType) {
    case 1:
        return QObject::tr("Transcription");
    case 2:
        return QObject::tr("Other work");
    default:
        return QString::number(workType);
    }
}

QString updateTypeText(int updateType) {
    switch (updateType) {
    case 9:
        return QObject::tr("Counted");
    case 6:
        return QObject::tr("Left out");
    default:
        return QString::number(updateType);
    }
}

QTableWidgetItem* readOnlyItem(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

WorkTimeDialog::WorkTimeDialog(const WorkTimeRequest& request, QWidget* parent)
    : QDialog(parent)
    , locale_(request.locale)
    , grdActivity_(new QTableWidget(this))
    , txtSystemHours_(
          new QLineEdit(WorkTimeEditor::hoursText(request.systemSeconds, request.locale), this))
    , lblMessage_(new QLabel(this))
    , cmdOK_(new QPushButton(tr("OK"), this))
    , cmdCancel_(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("frmWorkTime"));
    setWindowTitle(tr("Work Time - %1, %2").arg(request.transID, request.dateText));
    grdActivity_->setObjectName(QStringLiteral("grdActivity"));
    txtSystemHours_->setObjectName(QStringLiteral("txtSystemHours"));
    txtSystemHours_->setAlignment(Qt::AlignRight);
    txtSystemHours_->setReadOnly(!request.editable);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setStyleSheet(QStringLiteral("color: #a00000;"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    fillActivities(request);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&System hours:"), txtSystemHours_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblMessage_, 1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdActivity_);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumSize(420, 300);

    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtSystemHours_, &QLineEdit::textChanged, this, &WorkTimeDialog::updateOkButton);
    updateOkButton();
    txtSystemHours_->selectAll();
    txtSystemHours_->setFocus();
}

void WorkTimeDialog::fillActivities(const WorkTimeRequest& request) {
    grdActivity_->setColumnCount(4);
    grdActivity_->setHorizontalHeaderLabels(
        {tr("Work type"), tr("Update type"), tr("Counted"), tr("Hours")});
    grdActivity_->setRowCount(static_cast<int>(request.activities.size()));
    grdActivity_->verticalHeader()->hide();
    grdActivity_->horizontalHeader()->setStretchLastSection(true);
    grdActivity_->setSelectionMode(QAbstractItemView::NoSelection);
    int row = 0;
    for (const WorkTimeActivity& activity : request.activities) {
        grdActivity_->setItem(row, 0, readOnlyItem(workTypeText(activity.workType)));
        grdActivity_->setItem(row, 1, readOnlyItem(updateTypeText(activity.updateType)));
        grdActivity_->setItem(row, 2,
                              readOnlyItem(activity.countActivity > 0 ? tr("Yes") : tr("No")));
        grdActivity_->setItem(
            row, 3,
            readOnlyItem(WorkTimeEditor::hoursText(activity.activityTime, request.locale),
                         Qt::AlignRight));
        ++row;
    }
}

std::optional<int> WorkTimeDialog::typedSeconds() const {
    try {
        return WorkTimeEditor::secondsOfHours(txtSystemHours_->text(), locale_);
    } catch (const SuiteError&) {
        return std::nullopt;
    }
}

void WorkTimeDialog::updateOkButton() {
    const bool valid = typedSeconds().has_value();
    cmdOK_->setEnabled(valid && !txtSystemHours_->isReadOnly());
    lblMessage_->setText(valid ? QString() : tr("Type the hours of the day (0 to 24)."));
}

std::optional<int> WorkTimeDialog::answer() const {
    if (result() != QDialog::Accepted)
        return std::nullopt;
    return typedSeconds();
}

std::optional<int> WorkTimeDialog::prompt(const WorkTimeRequest& request) {
    WorkTimeDialog dialog(request);
    dialog.exec();
    return dialog.answer();
}

} // namespace velora::suite
