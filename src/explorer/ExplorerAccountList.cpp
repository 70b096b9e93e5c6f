#include "ExplorerAccountList.h"

#include "catalogue/Account.h"

namespace velora::explorer {

namespace {

const QString& summaryID() {
    static const QString id = QString::number(catalogue::SpecialAccountID::Summary);
    return id;
}

} // namespace

ExplorerAccountList::ExplorerAccountList() {
    reset();
}

void ExplorerAccountList::reset() {
    records_.clear();
    first_.clear();
    last_.clear();
    firstOutsideSummary_.clear();
    userTakes_.assign(1, 0);
    groupTakes_.assign(1, 0);
    summaries_.assign(1, 0);
    firstRepeat_ = 0;
    firstRepeatOutsideSummary_ = 0;
    append(summaryID(), QStringLiteral("__Account Summary"), false,
           static_cast<qint16>(catalogue::SpecialAccountID::Summary));
}

void ExplorerAccountList::append(const QString& accountID, const QString& accountName,
                                 bool isDeleted, qint16 number) {
    const int index = size();
    const bool repeated = first_.contains(accountID);
    const bool summary = accountID == summaryID();
    records_.push_back({accountID, accountName, isDeleted, number});
    if (!repeated)
        first_.insert(accountID, index);
    last_.insert(accountID, index);
    if (firstRepeat_ == index && !repeated)
        firstRepeat_ = index + 1;
    if (firstRepeatOutsideSummary_ == index) {
        if (summary || !firstOutsideSummary_.contains(accountID))
            firstRepeatOutsideSummary_ = index + 1;
    }
    if (!summary && !firstOutsideSummary_.contains(accountID))
        firstOutsideSummary_.insert(accountID, index);
    userTakes_.push_back(userTakes_.back() + (userFolderTakes(number) ? 1 : 0));
    groupTakes_.push_back(groupTakes_.back() + (groupFolderTakes(number) ? 1 : 0));
    summaries_.push_back(summaries_.back() + (summary ? 1 : 0));
}

} // namespace velora::explorer
