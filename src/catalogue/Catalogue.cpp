#include "Catalogue.h"

namespace velora::catalogue {

namespace {

std::shared_ptr<Account> specialAccount(int id, const QString& name, const QString& description) {
    auto account = std::make_shared<Account>();
    account->setAccountID(id);
    account->setPartitionID(-1);
    account->setAccountName(name);
    account->setAccountDesc(description);
    account->setIsDeleted(false);
    return account;
}

} // namespace

void Catalogue::clear() {
    partitions_.clear();
    accounts_.clear();
    users_.clear();
    formulas_.clear();
    groups_.clear();
}

void Catalogue::addSpecialAccounts() {
    accounts_.add(QString::number(SpecialAccountID::Default),
                  specialAccount(SpecialAccountID::Default, QStringLiteral("__Default Account"),
                                 QStringLiteral("Default Account")));
    accounts_.add(QString::number(SpecialAccountID::External),
                  specialAccount(SpecialAccountID::External, QStringLiteral("__External Accounts"),
                                 QStringLiteral("External Accounts")));
}

QString Catalogue::databaseTransID(const QString& userKey) const {
    const auto user = GetObjectFromCollection(users_, userKey);
    return user ? DatabaseTransID(*user) : userKey;
}

} // namespace velora::catalogue
