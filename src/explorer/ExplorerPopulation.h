#pragma once

#include <QString>

namespace velora::explorer {

// The members through which the catalogue display fills the explorer. IncentiveExplorer
// implements them; the display knows nothing else of the control.
class ExplorerPopulation {
public:
    virtual ~ExplorerPopulation() = default;

    virtual void AddAccount(const QString& accountName, const QString& accountID,
                            bool isDeleted = false) = 0;
    virtual void AddFormula(const QString& formulaName, const QString& formulaID) = 0;
    virtual void AddGroup(const QString& groupName, const QString& groupID,
                          const QString& tag = QString(), bool deferred = false) = 0;
    virtual void AddUser(const QString& userText, const QString& transID, const QString& tag,
                         bool isDeleted, bool deferred) = 0;
    virtual void SetOperatorMode(bool operatorMode) = 0;
    virtual void Sort() = 0;
};

} // namespace velora::explorer
