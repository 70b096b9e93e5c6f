#pragma once

#include <QString>

namespace velora::catalogue {

// Account ids that no row of Account_info carries: they stand for a group's default account,
// a user's summary over all accounts, and a group's accounts outside its partition.
namespace SpecialAccountID {
constexpr int Default = -1;
constexpr int Summary = -2;
constexpr int External = -3;
} // namespace SpecialAccountID

// One account of Account_info, or one of the special accounts.
class Account {
public:
    int PartitionID() const { return partitionID_; }
    void setPartitionID(int value) { partitionID_ = value; }

    int AccountID() const { return accountID_; }
    void setAccountID(int value) { accountID_ = value; }

    const QString& AccountName() const { return accountName_; }
    void setAccountName(const QString& value) { accountName_ = value; }

    const QString& AccountDesc() const { return accountDesc_; }
    void setAccountDesc(const QString& value) { accountDesc_ = value; }

    bool IsDeleted() const { return isDeleted_; }
    void setIsDeleted(bool value) { isDeleted_ = value; }

private:
    int partitionID_ = 0;
    int accountID_ = 0;
    QString accountName_;
    QString accountDesc_;
    bool isDeleted_ = false;
};

} // namespace velora::catalogue
