#pragma once

#include "Catalogue.h"

#include <QString>
#include <functional>
#include <optional>

namespace velora::db {
class Connection;
class Recordset;
} // namespace velora::db

namespace velora::catalogue {

// Reads the five catalogue collections from the database, one statement each, in the order
// partitions, accounts, users, formulas, groups.
//
// Before each statement the progress callback receives the step's message ("Loading
// Partitions..." and so on); the caller shows it and returns false when the operator has
// cancelled, which stops the load before the statement runs. Failures of the database come
// out as db::DbError; a row that cannot be converted (a NULL flag, a date that is not a date)
// or two rows under the same key come out as CatalogueError.
class CatalogueLoader {
public:
    using Progress = std::function<bool(const QString& message)>;

    explicit CatalogueLoader(db::Connection& connection);

    // INCENT_SHOW_DELETED_USERS: when off, deleted users are not read at all.
    void setShowDeletedUsers(bool show) { showDeletedUsers_ = show; }
    void setProgress(Progress progress) { progress_ = std::move(progress); }

    // A new catalogue, or nothing when the progress callback cancelled the load.
    std::optional<Catalogue> load();

    // Replaces the collections of an existing catalogue one after another, each just before
    // its rows are read; false when the progress callback cancelled. When a statement fails,
    // the collections read before it are already new and the failing one holds the rows read
    // so far: a caller that carries on after the failure works with what is there.
    bool loadInto(Catalogue& catalogue);

private:
    bool report(const QString& message) const;
    void loadPartitions(Catalogue& catalogue);
    void loadAccounts(Catalogue& catalogue);
    void loadUsers(Catalogue& catalogue);
    void loadFormulas(Catalogue& catalogue);
    void loadGroups(Catalogue& catalogue);
    void addUser(Catalogue& catalogue, const db::Recordset& row);

    db::Connection& connection_;
    Progress progress_;
    bool showDeletedUsers_ = false;
};

} // namespace velora::catalogue
