#include "frmInputBoxPart.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velora::groups {

frmInputBoxPart::frmInputBoxPart(QWidget* parent)
    : PromptDialog(QStringLiteral("frmInputBoxPart"), QStringLiteral("Incentive"),
                   QStringLiteral("txtInput"), parent)
    , partitionLabel_(new QLabel(QStringLiteral("Select containing partition:"), this))
    , partitions_(new QComboBox(this)) {
    partitionLabel_->setObjectName(QStringLiteral("lblPartition"));
    partitions_->setObjectName(QStringLiteral("cboPartition"));
    partitionLabel_->setBuddy(partitions_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK());
    buttons->addWidget(cmdCancel());
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblPrompt());
    outer->addWidget(txtInput());
    outer->addWidget(partitionLabel_);
    outer->addWidget(partitions_);
    outer->addLayout(buttons);
    setMinimumWidth(360);
}

void frmInputBoxPart::FillPartitionCombo(
    const catalogue::CatalogueCollection<catalogue::Partition>& partitions, qint16 partitionID) {
    partitions_->clear();
    for (const auto& partition : partitions)
        partitions_->addItem(partition->PartitionName() + QStringLiteral(" (") +
                                 partition->PartitionDesc() + QLatin1Char(')'),
                             partition->PartitionID());
    const int wanted = partitions_->findData(static_cast<int>(partitionID));
    partitions_->setCurrentIndex(wanted >= 0 ? wanted : (partitions_->count() > 0 ? 0 : -1));
}

qint16 frmInputBoxPart::SelectedPartitionID() const {
    const int index = partitions_->currentIndex();
    return index < 0 ? qint16(-1) : static_cast<qint16>(partitions_->itemData(index).toInt());
}

// A name without a partition cannot be stored anywhere.
bool frmInputBoxPart::acceptsInput() const {
    return partitions_->currentIndex() >= 0;
}

} // namespace velora::groups
