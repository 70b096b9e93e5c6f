#pragma once

#include "DemoCatalogue.h"
#include "DemoFormulas.h"
#include "DemoOptions.h"

struct sqlite3;

namespace velora::admin {

// Writes the demo catalogue into a database made from the schema: partitions, accounts,
// suite users, formulas, groups with their formula assignments, and the suite logins.
class DemoCatalogueWriter {
public:
    DemoCatalogueWriter(sqlite3* db, const DemoOptions& options)
        : db_(db)
        , options_(options) {}

    void write(const DemoCatalogue& catalogue, const DemoFormulas& formulas);

private:
    void writePartitions(const DemoCatalogue& catalogue);
    void writeAccounts(const DemoCatalogue& catalogue);
    void writeUsers(const DemoCatalogue& catalogue);
    void writeFormulas(const DemoFormulas& formulas);
    void writeGroups(const DemoCatalogue& catalogue);
    void writeLogins(const DemoCatalogue& catalogue);

    sqlite3* db_;
    const DemoOptions& options_;
};

} // namespace velora::admin
