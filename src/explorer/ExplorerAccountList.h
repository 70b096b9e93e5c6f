#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace velora::explorer {

// One account the explorer knows, in the order AddAccount received them.
struct ExplorerAccountRecord {
    QString AccountID;
    QString AccountName;
    bool IsDeleted = false;
    qint16 number = 0; // AccountID as a number, for the folder rules
};

// The explorer's account list. Besides the records it keeps running counts, so that the
// number of accounts an account folder would receive from any stretch of the list is known
// without walking it: folders that nobody has opened are never filled (ExplorerTree).
class ExplorerAccountList {
public:
    ExplorerAccountList();

    // Back to the single record {"-2", "__Account Summary", false}.
    void reset();
    void append(const QString& accountID, const QString& accountName, bool isDeleted,
                qint16 number);

    int size() const { return static_cast<int>(records_.size()); }
    const ExplorerAccountRecord& at(int index) const { return records_.at(std::size_t(index)); }

    // First and last record with that AccountID (exact text), -1 when none.
    int indexOf(const QString& accountID) const { return first_.value(accountID, -1); }
    int lastIndexOf(const QString& accountID) const { return last_.value(accountID, -1); }

    // Which records AddAccount puts into a user's and into a group's account folder.
    static bool userFolderTakes(qint16 number) { return number == -1 || number >= 0; }
    static bool groupFolderTakes(qint16 number) { return number == -3 || number >= 0; }

    // How many records of [from, to) a user folder, a group folder takes; how many are the
    // account summary "-2" (which a group's immediate copy leaves out).
    int userFolderShare(int from, int to) const { return span(userTakes_, from, to); }
    int groupFolderShare(int from, int to) const { return span(groupTakes_, from, to); }
    int summaryCount(int from, int to) const { return span(summaries_, from, to); }

    // The first record whose AccountID an earlier record already has (size() when none):
    // an immediate copy of the list stops there with a duplicate key. The second ignores the
    // "-2" records, which a group's copy skips.
    int firstRepeat() const { return firstRepeat_; }
    int firstRepeatOutsideSummary() const { return firstRepeatOutsideSummary_; }

private:
    static int span(const std::vector<int>& prefix, int from, int to) {
        return to <= from ? 0 : prefix[std::size_t(to)] - prefix[std::size_t(from)];
    }

    std::vector<ExplorerAccountRecord> records_;
    QHash<QString, int> first_;
    QHash<QString, int> last_;
    QHash<QString, int> firstOutsideSummary_;
    // Running counts: entry i counts the records [0, i).
    std::vector<int> userTakes_;
    std::vector<int> groupTakes_;
    std::vector<int> summaries_;
    int firstRepeat_ = 0;
    int firstRepeatOutsideSummary_ = 0;
};

} // namespace velora::explorer
