#pragma once

#include "PromptDialog.h"
#include "catalogue/CatalogueCollection.h"
#include "catalogue/Partition.h"

class QComboBox;

namespace velora::groups {

// The text-entry dialog with a choice of partition: the name of a new formula or group and the
// partition that will hold it. OK and Enter take the text only while a partition is chosen.
//
// Controls: lblPrompt, txtInput, lblPartition, cboPartition, cmdOK, cmdCancel.
class frmInputBoxPart : public PromptDialog {
    Q_OBJECT

public:
    explicit frmInputBoxPart(QWidget* parent = nullptr);

    QLineEdit* txtInput() const { return entryField(); }
    QLabel* lblPartition() const { return partitionLabel_; }
    QComboBox* cboPartition() const { return partitions_; }

    // One entry per partition, in the collection's order, reading "name (description)" with the
    // partition's id as item data; the entry of `partitionID` is selected, or the first entry
    // when no partition has that id.
    void FillPartitionCombo(const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                            qint16 partitionID);
    // The id of the chosen partition; -1 when none is chosen.
    qint16 SelectedPartitionID() const;

protected:
    bool acceptsInput() const override;

private:
    QLabel* partitionLabel_;
    QComboBox* partitions_;
};

} // namespace velora::groups
