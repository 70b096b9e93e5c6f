#pragma once

#include "DemoFormulas.h"
#include "DemoOptions.h"

#include <QDate>
#include <QString>
#include <set>
#include <string>
#include <vector>

namespace velora::admin {

class DemoRandom;

struct DemoPartition {
    int id = 0;
    int parentId = 0;
    QString name;
    QString description;
    bool deleted = false;
};

struct DemoAccount {
    int id = 0;
    QString name;
    QString description;
    int partitionId = 0;
    bool deleted = false;
    QDate lastWorkingDay; // deleted accounts received work until they were closed
};

struct DemoGroup {
    int id = 0;
    QString name;
    int partitionId = 0;
    bool isDefault = false;
    DemoFormulas::Kind payFormula = DemoFormulas::LineRate;
};

struct DemoUser {
    std::string transId; // UTF-8, as bound into every row of the user
    QString firstName;
    QString lastName;
    int transType = 1;
    bool deleted = false;
    int partitionId = 0;
    int groupIndex = -1; // into DemoCatalogue::groups; -1 for users outside the scheme
    QDate effectiveDate;
    QDate lastWorkingDay;            // deleted users stop working before the end
    std::vector<int> accountIndexes; // the accounts the user types for
    double productivity = 1.0;
};

struct DemoLogin {
    QString userName;
    int userIndex = 0; // the transcriptionist the login belongs to
    bool isAdministrator = false;
    std::vector<int> privileges;
};

// Everything of the demo installation except the daily rows: partitions, accounts,
// transcriptionists and other suite users, groups and the logins. Built in memory from the
// options and the random source, then written by DemoCatalogueWriter.
class DemoCatalogue {
public:
    DemoCatalogue(const DemoOptions& options, DemoRandom& random);

    std::vector<DemoPartition> partitions; // without partition 0, which the schema makes
    std::vector<DemoAccount> accounts;
    std::vector<DemoUser> users;   // transcriptionists first, then other suite users
    std::vector<DemoGroup> groups; // without the default group 1
    std::vector<DemoLogin> logins;

    // More than one live partition: the program then works per partition.
    bool partitionMode() const { return livePartitionIds().size() > 1; }
    std::vector<int> livePartitionIds() const;
    std::vector<int> liveAccountIds() const;
    const DemoGroup& groupOf(const DemoUser& user) const;
    // The pay formula the user's group assigns for an account.
    DemoFormulas::Kind payFormulaFor(const DemoUser& user, const DemoAccount& account) const;
    // Whether a group has its own assignment row for an account (else -1 or -3 serves), and
    // the pay formula of that row.
    bool hasAccountRow(const DemoGroup& group, const DemoAccount& account) const;
    DemoFormulas::Kind accountPayFormula(const DemoGroup& group, const DemoAccount& account) const;

private:
    void makePartitions(const DemoOptions& options);
    void makeAccounts(const DemoOptions& options, DemoRandom& random);
    void makeGroups();
    void makeUsers(const DemoOptions& options, DemoRandom& random);
    void makeOtherSuiteUsers(const DemoOptions& options, DemoRandom& random);
    void assignWork(DemoRandom& random);
    void makeLogins();
    bool isPremium(const DemoAccount& account) const;
    std::string uniqueTransId(const QString& firstName, const QString& lastName);

    std::set<std::string> takenTransIds_;
    std::vector<int> premiumAccountIds_;
};

} // namespace velora::admin
