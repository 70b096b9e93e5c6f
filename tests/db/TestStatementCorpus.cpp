// The program's list, partition, preference and header statements, run on the embedded engine
// against the corpus fixture: each must give the rows SQL Server gives. (The catalogue's own
// statements run in the catalogue tests.)
#include "CorpusFixture.h"
#include "catalogue/QuoteSql.h"
#include "common/PreferenceStore.h"
#include "common/TestMain.h"
#include "detail/UserHeaderLoader.h"
#include "detail/WeekStatements.h"
#include "groups/GroupAccount.h"

#include <QTest>

using namespace velora::test;
using velora::common::PreferenceStore;
using velora::detail::UserHeaderLoader;
using velora::detail::WeekStatements;
using velora::groups::GroupAccount;

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

    // The user header: group, its date, user and group partition; ids compare without regard
    // to case and trailing blanks.
    const auto header = &UserHeaderLoader::partitionModeStatement;
    corpusRow("header, quote in the id", header("O'Brien"), {"2|2024-01-01|1|1"});
    corpusRow("header, dot in the id", header("k.lee"), {"3|2024-02-01|3|3"});
    corpusRow("header, other case and trailing blank", header("JSmith "), {"2|2024-01-01|1|1"});
    corpusRow("header, group missing", header("tnull"), {"99|NULL|NULL|NULL"});
    corpusRow("header outside partition mode", UserHeaderLoader::statement("O'Brien"), {"2|2024-01-01"});
    corpusRow("header outside partition mode, other case", UserHeaderLoader::statement("JSMITH"),
              {"2|2024-01-01"});
    corpusRow("detail header group, quote", WeekStatements::userGroup("O'Brien"), {"2"});
    corpusRow("detail header group, dot", WeekStatements::userGroup("k.lee"), {"3"});
    corpusRow("detail header group, unknown user", WeekStatements::userGroup("nobody"), {});

    // The formulas of a group on one account: explicit, default (-1) and external (-3).
    const auto groupAccount = &GroupAccount::loadStatement;
    corpusRow("group account, explicit", groupAccount(2, 101), {"3|1|2|2024-01-01"});
    corpusRow("group account, default -1", groupAccount(1, -1), {"1|1|1|2023-01-01"});
    corpusRow("group account, external -3", groupAccount(3, -3), {"1|1|1|2024-02-01"});
    corpusRow("group account, none", groupAccount(2, 104), {});

    // The last locked day of any user; with nothing locked, the default or NULL.
    const QString lastLocked = WeekStatements::lastLockedDate();
    corpusRow("last locked day", lastLocked, {"2024-01-15"});
    corpusRow("last locked day, nothing locked", lastLocked, {"1980-01-01"},
              {{"UPDATE trans_incentive SET locked = 0", 19}});

    // A quoted text holding SQL is stored as text, and nothing else runs.
    const QString injection = "Ann'; DROP TABLE Trans_info; --";
    corpusRow("quoted SQL is stored as text",
              "SELECT first_name, (SELECT COUNT(*) FROM Trans_info) FROM Trans_info WHERE trans_id = 'jsmith'",
              {injection + "|6"},
              {{"UPDATE Trans_info SET first_name = '" + velora::catalogue::QuoteSql(injection) + "' WHERE trans_id = 'jsmith'"}});

    // Preferences per key, user and partition; a second write replaces the first.
    const auto get = &PreferenceStore::getStatement;
    const auto add = &PreferenceStore::addStatement;
    corpusRow("preference not stored", get("INCENT_HOUR_TYPE", -1, {}), {});
    corpusRow("preference replaced", get("INCENT_HOUR_TYPE", -1, {}), {"1"},
              {{add("INCENT_HOUR_TYPE", "2", -1, {})}, {add("INCENT_HOUR_TYPE", "1", -1, {})}});
    const Writes preferences = {{add("INCENT_HOUR_TYPE", "1", -1, {})},
                                {add("INCENT_HOUR_TYPE", "2", -1, 3)},
                                {add("INCENT_WINDOW_WIDTH", "11325", 7, {})},
                                {add("INCENT_WINDOW_WIDTH", "12000", 7, 3)}};
    const std::tuple<const char*, int, std::optional<int>, QStringList> reads[] = {
        {"INCENT_HOUR_TYPE", -1, {}, {"1"}},        {"INCENT_HOUR_TYPE", -1, 3, {"2"}},
        {"INCENT_HOUR_TYPE", -1, 5, {}},            {"INCENT_HOUR_TYPE", 7, {}, {}},
        {"INCENT_WINDOW_WIDTH", 7, {}, {"11325"}},  {"INCENT_WINDOW_WIDTH", 7, 3, {"12000"}},
        {"INCENT_WINDOW_WIDTH", -1, {}, {}}};
    for (const auto& [key, user, partition, expected] : reads)
        corpusRow(QByteArray("preference ") + key + " " + QByteArray::number(user) + " " +
                      (partition ? QByteArray::number(*partition) : QByteArray()),
                  get(key, user, partition), expected, preferences);
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
