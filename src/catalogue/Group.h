#pragma once

#include <QDate>
#include <QString>

namespace velora::catalogue {

// One incentive group of Incentive_group.
class Group {
public:
    int PartitionID() const { return partitionID_; }
    void setPartitionID(int value) { partitionID_ = value; }

    int GroupID() const { return groupID_; }
    void setGroupID(int value) { groupID_ = value; }

    const QString& GroupName() const { return groupName_; }
    void setGroupName(const QString& value) { groupName_ = value; }

    // The day from which the group's current formula assignment applies.
    const QDate& EffectiveDate() const { return effectiveDate_; }
    void setEffectiveDate(const QDate& value) { effectiveDate_ = value; }

    // The default group of its partition (flag1 set).
    bool IsPartitionDefault() const { return isPartitionDefault_; }
    void setIsPartitionDefault(bool value) { isPartitionDefault_ = value; }

private:
    int partitionID_ = 0;
    int groupID_ = 0;
    QString groupName_;
    QDate effectiveDate_;
    bool isPartitionDefault_ = false;
};

} // namespace velora::catalogue
