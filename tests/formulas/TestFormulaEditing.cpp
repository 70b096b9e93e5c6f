#include "common/TestMain.h"
#include "engine/FormulaEvaluator.h"
#include "formulas/FormulaEditing.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaTextEdit.h"
#include "groups/GroupsFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace velora;

namespace {

using Result = formulas::FormulaSaveResult;
const QString kNotChanged = QStringLiteral("The formula has not been changed.");
const QString kLoseChanges =
    QStringLiteral("Changes will be lost! Are you sure you wish to cancel?");
const QString kOldText = QStringLiteral("Results.IPay = TrueLines * 0.08");

// Formula 5 "Line Rate" is the pay formula of "Pay" (11, users ann), the lines-typed formula of
// "Typed" (12, bob) and the hours-worked formula of "Hours" (13, cy). "Other" (14, dee) pays with
// formula 6 from its default-account row; "Bare" (15, eve) has no assignment at all. Everybody
// has production on account 100 from 27 February to 1 March 2024; dee's 29 February is locked.
struct EditingFixture {
    EditingFixture() {
        addFormula(5, QStringLiteral("Line Rate"), kOldText);
        addFormula(6, QStringLiteral("Flat"), QStringLiteral("Results.IPay = 1"));
        int group = 11;
        for (const char* name : {"Pay", "Typed", "Hours", "Other", "Bare"})
            f.addGroup(group++, QLatin1String(name), 0);
        assign(11, -1, "NULL", "NULL", "5");
        assign(12, -1, "5", "NULL", "6");
        assign(13, -1, "NULL", "5", "6");
        assign(14, -1, "6", "6", "6");
        group = 11;
        for (const char* user : {"ann", "bob", "cy", "dee", "eve"}) {
            f.addUser(QLatin1String(user), 0, group++);
            for (const char* day : {"2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01"})
                f.addDay(QLatin1String(user), 100, QLatin1String(day),
                         QLatin1String(user) == QLatin1String("dee") &&
                             QLatin1String(day) == QLatin1String("2024-02-29"));
        }
        f.exec(QStringLiteral("UPDATE Trans_incentive SET lines_modified = 100, "
                              "hours_system_modified = 0 WHERE trans_id = 'ann'"));
        f.db.connection().close();
        editing.bindButtons();
    }

    void addFormula(int id, const QString& name, const QString& text) {
        f.exec(QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name, "
                              "formula_text, incentive_effective_date) VALUES (%1, '%2', '%3', "
                              "'2020-02-01')")
                   .arg(id)
                   .arg(name, text));
    }

    void assign(int group, int account, const char* typed, const char* hours, const char* pay) {
        f.exec(QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                              "typed_formula_id, hours_worked_formula_id, pay_formula_id) VALUES "
                              "(%1, %2, %3, %4, %5)")
                   .arg(group)
                   .arg(account)
                   .arg(QLatin1String(typed), QLatin1String(hours), QLatin1String(pay)));
    }

    void open(int formulaID = 5) {
        editing.LoadFormula(QString::number(formulaID), QStringLiteral("Line Rate"));
    }

    void edit(const QString& text) { pane.txtFormulaText()->setPlainText(text); }

    QString stored(int formulaID = 5) {
        f.db.connection().ensureOpen();
        const QString text = f.db.scalar(
            QStringLiteral("SELECT formula_text FROM Incentive_formula WHERE formula_id = %1")
                .arg(formulaID));
        f.db.connection().close();
        return text;
    }

    // Every locked day as "user:day".
    QStringList locked() {
        const QStringList days = f.rows(QStringLiteral(
            "SELECT trans_id, shift_date FROM Trans_incentive WHERE locked = 1 ORDER BY trans_id, "
            "shift_date"));
        f.db.connection().close();
        return days;
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& shown : f.messages.shown)
            texts << shown.text;
        return texts;
    }

    test::GroupsFixture f{false};
    bool fullMode = true;
    int testerInputsPassed = 0;
    engine::FormulaEvaluator evaluator{f.db.connection()};
    formulas::FormulaPane pane;
    formulas::FormulaEditing editing{{f.db.connection(), f.messages, f.catalogue, f.partitionMode,
                                      [this] { return fullMode; }, f.region, f.procedure,
                                      [this] { return &evaluator; },
                                      [this] {
                                          ++testerInputsPassed;
                                          evaluator.TransID(QStringLiteral("ann"));
                                          evaluator.AccountID(100);
                                          evaluator.ShiftDate(QDate(2024, 2, 28));
                                      },
                                      [] {}, [] {}, [] {}},
                                     pane};
};

const QStringList kEveryoneBefore29th{"ann:2024-02-27", "ann:2024-02-28", "bob:2024-02-27",
                                      "bob:2024-02-28", "cy:2024-02-27",  "cy:2024-02-28",
                                      "dee:2024-02-29"};

} // namespace

class TestFormulaEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The lock-out reaches the users of every group that uses the formula, for pay, lines typed
    // or hours worked, and no one else; the text is stored exactly, quotes and all.
    void saveLocksEveryUserOfTheFormulaThenWrites() {
        EditingFixture x;
        x.open();
        QCOMPARE(x.pane.lblFormulaEffectiveDate()->text(), QStringLiteral("02/01/2020"));
        QCOMPARE(x.pane.txtFormulaText()->toPlainText(), kOldText);
        QString text = QStringLiteral("' Ann's \"rate\"\r\nDim rate\r\n");
        while (text.size() < 30000)
            text += QStringLiteral("rate = 0.09 ' it's the same line again\r\n");
        text += QStringLiteral("Results.IPay = TrueLines * rate");
        x.edit(text);
        QVERIFY(x.editing.FormulaChanged());
        x.f.prompter.queueOk(QStringLiteral("2/29/2024"));
        bool note = true;
        QCOMPARE(x.editing.SaveFormula(note), Result::Saved);
        QVERIFY(note);
        QCOMPARE(x.stored(), text);
        QCOMPARE(x.locked(), kEveryoneBefore29th);
        QCOMPARE(x.f.prompter.asked.size(), 1);
        QCOMPARE(x.f.prompter.asked[0].title, QStringLiteral("Effective Date for Change"));
        QCOMPARE(x.f.prompter.asked[0].prompt,
                 QStringLiteral("If you wish to change the Line Rate you must enter the "
                                "effective date this change will take effect in the following "
                                "box:"));
        QCOMPARE(x.messageTexts(),
                 QStringList{QStringLiteral(
                     "PLEASE NOTE:  The formula has been successfully saved.  To utilize this "
                     "formula you will need\r\nto create a new group or edit an existing group's "
                     "settings.")});
        QVERIFY(!x.editing.FormulaChanged());
        QVERIFY(!x.f.db.connection().isOpen());
        QCOMPARE(x.testerInputsPassed, 1);
    }

    // The lock-out and the revert date are checked in the statement corpus.
    void statementTexts() {
        QCOMPARE(formulas::FormulaEditing::typedOrHoursGroupsStatement(5),
                 QStringLiteral("SELECT DISTINCT grp.group_name FROM Incentive_group grp, "
                                "Incentive_group_formula grpfrm WHERE grp.group_id = "
                                "grpfrm.group_id AND (grpfrm.typed_formula_id = 5 OR "
                                "grpfrm.hours_worked_formula_id = 5)"));
        QCOMPARE(formulas::FormulaEditing::writeStatement(5, QStringLiteral("a = \"it's\"")),
                 QStringLiteral("UPDATE Incentive_formula SET FORMULA_TEXT = 'a = \"it''s\"' "
                                "WHERE FORMULA_ID = 5"));
    }

    // Every way a save can be refused or cancelled writes nothing and locks nothing; the date is
    // always asked first.
    void refusedSavesWriteNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<bool>("acceptEarliest");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("markedLine");
        QTest::addColumn<int>("result");

        QString line40;
        for (int line = 1; line < 40; ++line)
            line40 += QStringLiteral("' line %1\r\n").arg(line);
        line40 += QStringLiteral("Results.IPay = (TrueLines * 2");
        QTest::newRow("syntax error on line 40")
            << line40 << QStringList{"2/29/2024"} << true
            << QStringLiteral("An error occurred parsing your formula. The formula will not be "
                              "saved.\r\rDescription:Expected ')'\rLine Number:40")
            << 40 << int(Result::Refused);
        QTest::newRow("fails on the tester's day only")
            << QStringLiteral("Dim rate\r\nResults.IPay = TrueLines / Hours")
            << QStringList{"2/29/2024"} << true
            << QStringLiteral("An error occurred parsing your formula. The formula will not be "
                              "saved.\r\rDescription:Division by zero\rLine Number:2")
            << 2 << int(Result::Refused);
        QTest::newRow("date cancelled and edit thrown away")
            << QStringLiteral("Results.IPay = 2") << QStringList{} << true << QString() << 0
            << int(Result::Cancelled);
        QTest::newRow("earliest date declined")
            << QStringLiteral("Results.IPay = 2") << QStringList{"2/28/2024"} << false
            << kNotChanged << 0 << int(Result::Refused);
    }

    void refusedSavesWriteNothing() {
        QFETCH(QString, text);
        QFETCH(QStringList, dates);
        QFETCH(bool, acceptEarliest);
        QFETCH(QString, message);
        QFETCH(int, markedLine);
        QFETCH(int, result);
        EditingFixture x;
        // Formula 6 has a locked day after 28 February (dee's), so that date needs the earliest.
        x.editing.LoadFormula(QStringLiteral("6"), QStringLiteral("Flat"));
        x.edit(text);
        for (const QString& date : dates)
            x.f.prompter.queueOk(date);
        if (dates.isEmpty())
            x.f.messages.queue(common::MessageAnswer::Yes); // lose the changes
        else if (dates.first() == QLatin1String("2/28/2024"))
            x.f.messages.queue(acceptEarliest ? common::MessageAnswer::Yes
                                              : common::MessageAnswer::No);
        const QStringList lockedBefore = x.locked();
        bool note = true;
        QCOMPARE(int(x.editing.SaveFormula(note)), result);
        QVERIFY(!note);
        QCOMPARE(x.stored(6), QStringLiteral("Results.IPay = 1"));
        QCOMPARE(x.locked(), lockedBefore);
        QCOMPARE(x.f.prompter.asked.size(), 1); // the date first, whatever follows
        if (!message.isEmpty())
            QCOMPARE(x.messageTexts().last(), message);
        if (dates.isEmpty())
            QCOMPARE(x.messageTexts(), QStringList{kLoseChanges});
        QCOMPARE(x.pane.txtFormulaText()->markedLine(), markedLine);
        // The button keeps a refused edit on screen; a cancelled one goes back to the stored text.
        x.f.prompter.asked.clear();
        for (const QString& date : dates)
            x.f.prompter.queueOk(date);
        if (dates.isEmpty())
            x.f.messages.queue(common::MessageAnswer::Yes);
        else if (!acceptEarliest)
            x.f.messages.queue(common::MessageAnswer::No);
        x.pane.cmdFormulaSaveChanges()->click();
        QCOMPARE(x.pane.txtFormulaText()->toPlainText(),
                 dates.isEmpty()
                     ? QStringLiteral("Results.IPay = 1")
                     : QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(x.stored(6), QStringLiteral("Results.IPay = 1"));
    }

    // A formula that a group uses for lines typed or hours worked may not read the incentive
    // functions, in any letter case; one used only for pay may.
    void incentiveFunctionsOnlyInPayFormulas_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hoursFormula");
        QTest::addColumn<bool>("saved");
        QTest::newRow("pay only") << QStringLiteral("Results.IPay = ITypedLines * 0.1")
                                  << QStringLiteral("6") << true;
        QTest::newRow("hours formula")
            << QStringLiteral("Results.IPay = IHoursWorked * 2") << QStringLiteral("5") << false;
        QTest::newRow("hours formula, lower case")
            << QStringLiteral("Results.IPay = itypedlines * 0.1") << QStringLiteral("5") << false;
        QTest::newRow("lower case in a comment only")
            << QStringLiteral("' uses itypedlines later\r\nResults.IPay = 1") << QStringLiteral("5")
            << true;
    }

    void incentiveFunctionsOnlyInPayFormulas() {
        QFETCH(QString, text);
        QFETCH(QString, hoursFormula);
        QFETCH(bool, saved);
        EditingFixture x;
        // Typed (12) uses formula 5 for its lines; make that formula 6 unless the row says 5.
        x.f.exec(QStringLiteral("UPDATE Incentive_group_formula SET typed_formula_id = 6, "
                                "hours_worked_formula_id = %1 WHERE group_id IN (12, 13)")
                     .arg(hoursFormula));
        x.f.db.connection().close();
        x.open();
        x.edit(text);
        x.f.prompter.queueOk(QStringLiteral("2/29/2024"));
        bool note = false;
        QCOMPARE(x.editing.SaveFormula(note) == Result::Saved, saved);
        QCOMPARE(x.stored(), saved ? text : kOldText);
        if (!saved) {
            QCOMPARE(x.messageTexts().last(),
                     QStringLiteral("The formula can not contain any of the Incentive Formulas "
                                    "unless it is solely used for the Pay Formula. The following "
                                    "groups are currently using this formula for formulas other "
                                    "than the Incentive Pay Formula (Either the Incentive Lines "
                                    "Typed or the Incentive Hours Worked Formulas): Typed, Hours"));
            QCOMPARE(x.locked(), QStringList{"dee:2024-02-29"});
        }
    }

    // The default formula computes every row that falls back to it: a group without any
    // assignment and one whose pay formula is empty are locked; a group paying with another
    // formula from its default-account row is not.
    void defaultFormulaLockReachesRowsThatFallBack() {
        EditingFixture x;
        x.f.exec(QStringLiteral("UPDATE Incentive_group_formula SET pay_formula_id = NULL, "
                                "typed_formula_id = NULL, hours_worked_formula_id = NULL WHERE "
                                "group_id = 12"));
        x.f.db.connection().close();
        x.open(1);
        x.edit(QStringLiteral("Results.IPay = 3"));
        x.f.prompter.queueOk(QStringLiteral("2/28/2024"));
        bool note = false;
        QCOMPARE(x.editing.SaveFormula(note), Result::Saved);
        QCOMPARE(x.locked(), (QStringList{"bob:2024-02-27", "dee:2024-02-29", "eve:2024-02-27"}));
    }

    // Leaving a formula whose text did not change asks and writes nothing; Revert Changes puts
    // the stored text back without writing; an operator without the right saves nothing.
    void unchangedRevertedOrOperatorWritesNothing() {
        EditingFixture x;
        bool note = false;
        x.open(1); // stored with CR LF line ends, which the editor shows as LF
        QCOMPARE(x.editing.SaveFormula(note), Result::Unchanged);
        x.open();
        QCOMPARE(x.editing.SaveFormula(note), Result::Unchanged);
        x.edit(QStringLiteral("Results.IPay = 9"));
        x.pane.cmdFormulaRevertChanges()->click();
        QCOMPARE(x.pane.txtFormulaText()->toPlainText(), kOldText);
        QCOMPARE(x.editing.SaveFormula(note), Result::Unchanged);
        x.edit(QStringLiteral("Results.IPay = 9"));
        x.fullMode = false;
        QCOMPARE(x.editing.SaveFormula(note), Result::Unchanged);
        QVERIFY(x.f.prompter.asked.isEmpty());
        QVERIFY(x.f.messages.shown.isEmpty());
        QCOMPARE(x.stored(), kOldText);
        QCOMPARE(x.locked(), QStringList{"dee:2024-02-29"});
    }

    // Another workstation deleted the formula while it was edited: the lock-out is rolled back.
    void formulaDeletedElsewhereLocksNothing() {
        EditingFixture x;
        x.open();
        x.edit(QStringLiteral("Results.IPay = 9"));
        auto other = x.f.db.openAnother();
        other->execute(QStringLiteral("DELETE FROM Incentive_formula WHERE formula_id = 5"));
        other->close();
        x.f.prompter.queueOk(QStringLiteral("2/29/2024"));
        bool note = false;
        QCOMPARE(x.editing.SaveFormula(note), Result::Refused);
        QVERIFY(x.messageTexts().last().startsWith(QStringLiteral("The formula no longer exists")));
        QCOMPARE(x.locked(), QStringList{"dee:2024-02-29"});
    }
};

VELORA_TEST(TestFormulaEditing)
#include "TestFormulaEditing.moc"
