#pragma once

#include <QString>

namespace velora::catalogue {

// One transcriptionist (a Trans_info row of trans_type 1). TransID is also the catalogue key;
// a deleted user's TransID ends in " DEL" so that it never collides with a live user's id.
class User {
public:
    int PartitionID() const { return partitionID_; }
    void setPartitionID(int value) { partitionID_ = value; }

    const QString& TransID() const { return transID_; }
    void setTransID(const QString& value) { transID_ = value; }

    const QString& TransName() const { return transName_; }
    void setTransName(const QString& value) { transName_ = value; }

    const QString& UserID() const { return userID_; }
    void setUserID(const QString& value) { userID_ = value; }

    int GroupID() const { return groupID_; }
    void setGroupID(int value) { groupID_ = value; }

    bool IsDeleted() const { return isDeleted_; }
    void setIsDeleted(bool value) { isDeleted_ = value; }

    // Comma-separated partition ids ("3,7,12"); only the current-user record fills it.
    const QString& AvailablePartitions() const { return availablePartitions_; }
    void setAvailablePartitions(const QString& value) { availablePartitions_ = value; }

private:
    int partitionID_ = 0;
    QString transID_;
    QString transName_;
    QString userID_;
    int groupID_ = 0;
    bool isDeleted_ = false;
    QString availablePartitions_;
};

// Appended to a deleted user's TransID.
inline const QString kDeletedUserMark = QStringLiteral(" DEL");

// A user's TransID and catalogue key: the trimmed trans_id, followed by " DEL" for a deleted
// user, so that a deleted and a live user with the same trans_id can both be held.
inline QString UserKey(const QString& transId, bool isDeleted) {
    const QString trimmed = transId.trimmed();
    return isDeleted ? trimmed + kDeletedUserMark : trimmed;
}

// The trans_id a user's rows carry: the TransID without the mark of a deleted user. Statements
// take this, never the TransID itself.
inline QString DatabaseTransID(const User& user) {
    const QString& key = user.TransID();
    return user.IsDeleted() && key.endsWith(kDeletedUserMark) ? key.chopped(kDeletedUserMark.size())
                                                              : key;
}

} // namespace velora::catalogue
