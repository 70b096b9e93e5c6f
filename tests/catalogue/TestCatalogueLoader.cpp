#include "catalogue/CatalogueLoader.h"
#include "catalogue/PartitionAccess.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

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

QString flag(bool value) {
    return value ? u"1"_s : u"0"_s;
}

// The items of one collection in order, "kind key: field|field|...".
template <typename T, typename Fields>
void list(QStringList& lines, const char* kind, const CatalogueCollection<T>& items,
          Fields fields) {
    for (int i = 1; i <= items.count(); ++i)
        lines << QLatin1String(kind) + u' ' + items.key(i) + u": " +
                     QStringList(fields(*items.item(i))).join(u'|');
}

// Every item of the catalogue in collection order.
QStringList listing(const Catalogue& c) {
    const auto n = [](int number) { return QString::number(number); };
    QStringList lines;
    list(lines, "partition", c.partitions(), [&](const Partition& p) {
        return QStringList{n(p.PartitionID()), p.PartitionName(), p.PartitionDesc()};
    });
    list(lines, "account", c.accounts(), [&](const Account& a) {
        return QStringList{n(a.AccountID()), a.AccountName(), a.AccountDesc(), n(a.PartitionID()),
                           flag(a.IsDeleted())};
    });
    list(lines, "user", c.users(), [&](const User& u) {
        return QStringList{u.TransID(), u.TransName(), n(u.PartitionID()), n(u.GroupID()),
                           flag(u.IsDeleted())};
    });
    list(lines, "formula", c.formulas(), [&](const Formula& f) {
        return QStringList{n(f.FormulaID()), f.FormulaName(), f.FormulaText(), n(f.PartitionID())};
    });
    list(lines, "group", c.groups(), [&](const Group& g) {
        return QStringList{n(g.GroupID()), g.GroupName(), n(g.PartitionID()),
                           g.EffectiveDate().toString(Qt::ISODate), flag(g.IsPartitionDefault())};
    });
    return lines;
}

} // namespace

class TestCatalogueLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadFollowsTheRowRules();
    void accessiblePartitionsAreTheCataloguedChildren();
    void defaultGroupIsTheFirstByName();
};

// Names and descriptions are trimmed (a formula's text is not); negative accounts, editors
// (trans_type 2) and deleted users are not read, the special accounts come last; a user
// without names is called by the id, a group id naming no group reads as -1; groups are in
// the order of their stored names. Shown, a deleted user is held under its id and " DEL".
void TestCatalogueLoader::loadFollowsTheRowRules() {
    test::TestDatabase db;
    addRows(db);
    // clang-format off
    const QStringList expected = {
        "partition 0: 0|Base|Base partition", "partition 1: 1|North|",
        "partition 2: 2|South|South team", "partition 3: 3|Lakes|Lakes", "partition 4: 4|Closed|Closed",
        "account 0: 0|Walk-in||0|0", "account 10: 10|Mercy|Mercy General|1|0",
        "account 11: 11|Old Clinic|gone|2|1",
        "account -1: -1|__Default Account|Default Account|-1|0",
        "account -3: -3|__External Accounts|External Accounts|-1|0",
        "user nonames: nonames|nonames|-1|-1|0", "user jdoe: jdoe|Doe, Jane|1|20|0",
        "user nogroup: nogroup|Nogroup, Ned|3|-1|0",
        "formula 5: 5|Line Rate|Results.IPay = Lines * 0.1  |1",
        "formula 1: 1|Default Formula|Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0|0",
        "group 20: 20|North Standard|1|2024-03-04|1", "group 1: 1|Default Group|0|1980-01-01|1",
        "group 21: 21|North Alpha|1|2024-01-01|1", "group 22: 22|North Beta|1|2024-01-01|0"};
    // clang-format on
    QCOMPARE(listing(loadCatalogue(db.connection())), expected);
    const QStringList withDeleted = listing(loadCatalogue(db.connection(), true));
    QCOMPARE(withDeleted.filter(u"user "_s).size(), 4);
    QVERIFY(withDeleted.contains(u"user gone DEL: gone DEL|Gone, Gus|2|21|1"_s));
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
    QCOMPARE(below1.find(u"3"_s).get(), catalogue.partitions().find(u"3"_s).get());
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
