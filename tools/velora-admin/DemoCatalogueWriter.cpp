#include "DemoCatalogueWriter.h"

#include "BulkInsert.h"

#include "suite/PasswordHash.h"

#include <optional>

namespace velora::admin {

namespace {

QString dateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

} // namespace

void DemoCatalogueWriter::write(const DemoCatalogue& catalogue, const DemoFormulas& formulas) {
    writePartitions(catalogue);
    writeAccounts(catalogue);
    writeFormulas(formulas);
    writeGroups(catalogue);
    writeUsers(catalogue);
    writeLogins(catalogue);
}

void DemoCatalogueWriter::writePartitions(const DemoCatalogue& catalogue) {
    BulkInsert insert(db_, "INSERT INTO System_partitions (partition_id, parent_id, "
                           "partition_name, partition_description, delete_date) "
                           "VALUES (?, ?, ?, ?, ?)");
    const QString closedOn = dateText(options_.firstDay().addDays(options_.days / 2));
    for (const DemoPartition& partition : catalogue.partitions) {
        if (partition.deleted)
            insert.insert(partition.id, partition.parentId, partition.name, partition.description,
                          closedOn);
        else
            insert.insert(partition.id, partition.parentId, partition.name, partition.description,
                          nullptr);
    }
}

void DemoCatalogueWriter::writeAccounts(const DemoCatalogue& catalogue) {
    BulkInsert insert(db_, "INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                           "hosp_acct_description, is_deleted, partition_id) "
                           "VALUES (?, ?, ?, ?, ?)");
    for (const DemoAccount& account : catalogue.accounts)
        insert.insert(account.id, account.name, account.description, account.deleted,
                      account.partitionId);
}

void DemoCatalogueWriter::writeUsers(const DemoCatalogue& catalogue) {
    BulkInsert insert(db_, "INSERT INTO Trans_info (trans_id, first_name, last_name, "
                           "is_deleted, trans_type, extra3, incentive_group_id, "
                           "incentive_effective_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const DemoUser& user : catalogue.users) {
        if (user.groupIndex < 0) {
            insert.insert(user.transId, user.firstName, user.lastName, user.deleted, user.transType,
                          user.partitionId, nullptr, nullptr);
        } else {
            insert.insert(user.transId, user.firstName, user.lastName, user.deleted, user.transType,
                          user.partitionId, catalogue.groupOf(user).id,
                          dateText(user.effectiveDate));
        }
    }
}

void DemoCatalogueWriter::writeFormulas(const DemoFormulas& formulas) {
    const QString since = dateText(options_.firstDay());
    BulkInsert insert(db_, "INSERT INTO Incentive_formula (formula_id, formula_name, "
                           "formula_text, partition_id, incentive_effective_date) "
                           "VALUES (?, ?, ?, 0, ?)");
    for (int k = 0; k < DemoFormulas::kCount; ++k) {
        const auto kind = static_cast<DemoFormulas::Kind>(k);
        insert.insert(DemoFormulas::idOf(kind), DemoFormulas::nameOf(kind), formulas.textOf(kind),
                      since);
    }
    // The schema's default formula and group carry no date yet; an installation in use has
    // one from its first assignment.
    BulkInsert formulaDate(db_, "UPDATE Incentive_formula SET incentive_effective_date = ? "
                                "WHERE formula_id = 1");
    formulaDate.insert(since);
    BulkInsert groupDate(db_, "UPDATE Incentive_group SET incentive_effective_date = ? "
                              "WHERE group_id = 1");
    groupDate.insert(since);
}

void DemoCatalogueWriter::writeGroups(const DemoCatalogue& catalogue) {
    const QString since = dateText(options_.firstDay());
    BulkInsert group(db_, "INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                          "incentive_effective_date, flag1) VALUES (?, ?, ?, ?, ?)");
    BulkInsert assignment(db_, "INSERT INTO Incentive_group_formula (group_id, account_id, "
                               "typed_formula_id, hours_worked_formula_id, pay_formula_id) "
                               "VALUES (?, ?, ?, ?, ?)");
    const int typed = DemoFormulas::idOf(DemoFormulas::TypedLines);
    const int hours = DemoFormulas::idOf(DemoFormulas::HoursWorked);
    for (const DemoGroup& g : catalogue.groups) {
        group.insert(g.id, g.name, g.partitionId, since, g.isDefault);
        const int pay = DemoFormulas::idOf(g.payFormula);
        assignment.insert(g.id, -1, typed, hours, pay);
        if (catalogue.partitionMode())
            assignment.insert(g.id, -3, typed, hours, pay);
        for (const DemoAccount& account : catalogue.accounts) {
            if (catalogue.hasAccountRow(g, account))
                assignment.insert(g.id, account.id, typed, hours,
                                  DemoFormulas::idOf(catalogue.accountPayFormula(g, account)));
        }
    }
}

void DemoCatalogueWriter::writeLogins(const DemoCatalogue& catalogue) {
    BulkInsert login(db_, "INSERT INTO Suite_user (user_id, user_name, password_hash, trans_id, "
                          "partition_id, first_name, last_name, is_administrator) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    BulkInsert right(db_, "INSERT INTO Suite_user_privilege (user_id, privilege) VALUES (?, ?)");
    int userId = 1;
    for (const DemoLogin& entry : catalogue.logins) {
        const DemoUser& user = catalogue.users[static_cast<std::size_t>(entry.userIndex)];
        // The supervisor sees the whole tree from partition 0; an operator works in the
        // partition of the transcriptionist.
        const int partition = entry.isAdministrator ? 0 : user.partitionId;
        // Each demo login's password is its name ("supervisor", "operator").
        const QString passwordHash = suite::PasswordHash::hash(entry.userName);
        login.insert(userId, entry.userName, passwordHash, user.transId, partition, user.firstName,
                     user.lastName, entry.isAdministrator);
        for (int privilege : entry.privileges)
            right.insert(userId, privilege);
        ++userId;
    }
}

} // namespace velora::admin
