#include "DemoCatalogue.h"

#include "DemoNames.h"
#include "DemoRandom.h"

#include <algorithm>

namespace velora::admin {

namespace {

template <typename List> QString pick(DemoRandom& random, const List& list) {
    return QString::fromUtf8(
        list[static_cast<std::size_t>(random.between(0, static_cast<int>(list.size()) - 1))]);
}

QString groupLabel(DemoFormulas::Kind kind) {
    switch (kind) {
    case DemoFormulas::MonthlyTier:
        return QStringLiteral("Monthly Tiers");
    case DemoFormulas::HourlyBonus:
        return QStringLiteral("Hourly Bonus");
    case DemoFormulas::AccountRates:
        return QStringLiteral("Premium Accounts");
    default:
        return QStringLiteral("Standard Line Rate");
    }
}

// The rights of the program: use it (16), full mode (17), change hours (18), lines and
// reports (19), ITyped (22), IPay (23) and IHours (45).
const std::vector<int> kSupervisorRights{16, 17, 18, 19, 22, 23, 45};
const std::vector<int> kOperatorRights{16};

} // namespace

DemoCatalogue::DemoCatalogue(const DemoOptions& options, DemoRandom& random) {
    makePartitions(options);
    makeAccounts(options, random);
    makeGroups();
    makeUsers(options, random);
    makeOtherSuiteUsers(options, random);
    assignWork(random);
    makeLogins();
}

void DemoCatalogue::makePartitions(const DemoOptions& options) {
    const auto names = DemoNames::partitionNames();
    for (int id = 1; id <= options.partitions; ++id) {
        DemoPartition partition;
        partition.id = id;
        // A tree: the first two hang below partition 0, each later one below id / 2.
        partition.parentId = id <= 2 ? 0 : id / 2;
        partition.name = id <= static_cast<int>(names.size())
                             ? QString::fromUtf8(names[static_cast<std::size_t>(id - 1)])
                             : QStringLiteral("Division %1").arg(id);
        partition.description = partition.name + QStringLiteral(" transcription team");
        partitions.push_back(partition);
    }
    if (options.partitions > 1) {
        // A closed office: deleted partitions never count towards partition mode.
        partitions.push_back({options.partitions + 1, 0, QStringLiteral("Closed Office"),
                              QStringLiteral("Office closed during the demo period"), true});
    }
}

std::vector<int> DemoCatalogue::livePartitionIds() const {
    std::vector<int> ids;
    for (const DemoPartition& partition : partitions) {
        if (!partition.deleted)
            ids.push_back(partition.id);
    }
    if (ids.empty())
        ids.push_back(0);
    return ids;
}

void DemoCatalogue::makeAccounts(const DemoOptions& options, DemoRandom& random) {
    const auto places = DemoNames::facilityPlaces();
    const auto kinds = DemoNames::facilityKinds();
    std::vector<int> combinations(places.size() * kinds.size());
    for (std::size_t i = 0; i < combinations.size(); ++i)
        combinations[i] = static_cast<int>(i);
    random.shuffle(combinations);

    const std::vector<int> partitionIds = livePartitionIds();
    for (int i = 0; i < options.accounts; ++i) {
        const auto combination = static_cast<std::size_t>(
            combinations[static_cast<std::size_t>(i) % combinations.size()]);
        DemoAccount account;
        account.id = 101 + i;
        account.name = QString::fromUtf8(places[combination / kinds.size()]) + QLatin1Char(' ') +
                       QString::fromUtf8(kinds[combination % kinds.size()]);
        if (static_cast<std::size_t>(i) >= combinations.size())
            account.name += QStringLiteral(" %1").arg(i / combinations.size() + 1);
        account.description = pick(random, DemoNames::cities());
        account.partitionId = partitionIds[static_cast<std::size_t>(i) % partitionIds.size()];
        account.lastWorkingDay = options.lastDay();
        accounts.push_back(account);
    }

    // About one account in eight has been closed half-way through the period.
    const int deletedCount = options.accounts >= 3 ? std::max(1, options.accounts / 8) : 0;
    for (int done = 0; done < deletedCount;) {
        DemoAccount& account =
            accounts[static_cast<std::size_t>(random.between(0, options.accounts - 1))];
        if (account.deleted)
            continue;
        account.deleted = true;
        account.lastWorkingDay = options.firstDay().addDays(options.days / 2);
        ++done;
    }
    // The first two live clients are the premium ones, as the per-account formula has them.
    premiumAccountIds_ = liveAccountIds();
    premiumAccountIds_.resize(std::min<std::size_t>(premiumAccountIds_.size(), 2));
}

std::vector<int> DemoCatalogue::liveAccountIds() const {
    std::vector<int> ids;
    for (const DemoAccount& account : accounts) {
        if (!account.deleted)
            ids.push_back(account.id);
    }
    return ids;
}

void DemoCatalogue::makeGroups() {
    int nextId = 2;
    auto add = [&](const QString& name, int partitionId, bool isDefault, DemoFormulas::Kind pay) {
        groups.push_back({nextId++, name, partitionId, isDefault, pay});
    };
    // Every partition of the tree has its default group; partition 0 has group 1. Names need
    // only be unique within a partition, and every partition's default has the same name, as
    // sites name them: the explorer and the lists tell them apart by their partition.
    for (const DemoPartition& partition : partitions) {
        if (!partition.deleted)
            add(QStringLiteral("Base Incentive"), partition.id, true, DemoFormulas::LineRate);
    }
    const DemoFormulas::Kind kinds[] = {DemoFormulas::MonthlyTier, DemoFormulas::HourlyBonus,
                                        DemoFormulas::AccountRates};
    if (partitionMode()) {
        // One further group per partition, the kinds taking turns.
        std::size_t turn = 0;
        for (const DemoPartition& partition : partitions) {
            if (partition.deleted)
                continue;
            const DemoFormulas::Kind kind = kinds[turn++ % std::size(kinds)];
            add(groupLabel(kind), partition.id, false, kind);
        }
        return;
    }
    const int home = livePartitionIds().front();
    if (home == 0)
        add(groupLabel(DemoFormulas::LineRate), home, false, DemoFormulas::LineRate);
    for (DemoFormulas::Kind kind : kinds)
        add(groupLabel(kind), home, false, kind);
}

std::string DemoCatalogue::uniqueTransId(const QString& firstName, const QString& lastName) {
    QString base;
    for (QChar c : lastName) {
        if (c.isLetter())
            base += c.toLower();
    }
    base += firstName.left(1).toLower();
    std::string id = base.toStdString();
    for (int suffix = 2; takenTransIds_.contains(id); ++suffix)
        id = QString(base + QString::number(suffix)).toStdString();
    takenTransIds_.insert(id);
    return id;
}

void DemoCatalogue::makeUsers(const DemoOptions& options, DemoRandom& random) {
    // Two users whose ids and names need care in statement text: a "." in the id, and a
    // quote in both the name and the id.
    takenTransIds_ = {"j.smith", "obrien'k"};
    auto add = [this](std::string transId, const QString& firstName, const QString& lastName) {
        DemoUser user;
        user.transId = std::move(transId);
        user.firstName = firstName;
        user.lastName = lastName;
        users.push_back(user);
    };
    add("j.smith", QStringLiteral("John"), QStringLiteral("Smith"));
    add("obrien'k", QStringLiteral("Kathleen"), QStringLiteral("O'Brien"));
    while (static_cast<int>(users.size()) < options.users) {
        const QString firstName = pick(random, DemoNames::firstNames());
        const QString lastName = pick(random, DemoNames::lastNames());
        add(uniqueTransId(firstName, lastName), firstName, lastName);
    }

    const std::vector<int> partitionIds = livePartitionIds();
    for (DemoUser& user : users) {
        user.partitionId = partitionIds[static_cast<std::size_t>(
            random.between(0, static_cast<int>(partitionIds.size()) - 1))];
        std::vector<int> candidates;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (groups[g].partitionId == user.partitionId)
                candidates.push_back(static_cast<int>(g));
        }
        user.groupIndex = candidates[static_cast<std::size_t>(
            random.between(0, static_cast<int>(candidates.size()) - 1))];
        user.effectiveDate = options.firstDay();
        // A few users moved to their group recently, after the locked period.
        const QDate recent = std::max(options.firstDay(), options.lockedBefore());
        if (recent < options.lastDay() && random.chance(0.08))
            user.effectiveDate = recent.addDays(
                random.between(1, static_cast<int>(recent.daysTo(options.lastDay()))));
        user.lastWorkingDay = options.lastDay();
        user.productivity = random.real(0.8, 1.2);
    }

    // About one in twenty has left; never the first four, who carry the special ids and the
    // logins.
    const int deletedCount = options.users >= 6 ? std::max(1, options.users / 20) : 0;
    for (int done = 0; done < deletedCount;) {
        DemoUser& user = users[static_cast<std::size_t>(random.between(4, options.users - 1))];
        if (user.deleted)
            continue;
        user.deleted = true;
        user.lastWorkingDay =
            options.firstDay().addDays(random.between(options.days / 3, 2 * options.days / 3));
        ++done;
    }
}

void DemoCatalogue::makeOtherSuiteUsers(const DemoOptions& options, DemoRandom& random) {
    // Suite users who are not transcriptionists (editors, coders): trans_type 2, outside
    // the incentive scheme.
    const int count = 2 + options.users / 100;
    for (int i = 0; i < count; ++i) {
        DemoUser user;
        user.firstName = pick(random, DemoNames::firstNames());
        user.lastName = pick(random, DemoNames::lastNames());
        user.transId = uniqueTransId(user.firstName, user.lastName);
        user.transType = 2;
        user.partitionId = livePartitionIds().front();
        users.push_back(user);
    }
}

void DemoCatalogue::assignWork(DemoRandom& random) {
    for (DemoUser& user : users) {
        if (user.transType != 1)
            continue;
        std::vector<int> own;
        std::vector<int> foreign;
        for (std::size_t a = 0; a < accounts.size(); ++a) {
            (!partitionMode() || accounts[a].partitionId == user.partitionId ? own : foreign)
                .push_back(static_cast<int>(a));
        }
        if (own.empty())
            own.swap(foreign);
        random.shuffle(own);
        const int count = std::min(random.between(3, 5), static_cast<int>(own.size()));
        user.accountIndexes.assign(own.begin(), own.begin() + count);
        // Now and then a user also types for a client of another partition.
        if (!foreign.empty() && random.chance(0.15))
            user.accountIndexes.push_back(foreign[static_cast<std::size_t>(
                random.between(0, static_cast<int>(foreign.size()) - 1))]);
        // The first account is a live one, so the user has work until the end.
        const auto live = std::find_if(own.begin(), own.end(), [&](int a) {
            return !accounts[static_cast<std::size_t>(a)].deleted;
        });
        if (live != own.end() && std::find(user.accountIndexes.begin(), user.accountIndexes.end(),
                                           *live) == user.accountIndexes.end())
            user.accountIndexes.front() = *live;
        std::sort(user.accountIndexes.begin(), user.accountIndexes.end());
    }
}

void DemoCatalogue::makeLogins() {
    const int supervisor = users.size() > 2 && users[2].transType == 1 ? 2 : 0;
    const int operatorUser = users.size() > 3 && users[3].transType == 1 ? 3 : 1;
    logins.push_back({QStringLiteral("supervisor"), supervisor, true, kSupervisorRights});
    logins.push_back({QStringLiteral("operator"), operatorUser, false, kOperatorRights});
}

bool DemoCatalogue::isPremium(const DemoAccount& account) const {
    return std::find(premiumAccountIds_.begin(), premiumAccountIds_.end(), account.id) !=
           premiumAccountIds_.end();
}

bool DemoCatalogue::hasAccountRow(const DemoGroup& group, const DemoAccount& account) const {
    return !partitionMode() || account.partitionId == group.partitionId;
}

DemoFormulas::Kind DemoCatalogue::accountPayFormula(const DemoGroup& group,
                                                    const DemoAccount& account) const {
    // Line-rate groups pay the premium clients by the per-account formula.
    const bool lineRateGroup =
        group.payFormula == DemoFormulas::LineRate || group.payFormula == DemoFormulas::MonthlyTier;
    return lineRateGroup && isPremium(account) ? DemoFormulas::AccountRates : group.payFormula;
}

const DemoGroup& DemoCatalogue::groupOf(const DemoUser& user) const {
    return groups[static_cast<std::size_t>(user.groupIndex)];
}

DemoFormulas::Kind DemoCatalogue::payFormulaFor(const DemoUser& user,
                                                const DemoAccount& account) const {
    const DemoGroup& group = groupOf(user);
    return hasAccountRow(group, account) ? accountPayFormula(group, account) : group.payFormula;
}

} // namespace velora::admin
