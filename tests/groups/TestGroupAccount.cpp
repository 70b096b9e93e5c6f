#include "GroupsFixture.h"
#include "common/TestMain.h"
#include "groups/FindListIndexByItemData.h"
#include "groups/GroupAccount.h"
#include "groups/GroupAccountPane.h"

#include <QLabel>
#include <QTest>

using namespace velora;

namespace {

const QString kNotChanged = QStringLiteral("The group formula assignment has not been changed.");

// North (1) holds "Day Shift" (11) with Ann and Bob and three pay formulas; South (2) holds
// "South Only" (20) with Carl. Everybody has production on accounts 100 and 200 from 27
// February to 1 March 2024. Day Shift pays account 100 with "Base" (1). The schema's default
// group (1) is left out of the rows compared.
struct GroupAccountFixture {
    explicit GroupAccountFixture(bool partitions)
        : f(partitions) {
        f.addPartition(1, QStringLiteral("North"));
        f.addPartition(2, QStringLiteral("South"));
        f.addGroup(11, QStringLiteral("Day Shift"), 1);
        f.addGroup(20, QStringLiteral("South Only"), 2);
        addFormula(3, QStringLiteral("Weekend"), 1);
        addFormula(1, QStringLiteral("Base"), 1);
        addFormula(2, QStringLiteral("Bonus"), 1);
        addFormula(4, QStringLiteral("Southern"), 2);
        for (const char* user : {"ann", "bob", "carl"}) {
            f.addUser(QLatin1String(user), user[0] == 'c' ? 2 : 1, user[0] == 'c' ? 20 : 11);
            for (const char* day : {"2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01"}) {
                f.addDay(QLatin1String(user), 100, QLatin1String(day), false);
                f.addDay(QLatin1String(user), 200, QLatin1String(day), false);
            }
        }
        f.exec(QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                              "typed_formula_id, hours_worked_formula_id, pay_formula_id) VALUES "
                              "(11, 100, 7, 8, 1)"));
        f.db.connection().close();
    }

    // Formula 1 takes the place of the schema's default formula.
    void addFormula(int id, const QString& name, int partition) {
        f.exec(QStringLiteral("DELETE FROM Incentive_formula WHERE formula_id = %1").arg(id));
        f.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                              "partition_id) VALUES (%1, '%2', %3)")
                   .arg(id)
                   .arg(name)
                   .arg(partition));
        auto formula = std::make_shared<catalogue::Formula>();
        formula->setFormulaID(id);
        formula->setFormulaName(name);
        formula->setPartitionID(partition);
        f.catalogue.formulas().add(QString::number(id), formula);
    }

    // As the explorer's click does it: the list once at start-up, or after each load.
    void open(int account) {
        if (!f.partitionMode)
            account_.FillPayFormulaList();
        account_.LoadGroupAccount(QStringLiteral("11"), QString::number(account),
                                  QStringLiteral("Account %1").arg(account),
                                  QStringLiteral("Day Shift"));
        if (f.partitionMode)
            account_.FillPayFormulaList();
    }

    void pick(int formulaID) {
        list().setCurrentIndex(groups::ListEntryWithItemData(list(), formulaID));
    }

    QComboBox& list() { return *pane.cmbAccountPayFormula(); }

    // The rows of a query, the connection closed afterwards as the program leaves it.
    QStringList rows(const QString& statement) {
        const QStringList found = f.rows(statement);
        f.db.connection().close();
        return found;
    }

    // Every locked day as "user:account:day".
    QStringList locked() {
        return rows(QStringLiteral("SELECT trans_id, hosp_acct_id, shift_date FROM "
                                   "Trans_incentive WHERE locked = 1 ORDER BY trans_id, "
                                   "shift_date, hosp_acct_id"));
    }

    QStringList assignments() {
        return rows(QStringLiteral(
            "SELECT group_id, account_id, typed_formula_id, "
            "hours_worked_formula_id, pay_formula_id FROM "
            "Incentive_group_formula WHERE group_id > 1 ORDER BY group_id, account_id"));
    }

    QStringList groupDates() {
        return rows(QStringLiteral("SELECT group_id, incentive_effective_date FROM "
                                   "Incentive_group WHERE group_id > 1 ORDER BY group_id"));
    }

    test::GroupsFixture f;
    bool fullMode = true;
    int shown = 0;
    groups::GroupAccountPane pane;
    groups::GroupAccount account_{{f.db.connection(), f.catalogue, f.partitionMode,
                                   [this] { return f.partitionDisplay; },
                                   [this] { return fullMode; }, f.messages, f.procedure, f.region,
                                   [] {}, [] {}, [this] { ++shown; }},
                                  pane};
};

} // namespace

class TestGroupAccount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadShowsTheStoredFormula_data() {
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<int>("account");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("changed");
        const QString stored = QStringLiteral("02/01/2020");
        const QString none = QStringLiteral("1/1/1980");
        const QStringList byName{"Base", "Bonus", "Southern", "Weekend"};
        const QStringList north{"North\\Weekend", "North\\Base", "North\\Bonus"};
        QTest::newRow("all by name, stored") << false << 100 << byName << "Base" << stored << false;
        // Formula 1 preselected while nothing is stored: leaving the node must ask.
        QTest::newRow("all by name, no row") << false << 200 << byName << "Base" << none << true;
        QTest::newRow("partition, stored")
            << true << 100 << north << "North\\Base" << stored << false;
        QTest::newRow("partition, no row") << true << 200 << north << "" << none << false;
    }

    // Outside partition mode every formula by name; in partition mode the group's partition's
    // formulas in catalogue order with the stored one selected and nothing for no row.
    void loadShowsTheStoredFormula() {
        QFETCH(bool, partitions);
        QFETCH(int, account);
        QFETCH(QStringList, texts);
        QFETCH(QString, selected);
        QFETCH(QString, date);
        QFETCH(bool, changed);
        GroupAccountFixture g(partitions);
        g.f.exec(QStringLiteral("UPDATE Incentive_group SET incentive_effective_date = "
                                "'2020-02-01'"));

        g.open(account);

        QCOMPARE(test::GroupsFixture::itemTexts(g.list()), texts);
        QCOMPARE(g.list().currentText(), selected);
        QCOMPARE(g.pane.lblGroupAccountEffectiveDate()->text(), date);
        QCOMPARE(g.pane.lblGroupAccountGroupName()->text(), QStringLiteral("Day Shift"));
        QCOMPARE(g.shown, 1);
        QCOMPARE(g.account_.GroupAccountChanged(), changed);
        QVERIFY(g.f.messages.shown.isEmpty());
    }

    void confirmedSaveLocksTheGroupBeforeTheDate_data() {
        QTest::addColumn<int>("account");
        QTest::addColumn<QStringList>("assignments");
        QTest::newRow("update") << 100 << QStringList{"11:100:7:8:2"};
        QTest::newRow("insert") << 200 << QStringList{"11:100:7:8:1", "11:200:::2"};
    }

    // The group's users' days before the date are locked on every account, nothing on or after
    // it and nothing of other groups; the row is updated or inserted, the other formulas are
    // left alone. A second change on the same node updates the row it wrote.
    void confirmedSaveLocksTheGroupBeforeTheDate() {
        QFETCH(int, account);
        QFETCH(QStringList, assignments);
        GroupAccountFixture g(false);
        g.open(account);
        g.pick(2);
        g.f.prompter.queueOk(QStringLiteral("2/29/2024"));

        g.account_.SaveGroupAccount();

        QVERIFY(g.f.messages.shown.isEmpty());
        QCOMPARE(g.f.prompter.asked.size(), 1);
        QCOMPARE(g.f.prompter.asked[0].title, QStringLiteral("Effective Date"));
        QCOMPARE(g.f.prompter.asked[0].prompt,
                 QStringLiteral("The Day Shift group formula assignment has changed. All items "
                                "for this account will be locked up til the effective date you "
                                "enter in the following box:"));
        QCOMPARE(g.locked(),
                 QStringList({"ann:100:2024-02-27", "ann:200:2024-02-27", "ann:100:2024-02-28",
                              "ann:200:2024-02-28", "bob:100:2024-02-27", "bob:200:2024-02-27",
                              "bob:100:2024-02-28", "bob:200:2024-02-28"}));
        QCOMPARE(g.assignments(), assignments);
        QCOMPARE(g.groupDates(), QStringList({"11:2024-02-29", "20:2020-01-01"}));
        QVERIFY(!g.account_.GroupAccountChanged());
        QVERIFY(!g.f.db.connection().isOpen());

        g.pick(3);
        g.f.prompter.queueOk(QStringLiteral("3/1/2024"));
        g.account_.SaveGroupAccount();
        QVERIFY(g.f.messages.shown.isEmpty());
        QCOMPARE(g.assignments().last(), assignments.last().chopped(1) + QLatin1Char('3'));
    }

    void noDateWritesNothing_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("date cancelled") << true;
        QTest::newRow("earliest date declined") << false;
    }

    // Without a date nothing is locked or written, and the pick stays so the next leave asks
    // again. A locked day of the group on this account after the date offers that day.
    void noDateWritesNothing() {
        QFETCH(bool, cancel);
        GroupAccountFixture g(false);
        g.f.exec(QStringLiteral("UPDATE Trans_incentive SET locked = 1 WHERE trans_id = 'bob' "
                                "AND hosp_acct_id = 100 AND shift_date = '2024-03-01'"));
        g.open(100);
        g.pick(2);
        if (cancel) {
            g.f.prompter.queue(groups::UnloadCode::Cancel);
        } else {
            g.f.prompter.queueOk(QStringLiteral("2/28/2024"));
            g.f.messages.queue(common::MessageAnswer::No);
        }
        const QStringList lockedBefore = g.locked();

        g.account_.SaveGroupAccount();

        QCOMPARE(g.f.messages.shown.last().text, kNotChanged);
        if (!cancel)
            QVERIFY(g.f.messages.shown[0].text.contains(QStringLiteral("revert to is 03/01/2024")));
        QCOMPARE(g.locked(), lockedBefore);
        QCOMPARE(g.assignments(), QStringList{"11:100:7:8:1"});
        QCOMPARE(g.groupDates(), QStringList({"11:2020-01-01", "20:2020-01-01"}));
        QVERIFY(g.account_.GroupAccountChanged());
        g.account_.SaveGroupAccount();
        QCOMPARE(g.f.prompter.asked.size(), 2);
    }

    // Without the right to change groups the pane does not load, and a save with a pick made
    // before the mode changed asks nothing and writes nothing.
    void operatorModeWritesNothing() {
        GroupAccountFixture g(false);
        g.fullMode = false;
        g.open(200);
        QCOMPARE(g.shown, 0);
        QCOMPARE(g.account_.groupID(), 0);

        g.fullMode = true;
        g.open(200);
        g.fullMode = false;
        g.f.prompter.queueOk(QStringLiteral("2/29/2024"));
        g.account_.SaveGroupAccount();

        QVERIFY(g.f.prompter.asked.isEmpty());
        QVERIFY(g.locked().isEmpty());
        QCOMPARE(g.assignments(), QStringList{"11:100:7:8:1"});
    }

    // An id that is not a number loads nothing; a save that fails says so and closes the
    // connection, and the lock already run stays.
    void failuresAreReported() {
        GroupAccountFixture g(false);
        g.account_.FillPayFormulaList();
        g.account_.LoadGroupAccount(QStringLiteral("11 OR 1=1"), QStringLiteral("100"),
                                    QStringLiteral("A"), QStringLiteral("Day Shift"));
        QCOMPARE(g.f.messages.shown.size(), 1);
        QCOMPARE(g.f.messages.shown[0].text, QStringLiteral("Error: cannot load group data"));
        QCOMPARE(g.f.messages.shown[0].icon, common::MessageIcon::Critical);
        QCOMPARE(g.account_.groupID(), 0);
        QCOMPARE(g.shown, 0);

        g.open(100);
        g.pick(2);
        g.f.exec(QStringLiteral("DROP TABLE Incentive_group_formula"));
        g.f.prompter.queueOk(QStringLiteral("2/28/2024"));
        g.account_.SaveGroupAccount();
        QCOMPARE(g.f.messages.shown.last().text, QStringLiteral("Error: cannot save group data"));
        QVERIFY(!g.f.db.connection().isOpen());
        QCOMPARE(g.locked().size(), 4);
    }
};

VELORA_TEST(TestGroupAccount)
#include "TestGroupAccount.moc"
