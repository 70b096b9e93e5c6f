#pragma once

#include "Account.h"
#include "CatalogueCollection.h"
#include "Formula.h"
#include "Group.h"
#include "Partition.h"
#include "User.h"

namespace velora::catalogue {

// The in-memory copy of the partitions, accounts, users, formulas and groups. Each collection is
// keyed by the decimal text of the record's id, except users, keyed by TransID. A load replaces
// the contents as a whole (clear() first, or a new Catalogue), so nothing of an earlier load
// survives a reload.
class Catalogue {
public:
    CatalogueCollection<Partition>& partitions() { return partitions_; }
    const CatalogueCollection<Partition>& partitions() const { return partitions_; }

    CatalogueCollection<Account>& accounts() { return accounts_; }
    const CatalogueCollection<Account>& accounts() const { return accounts_; }

    CatalogueCollection<User>& users() { return users_; }
    const CatalogueCollection<User>& users() const { return users_; }

    CatalogueCollection<Formula>& formulas() { return formulas_; }
    const CatalogueCollection<Formula>& formulas() const { return formulas_; }

    CatalogueCollection<Group>& groups() { return groups_; }
    const CatalogueCollection<Group>& groups() const { return groups_; }

    void clear();

    // Adds the group's default account ("-1") and external-accounts account ("-3"), which no
    // row of Account_info holds. A load calls it after the accounts' rows.
    void addSpecialAccounts();

    // The trans_id the database holds for a user's key: the key without the " DEL" that marks a
    // deleted user held under it. Any other key is the id itself (outside partition mode the
    // catalogue holds no users and the explorer's keys are the ids).
    QString databaseTransID(const QString& userKey) const;

private:
    CatalogueCollection<Partition> partitions_;
    CatalogueCollection<Account> accounts_;
    CatalogueCollection<User> users_;
    CatalogueCollection<Formula> formulas_;
    CatalogueCollection<Group> groups_;
};

} // namespace velora::catalogue
