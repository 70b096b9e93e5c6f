#pragma once

#include "PromptDialog.h"
#include "catalogue/CatalogueCollection.h"
#include "catalogue/Partition.h"

#include <QPointer>
#include <QString>

namespace velora::groups {

class frmInputBoxPart;

// The answer of a prompt for a name and its partition: how the dialog was left (UnloadCode),
// the text entered and the partition chosen (-1 when none was).
struct PartitionNameResult {
    int unloadType = UnloadCode::None;
    QString text;
    qint16 partitionID = -1;

    bool confirmed() const { return unloadType == UnloadCode::OK; }
};

// Asks for the name of a new formula or group together with the partition that will hold it,
// offering the given partitions with `partitionID` preselected. The program shows the dialog;
// tests answer from a script.
class PartitionNamePrompter {
public:
    virtual ~PartitionNamePrompter() = default;
    virtual PartitionNameResult
    PromptForName(const QString& caption, const QString& prompt, const QString& text,
                  const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                  qint16 partitionID) = 0;
};

// The prompt shown with frmInputBoxPart, modal over its owner window. The dialog is made on its
// first use and kept; each prompt loads it afresh and unloads it afterwards.
class DialogPartitionNamePrompter final : public PartitionNamePrompter {
public:
    explicit DialogPartitionNamePrompter(QWidget* owner);
    ~DialogPartitionNamePrompter() override;
    DialogPartitionNamePrompter(const DialogPartitionNamePrompter&) = delete;
    DialogPartitionNamePrompter& operator=(const DialogPartitionNamePrompter&) = delete;

    PartitionNameResult
    PromptForName(const QString& caption, const QString& prompt, const QString& text,
                  const catalogue::CatalogueCollection<catalogue::Partition>& partitions,
                  qint16 partitionID) override;

private:
    QWidget* owner_;
    QPointer<frmInputBoxPart> dialog_;
};

} // namespace velora::groups
