#pragma once

#include <QString>

namespace velora::catalogue {

// One partition of System_partitions.
class Partition {
public:
    int PartitionID() const { return partitionID_; }
    void setPartitionID(int value) { partitionID_ = value; }

    const QString& PartitionName() const { return partitionName_; }
    void setPartitionName(const QString& value) { partitionName_ = value; }

    const QString& PartitionDesc() const { return partitionDesc_; }
    void setPartitionDesc(const QString& value) { partitionDesc_ = value; }

private:
    int partitionID_ = 0;
    QString partitionName_;
    QString partitionDesc_;
};

} // namespace velora::catalogue
