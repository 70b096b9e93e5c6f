#include "catalogue/Catalogue.h"
#include "catalogue/HXPartition.h"
#include "catalogue/QuoteSql.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora::catalogue;

namespace {

std::shared_ptr<Account> makeAccount(int id, const QString& name) {
    auto account = std::make_shared<Account>();
    account->setAccountID(id);
    account->setAccountName(name);
    return account;
}

std::shared_ptr<User> makeUser(const QString& transId, bool deleted) {
    auto user = std::make_shared<User>();
    user->setTransID(UserKey(transId, deleted));
    user->setIsDeleted(deleted);
    return user;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void quoteSql_data();
    void quoteSql();
    void quotedNameRoundTripsThroughTheDatabase();

    void keysIgnoreCaseButNotLeadingZeros_data();
    void keysIgnoreCaseButNotLeadingZeros();
    void duplicateKeyFailsWith457AndKeepsTheCollection();
    void deletedUserIsFoundOnlyUnderItsDelKey();
    void orderPositionAndRemoval();
    void positionOutsideTheCollectionFails();
    void removingAMissingKeyFails();

    void specialAccountsInAnEmptyCatalogue();
    void clearEmptiesEveryCollection();
    void recordsAreSharedWithTheCollection();

    void hxPartitionIdConversion_data();
    void hxPartitionIdConversion();
    void hxPartitionIdRejects_data();
    void hxPartitionIdRejects();
};

void TestCatalogue::quoteSql_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no quote") << QStringLiteral("Smith") << QStringLiteral("Smith");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QStringLiteral("O''Brien");
    QTest::newRow("injection") << QStringLiteral("'; DROP TABLE Trans_info; --")
                               << QStringLiteral("''; DROP TABLE Trans_info; --");
    QTest::newRow("only quotes") << QStringLiteral("'''") << QStringLiteral("''''''");
    QTest::newRow("already doubled") << QStringLiteral("a''b") << QStringLiteral("a''''b");
}

void TestCatalogue::quoteSql() {
    QFETCH(QString, value);
    QFETCH(QString, quoted);
    QCOMPARE(QuoteSql(value), quoted);
}

// A quoted name must reach the database as the very text that was typed, and the injection text
// must stay a value rather than end the statement.
void TestCatalogue::quotedNameRoundTripsThroughTheDatabase() {
    velora::test::TestDatabase db;
    const QStringList names = {QStringLiteral("O'Brien"),
                               QStringLiteral("'; DROP TABLE Incentive_formula; --")};
    int id = 100;
    for (const QString& name : names) {
        db.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                               "formula_text, partition_id) VALUES (") +
                QString::number(++id) + QStringLiteral(", '") + QuoteSql(name) +
                QStringLiteral("', '', 0)"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT formula_name FROM Incentive_formula "
                                          "WHERE formula_id = ") +
                           QString::number(id)),
                 name);
    }
}

void TestCatalogue::keysIgnoreCaseButNotLeadingZeros_data() {
    QTest::addColumn<QString>("storedUnder");
    QTest::addColumn<QString>("lookedUpAs");
    QTest::addColumn<bool>("found");
    QTest::newRow("same text") << QStringLiteral("7") << QStringLiteral("7") << true;
    QTest::newRow("leading zero") << QStringLiteral("7") << QStringLiteral("07") << false;
    QTest::newRow("blank behind") << QStringLiteral("7") << QStringLiteral("7 ") << false;
    QTest::newRow("lower for upper")
        << QStringLiteral("JSMITH") << QStringLiteral("jsmith") << true;
    QTest::newRow("mixed case") << QStringLiteral("jSmith") << QStringLiteral("JsMITH") << true;
    QTest::newRow("accented") << QStringLiteral("ÉLODIE") << QStringLiteral("élodie") << true;
    QTest::newRow("negative id") << QStringLiteral("-1") << QStringLiteral("1") << false;
}

void TestCatalogue::keysIgnoreCaseButNotLeadingZeros() {
    QFETCH(QString, storedUnder);
    QFETCH(QString, lookedUpAs);
    QFETCH(bool, found);
    CatalogueCollection<Account> accounts;
    const auto account = makeAccount(7, QStringLiteral("Mercy"));
    accounts.add(storedUnder, account);
    const auto result = GetObjectFromCollection(accounts, lookedUpAs);
    QCOMPARE(result != nullptr, found);
    if (found)
        QCOMPARE(result.get(), account.get());
}

void TestCatalogue::duplicateKeyFailsWith457AndKeepsTheCollection() {
    CatalogueCollection<User> users;
    const auto first = makeUser(QStringLiteral("jsmith"), false);
    users.add(first->TransID(), first);
    try {
        users.add(QStringLiteral("JSMITH"), makeUser(QStringLiteral("JSMITH"), false));
        QFAIL("a key that differs only in case was accepted twice");
    } catch (const CatalogueError& e) {
        QCOMPARE(e.number(), 457);
        QCOMPARE(
            e.description(),
            QStringLiteral("This key is already associated with an element of this collection"));
    }
    QCOMPARE(users.count(), 1);
    QCOMPARE(GetObjectFromCollection(users, QStringLiteral("jsmith")).get(), first.get());
}

void TestCatalogue::deletedUserIsFoundOnlyUnderItsDelKey() {
    CatalogueCollection<User> users;
    const auto deleted = makeUser(QStringLiteral("  jdoe "), true);
    QCOMPARE(deleted->TransID(), QStringLiteral("jdoe DEL"));
    users.add(deleted->TransID(), deleted);

    QVERIFY(!GetObjectFromCollection(users, QStringLiteral("jdoe")));
    QCOMPARE(GetObjectFromCollection(users, QStringLiteral("JDOE del")).get(), deleted.get());

    // A live user with the same trans_id lives beside the deleted one.
    const auto live = makeUser(QStringLiteral("jdoe"), false);
    users.add(live->TransID(), live);
    QCOMPARE(GetObjectFromCollection(users, QStringLiteral("jdoe")).get(), live.get());
    QCOMPARE(users.count(), 2);
}

void TestCatalogue::orderPositionAndRemoval() {
    CatalogueCollection<Account> accounts;
    for (int id : {30, 10, 20, 40})
        accounts.add(QString::number(id), makeAccount(id, QString::number(id)));

    accounts.remove(QStringLiteral("10"));
    QList<int> order;
    for (const auto& account : accounts)
        order.append(account->AccountID());
    QCOMPARE(order, (QList<int>{30, 20, 40}));
    QCOMPARE(accounts.item(2)->AccountID(), 20);
    QCOMPARE(accounts.key(3), QStringLiteral("40"));

    // Lookups of the items that moved up must still find them.
    QCOMPARE(GetObjectFromCollection(accounts, QStringLiteral("40"))->AccountID(), 40);
    QCOMPARE(GetObjectFromCollection(accounts, QStringLiteral("20"))->AccountID(), 20);
    QVERIFY(!GetObjectFromCollection(accounts, QStringLiteral("10")));

    // A removed key can be used again; the new item goes to the end.
    accounts.add(QStringLiteral("10"), makeAccount(10, QStringLiteral("again")));
    QCOMPARE(accounts.item(accounts.count())->AccountName(), QStringLiteral("again"));
}

void TestCatalogue::positionOutsideTheCollectionFails() {
    CatalogueCollection<Account> accounts;
    accounts.add(QStringLiteral("1"), makeAccount(1, QStringLiteral("one")));
    QCOMPARE(accounts.item(1)->AccountID(), 1);
    for (int position : {0, 2, -1}) {
        try {
            accounts.item(position);
            QFAIL(qPrintable(QStringLiteral("position %1 was accepted").arg(position)));
        } catch (const CatalogueError& e) {
            QCOMPARE(e.number(), 9);
        }
    }
}

void TestCatalogue::removingAMissingKeyFails() {
    CatalogueCollection<Account> accounts;
    accounts.add(QStringLiteral("1"), makeAccount(1, QStringLiteral("one")));
    try {
        accounts.remove(QStringLiteral("01"));
        QFAIL("a missing key was removed");
    } catch (const CatalogueError& e) {
        QCOMPARE(e.number(), 5);
        QVERIFY(e.description().contains(QStringLiteral("01")));
    }
    QCOMPARE(accounts.count(), 1);
}

void TestCatalogue::specialAccountsInAnEmptyCatalogue() {
    Catalogue catalogue;
    QVERIFY(!GetObjectFromCollection(catalogue.accounts(), QStringLiteral("-1")));
    catalogue.addSpecialAccounts();
    QCOMPARE(catalogue.accounts().count(), 2);

    const auto defaultAccount = GetObjectFromCollection(catalogue.accounts(), QStringLiteral("-1"));
    QVERIFY(defaultAccount);
    QCOMPARE(defaultAccount->AccountID(), -1);
    QCOMPARE(defaultAccount->PartitionID(), -1);
    QCOMPARE(defaultAccount->AccountName(), QStringLiteral("__Default Account"));
    QCOMPARE(defaultAccount->AccountDesc(), QStringLiteral("Default Account"));
    QVERIFY(!defaultAccount->IsDeleted());

    const auto external = GetObjectFromCollection(catalogue.accounts(), QStringLiteral("-3"));
    QVERIFY(external);
    QCOMPARE(external->AccountID(), -3);
    QCOMPARE(external->PartitionID(), -1);
    QCOMPARE(external->AccountName(), QStringLiteral("__External Accounts"));
    QCOMPARE(external->AccountDesc(), QStringLiteral("External Accounts"));
    QVERIFY(!external->IsDeleted());

    // The summary id is the explorer's own; it is not an account of the catalogue.
    QVERIFY(!GetObjectFromCollection(catalogue.accounts(), QStringLiteral("-2")));
}

void TestCatalogue::clearEmptiesEveryCollection() {
    Catalogue catalogue;
    catalogue.addSpecialAccounts();
    catalogue.partitions().add(QStringLiteral("0"), std::make_shared<Partition>());
    catalogue.users().add(QStringLiteral("a"), makeUser(QStringLiteral("a"), false));
    catalogue.formulas().add(QStringLiteral("1"), std::make_shared<Formula>());
    catalogue.groups().add(QStringLiteral("1"), std::make_shared<Group>());

    catalogue.clear();
    QCOMPARE(catalogue.partitions().count(), 0);
    QCOMPARE(catalogue.accounts().count(), 0);
    QCOMPARE(catalogue.users().count(), 0);
    QCOMPARE(catalogue.formulas().count(), 0);
    QCOMPARE(catalogue.groups().count(), 0);
    // A reload after the clear adds under the same keys without a duplicate-key failure.
    catalogue.addSpecialAccounts();
    QCOMPARE(catalogue.accounts().count(), 2);
}

void TestCatalogue::recordsAreSharedWithTheCollection() {
    Catalogue catalogue;
    auto group = std::make_shared<Group>();
    group->setGroupID(5);
    catalogue.groups().add(QStringLiteral("5"), group);
    group->setEffectiveDate(QDate(2024, 2, 29));
    QCOMPARE(GetObjectFromCollection(catalogue.groups(), QStringLiteral("5"))->EffectiveDate(),
             QDate(2024, 2, 29));

    // A view that still holds the record keeps it alive after the collection is replaced.
    catalogue.clear();
    QCOMPARE(group->GroupID(), 5);
    QCOMPARE(group.use_count(), 1);
}

void TestCatalogue::hxPartitionIdConversion_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("id");
    QTest::newRow("int") << QVariant(12) << 12;
    QTest::newRow("long long") << QVariant(qlonglong(-5)) << -5;
    QTest::newRow("text") << QVariant(QStringLiteral(" 42 ")) << 42;
    QTest::newRow("largest") << QVariant(QStringLiteral("2147483647")) << 2147483647;
    QTest::newRow("smallest") << QVariant(qlonglong(-2147483648LL)) << int(-2147483648LL);
    QTest::newRow("half rounds to even") << QVariant(2.5) << 2;
    QTest::newRow("other half rounds up") << QVariant(3.5) << 4;
    QTest::newRow("decimal text") << QVariant(QStringLiteral("6.7")) << 7;
}

void TestCatalogue::hxPartitionIdConversion() {
    QFETCH(QVariant, value);
    QFETCH(int, id);
    HXPartition partition;
    partition.setID(value);
    QCOMPARE(partition.ID().typeId(), QMetaType::Int);
    QCOMPARE(partition.ID().toInt(), id);
}

void TestCatalogue::hxPartitionIdRejects_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("number");
    QTest::newRow("null") << QVariant() << 94;
    QTest::newRow("word") << QVariant(QStringLiteral("Main")) << 13;
    QTest::newRow("empty text") << QVariant(QString()) << 13;
    QTest::newRow("too large") << QVariant(qlonglong(2147483648LL)) << 6;
    QTest::newRow("too large text") << QVariant(QStringLiteral("99999999999")) << 6;
    QTest::newRow("too large double") << QVariant(3e10) << 6;
    QTest::newRow("unsigned too large") << QVariant(4000000000U) << 6;
    QTest::newRow("date") << QVariant(QDate(2024, 1, 1)) << 13;
}

void TestCatalogue::hxPartitionIdRejects() {
    QFETCH(QVariant, value);
    QFETCH(int, number);
    HXPartition partition;
    partition.setID(3);
    try {
        partition.setID(value);
        QFAIL("the value was accepted");
    } catch (const CatalogueError& e) {
        QCOMPARE(e.number(), number);
        QVERIFY(!e.description().isEmpty());
    }
    QCOMPARE(partition.ID().toInt(), 3);
}

VELORA_TEST(TestCatalogue)

#include "TestCatalogue.moc"
