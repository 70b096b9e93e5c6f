// The program's catalogue, preference, partition and list statements, run on the embedded
// engine against the corpus fixture: each must give the rows SQL Server gives.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using velora::test::compareRows;
using velora::test::CorpusFixture;
using velora::test::quoteSql;
using velora::test::rowTexts;

class TestStatementCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void livePartitionCountLeavesOutBaseAndDeleted();

    void preferenceIsReadBackAndReplaced();
    void preferenceIsKeptPerPartitionAndUser();

    void catalogueLoadReadsPartitionsAndAccounts();
    void catalogueLoadReadsUsersAsLastCommaFirst();
    void catalogueLoadReadsFormulasAndGroupsByName();
    void catalogueDisplayListsWithoutPartitions();
    void operatorModeLeavesOutAccountZero();

    void partitionSelectChildrenWalksTheTree_data();
    void partitionSelectChildrenWalksTheTree();
    void partitionSelectChildrenHasTheSuiteShape();

    void externalAccountsOfAUser_data();
    void externalAccountsOfAUser();

    void userHeaderReadsGroupAndPartitions_data();
    void userHeaderReadsGroupAndPartitions();

    void groupAccountLoad_data();
    void groupAccountLoad();
    void editorListsAreSortedWithoutRegardToCase();
};

namespace {

const QVariant null;

} // namespace

void TestStatementCorpus::livePartitionCountLeavesOutBaseAndDeleted() {
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral(
        "SELECT COUNT(*) FROM system_partitions WHERE partition_id <> 0 AND delete_date IS NULL"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toInt(), 4); // 1, 2, 3, 5; partition 4 is deleted
}

void TestStatementCorpus::preferenceIsReadBackAndReplaced() {
    CorpusFixture fx;
    const QString get = QStringLiteral("EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', -1");
    auto rows = fx.open(get);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY2(rows->eof(), "no value is stored yet, so no row");

    QVERIFY2(fx.execute(QStringLiteral(
                 "EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '2'")),
             qPrintable(fx.lastError()));
    rows = fx.open(get);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toString(), QStringLiteral("2"));

    QVERIFY2(fx.execute(QStringLiteral(
                 "EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '1'")),
             qPrintable(fx.lastError()));
    rows = fx.open(get);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->recordCount(), std::size_t(1));
    QCOMPARE(rows->value(0).toString(), QStringLiteral("1"));
}

void TestStatementCorpus::preferenceIsKeptPerPartitionAndUser() {
    CorpusFixture fx;
    const char* const writes[] = {
        "EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '1'",
        "EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '2', 3",
        "EXEC usp_incentive_add_preference 7, 4, 'INCENT_WINDOW_WIDTH', '11325'",
        "EXEC usp_incentive_add_preference 7, 4, 'INCENT_WINDOW_WIDTH', '12000', 3",
    };
    for (const char* statement : writes)
        QVERIFY2(fx.execute(QString::fromUtf8(statement)), qPrintable(fx.lastError()));

    const struct {
        const char* statement;
        const char* expected; // nullptr: no row
    } reads[] = {
        {"EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', -1", "1"},
        {"EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', -1, 3", "2"},
        {"EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', -1, 5", nullptr},
        {"EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', 7", nullptr},
        {"EXEC usp_incentive_get_preference 'INCENT_WINDOW_WIDTH', 7", "11325"},
        {"EXEC usp_incentive_get_preference 'INCENT_WINDOW_WIDTH', 7, 3", "12000"},
        {"EXEC usp_incentive_get_preference 'INCENT_WINDOW_WIDTH', -1", nullptr},
    };
    for (const auto& read : reads) {
        auto rows = fx.open(QString::fromUtf8(read.statement));
        QVERIFY2(rows, qPrintable(fx.lastError()));
        if (!read.expected) {
            QVERIFY2(rows->eof(), read.statement);
            continue;
        }
        QVERIFY2(!rows->eof(), read.statement);
        QCOMPARE(rows->value(0).toString(), QString::fromUtf8(read.expected));
    }
}

void TestStatementCorpus::catalogueLoadReadsPartitionsAndAccounts() {
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("SELECT DISTINCT partition_id, partition_name, "
                                       "partition_description ") +
                        QStringLiteral("FROM System_partitions"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList partitions =
        rowTexts(*rows, {QStringLiteral("partition_id"), QStringLiteral("partition_name"),
                         QStringLiteral("partition_description")});
    partitions.sort();
    QCOMPARE(partitions, QStringList({
                             QStringLiteral("0|Base|Base partition"),
                             QStringLiteral("1|North|Northern region"),
                             QStringLiteral("2|South|Southern region"),
                             QStringLiteral("3|North East|North-east offices"),
                             QStringLiteral("4|North West|Closed office"),
                             QStringLiteral("5|Far North East|NULL"),
                         }));

    // "> - 1": the program writes the minus apart from its number.
    rows = fx.open(QStringLiteral("SELECT DISTINCT ") +
                   QStringLiteral("Account_info.hosp_acct_id, Account_info.hosp_acct_name, "
                                  "Account_info.hosp_acct_description, Account_info.is_deleted, ") +
                   QStringLiteral("Account_info.partition_id ") +
                   QStringLiteral("FROM Account_info ") +
                   QStringLiteral("WHERE (Account_info.hosp_acct_id > - 1) "));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList accounts =
        rowTexts(*rows, {QStringLiteral("hosp_acct_id"), QStringLiteral("hosp_acct_name"),
                         QStringLiteral("hosp_acct_description"), QStringLiteral("is_deleted"),
                         QStringLiteral("partition_id")});
    accounts.sort();
    QCOMPARE(accounts, QStringList({
                           QStringLiteral("0|Unassigned|No account|0|0"),
                           QStringLiteral("101|Mercy Hospital|Mercy Hospital, radiology|0|1"),
                           QStringLiteral("102|St. Luke's Clinic|Clinic|0|3"),
                           QStringLiteral("103|Harbor Radiology|Closed|1|2"),
                           QStringLiteral("104|county general|County General Hospital|0|2"),
                       }));
}

void TestStatementCorpus::catalogueLoadReadsUsersAsLastCommaFirst() {
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral("SELECT ti.trans_id, RTRIM(ti.last_name) + ', ' + RTRIM(ti.first_name) AS "
                       "full_name, ") +
        QStringLiteral("ti.is_deleted, ti.extra3 AS partition_id, ig.group_id ") +
        QStringLiteral("FROM Trans_info AS ti LEFT OUTER JOIN ") +
        QStringLiteral("Incentive_group AS ig ON ti.incentive_group_id = ig.group_id ") +
        QStringLiteral("WHERE (ti.trans_type = 1) ") + QStringLiteral("ORDER BY ti.last_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    // Ordered by last name without regard to case; trailing blanks trimmed before joining; a
    // NULL first name makes the whole name NULL; a missing group joins as NULL.
    const QString mismatch = compareRows(
        *rows,
        {QStringLiteral("trans_id"), QStringLiteral("full_name"), QStringLiteral("is_deleted"),
         QStringLiteral("partition_id"), QStringLiteral("group_id")},
        {
            {"mgone", "Gone, Max", 1, 2, 1},
            {"k.lee", "lee, Kim", 0, 3, 3},
            {"tnull", null, 0, null, null},
            {"O'Brien", "O'Brien, Pat", 0, 1, 2},
            {"jsmith", "Smith, Ann", 0, 1, 2},
        });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestStatementCorpus::catalogueLoadReadsFormulasAndGroupsByName() {
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral("SELECT formula_id, formula_name, formula_text, partition_id ") +
        QStringLiteral("FROM Incentive_formula ") + QStringLiteral("ORDER BY formula_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QString mismatch =
        compareRows(*rows,
                    {QStringLiteral("formula_id"), QStringLiteral("formula_name"),
                     QStringLiteral("formula_text"), QStringLiteral("partition_id")},
                    {
                        {4, "accuracy tier", "Results.IPay = 0", 1},
                        {1, "Default Formula",
                         "Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0", 0},
                        {3, "Hourly Bonus", "Results.IPay = ITypedLines * 0.02", 1},
                        {2, "Line Rate", "Results.IPay = Lines * 0.1", 0},
                    });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    rows =
        fx.open(QStringLiteral("SELECT group_id, group_name, Incentive_group.partition_id, "
                               "Incentive_group.incentive_effective_date, Incentive_group.flag1 ") +
                QStringLiteral("FROM Incentive_group ") + QStringLiteral("ORDER BY group_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch = compareRows(*rows,
                           {QStringLiteral("group_id"), QStringLiteral("group_name"),
                            QStringLiteral("partition_id"),
                            QStringLiteral("incentive_effective_date"), QStringLiteral("flag1")},
                           {
                               {2, "Day Shift", 1, "2024-01-01", 1},
                               {1, "Default Group", 0, "2023-01-01", 1},
                               {4, "Empty Group", 2, "2024-01-01", 0},
                               {3, "night shift", 3, "2024-02-01", 0},
                           });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestStatementCorpus::catalogueDisplayListsWithoutPartitions() {
    CorpusFixture fx;
    auto rows =
        fx.open(QStringLiteral("SELECT hosp_acct_id, hosp_acct_name, hosp_acct_description, "
                               "is_deleted FROM Account_info WHERE hosp_acct_id > -1"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->recordCount(), std::size_t(5));

    rows =
        fx.open(QStringLiteral("SELECT DISTINCT trans_id AS user_name, rtrim(last_name) + ', ' + "
                               "rtrim(first_name) AS full_name, last_name, is_deleted ") +
                QStringLiteral("FROM Trans_info ") +
                QStringLiteral("WHERE trans_type = 1 ORDER BY last_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QString mismatch = compareRows(*rows,
                                   {QStringLiteral("user_name"), QStringLiteral("full_name"),
                                    QStringLiteral("last_name"), QStringLiteral("is_deleted")},
                                   {
                                       {"mgone", "Gone, Max", "Gone", 1},
                                       {"k.lee", "lee, Kim", "lee   ", 0},
                                       {"tnull", null, "Null", 0},
                                       {"O'Brien", "O'Brien, Pat", "O'Brien", 0},
                                       {"jsmith", "Smith, Ann", "Smith", 0},
                                   });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    rows = fx.open(QStringLiteral("SELECT formula_id, formula_name, formula_text FROM "
                                  "Incentive_formula ORDER BY formula_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch = compareRows(
        *rows, {QStringLiteral("FORMULA_ID"), QStringLiteral("FORMULA_NAME")},
        {{4, "accuracy tier"}, {1, "Default Formula"}, {3, "Hourly Bonus"}, {2, "Line Rate"}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    rows = fx.open(
        QStringLiteral("SELECT group_id, group_name FROM Incentive_group ORDER BY group_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch = compareRows(
        *rows, {QStringLiteral("GROUP_ID"), QStringLiteral("GROUP_NAME")},
        {{2, "Day Shift"}, {1, "Default Group"}, {4, "Empty Group"}, {3, "night shift"}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestStatementCorpus::operatorModeLeavesOutAccountZero() {
    CorpusFixture fx;
    auto rows =
        fx.open(QStringLiteral("SELECT DISTINCT hosp_acct_id, hosp_acct_name, is_deleted FROM "
                               "Account_info WHERE hosp_acct_id > 0"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList accounts =
        rowTexts(*rows, {QStringLiteral("hosp_acct_id"), QStringLiteral("is_deleted")});
    accounts.sort();
    QCOMPARE(accounts, QStringList({QStringLiteral("101|0"), QStringLiteral("102|0"),
                                    QStringLiteral("103|1"), QStringLiteral("104|0")}));
}

void TestStatementCorpus::partitionSelectChildrenWalksTheTree_data() {
    QTest::addColumn<int>("root");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("base: every live partition") << 0 << QStringList({"0", "1", "2", "3", "5"});
    QTest::newRow("North: itself and live descendants") << 1 << QStringList({"1", "3", "5"});
    QTest::newRow("North East: two levels") << 3 << QStringList({"3", "5"});
    QTest::newRow("leaf") << 5 << QStringList({"5"});
    QTest::newRow("unknown partition") << 99 << QStringList();
}

void TestStatementCorpus::partitionSelectChildrenWalksTheTree() {
    QFETCH(int, root);
    QFETCH(QStringList, expected);
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("EXEC partition_select_children ") + QString::number(root));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList ids = rowTexts(*rows, {QStringLiteral("partition_id")});
    ids.sort();
    QCOMPARE(ids, expected);
}

void TestStatementCorpus::partitionSelectChildrenHasTheSuiteShape() {
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("EXEC partition_select_children 1"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList columns = rows->columnNames();
    for (QString& column : columns)
        column = column.toLower();
    QCOMPARE(columns,
             QStringList({"partition_id",  "parent_id",   "partition_name", "partition_description",
                          "share_bitmask", "depth",       "lineage",        "partition_type",
                          "access_flag",   "delete_date", "flag1",          "flag2",
                          "flag3",         "flag4",       "flag5",          "flag6",
                          "string1",       "string2",     "string3",        "date1",
                          "date2"}));
}

void TestStatementCorpus::externalAccountsOfAUser_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("expected");
    const QString head =
        QStringLiteral("SELECT DISTINCT trans_id, hosp_acct_id FROM trans_incentive ") +
        QStringLiteral("WHERE trans_id = '");
    QTest::newRow("accounts of the user's partitions left out")
        << head + QStringLiteral("jsmith") + QStringLiteral("' ") +
               QStringLiteral("AND hosp_acct_id NOT IN (") + QStringLiteral("101,104") +
               QStringLiteral(")")
        << QStringList({"jsmith|102"});
    QTest::newRow("no accounts in the user's partitions")
        << head + QStringLiteral("jsmith") + QStringLiteral("' ")
        << QStringList({"jsmith|101", "jsmith|102"});
    QTest::newRow("trans_id with a dot") << head + QStringLiteral("k.lee") + QStringLiteral("' ")
                                         << QStringList({"k.lee|101", "k.lee|102"});
}

void TestStatementCorpus::externalAccountsOfAUser() {
    QFETCH(QString, statement);
    QFETCH(QStringList, expected);
    CorpusFixture fx;
    auto rows = fx.open(statement);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList accounts =
        rowTexts(*rows, {QStringLiteral("trans_id"), QStringLiteral("hosp_acct_id")});
    accounts.sort();
    QCOMPARE(accounts, expected);
}

void TestStatementCorpus::userHeaderReadsGroupAndPartitions_data() {
    QTest::addColumn<QString>("transId");
    QTest::addColumn<QVariantList>("expected"); // group, effective date, user and group partition
    QTest::newRow("quote in the id")
        << QStringLiteral("O'Brien") << QVariantList({2, "2024-01-01", 1, 1});
    QTest::newRow("dot in the id")
        << QStringLiteral("k.lee") << QVariantList({3, "2024-02-01", 3, 3});
    QTest::newRow("other letter case, trailing blank")
        << QStringLiteral("JSmith ") << QVariantList({2, "2024-01-01", 1, 1});
    QTest::newRow("group missing")
        << QStringLiteral("tnull") << QVariantList({99, null, null, null});
}

void TestStatementCorpus::userHeaderReadsGroupAndPartitions() {
    QFETCH(QString, transId);
    QFETCH(QVariantList, expected);
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral("SELECT Trans_info.incentive_group_id, Trans_info.incentive_effective_date, "
                       "Trans_info.extra3 as trans_partition, Incentive_group.partition_id as "
                       "group_partition ") +
        QStringLiteral("FROM Trans_info ") + QStringLiteral("LEFT OUTER JOIN Incentive_group ON ") +
        QStringLiteral("Trans_info.incentive_group_id = Incentive_group.group_id ") +
        QStringLiteral("WHERE Trans_info.trans_id = '") + quoteSql(transId) + QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QString mismatch = compareRows(
        *rows,
        {QStringLiteral("incentive_group_id"), QStringLiteral("incentive_effective_date"),
         QStringLiteral("trans_partition"), QStringLiteral("group_partition")},
        {expected});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    // Outside partition mode the header reads only the group and the date.
    rows = fx.open(QStringLiteral("SELECT incentive_group_id, incentive_effective_date FROM "
                                  "Trans_info WHERE trans_id = '") +
                   quoteSql(transId) + QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch = compareRows(
        *rows, {QStringLiteral("incentive_group_id"), QStringLiteral("incentive_effective_date")},
        {expected.mid(0, 2)});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestStatementCorpus::groupAccountLoad_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("account");
    QTest::addColumn<QList<QVariantList>>("expected");
    QTest::newRow("explicit account") << 2 << 101 << QList<QVariantList>({{3, 1, 2, "2024-01-01"}});
    QTest::newRow("default account -1")
        << 1 << -1 << QList<QVariantList>({{1, 1, 1, "2023-01-01"}});
    QTest::newRow("external accounts -3")
        << 3 << -3 << QList<QVariantList>({{1, 1, 1, "2024-02-01"}});
    QTest::newRow("no row") << 2 << 104 << QList<QVariantList>();
}

void TestStatementCorpus::groupAccountLoad() {
    QFETCH(int, group);
    QFETCH(int, account);
    QFETCH(QList<QVariantList>, expected);
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral("SELECT typed_formula_id, hours_worked_formula_id, pay_formula_id, "
                       "incentive_effective_date FROM Incentive_group_formula, Incentive_group "
                       "WHERE Incentive_group.group_id = Incentive_group_formula.group_id AND "
                       "Incentive_group_formula.group_id = ") +
        QString::number(group) + QStringLiteral(" AND account_id = ") + QString::number(account));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch =
        compareRows(*rows,
                    {QStringLiteral("typed_formula_id"), QStringLiteral("hours_worked_formula_id"),
                     QStringLiteral("pay_formula_id"), QStringLiteral("incentive_effective_date")},
                    expected);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestStatementCorpus::editorListsAreSortedWithoutRegardToCase() {
    CorpusFixture fx;
    // Pay formula list.
    auto rows = fx.open(QStringLiteral("SELECT FORMULA_NAME, FORMULA_ID FROM Incentive_formula ") +
                        QStringLiteral("ORDER BY formula_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {QStringLiteral("formula_id")}), QStringList({"4", "1", "3", "2"}));

    // Tester user list: live transcriptionists only.
    rows =
        fx.open(QStringLiteral("SELECT trans_id ") +
                QStringLiteral("FROM trans_info WHERE trans_type = 1 and is_deleted = 0 ORDER BY "
                               "trans_id"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {QStringLiteral("trans_id")}),
             QStringList({"jsmith", "k.lee", "O'Brien", "tnull"}));

    // Tester account list: live accounts from id 0 on.
    rows = fx.open(QStringLiteral("SELECT hosp_acct_name, hosp_acct_id FROM account_info WHERE "
                                  "hosp_acct_id >= 0 AND is_deleted = 0 ORDER BY hosp_acct_name"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {QStringLiteral("hosp_acct_id")}),
             QStringList({"104", "101", "102", "0"}));
}

VELORA_TEST(TestStatementCorpus)
#include "TestStatementCorpus.moc"
