// The formula and group statements (loading and saving a formula, the incentive-function
// check, creating through the two procedures, renaming and deleting) on the embedded engine.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"

#include <QTest>

using velora::db::DbError;
using velora::db::ProcedureParameter;
using velora::db::ProcedureParameters;
using velora::test::compareRows;
using velora::test::CorpusFixture;
using velora::test::quoteSql;
using velora::test::rowTexts;

namespace {

const QString defaultFormulaText =
    QStringLiteral("Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0");

ProcedureParameter input(const char* name, ProcedureParameter::Type type, int size,
                         const QVariant& value) {
    return {QString::fromUtf8(name), type, ProcedureParameter::Direction::Input, size, value};
}

ProcedureParameter output(const char* name) {
    return {QString::fromUtf8(name), ProcedureParameter::Type::Integer,
            ProcedureParameter::Direction::Output, 0, QVariant()};
}

// The parameters the create-formula handler appends, in its order; the partition only in
// partition mode (partition < 0: outside it).
ProcedureParameters addFormulaParameters(const QString& name, int partition) {
    ProcedureParameters parameters{
        input("@formula_name", ProcedureParameter::Type::VarChar, 50, name),
        input("@formula_text", ProcedureParameter::Type::VarChar, 2147483647, defaultFormulaText)};
    if (partition >= 0)
        parameters.append(input("@partition_id", ProcedureParameter::Type::Integer, 0, partition));
    parameters.append(output("@formula_id"));
    return parameters;
}

ProcedureParameters addGroupParameters(const QString& name, int partition, bool isDefault) {
    ProcedureParameters parameters;
    if (partition >= 0) {
        parameters.append(input("@partition_id", ProcedureParameter::Type::Integer, 0, partition));
        parameters.append(
            input("@is_default", ProcedureParameter::Type::Integer, 0, isDefault ? 1 : 0));
    }
    parameters.append(input("@group_name", ProcedureParameter::Type::VarChar, 50, name));
    parameters.append(output("@group_id"));
    return parameters;
}

// Calls a procedure; the output parameter's value, or nothing (with `error` set) on DbError.
std::optional<int> callForId(CorpusFixture& fx, const QString& procedure,
                             ProcedureParameters parameters, QString& error) {
    try {
        fx.connection().callProcedure(procedure, parameters);
    } catch (const DbError& e) {
        error =
            QStringLiteral("%1: Error %2: %3").arg(procedure).arg(e.number()).arg(e.description());
        return std::nullopt;
    }
    return parameters.last().value.toInt();
}

} // namespace

class TestFormulaCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formulaLoadReadsTextAndDate();
    void incentiveFunctionCheckNamesTypedAndHoursGroups_data();
    void incentiveFunctionCheckNamesTypedAndHoursGroups();
    void formulaTextWithQuotesIsStoredUnchanged();

    void addFormulaReturnsTheNewId_data();
    void addFormulaReturnsTheNewId();
    void addFormulaRefusesAnExistingName_data();
    void addFormulaRefusesAnExistingName();
    void addGroupReturnsTheNewId_data();
    void addGroupReturnsTheNewId();
    void addGroupRefusesAnExistingName_data();
    void addGroupRefusesAnExistingName();
    void execWithOutputParameterReturnsTheIdAsARow();

    void renameLookupIgnoresCaseAndTrailingBlanks_data();
    void renameLookupIgnoresCaseAndTrailingBlanks();
    void renameStoresTheNameAsTyped();

    void deleteFormulaChecksEveryUse_data();
    void deleteFormulaChecksEveryUse();
    void deleteGroupChecksItsUsers_data();
    void deleteGroupChecksItsUsers();
    void deleteRemovesFormulaAndGroupRows();
};

void TestFormulaCorpus::formulaLoadReadsTextAndDate() {
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("SELECT formula_text, incentive_effective_date FROM "
                                       "Incentive_formula WHERE FORMULA_ID = ") +
                        QStringLiteral("2"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {"FORMULA_TEXT", "incentive_effective_date"},
                                         {{"Results.IPay = Lines * 0.1", "2024-01-01"}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestFormulaCorpus::incentiveFunctionCheckNamesTypedAndHoursGroups_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("groups");
    QTest::newRow("lines-typed formula of a group") << "3" << QStringList{"Day Shift"};
    QTest::newRow("pay formula only") << "2" << QStringList{};
    QTest::newRow("used everywhere, each group once")
        << "1" << QStringList{"Day Shift", "Default Group", "Empty Group", "night shift"};
}

void TestFormulaCorpus::incentiveFunctionCheckNamesTypedAndHoursGroups() {
    QFETCH(QString, id);
    QFETCH(QStringList, groups);
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("SELECT DISTINCT grp.group_name FROM Incentive_group grp, "
                                       "Incentive_group_formula grpfrm WHERE grp.group_id = "
                                       "grpfrm.group_id AND (grpfrm.typed_formula_id = ") +
                        id + QStringLiteral(" OR grpfrm.hours_worked_formula_id = ") + id +
                        QStringLiteral(")"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList names = rowTexts(*rows, {QStringLiteral("group_name")});
    names.sort(Qt::CaseInsensitive);
    QCOMPARE(names, groups);
}

void TestFormulaCorpus::formulaTextWithQuotesIsStoredUnchanged() {
    CorpusFixture fx;
    const QString text = QStringLiteral("' Rate from 01/30/2024, it's the base rate\r\n"
                                        "Results.IPay = Lines * 0.1 ' ''quoted''");
    auto changed =
        fx.execute(QStringLiteral("UPDATE Incentive_formula SET FORMULA_TEXT = '") +
                   quoteSql(text) + QStringLiteral("' WHERE FORMULA_ID = ") + QStringLiteral("2"));
    QVERIFY2(changed, qPrintable(fx.lastError()));
    QCOMPARE(*changed, 1);
    auto rows =
        fx.open(QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE formula_id = 2"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toString(), text);
}

void TestFormulaCorpus::addFormulaReturnsTheNewId_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("partition");
    QTest::addColumn<int>("storedPartition");
    QTest::newRow("outside partition mode") << "Tiered Rate" << -1 << 0;
    QTest::newRow("in a partition") << "Tiered Rate" << 3 << 3;
    QTest::newRow("quote in the name") << "Pat's Rate" << -1 << 0;
}

void TestFormulaCorpus::addFormulaReturnsTheNewId() {
    QFETCH(QString, name);
    QFETCH(int, partition);
    QFETCH(int, storedPartition);
    CorpusFixture fx;
    QString error;
    const auto id = callForId(fx, QStringLiteral("usp_incentive_add_formula"),
                              addFormulaParameters(name, partition), error);
    QVERIFY2(id, qPrintable(error));
    QVERIFY2(*id > 4, "a new id, after the fixture's formulas");

    auto rows = fx.open(QStringLiteral("SELECT formula_name, formula_text, partition_id FROM "
                                       "Incentive_formula WHERE FORMULA_ID = ") +
                        QString::number(*id));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {"formula_name", "formula_text", "partition_id"},
                                         {{name, defaultFormulaText, storedPartition}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestFormulaCorpus::addFormulaRefusesAnExistingName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("same name") << "Line Rate";
    QTest::newRow("other letter case") << "LINE RATE";
    QTest::newRow("trailing blanks") << "line rate  ";
    QTest::newRow("default formula") << "default formula";
}

void TestFormulaCorpus::addFormulaRefusesAnExistingName() {
    QFETCH(QString, name);
    CorpusFixture fx;
    QString error;
    const auto id = callForId(fx, QStringLiteral("usp_incentive_add_formula"),
                              addFormulaParameters(name, -1), error);
    QVERIFY2(id, qPrintable(error));
    QVERIFY2(*id <= 0, qPrintable(QString::number(*id)));
    auto rows = fx.open(QStringLiteral("SELECT COUNT(*) FROM Incentive_formula"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->value(0).toInt(), 4);
}

void TestFormulaCorpus::addGroupReturnsTheNewId_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("partition");
    QTest::addColumn<int>("storedPartition");
    QTest::newRow("outside partition mode") << "Evening Team" << -1 << 0;
    QTest::newRow("in a partition") << "Evening Team" << 2 << 2;
    QTest::newRow("quote in the name") << "Pat's Team" << -1 << 0;
    // Names are unique within a partition only.
    QTest::newRow("name of another partition's group") << "Day Shift" << 2 << 2;
}

void TestFormulaCorpus::addGroupReturnsTheNewId() {
    QFETCH(QString, name);
    QFETCH(int, partition);
    QFETCH(int, storedPartition);
    CorpusFixture fx;
    QString error;
    const auto id = callForId(fx, QStringLiteral("usp_incentive_add_group"),
                              addGroupParameters(name, partition, false), error);
    QVERIFY2(id, qPrintable(error));
    QVERIFY2(*id > 4, "a new id, after the fixture's groups");

    auto rows =
        fx.open(QStringLiteral("SELECT group_name, partition_id, flag1 FROM Incentive_group "
                               "WHERE GROUP_ID = ") +
                QString::number(*id));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch =
        compareRows(*rows, {"group_name", "partition_id", "flag1"}, {{name, storedPartition, 0}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestFormulaCorpus::addGroupRefusesAnExistingName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("partition");
    QTest::newRow("other letter case") << "DAY SHIFT" << 1;
    QTest::newRow("trailing blank") << "night shift " << 3;
    QTest::newRow("in partition mode") << "Empty group" << 2;
}

void TestFormulaCorpus::addGroupRefusesAnExistingName() {
    QFETCH(QString, name);
    QFETCH(int, partition);
    CorpusFixture fx;
    QString error;
    const auto id = callForId(fx, QStringLiteral("usp_incentive_add_group"),
                              addGroupParameters(name, partition, false), error);
    QVERIFY2(id, qPrintable(error));
    QVERIFY2(*id <= 0, qPrintable(QString::number(*id)));
    auto rows = fx.open(QStringLiteral("SELECT COUNT(*) FROM Incentive_group"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->value(0).toInt(), 4);
}

void TestFormulaCorpus::execWithOutputParameterReturnsTheIdAsARow() {
    CorpusFixture fx;
    const QString statement = QStringLiteral(
        "EXEC usp_incentive_add_formula 'Weekend Rate', 'Results.IPay = 1', 0, @formula_id OUTPUT");
    auto rows = fx.open(statement);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->recordCount(), std::size_t(1));
    const int id = rows->value(0).toInt();
    QVERIFY(id > 4);
    auto stored =
        fx.open(QStringLiteral("SELECT formula_name FROM Incentive_formula WHERE formula_id = ") +
                QString::number(id));
    QVERIFY2(stored, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*stored, {QStringLiteral("formula_name")}), QStringList{"Weekend Rate"});

    rows = fx.open(statement);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rows->recordCount(), std::size_t(1));
    QVERIFY(rows->value(0).toInt() <= 0);
}

void TestFormulaCorpus::renameLookupIgnoresCaseAndTrailingBlanks_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("ids");
    const QString formula =
        QStringLiteral("SELECT FORMULA_ID FROM Incentive_formula WHERE FORMULA_NAME = '");
    const QString group =
        QStringLiteral("SELECT GROUP_ID FROM Incentive_group WHERE GROUP_NAME = '");
    QTest::newRow("formula, same") << formula + quoteSql("Line Rate") + "'" << QStringList{"2"};
    QTest::newRow("formula, letter case")
        << formula + quoteSql("line RATE") + "'" << QStringList{"2"};
    QTest::newRow("formula, trailing blanks")
        << formula + quoteSql("Line Rate   ") + "'" << QStringList{"2"};
    QTest::newRow("formula, leading blanks count")
        << formula + quoteSql("  Line Rate") + "'" << QStringList{};
    QTest::newRow("formula, prefix only") << formula + quoteSql("Line") + "'" << QStringList{};
    QTest::newRow("group, letter case")
        << group + quoteSql("NIGHT SHIFT") + "'" << QStringList{"3"};
    QTest::newRow("group, quote") << group + quoteSql("St. Luke's") + "'" << QStringList{};
}

void TestFormulaCorpus::renameLookupIgnoresCaseAndTrailingBlanks() {
    QFETCH(QString, statement);
    QFETCH(QStringList, ids);
    CorpusFixture fx;
    auto rows = fx.open(statement);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {rows->columnNames().value(0)}), ids);
}

void TestFormulaCorpus::renameStoresTheNameAsTyped() {
    CorpusFixture fx;
    const QString formulaName = QStringLiteral("  Spaced Name  ");
    const QString groupName = QStringLiteral("Pat's Team");
    QVERIFY2(fx.execute(QStringLiteral("UPDATE Incentive_formula SET FORMULA_NAME = '") +
                        quoteSql(formulaName) + QStringLiteral("' WHERE FORMULA_ID = ") +
                        QStringLiteral("4")),
             qPrintable(fx.lastError()));
    QVERIFY2(fx.execute(QStringLiteral("UPDATE Incentive_group SET GROUP_NAME = '") +
                        quoteSql(groupName) + QStringLiteral("' WHERE GROUP_ID = ") +
                        QStringLiteral("3")),
             qPrintable(fx.lastError()));

    auto rows =
        fx.open(QStringLiteral("SELECT formula_name FROM Incentive_formula WHERE formula_id = 4"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {rows->columnNames().value(0)}), QStringList{formulaName});
    rows = fx.open(QStringLiteral("SELECT group_name FROM Incentive_group WHERE group_id = 3"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {rows->columnNames().value(0)}), QStringList{groupName});
    rows = fx.open(QStringLiteral("SELECT GROUP_ID FROM Incentive_group WHERE GROUP_NAME = '") +
                   quoteSql(QStringLiteral("PAT'S TEAM")) + QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(rowTexts(*rows, {QStringLiteral("GROUP_ID")}), QStringList{"3"});
}

void TestFormulaCorpus::deleteFormulaChecksEveryUse_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("groups");
    QTest::newRow("pay formula of one group, two accounts") << "2" << QStringList{"Day Shift"};
    QTest::newRow("lines-typed and pay formula") << "3" << QStringList{"Day Shift", "night shift"};
    QTest::newRow("unused") << "4" << QStringList{};
}

void TestFormulaCorpus::deleteFormulaChecksEveryUse() {
    QFETCH(QString, id);
    QFETCH(QStringList, groups);
    CorpusFixture fx;
    auto rows = fx.open(QStringLiteral("SELECT DISTINCT GROUP_NAME FROM Incentive_group grp, "
                                       "Incentive_group_formula grpform WHERE grp.GROUP_ID = "
                                       "grpform.GROUP_ID AND (grpform.typed_formula_id = ") +
                        id + QStringLiteral(" OR grpform.hours_worked_formula_id = ") + id +
                        QStringLiteral(" OR grpform.pay_formula_id = ") + id + QStringLiteral(")"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList names = rowTexts(*rows, {QStringLiteral("group_name")});
    names.sort(Qt::CaseInsensitive);
    QCOMPARE(names, groups);
}

void TestFormulaCorpus::deleteGroupChecksItsUsers_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("users");
    QTest::newRow("two users") << "2" << QStringList{"Ann|Smith", "Pat|O'Brien"};
    QTest::newRow("names kept with their blanks") << "3" << QStringList{"Kim  |lee   "};
    QTest::newRow("no users") << "4" << QStringList{};
}

void TestFormulaCorpus::deleteGroupChecksItsUsers() {
    QFETCH(QString, id);
    QFETCH(QStringList, users);
    CorpusFixture fx;
    auto rows = fx.open(
        QStringLiteral(
            "SELECT DISTINCT first_name, last_name FROM Trans_info WHERE incentive_group_id = ") +
        id);
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QStringList names =
        rowTexts(*rows, {QStringLiteral("first_name"), QStringLiteral("last_name")});
    names.sort();
    QCOMPARE(names, users);
}

void TestFormulaCorpus::deleteRemovesFormulaAndGroupRows() {
    CorpusFixture fx;
    const char* const statements[] = {
        "DELETE FROM Incentive_formula WHERE FORMULA_ID = 4",
        "DELETE FROM Incentive_group WHERE GROUP_ID = 4",
        "DELETE FROM Incentive_group_formula WHERE GROUP_ID = 4",
    };
    for (const char* statement : statements) {
        const auto changed = fx.execute(QString::fromUtf8(statement));
        QVERIFY2(changed, qPrintable(fx.lastError()));
        QCOMPARE(*changed, 1);
    }
    auto rows = fx.open(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM Incentive_formula) AS formulas, (SELECT COUNT(*) FROM "
        "Incentive_group) AS groups, (SELECT COUNT(*) FROM Incentive_group_formula) AS "
        "assignments"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {"formulas", "groups", "assignments"}, {{3, 3, 5}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

VELORA_TEST(TestFormulaCorpus)
#include "TestFormulaCorpus.moc"
