#include "PartitionNamePrompter.h"

#include "frmInputBoxPart.h"

namespace velora::groups {

DialogPartitionNamePrompter::DialogPartitionNamePrompter(QWidget* owner)
    : owner_(owner) {}

// A dialog without an owner window is this object's to delete; an owned one goes with the owner.
DialogPartitionNamePrompter::~DialogPartitionNamePrompter() {
    if (!owner_)
        delete dialog_.data();
}

PartitionNameResult DialogPartitionNamePrompter::PromptForName(
    const QString& caption, const QString& prompt, const QString& text,
    const catalogue::CatalogueCollection<catalogue::Partition>& partitions, qint16 partitionID) {
    if (!dialog_)
        dialog_ = new frmInputBoxPart(owner_);
    dialog_->Load(caption, prompt, text);
    dialog_->FillPartitionCombo(partitions, partitionID);
    dialog_->exec();
    PartitionNameResult result{dialog_->UnloadType(), dialog_->UserInput(),
                               dialog_->SelectedPartitionID()};
    dialog_->Unload();
    return result;
}

} // namespace velora::groups
