// Creating formulas and groups through the two procedures, called or typed as EXEC, on the
// embedded engine. (Loading, saving, renaming and deleting run through their handlers in the
// formula tests.)
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"
#include "formulas/FormulaEditing.h"

#include <QTest>

using namespace velora::test;
using velora::db::ProcedureParameter;
using velora::db::ProcedureParameters;
using velora::formulas::FormulaEditing;

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
    // The incentive-function check names each group using the formula for lines or hours once.
    corpusRow("function check, each group once", FormulaEditing::typedOrHoursGroupsStatement(1),
              {"Day Shift", "Default Group", "Empty Group", "night shift"});
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
