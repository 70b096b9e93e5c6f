// The program's catalogue, list, partition, preference and header statements, run on the
// embedded engine against the corpus fixture: each must give the rows SQL Server gives.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora::test;

class TestStatementCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statements_data();
    void statements() { runCorpusRow(); }
    void partitionSelectChildren_data();
    void partitionSelectChildren();
};

void TestStatementCorpus::statements_data() {
    addCorpusColumns();
    // clang-format off
    corpusRow("live partitions leave out Base and deleted ones",
              "SELECT COUNT(*) FROM system_partitions WHERE partition_id <> 0 AND delete_date IS NULL",
              {"4"});

    // Catalogue load and display lists; names sort without regard to case.
    corpusRow("catalogue partitions",
              "SELECT DISTINCT partition_id, partition_name, partition_description FROM System_partitions",
              {"0|Base|Base partition", "1|North|Northern region", "2|South|Southern region",
               "3|North East|North-east offices", "4|North West|Closed office", "5|Far North East|NULL"});
    // "> - 1": the program writes the minus apart from its number.
    corpusRow("catalogue accounts",
              "SELECT DISTINCT Account_info.hosp_acct_id, Account_info.hosp_acct_name, "
              "Account_info.hosp_acct_description, Account_info.is_deleted, Account_info.partition_id "
              "FROM Account_info WHERE (Account_info.hosp_acct_id > - 1) ",
              {"0|Unassigned|No account|0|0", "101|Mercy Hospital|Mercy Hospital, radiology|0|1",
               "102|St. Luke's Clinic|Clinic|0|3", "103|Harbor Radiology|Closed|1|2",
               "104|county general|County General Hospital|0|2"});
    // Trailing blanks trimmed before joining; a NULL first name makes the whole name NULL; a
    // missing group joins as NULL.
    corpusRow("catalogue users, last name first",
              "SELECT ti.trans_id, RTRIM(ti.last_name) + ', ' + RTRIM(ti.first_name) AS full_name, "
              "ti.is_deleted, ti.extra3 AS partition_id, ig.group_id FROM Trans_info AS ti LEFT OUTER JOIN "
              "Incentive_group AS ig ON ti.incentive_group_id = ig.group_id WHERE (ti.trans_type = 1) "
              "ORDER BY ti.last_name",
              {"mgone|Gone, Max|1|2|1", "k.lee|lee, Kim|0|3|3", "tnull|NULL|0|NULL|NULL",
               "O'Brien|O'Brien, Pat|0|1|2", "jsmith|Smith, Ann|0|1|2"});
    corpusRow("catalogue formulas",
              "SELECT formula_id, formula_name, formula_text, partition_id FROM Incentive_formula "
              "ORDER BY formula_name",
              {"4|accuracy tier|Results.IPay = 0|1",
               "1|Default Formula|Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0|0",
               "3|Hourly Bonus|Results.IPay = ITypedLines * 0.02|1", "2|Line Rate|Results.IPay = Lines * 0.1|0"});
    corpusRow("catalogue groups",
              "SELECT group_id, group_name, Incentive_group.partition_id, "
              "Incentive_group.incentive_effective_date, Incentive_group.flag1 FROM Incentive_group "
              "ORDER BY group_name",
              {"2|Day Shift|1|2024-01-01|1", "1|Default Group|0|2023-01-01|1",
               "4|Empty Group|2|2024-01-01|0", "3|night shift|3|2024-02-01|0"});
    corpusRow("display users",
              "SELECT DISTINCT trans_id AS user_name, rtrim(last_name) + ', ' + rtrim(first_name) AS "
              "full_name, last_name, is_deleted FROM Trans_info WHERE trans_type = 1 ORDER BY last_name",
              {"mgone|Gone, Max|Gone|1", "k.lee|lee, Kim|lee   |0", "tnull|NULL|Null|0",
               "O'Brien|O'Brien, Pat|O'Brien|0", "jsmith|Smith, Ann|Smith|0"});
    corpusRow("operator mode leaves out account 0",
              "SELECT DISTINCT hosp_acct_id, hosp_acct_name, is_deleted FROM Account_info WHERE hosp_acct_id > 0",
              {"101|Mercy Hospital|0", "102|St. Luke's Clinic|0", "103|Harbor Radiology|1",
               "104|county general|0"});
    corpusRow("editor list: live transcriptionists",
              "SELECT trans_id FROM trans_info WHERE trans_type = 1 and is_deleted = 0 ORDER BY trans_id",
              {"jsmith", "k.lee", "O'Brien", "tnull"});
    corpusRow("editor list: live accounts from 0 on",
              "SELECT hosp_acct_name, hosp_acct_id FROM account_info WHERE hosp_acct_id >= 0 AND "
              "is_deleted = 0 ORDER BY hosp_acct_name",
              {"county general|104", "Mercy Hospital|101", "St. Luke's Clinic|102", "Unassigned|0"});

    // External accounts of a user: those outside the user's partitions, when they have any.
    const QString external = "SELECT DISTINCT trans_id, hosp_acct_id FROM trans_incentive WHERE trans_id = '";
    corpusRow("external accounts", external + "jsmith' AND hosp_acct_id NOT IN (101,104)", {"jsmith|102"});
    corpusRow("external accounts, none in the user's partitions", external + "jsmith' ",
              {"jsmith|101", "jsmith|102"});
    corpusRow("external accounts, dot in the id", external + "k.lee' ", {"k.lee|101", "k.lee|102"});

    // The user header: group, its date, user and group partition; ids compare without regard
    // to case and trailing blanks.
    const QString header =
        "SELECT Trans_info.incentive_group_id, Trans_info.incentive_effective_date, "
        "Trans_info.extra3 as trans_partition, Incentive_group.partition_id as group_partition "
        "FROM Trans_info LEFT OUTER JOIN Incentive_group ON Trans_info.incentive_group_id = "
        "Incentive_group.group_id WHERE Trans_info.trans_id = '";
    corpusRow("header, quote in the id", header + "O''Brien'", {"2|2024-01-01|1|1"});
    corpusRow("header, dot in the id", header + "k.lee'", {"3|2024-02-01|3|3"});
    corpusRow("header, other case and trailing blank", header + "JSmith '", {"2|2024-01-01|1|1"});
    corpusRow("header, group missing", header + "tnull'", {"99|NULL|NULL|NULL"});
    const QString plainHeader =
        "SELECT incentive_group_id, incentive_effective_date FROM Trans_info WHERE trans_id = '";
    corpusRow("header outside partition mode", plainHeader + "O''Brien'", {"2|2024-01-01"});
    corpusRow("header outside partition mode, other case", plainHeader + "JSMITH'", {"2|2024-01-01"});
    const QString detailGroup = "SELECT incentive_group_id FROM Trans_info WHERE trans_id = '";
    corpusRow("detail header group, quote", detailGroup + "O''Brien'", {"2"});
    corpusRow("detail header group, dot", detailGroup + "k.lee'", {"3"});
    corpusRow("detail header group, unknown user", detailGroup + "nobody'", {});

    // The formulas of a group on one account: explicit, default (-1) and external (-3).
    const QString groupAccount =
        "SELECT typed_formula_id, hours_worked_formula_id, pay_formula_id, incentive_effective_date "
        "FROM Incentive_group_formula, Incentive_group WHERE Incentive_group.group_id = "
        "Incentive_group_formula.group_id AND Incentive_group_formula.group_id = ";
    corpusRow("group account, explicit", groupAccount + "2 AND account_id = 101", {"3|1|2|2024-01-01"});
    corpusRow("group account, default -1", groupAccount + "1 AND account_id = -1", {"1|1|1|2023-01-01"});
    corpusRow("group account, external -3", groupAccount + "3 AND account_id = -3", {"1|1|1|2024-02-01"});
    corpusRow("group account, none", groupAccount + "2 AND account_id = 104", {});

    // The last locked day of any user; with nothing locked, the default or NULL.
    const QString lastLocked =
        "SELECT ISNULL((SELECT MAX(shift_date) FROM trans_incentive WHERE locked=1), '1980-01-01')";
    const QString maxLocked = "SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1";
    const Writes unlockAll = {{"UPDATE trans_incentive SET locked = 0", 19}};
    corpusRow("last locked day", lastLocked, {"2024-01-15"});
    corpusRow("last locked day, engine", maxLocked, {"2024-01-15"});
    corpusRow("last locked day, nothing locked", lastLocked, {"1980-01-01"}, unlockAll);
    corpusRow("last locked day, engine, nothing locked", maxLocked, {"NULL"}, unlockAll);

    // A quoted text holding SQL is stored as text, and nothing else runs.
    const QString injection = "Ann'; DROP TABLE Trans_info; --";
    corpusRow("quoted SQL is stored as text",
              "SELECT first_name, (SELECT COUNT(*) FROM Trans_info) FROM Trans_info WHERE trans_id = 'jsmith'",
              {injection + "|6"},
              {{"UPDATE Trans_info SET first_name = '" + quoteSql(injection) + "' WHERE trans_id = 'jsmith'"}});

    // Preferences per key, user and partition; a second write replaces the first.
    const QString get = "EXEC usp_incentive_get_preference ";
    corpusRow("preference not stored", get + "'INCENT_HOUR_TYPE', -1", {});
    corpusRow("preference replaced", get + "'INCENT_HOUR_TYPE', -1", {"1"},
              {{"EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '2'"},
               {"EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '1'"}});
    const Writes preferences = {
        {"EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '1'"},
        {"EXEC usp_incentive_add_preference -1, 4, 'INCENT_HOUR_TYPE', '2', 3"},
        {"EXEC usp_incentive_add_preference 7, 4, 'INCENT_WINDOW_WIDTH', '11325'"},
        {"EXEC usp_incentive_add_preference 7, 4, 'INCENT_WINDOW_WIDTH', '12000', 3"}};
    const std::pair<const char*, QStringList> reads[] = {
        {"'INCENT_HOUR_TYPE', -1", {"1"}},        {"'INCENT_HOUR_TYPE', -1, 3", {"2"}},
        {"'INCENT_HOUR_TYPE', -1, 5", {}},        {"'INCENT_HOUR_TYPE', 7", {}},
        {"'INCENT_WINDOW_WIDTH', 7", {"11325"}},  {"'INCENT_WINDOW_WIDTH', 7, 3", {"12000"}},
        {"'INCENT_WINDOW_WIDTH', -1", {}}};
    for (const auto& [arguments, expected] : reads)
        corpusRow(QByteArray("preference ") + arguments, get + arguments, expected, preferences);
    // clang-format on
}

void TestStatementCorpus::partitionSelectChildren_data() {
    QTest::addColumn<int>("root");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("base: every live partition") << 0 << QStringList{"0", "1", "2", "3", "5"};
    QTest::newRow("North: itself and live descendants") << 1 << QStringList{"1", "3", "5"};
    QTest::newRow("leaf") << 5 << QStringList{"5"};
    QTest::newRow("unknown partition") << 99 << QStringList();
}

// Itself and its live descendants, with the columns of the suite's procedure.
void TestStatementCorpus::partitionSelectChildren() {
    QFETCH(int, root);
    QFETCH(QStringList, expected);
    CorpusFixture fx;
    const QString call = "EXEC partition_select_children " + QString::number(root);
    QStringList ids = fx.rows(call, {"partition_id"});
    ids.sort();
    QCOMPARE(ids, expected);
    const QString columns =
        "partition_id|parent_id|partition_name|partition_description|"
        "share_bitmask|depth|lineage|partition_type|access_flag|delete_date|"
        "flag1|flag2|flag3|flag4|flag5|flag6|string1|string2|string3|date1|date2";
    QCOMPARE(fx.connection().openRecordset(call).columnNames().join('|').toLower(), columns);
}

VELORA_TEST(TestStatementCorpus)
#include "TestStatementCorpus.moc"
