#include "RecordsFixture.h"
#include "common/TestMain.h"

#include <QTest>

using namespace velora;
using test::Keys;
using test::RecordsFixture;

namespace {

const QString kTooLong = QStringLiteral("The formula can only contain 50 characters. Please try "
                                        "creating a formula with a smaller formula name.");
const QString kExists = QStringLiteral(
    "The formula could not be added because a formula with that name already exists.");
const QString kTaken = QStringLiteral("The formula name you entered already exists. The current "
                                      "formula name will not be changed.");

} // namespace

class TestFormulaRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each typed name is asked for in turn; a refused one is asked for again.
    void createFormula_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("stored"); // the new row's name, "" for none
        QTest::addColumn<QStringList>("messages");
        const QString fortyNine(49, u'x');
        QTest::newRow("quote stored once")
            << QStringList{"Ann's Rate"} << "Ann's Rate" << QStringList();
        QTest::newRow("49 characters") << QStringList{fortyNine} << fortyNine << QStringList();
        QTest::newRow("50 characters, then 49")
            << QStringList{fortyNine + "y", fortyNine} << fortyNine << QStringList{kTooLong};
        QTest::newRow("taken in another case, then a new name")
            << QStringList{"DEFAULT formula", "Day Rate"} << "Day Rate" << QStringList{kExists};
        QTest::newRow("taken with trailing blanks")
            << QStringList{"Default Formula  "} << "" << QStringList{kExists};
        QTest::newRow("cancelled") << QStringList() << "" << QStringList();
    }

    void createFormula() {
        QFETCH(QStringList, typed);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        RecordsFixture f(false);
        for (const QString& name : typed)
            f.prompter.queueOk(name);

        f.formulas.CreateFormula();

        QCOMPARE(f.prompter.asked.size(), typed.size() + (stored.isEmpty() ? 1 : 0));
        QCOMPARE(f.prompter.asked.first().title, QStringLiteral("Create New Formula"));
        QCOMPARE(f.prompter.asked.first().prompt, QStringLiteral("Enter new formula name:"));
        QCOMPARE(f.takeMessages(), messages);
        QStringList rows{"1|Default Formula|0"};
        QStringList list{"Default Formula=1"};
        if (!stored.isEmpty()) {
            rows << "2|" + stored + "|0";
            list << stored + "=2";
            QCOMPARE(f.nodeText(Keys::Formula("2")), stored);
            QCOMPARE(f.tree.FocusKey(), Keys::Formula("2"));
            QCOMPARE(f.scalar("SELECT formula_text FROM Incentive_formula WHERE formula_id = 2"),
                     formulas::FormulaRecords::kDefaultText);
        }
        QCOMPARE(f.formulaRows(), rows);
        QCOMPARE(RecordsFixture::texts(f.payFormulas), list);
    }

    // A name is unique within its partition only; the new formula is labelled with it.
    void createFormulaInAPartition() {
        RecordsFixture f(true);
        f.partitionPrompter.queueOk("Default Formula", 1);
        f.partitionPrompter.queueOk("default formula", 1);
        f.formulas.CreateFormula();
        f.formulas.CreateFormula();

        QCOMPARE(f.partitionPrompter.asked.first(),
                 QStringLiteral("Create New Formula|Enter new formula name:|3|1"));
        QCOMPARE(f.partitionPrompter.asked.size(), 3); // the refused name is asked again
        QCOMPARE(f.takeMessages(),
                 QStringList{"The formula could not be added because a formula with that name "
                             "already exists in the partition North."});
        QCOMPARE(f.formulaRows(), QStringList({"1|Default Formula|0", "2|Default Formula|1"}));
        QCOMPARE(f.nodeText(Keys::Formula("2")), QStringLiteral("North\\Default Formula"));
        QCOMPARE(f.catalogue.formulas().find("2")->PartitionID(), 1);
        QCOMPARE(RecordsFixture::texts(f.payFormulas),
                 QStringList({"Base\\Default Formula=1", "North\\Default Formula=2"}));
    }

    // Another workstation deleted the newest formula and group; the ids come back for the next
    // ones made here, which replace what still showed the old rows.
    void idsUsedAgain() {
        RecordsFixture f(true);
        f.addFormula(2, "Old Rate", 1);
        f.addGroup(2, "Old Group", 1);
        f.exec("DELETE FROM Incentive_formula WHERE formula_id = 2");
        f.exec("DELETE FROM Incentive_group WHERE group_id = 2");
        f.partitionPrompter.queueOk("New Rate", 2);
        f.partitionPrompter.queueOk("New Group", 2);
        f.formulas.CreateFormula();
        f.groups.CreateGroup();

        QCOMPARE(f.takeMessages(), QStringList());
        QCOMPARE(f.nodeText(Keys::Formula("2")), QStringLiteral("South\\New Rate"));
        QCOMPARE(f.nodeText(Keys::Group("2")), QStringLiteral("South\\New Group"));
        QCOMPARE(RecordsFixture::texts(f.payFormulas),
                 QStringList({"Base\\Default Formula=1", "South\\New Rate=2"}));
        QCOMPARE(RecordsFixture::texts(f.groupList),
                 QStringList({"Base\\Default Group=1", "South\\New Group=2"}));
        QCOMPARE(f.catalogue.formulas().find("2")->FormulaName(), QStringLiteral("New Rate"));
        QCOMPARE(f.catalogue.groups().find("2")->GroupName(), QStringLiteral("New Group"));
    }

    // Renames through the explorer's menu. Names are compared without regard to case or
    // trailing blanks, within the formula's partition in partition mode, the formula itself not
    // counted; the name is stored as typed.
    void renameFormula_data() {
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("node"); // the node's text afterwards
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("quote") << false << "2"
                               << "Ann's Rate"
                               << "Ann's Rate" << QStringList();
        QTest::newRow("quote, partition") << true << "2"
                                          << "Ann's Rate"
                                          << "North\\Ann's Rate" << QStringList();
        QTest::newRow("blanks around kept") << false << "2"
                                            << "  Day Rate  "
                                            << "  Day Rate  " << QStringList();
        QTest::newRow("case of itself") << false << "2"
                                        << "DAY RATE"
                                        << "DAY RATE" << QStringList();
        QTest::newRow("another formula's name") << false << "2"
                                                << "night rate"
                                                << "Day Rate" << QStringList{kTaken};
        QTest::newRow("another partition's name") << true << "2"
                                                  << "Night Rate"
                                                  << "North\\Night Rate" << QStringList();
        QTest::newRow("blanks only") << false << "2"
                                     << "   "
                                     << "Day Rate" << QStringList();
        QTest::newRow("default formula")
            << false << "1"
            << ""
            << "Default Formula" << QStringList{"You can not rename the default formula."};
    }

    void renameFormula() {
        QFETCH(bool, partitions);
        QFETCH(QString, id);
        QFETCH(QString, typed);
        QFETCH(QString, node);
        QFETCH(QStringList, messages);
        RecordsFixture f(partitions);
        f.addFormula(2, "Day Rate", 1);
        f.addFormula(3, "Night Rate", 2);
        f.prompter.queueOk(typed);

        f.choose(Keys::Formula(id), "mnuRenameFormula");

        QCOMPARE(f.takeMessages(), messages);
        QCOMPARE(f.nodeText(Keys::Formula(id)), node);
        const QString stored =
            f.scalar("SELECT formula_name FROM Incentive_formula WHERE formula_id = " + id);
        const bool renamed = node.endsWith(typed) && !typed.trimmed().isEmpty();
        QCOMPARE(stored, renamed ? typed : (id == "1" ? "Default Formula" : "Day Rate"));
        QCOMPARE(f.payFormulas.itemText(f.payFormulas.findData(id.toInt())), node);
        if (partitions)
            QCOMPARE(f.catalogue.formulas().find(id)->FormulaName(), stored);
        if (id == "1")
            QVERIFY(f.prompter.asked.isEmpty());
    }

    // A formula that a group uses for any of its three results stays, and the message names
    // every such group; formula 1 stays even when no group uses it.
    void deleteFormula() {
        RecordsFixture f(true);
        f.addFormula(2, "Day Rate", 1);
        f.addFormula(3, "Night's Rate", 1);
        f.addGroup(5, "Evening", 1);
        f.addGroup(6, "Day", 1);
        f.exec("INSERT INTO Incentive_group_formula (group_id, account_id, pay_formula_id) VALUES "
               "(5, 10, 2), (6, -1, 2), (6, 11, 2)");

        f.tree.DeleteFormula("2");
        QCOMPARE(f.takeMessages(),
                 QStringList({"Are you sure you wish to delete the North\\Day Rate formula?",
                              "You are not able to delete the formula North\\Day Rate because it "
                              "is being used by the following groups: Day, Evening. Please "
                              "remove the formula from those groups, and then try deleting this "
                              "formula again."}));
        QVERIFY(f.tree.hasNode(Keys::Formula("2")));

        f.messages.queue(common::MessageAnswer::No);
        f.tree.DeleteFormula("3");
        QVERIFY(f.tree.hasNode(Keys::Formula("3")));
        QCOMPARE(f.formulaRows().size(), 3);

        f.tree.DeleteFormula("3");
        QCOMPARE(f.formulaRows(), QStringList({"1|Default Formula|0", "2|Day Rate|1"}));
        QVERIFY(!f.tree.hasNode(Keys::Formula("3")));
        QVERIFY(!f.catalogue.formulas().contains("3"));
        QCOMPARE(f.payFormulas.findData(3), -1);

        // The explorer itself refuses formula 1; the handler does too.
        f.takeMessages();
        qint16 cancel = 0;
        f.formulas.DeleteFormula("Default Formula", "1", cancel);
        QCOMPARE(cancel, qint16(1));
        QVERIFY(f.takeMessages().last().contains("used by the following groups: Default Group."));
        f.exec("DELETE FROM Incentive_group_formula WHERE group_id = 1");
        f.formulas.DeleteFormula("Default Formula", "1", cancel);
        QCOMPARE(cancel, qint16(1));
        QCOMPARE(f.takeMessages().last(),
                 QStringLiteral("You can not delete the default formula."));
        QCOMPARE(f.formulaRows().size(), 2);
    }

    // Another workstation deleted the rows: the handlers say so and take them out of the
    // explorer, the list and the catalogue instead of showing rows that are gone.
    void rowsDeletedElsewhere() {
        RecordsFixture f(true);
        f.addFormula(2, "Day Rate", 1);
        f.addFormula(3, "Night Rate", 1);
        f.addGroup(5, "Evening", 1);
        f.addGroup(6, "Day", 1);
        auto other = f.db.openAnother();
        other->execute("DELETE FROM Incentive_formula WHERE formula_id IN (2, 3)");
        other->execute("DELETE FROM Incentive_group WHERE group_id IN (5, 6)");
        other->close();

        f.prompter.queueOk("Late Rate");
        f.choose(Keys::Formula("2"), "mnuRenameFormula");
        f.tree.DeleteFormula("3");
        f.prompter.queueOk("Late");
        f.choose(Keys::Group("5"), "mnuRenameGroup");
        f.tree.DeleteGroup("6");

        const QString gone = "; it may have been deleted from another workstation. It has been "
                             "removed from the list.";
        QCOMPARE(
            f.takeMessages(),
            QStringList({"The formula North\\Day Rate could not be renamed because it no "
                         "longer exists in the database" +
                             gone,
                         "Are you sure you wish to delete the North\\Night Rate formula?",
                         "The formula North\\Night Rate no longer exists in the database" + gone,
                         "The group North\\Evening could not be renamed because it no "
                         "longer exists in the database" +
                             gone,
                         "Are you sure you wish to delete the North\\Day group?",
                         "The group North\\Day no longer exists in the database" + gone}));
        for (const QString& key :
             {Keys::Formula("2"), Keys::Formula("3"), Keys::Group("5"), Keys::Group("6")})
            QVERIFY2(!f.tree.hasNode(key), qPrintable(key));
        QCOMPARE(RecordsFixture::texts(f.payFormulas), QStringList{"Base\\Default Formula=1"});
        QCOMPARE(RecordsFixture::texts(f.groupList), QStringList{"Base\\Default Group=1"});
        QCOMPARE(f.catalogue.formulas().count(), 1);
        QCOMPARE(f.catalogue.groups().count(), 1);
    }

    // Operator mode and ids that are not numbers: refused before any statement or question.
    void refusedBeforeAnyStatement() {
        RecordsFixture f(false);
        f.addFormula(2, "Day Rate");
        f.addGroup(5, "Evening");
        const QStringList before = f.everything();
        f.fullMode = false;
        f.prompter.queueOk("Anything");
        f.formulas.CreateFormula();
        f.groups.CreateGroup();
        QString newName;
        QString tag;
        bool isDefault = false;
        qint16 cancel[6] = {};
        f.formulas.RenameFormula("2", "Day Rate", newName, cancel[0], tag);
        f.groups.RenameGroup("5", "Evening", newName, cancel[1], isDefault);
        f.formulas.DeleteFormula("Day Rate", "2", cancel[2]);
        f.groups.DeleteGroup("Evening", "5", cancel[3]);
        const QString refusal = "Only a supervisor can create, rename or delete formulas and "
                                "groups. Nothing has been changed.";
        QCOMPARE(f.takeMessages(), QStringList(6, refusal));

        f.fullMode = true;
        f.formulas.DeleteFormula("Day Rate", "2 OR 1=1", cancel[4]);
        f.groups.RenameGroup("5--", "Evening", newName, cancel[5], isDefault);
        QCOMPARE(f.takeMessages(),
                 QStringList({"The formula ID \"2 OR 1=1\" is not a number. Nothing has been "
                              "changed.",
                              "The group ID \"5--\" is not a number. Nothing has been changed."}));
        for (const qint16 flag : cancel)
            QCOMPARE(flag, qint16(1));
        QCOMPARE(f.prompter.asked.size(), 0);
        QCOMPARE(f.everything(), before);
    }
};

VELORA_TEST(TestFormulaRecords)
#include "TestFormulaRecords.moc"
