#include "catalogue/CatalogueLoader.h"
#include "catalogue/PartitionAccess.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"

#include <QTest>
#include <memory>

using namespace velora;
using namespace velora::catalogue;

namespace {

// Partitions 0 > 1 > 3 and 0 > 2 are live; 4 is closed.
void addPartitions(test::TestDatabase& db) {
    db.exec(
        QStringLiteral("INSERT INTO System_partitions (partition_id, parent_id, partition_name, "
                       "partition_description, delete_date) VALUES "
                       "(1, 0, '  North  ', NULL, NULL), (2, 0, 'South', ' South team ', NULL), "
                       "(3, 1, 'Lakes', 'Lakes', NULL), (4, 0, 'Closed', 'Closed', '2020-01-01')"));
}

// Rows that exercise every rule of the load, in a database with the base rows of the schema.
void addRows(test::TestDatabase& db) {
    addPartitions(db);
    db.exec(QStringLiteral(
        "INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, hosp_acct_description, "
        "is_deleted, partition_id) VALUES (0, 'Walk-in', NULL, 0, 0), "
        "(10, '  Mercy  ', ' Mercy General ', 0, 1), (11, 'Old Clinic', 'gone', 1, 2), "
        "(-7, 'Bogus', 'never read', 0, 0)"));
    db.exec(QStringLiteral(
        "INSERT INTO Trans_info (trans_id, first_name, last_name, is_deleted, trans_type, "
        "extra3, incentive_group_id) VALUES "
        "('  jdoe ', 'Jane  ', 'Doe  ', 0, 1, 1, 20), "
        "('nonames', NULL, NULL, 0, 1, NULL, NULL), "
        "('gone', 'Gus', 'Gone', 1, 1, 2, 21), "
        "('nogroup', 'Ned', 'Nogroup', 0, 1, 3, 999), "
        "('editor', 'Ed', 'Itor', 0, 2, 1, 20)"));
    db.exec(QStringLiteral(
        "INSERT INTO Incentive_formula (formula_id, formula_name, formula_text, partition_id) "
        "VALUES (5, '  Line Rate ', 'Results.IPay = Lines * 0.1  ', 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Incentive_group (group_id, group_name, partition_id, "
        "incentive_effective_date, flag1) VALUES "
        "(20, ' North Standard ', 1, '2024-03-04', 1), (21, 'North Alpha', 1, '2024-01-01', 1), "
        "(22, 'North Beta', 1, '2024-01-01', 0)"));
}

Catalogue loadCatalogue(db::Connection& connection, bool showDeletedUsers = false) {
    CatalogueLoader loader(connection);
    loader.setShowDeletedUsers(showDeletedUsers);
    std::optional<Catalogue> catalogue = loader.load();
    if (!catalogue)
        throw std::runtime_error("the load reported a cancel nobody asked for");
    return std::move(*catalogue);
}

QList<int> partitionIds(const CatalogueCollection<Partition>& partitions) {
    QList<int> ids;
    for (const auto& partition : partitions)
        ids.append(partition->PartitionID());
    return ids;
}

} // namespace

class TestCatalogueLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partitionsAndAccounts();
    void usersFollowTheRowRules();
    void deletedUsersOnlyWhenShown();
    void formulasAndGroups();

    void accessiblePartitionsAreTheCataloguedChildren();
    void defaultGroupIsTheFirstByName();
};

void TestCatalogueLoader::partitionsAndAccounts() {
    test::TestDatabase db;
    addRows(db);
    const Catalogue catalogue = loadCatalogue(db.connection());

    QCOMPARE(catalogue.partitions().count(), 5);
    const auto north = GetObjectFromCollection(catalogue.partitions(), QStringLiteral("1"));
    QVERIFY(north);
    QCOMPARE(north->PartitionName(), QStringLiteral("North"));
    QCOMPARE(north->PartitionDesc(), QString());
    QCOMPARE(GetObjectFromCollection(catalogue.partitions(), QStringLiteral("2"))->PartitionDesc(),
             QStringLiteral("South team"));

    // Three rows (the negative one is not read) and the two special accounts behind them.
    QCOMPARE(catalogue.accounts().count(), 5);
    QVERIFY(!catalogue.accounts().contains(QStringLiteral("-7")));
    QCOMPARE(catalogue.accounts().key(4), QStringLiteral("-1"));
    QCOMPARE(catalogue.accounts().key(5), QStringLiteral("-3"));
    const auto mercy = GetObjectFromCollection(catalogue.accounts(), QStringLiteral("10"));
    QCOMPARE(mercy->AccountName(), QStringLiteral("Mercy"));
    QCOMPARE(mercy->AccountDesc(), QStringLiteral("Mercy General"));
    QCOMPARE(mercy->PartitionID(), 1);
    QVERIFY(!mercy->IsDeleted());
    QVERIFY(GetObjectFromCollection(catalogue.accounts(), QStringLiteral("11"))->IsDeleted());
    QVERIFY(catalogue.accounts().contains(QStringLiteral("0")));
}

void TestCatalogueLoader::usersFollowTheRowRules() {
    test::TestDatabase db;
    addRows(db);
    const Catalogue catalogue = loadCatalogue(db.connection());

    // The editor (trans_type 2) and the deleted user are not read.
    QCOMPARE(catalogue.users().count(), 3);
    const auto jane = GetObjectFromCollection(catalogue.users(), QStringLiteral("JDOE"));
    QVERIFY(jane);
    QCOMPARE(jane->TransID(), QStringLiteral("jdoe"));
    QCOMPARE(jane->TransName(), QStringLiteral("Doe, Jane"));
    QCOMPARE(jane->PartitionID(), 1);
    QCOMPARE(jane->GroupID(), 20);
    QVERIFY(!jane->IsDeleted());

    const auto nameless = GetObjectFromCollection(catalogue.users(), QStringLiteral("nonames"));
    QVERIFY(nameless);
    QCOMPARE(nameless->TransName(), QStringLiteral("nonames"));
    QCOMPARE(nameless->PartitionID(), -1);
    QCOMPARE(nameless->GroupID(), -1);

    // A group id that names no group reads as no group.
    QCOMPARE(GetObjectFromCollection(catalogue.users(), QStringLiteral("nogroup"))->GroupID(), -1);
}

void TestCatalogueLoader::deletedUsersOnlyWhenShown() {
    test::TestDatabase db;
    addRows(db);
    QVERIFY(!loadCatalogue(db.connection()).users().contains(QStringLiteral("gone DEL")));

    const Catalogue shown = loadCatalogue(db.connection(), true);
    QCOMPARE(shown.users().count(), 4);
    QVERIFY(!shown.users().contains(QStringLiteral("gone")));
    const auto gone = GetObjectFromCollection(shown.users(), QStringLiteral("gone DEL"));
    QVERIFY(gone);
    QVERIFY(gone->IsDeleted());
    QCOMPARE(gone->TransID(), QStringLiteral("gone DEL"));
    QCOMPARE(gone->TransName(), QStringLiteral("Gone, Gus"));
    QCOMPARE(gone->GroupID(), 21);
}

void TestCatalogueLoader::formulasAndGroups() {
    test::TestDatabase db;
    addRows(db);
    const Catalogue catalogue = loadCatalogue(db.connection());

    QCOMPARE(catalogue.formulas().count(), 2);
    const auto lineRate = GetObjectFromCollection(catalogue.formulas(), QStringLiteral("5"));
    QCOMPARE(lineRate->FormulaName(), QStringLiteral("Line Rate"));
    QCOMPARE(lineRate->FormulaText(), QStringLiteral("Results.IPay = Lines * 0.1  "));
    QCOMPARE(lineRate->PartitionID(), 1);

    // Ordered by the stored name: the leading blank of " North Standard" sorts it first.
    QStringList names;
    for (const auto& group : catalogue.groups())
        names << group->GroupName();
    QCOMPARE(names, (QStringList{QStringLiteral("North Standard"), QStringLiteral("Default Group"),
                                 QStringLiteral("North Alpha"), QStringLiteral("North Beta")}));
    const auto standard = GetObjectFromCollection(catalogue.groups(), QStringLiteral("20"));
    QCOMPARE(standard->EffectiveDate(), QDate(2024, 3, 4));
    QVERIFY(standard->IsPartitionDefault());
    QCOMPARE(standard->PartitionID(), 1);
    QVERIFY(
        !GetObjectFromCollection(catalogue.groups(), QStringLiteral("22"))->IsPartitionDefault());
}

void TestCatalogueLoader::accessiblePartitionsAreTheCataloguedChildren() {
    test::TestDatabase db;
    addPartitions(db);
    const Catalogue catalogue = loadCatalogue(db.connection());
    // Made after the load: a child of 1 the catalogue does not know.
    db.exec(QStringLiteral("INSERT INTO System_partitions (partition_id, parent_id, "
                           "partition_name) VALUES (5, 1, 'Late')"));
    const PartitionAccess access(db.connection(), catalogue);

    const auto below1 = access.accessiblePartitions(1);
    QCOMPARE(partitionIds(below1), (QList<int>{1, 3}));
    QVERIFY(IsAccessible(below1, 3));
    QVERIFY(!IsAccessible(below1, 5));
    QVERIFY(!IsAccessible(below1, -1));
    QCOMPARE(below1.find(QStringLiteral("3")).get(),
             catalogue.partitions().find(QStringLiteral("3")).get());
    QCOMPARE(partitionIds(access.accessiblePartitions(0)), (QList<int>{0, 1, 2, 3}));
    QVERIFY(access.accessiblePartitions(4).isEmpty());
}

void TestCatalogueLoader::defaultGroupIsTheFirstByName() {
    test::TestDatabase db;
    addRows(db);
    // A later default of partition 1 (a higher id) whose name sorts before the others.
    db.exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                           "incentive_effective_date, flag1) VALUES (23, ' Aardvark', 1, "
                           "'2024-01-01', 1)"));
    const Catalogue catalogue = loadCatalogue(db.connection());
    const PartitionAccess access(db.connection(), catalogue);
    QCOMPARE(access.findDefaultGroup(1)->GroupID(), 23);
    QCOMPARE(access.findDefaultGroup(0)->GroupID(), 1);
    QVERIFY(!access.findDefaultGroup(2));
    QVERIFY(!access.findDefaultGroup(-1));
}

VELORA_TEST(TestCatalogueLoader)

#include "TestCatalogueLoader.moc"
