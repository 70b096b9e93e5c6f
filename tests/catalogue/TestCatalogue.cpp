#include "catalogue/Catalogue.h"
#include "catalogue/HXPartition.h"
#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora::catalogue;

namespace {

std::shared_ptr<Account> makeAccount(int id) {
    auto account = std::make_shared<Account>();
    account->setAccountID(id);
    return account;
}

std::shared_ptr<User> makeUser(const QString& transId, bool deleted) {
    auto user = std::make_shared<User>();
    user->setTransID(UserKey(transId, deleted));
    user->setIsDeleted(deleted);
    return user;
}

// Runs a step that must fail with a catalogue error; its number, or 0 when it did not fail.
template <typename Step> int failureNumber(Step step) {
    try {
        step();
    } catch (const CatalogueError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Texts spliced between quotes reach the database as typed; statement text in them stays a
    // value.
    void quotedTextsReachTheDatabaseAsTyped() {
        QCOMPARE(QuoteSql(QString()), QString());
        QCOMPARE(QuoteSql(QStringLiteral("a''b")), QStringLiteral("a''''b"));
        velora::test::TestDatabase db;
        int id = 100;
        for (const QString& name :
             {QStringLiteral("O'Brien"), QStringLiteral("'''"), QStringLiteral("back\\'slash"),
              QStringLiteral("'; DROP TABLE Incentive_formula; --")}) {
            db.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name) "
                                   "VALUES (%1, '%2')")
                        .arg(++id)
                        .arg(QuoteSql(name)));
            QCOMPARE(db.scalar(QStringLiteral("SELECT formula_name FROM Incentive_formula "
                                              "WHERE formula_id = ") +
                               QString::number(id)),
                     name);
        }
    }

    // Only a whole number passes as one; "--100" would start a comment.
    void numbersAreCheckedBeforeSplicing() {
        for (const char* number : {"0", "12", "-1", "2147483647"}) {
            QVERIFY(IsSqlNumber(QLatin1String(number)));
            QCOMPARE(SqlNumber(QLatin1String(number)), QLatin1String(number));
        }
        for (const char* text : {"--100", "-", "", " 7", "1.5", "5 OR 1=1", "12345678901", "+3"}) {
            QVERIFY2(!IsSqlNumber(QLatin1String(text)), text);
            QCOMPARE(failureNumber([&] { SqlNumber(QLatin1String(text)); }),
                     CatalogueErrorNumber::TypeMismatch);
        }
    }

    // Keys ignore letter case, accents included, but are otherwise exact text; a key taken in
    // another case fails with 457 and leaves the collection as it was.
    void keysIgnoreCaseOnly() {
        CatalogueCollection<Account> accounts;
        const auto seven = makeAccount(7);
        accounts.add(QStringLiteral("ÉLODIE"), seven);
        QCOMPARE(GetObjectFromCollection(accounts, QStringLiteral("élodie")), seven);
        accounts.add(QStringLiteral("7"), seven);
        for (const char* other : {"07", "7 ", "-7"})
            QVERIFY(!GetObjectFromCollection(accounts, QLatin1String(other)));
        QCOMPARE(failureNumber([&] { accounts.add(QStringLiteral("élodie"), makeAccount(8)); }),
                 457);
        QCOMPARE(accounts.count(), 2);
    }

    // A deleted user is held under its id and " DEL", beside a live user of the same id; its
    // statements take the id without the mark.
    void deletedUserKeyAndDatabaseId() {
        Catalogue catalogue;
        const auto deleted = makeUser(QStringLiteral("  jdoe "), true);
        QCOMPARE(deleted->TransID(), QStringLiteral("jdoe DEL"));
        catalogue.users().add(deleted->TransID(), deleted);
        QVERIFY(!GetObjectFromCollection(catalogue.users(), QStringLiteral("jdoe")));
        QCOMPARE(GetObjectFromCollection(catalogue.users(), QStringLiteral("JDOE del")), deleted);
        QCOMPARE(DatabaseTransID(*deleted), QStringLiteral("jdoe"));
        QCOMPARE(catalogue.databaseTransID(QStringLiteral("jdoe DEL")), QStringLiteral("jdoe"));

        // A live user whose id ends in " DEL" keeps it; so does an id the catalogue lacks.
        const auto live = makeUser(QStringLiteral("ann DEL"), false);
        catalogue.users().add(live->TransID(), live);
        QCOMPARE(catalogue.databaseTransID(QStringLiteral("ann DEL")), QStringLiteral("ann DEL"));
        QCOMPARE(catalogue.databaseTransID(QStringLiteral("x DEL")), QStringLiteral("x DEL"));
    }

    // Removal keeps the order and the lookups of the items behind; positions are 1-based.
    void orderPositionAndRemoval() {
        CatalogueCollection<Account> accounts;
        for (int id : {30, 10, 20, 40})
            accounts.add(QString::number(id), makeAccount(id));
        accounts.remove(QStringLiteral("10"));
        QList<int> order;
        for (const auto& account : accounts)
            order.append(account->AccountID());
        QCOMPARE(order, (QList<int>{30, 20, 40}));
        QCOMPARE(accounts.item(2)->AccountID(), 20);
        QCOMPARE(accounts.key(3), QStringLiteral("40"));
        QCOMPARE(GetObjectFromCollection(accounts, QStringLiteral("40"))->AccountID(), 40);
        QCOMPARE(failureNumber([&] { accounts.item(0); }), 9);
        QCOMPARE(failureNumber([&] { accounts.item(4); }), 9);
        QCOMPARE(failureNumber([&] { accounts.remove(QStringLiteral("010")); }), 5);
        accounts.add(QStringLiteral("10"), makeAccount(10));
        QCOMPARE(accounts.item(accounts.count())->AccountID(), 10);
    }

    // The special accounts (their fields are checked with the load) come back after a clear
    // without a duplicate key.
    void specialAccountsAndClear() {
        Catalogue catalogue;
        catalogue.addSpecialAccounts();
        catalogue.users().add(QStringLiteral("a"), makeUser(QStringLiteral("a"), false));
        catalogue.clear();
        QCOMPARE(catalogue.accounts().count() + catalogue.users().count(), 0);
        QCOMPARE(failureNumber([&] { catalogue.addSpecialAccounts(); }), 0);
        QCOMPARE(catalogue.accounts().count(), 2);
    }

    void hxPartitionId_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("error");
        QTest::newRow("text") << QVariant(QStringLiteral(" 42 ")) << 42 << 0;
        QTest::newRow("smallest") << QVariant(qlonglong(-2147483648LL)) << int(-2147483648LL) << 0;
        QTest::newRow("half rounds to even") << QVariant(2.5) << 2 << 0;
        QTest::newRow("decimal text") << QVariant(QStringLiteral("6.7")) << 7 << 0;
        QTest::newRow("null") << QVariant() << 3 << 94;
        QTest::newRow("word") << QVariant(QStringLiteral("Main")) << 3 << 13;
        QTest::newRow("too large text") << QVariant(QStringLiteral("99999999999")) << 3 << 6;
        QTest::newRow("unsigned too large") << QVariant(4000000000U) << 3 << 6;
    }

    // The partition chooser's id: converted to a 32-bit integer, or refused with the number of
    // the conversion's failure, keeping the id it had.
    void hxPartitionId() {
        QFETCH(QVariant, value);
        QFETCH(int, id);
        QFETCH(int, error);
        HXPartition partition;
        partition.setID(3);
        QCOMPARE(failureNumber([&] { partition.setID(value); }), error);
        QCOMPARE(partition.ID().typeId(), QMetaType::Int);
        QCOMPARE(partition.ID().toInt(), id);
    }
};

VELORA_TEST(TestCatalogue)
#include "TestCatalogue.moc"
