// The formula and group statements (loading and saving a formula, the incentive-function
// check, creating through the two procedures, renaming and deleting) on the embedded engine.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"

#include <QTest>

using namespace velora::test;
using velora::db::ProcedureParameter;
using velora::db::ProcedureParameters;

namespace {

const QString defaultFormulaText = "Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0";

ProcedureParameter input(const char* name, const QVariant& value) {
    const bool text = value.typeId() == QMetaType::QString;
    return {QString::fromUtf8(name),
            text ? ProcedureParameter::Type::VarChar : ProcedureParameter::Type::Integer,
            ProcedureParameter::Direction::Input, text ? 50 : 0, value};
}

// The parameters the create handlers append, in their order; the partition arguments only in
// partition mode (partition < 0: outside it).
ProcedureParameters addParameters(bool group, const QString& name, int partition) {
    ProcedureParameters parameters;
    if (group && partition >= 0)
        parameters << input("@partition_id", partition) << input("@is_default", 0);
    parameters << input(group ? "@group_name" : "@formula_name", name);
    if (!group)
        parameters << input("@formula_text", defaultFormulaText);
    if (!group && partition >= 0)
        parameters << input("@partition_id", partition);
    parameters << ProcedureParameter{group ? "@group_id" : "@formula_id",
                                     ProcedureParameter::Type::Integer,
                                     ProcedureParameter::Direction::Output, 0, QVariant()};
    return parameters;
}

} // namespace

class TestFormulaCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statements_data();
    void statements() { runCorpusRow(); }
    void addProceduresReturnTheNewIdOrRefuseATakenName_data();
    void addProceduresReturnTheNewIdOrRefuseATakenName();
};

void TestFormulaCorpus::statements_data() {
    addCorpusColumns();
    // clang-format off
    corpusRow("formula load",
              "SELECT formula_text, incentive_effective_date FROM Incentive_formula WHERE FORMULA_ID = 2",
              {"Results.IPay = Lines * 0.1|2024-01-01"});
    const QString text = "' Rate from 01/30/2024, it's the base rate\r\nResults.IPay = Lines * 0.1 ' ''quoted''";
    corpusRow("formula text with quotes and a date is stored unchanged",
              "SELECT formula_text FROM Incentive_formula WHERE formula_id = 2", {text},
              {{"UPDATE Incentive_formula SET FORMULA_TEXT = '" + quoteSql(text) + "' WHERE FORMULA_ID = 2"}});

    // The incentive-function check names the groups using the formula for lines typed or hours.
    const QString uses = "SELECT DISTINCT grp.group_name FROM Incentive_group grp, Incentive_group_formula "
                         "grpfrm WHERE grp.group_id = grpfrm.group_id AND (grpfrm.typed_formula_id = %1 "
                         "OR grpfrm.hours_worked_formula_id = %1)";
    corpusRow("function check, lines-typed formula", uses.arg(3), {"Day Shift"});
    corpusRow("function check, pay formula only", uses.arg(2), {});
    corpusRow("function check, each group once", uses.arg(1),
              {"Day Shift", "Default Group", "Empty Group", "night shift"});
    // Deleting a formula checks every use, a group its users.
    const QString allUses = "SELECT DISTINCT GROUP_NAME FROM Incentive_group grp, Incentive_group_formula "
                            "grpform WHERE grp.GROUP_ID = grpform.GROUP_ID AND (grpform.typed_formula_id = %1 "
                            "OR grpform.hours_worked_formula_id = %1 OR grpform.pay_formula_id = %1)";
    corpusRow("delete check, pay formula on two accounts", allUses.arg(2), {"Day Shift"});
    corpusRow("delete check, lines-typed and pay formula", allUses.arg(3), {"Day Shift", "night shift"});
    corpusRow("delete check, unused formula", allUses.arg(4), {});
    const QString users = "SELECT DISTINCT first_name, last_name FROM Trans_info WHERE incentive_group_id = ";
    corpusRow("delete check, two users", users + "2", {"Ann|Smith", "Pat|O'Brien"});
    corpusRow("delete check, names keep their blanks", users + "3", {"Kim  |lee   "});
    corpusRow("delete check, no users", users + "4", {});
    corpusRow("delete removes formula, group and assignment",
              "SELECT (SELECT COUNT(*) FROM Incentive_formula), (SELECT COUNT(*) FROM Incentive_group), "
              "(SELECT COUNT(*) FROM Incentive_group_formula)",
              {"3|3|5"},
              {{"DELETE FROM Incentive_formula WHERE FORMULA_ID = 4"},
               {"DELETE FROM Incentive_group WHERE GROUP_ID = 4"},
               {"DELETE FROM Incentive_group_formula WHERE GROUP_ID = 4"}});

    // Renaming looks the name up (the comparison's case and blanks are checked with the
    // translator), then stores it as typed.
    const QString formula = "SELECT FORMULA_ID FROM Incentive_formula WHERE FORMULA_NAME = '";
    corpusRow("rename lookup, letter case and trailing blanks", formula + "line RATE   '", {"2"});
    corpusRow("rename lookup, prefix only", formula + "Line'", {});
    corpusRow("rename lookup, quote", "SELECT GROUP_ID FROM Incentive_group WHERE GROUP_NAME = "
              "'St. Luke''s'", {});
    corpusRow("rename stores the names as typed",
              "SELECT formula_name, (SELECT group_name FROM Incentive_group WHERE group_id = 3), "
              "(SELECT GROUP_ID FROM Incentive_group WHERE GROUP_NAME = 'PAT''S TEAM') "
              "FROM Incentive_formula WHERE formula_id = 4",
              {"  Spaced Name  |Pat's Team|3"},
              {{"UPDATE Incentive_formula SET FORMULA_NAME = '  Spaced Name  ' WHERE FORMULA_ID = 4"},
               {"UPDATE Incentive_group SET GROUP_NAME = 'Pat''s Team' WHERE GROUP_ID = 3"}});

    // A procedure typed as EXEC with an output variable reports the new id as a row.
    const QString exec =
        "EXEC usp_incentive_add_formula 'Weekend Rate', 'Results.IPay = 1', 0, @formula_id OUTPUT";
    corpusRow("EXEC with output: the new id", exec, {"5"});
    corpusRow("EXEC with output: the row", "SELECT formula_name, formula_text FROM Incentive_formula "
              "WHERE formula_id = 5", {"Weekend Rate|Results.IPay = 1"}, {{exec}});
    corpusRow("EXEC with output: a taken name gives 0", exec, {"0"}, {{exec}});
    // clang-format on
}

void TestFormulaCorpus::addProceduresReturnTheNewIdOrRefuseATakenName_data() {
    QTest::addColumn<bool>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("partition");
    QTest::addColumn<QString>("added"); // the new row after its id; "" when the name is taken
    const QString text = "|" + defaultFormulaText;
    QTest::newRow("formula") << false << "Tiered Rate" << -1 << "Tiered Rate" + text + "|0";
    QTest::newRow("formula in a partition")
        << false << "Tiered Rate" << 3 << "Tiered Rate" + text + "|3";
    QTest::newRow("formula, same name") << false << "Line Rate" << -1 << "";
    QTest::newRow("formula, other case") << false << "LINE RATE" << -1 << "";
    QTest::newRow("formula, trailing blanks") << false << "default formula  " << -1 << "";
    QTest::newRow("group") << true << "Evening Team" << -1 << "Evening Team|0|0";
    QTest::newRow("group in a partition") << true << "Evening Team" << 2 << "Evening Team|2|0";
    QTest::newRow("group, other case") << true << "DAY SHIFT" << 1 << "";
    QTest::newRow("group, trailing blank") << true << "night shift " << 3 << "";
    // Names are unique within a partition only.
    QTest::newRow("group, name of another partition's group")
        << true << "Day Shift" << 2 << "Day Shift|2|0";
    QTest::newRow("group, in its partition") << true << "Empty group" << 2 << "";
}

void TestFormulaCorpus::addProceduresReturnTheNewIdOrRefuseATakenName() {
    QFETCH(bool, group);
    QFETCH(QString, name);
    QFETCH(int, partition);
    QFETCH(QString, added);
    CorpusFixture fx;
    ProcedureParameters parameters = addParameters(group, name, partition);
    try {
        fx.connection().callProcedure(
            group ? "usp_incentive_add_group" : "usp_incentive_add_formula", parameters);
    } catch (const velora::db::DbError& e) {
        QFAIL(qPrintable(e.description()));
    }
    const int id = parameters.last().value.toInt();
    QVERIFY2(added.isEmpty() ? id <= 0 : id > 4, qPrintable(QString::number(id)));
    const QString newRows =
        group ? "SELECT group_id, group_name, partition_id, flag1 FROM Incentive_group"
                " WHERE group_id > 4"
              : "SELECT formula_id, formula_name, formula_text, partition_id"
                " FROM Incentive_formula WHERE formula_id > 4";
    QCOMPARE(fx.rows(newRows),
             added.isEmpty() ? QStringList() : QStringList{QString::number(id) + "|" + added});
}

VELORA_TEST(TestFormulaCorpus)
#include "TestFormulaCorpus.moc"
