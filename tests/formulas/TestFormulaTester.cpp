#include "TesterFixture.h"
#include "common/TestMain.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace velora;

namespace {

const QString kDay = QStringLiteral("05/14/2024");
const QString kCrLf = QStringLiteral("\r\n");

// North (1) with Zed and Ann (catalogue order), South (2) with Bob, Empty (3) with nobody.
// The database also holds a deleted user, a user who is no transcriptionist, a deleted
// account and a group's default account, which no list shows.
void populate(test::TesterFixture& f) {
    f.addPartition(1, QStringLiteral("North"));
    f.addPartition(2, QStringLiteral("South"));
    f.addPartition(3, QStringLiteral("Empty"));
    f.addAccount(100, QStringLiteral("Memorial"), 1);
    f.addAccount(200, QStringLiteral("City Clinic"), 1);
    f.addAccount(300, QStringLiteral("Harbor"), 2);
    f.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, is_deleted, "
                          "partition_id) VALUES (400, 'Closed Ward', 1, 1), (-1, "
                          "'__Default Account', 0, 1)"));
    f.addUser(QStringLiteral("zed"), 1);
    f.addUser(QStringLiteral("ann"), 1);
    f.addUser(QStringLiteral("bob"), 2);
    f.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, is_deleted, trans_type) "
                          "VALUES ('gone', 1, 1, 1), ('clerk', 1, 0, 2)"));
    f.addDay(QStringLiteral("ann"), 100, QStringLiteral("2024-05-14"), 10, 1500, 7.5);
    f.addDay(QStringLiteral("bob"), 100, QStringLiteral("2024-05-14"), 4, 300, 2);
    f.addDay(QStringLiteral("ann"), 100, QStringLiteral("2024-05-15"), 1, 99, 1);
}

const QString kPayFormula = QStringLiteral("Results.ILines = TrueLines\n"
                                           "Results.IHours = 0.1\n"
                                           "If Hours > 7 Then Results.IPay = Lines * 0.085\n");

QStringList tableRows(const QTableWidget& table) {
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows << table.item(row, 0)->text() + QLatin1Char('=') + table.item(row, 1)->text();
    return rows;
}

} // namespace

class TestFormulaTester : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fillsTheLists_data() {
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<int>("preference");
        QTest::addColumn<int>("formulaPartition");
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<QList<int>>("accountIDs");
        QTest::newRow("database") << false << 0 << 1 << QStringList{"ann", "bob", "zed"}
                                  << QStringList{"City Clinic", "Harbor", "Memorial"}
                                  << QList<int>{200, 300, 100};
        QTest::newRow("partition first")
            << true << 0 << 1 << QStringList{"North\\zed", "North\\ann"}
            << QStringList{"North\\Memorial", "North\\City Clinic"} << QList<int>{100, 200};
        QTest::newRow("partition last") << true << 1 << 2 << QStringList{"bob\\South"}
                                        << QStringList{"Harbor\\South"} << QList<int>{300};
        QTest::newRow("nobody in the partition")
            << true << 0 << 3 << QStringList{} << QStringList{} << QList<int>{};
    }

    // Outside partition mode the live transcriptionists and accounts from the database; in
    // partition mode the formula's partition's users and accounts from the catalogue, labelled
    // by the display preference. A refill replaces the entries; the first is selected, none
    // when the list is empty; the connection is closed afterwards.
    void fillsTheLists() {
        QFETCH(bool, partitions);
        test::TesterFixture f(partitions);
        populate(f);
        QFETCH(int, preference);
        f.partitionDisplay = preference;
        QFETCH(int, formulaPartition);
        f.formulaPartition = formulaPartition;
        for (int pass = 0; pass < 2; ++pass) {
            f.tester.FillTesterUserList();
            f.tester.FillTesterAccountList();
        }
        const QComboBox& userList = *f.pane.cmbFormulaTransID();
        const QComboBox& accountList = *f.pane.cmbFormulaAccountID();
        QFETCH(QStringList, users);
        QFETCH(QStringList, accounts);
        QFETCH(QList<int>, accountIDs);
        QCOMPARE(test::TesterFixture::texts(userList), users);
        QCOMPARE(test::TesterFixture::texts(accountList), accounts);
        for (int i = 0; i < accountList.count(); ++i)
            QCOMPARE(accountList.itemData(i).toInt(), accountIDs[i]);
        QCOMPARE(userList.currentIndex(), users.isEmpty() ? -1 : 0);
        QCOMPARE(accountList.currentIndex(), accounts.isEmpty() ? -1 : 0);
        QVERIFY(!f.db.connection().isOpen());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void reportsAFailedFill() {
        test::TesterFixture f(false);
        populate(f);
        f.exec(QStringLiteral("DROP TABLE Account_info"));
        f.tester.FillTesterAccountList();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.lastMessage(), QStringLiteral("Error: cannot load account list"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::Critical);
        QVERIFY(!f.db.connection().isOpen());
    }

    // The message with the three results as 32-bit floats, and the table of the inputs read
    // with their values for the day in the regional form, then the results.
    void showsTheResults() {
        test::TesterFixture f(false);
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        f.pick(QStringLiteral("5/14/2024"), QStringLiteral("ann"), QStringLiteral("Memorial"),
               kPayFormula);
        f.tester.TestFormula();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.lastMessage(), QStringLiteral("The formula evaluated to:") + kCrLf +
                                      QStringLiteral("   Hours = '0.1'") + kCrLf +
                                      QStringLiteral("   Lines = '1500'") + kCrLf +
                                      QStringLiteral("   Pay   = '127.5'"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::Information);
        QCOMPARE(tableRows(*f.pane.tblFormulaInputs()),
                 (QStringList{"TrueLines=1,500", "Hours=7.5", "Results.IHours=0.1",
                              "Results.ILines=1,500", "Results.IPay=127.5"}));
        QCOMPARE(f.pane.txtFormulaShiftDate()->text(), kDay);
    }

    // A run-time error on line 3: its line is marked, the message names it, and Reset lets the
    // next test show its results.
    void reportsAnErrorThenRecovers() {
        test::TesterFixture f(false);
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        const QString failing = QStringLiteral("Dim h\nh = Hours - Hours\nResults.IPay = 1 / h");
        f.pick(kDay, QStringLiteral("ann"), QStringLiteral("Memorial"), kPayFormula);
        f.tester.TestFormula();
        QCOMPARE(f.pane.tblFormulaInputs()->rowCount(), 5);

        f.pane.txtFormulaText()->setPlainText(failing);
        f.tester.TestFormula();
        QCOMPARE(f.lastMessage(),
                 QStringLiteral("The following error occurred evaluating your formula:") + kCrLf +
                     kCrLf + QStringLiteral("Line Number: 3") + kCrLf +
                     QStringLiteral("Error Description: Division by zero") + kCrLf +
                     QStringLiteral("Error Text: Results.IPay = 1 / h"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::None);
        QCOMPARE(f.messages.shown.last().buttons, common::MessageButtons::Ok);
        QCOMPARE(f.pane.txtFormulaText()->markedLine(), 3);
        QCOMPARE(f.pane.tblFormulaInputs()->rowCount(), 0);
        QCOMPARE(f.evaluator->ErrorNumber(), 0);

        f.pane.txtFormulaText()->setPlainText(kPayFormula);
        f.tester.TestFormula();
        QVERIFY(f.lastMessage().startsWith(QStringLiteral("The formula evaluated to:")));
        QVERIFY(f.lastMessage().endsWith(QStringLiteral("Pay   = '127.5'")));
        QCOMPARE(f.pane.txtFormulaText()->markedLine(), 0);
    }

    // With a comma as the decimal separator nothing reaches the evaluator.
    void refusesCommaDecimalSettings() {
        test::TesterFixture f(false, QLocale(QLocale::German, QLocale::Germany));
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        f.evaluator->TransID(QStringLiteral("before"));
        f.evaluator->ShiftDate(QDate(2020, 1, 2));
        f.pick(QStringLiteral("14.5.2024"), QStringLiteral("ann"), QStringLiteral("Memorial"),
               QStringLiteral("Results.IPay = 1 +"));
        f.tester.TestFormula();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.lastMessage(),
                 QStringLiteral(
                     "Formula testing cannot be performed with the current regional settings."));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::Information);
        QCOMPARE(f.evaluator->transId(), QStringLiteral("before"));
        QCOMPARE(f.evaluator->shiftDate(), QDate(2020, 1, 2));
        QCOMPARE(f.evaluator->ErrorNumber(), 0);
        QCOMPARE(f.pane.txtFormulaText()->markedLine(), 0);
    }

    // An empty date field and lists without a selection leave the evaluator's day, account and
    // user of the test before; a new user alone changes only the user.
    void keepsInputsLeftUnset() {
        test::TesterFixture f(false);
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        const QString lines = QStringLiteral("Results.ILines = TrueLines");
        f.pick(kDay, QStringLiteral("ann"), QStringLiteral("Memorial"), lines);
        f.tester.TestFormula();
        QVERIFY(f.lastMessage().contains(QStringLiteral("Lines = '1500'")));

        f.pane.txtFormulaShiftDate()->clear();
        f.pane.cmbFormulaAccountID()->setCurrentIndex(-1);
        f.pane.cmbFormulaTransID()->setCurrentIndex(f.pane.cmbFormulaTransID()->findText("bob"));
        f.tester.TestFormula();
        QVERIFY(f.lastMessage().contains(QStringLiteral("Lines = '300'")));
        QCOMPARE(f.evaluator->shiftDate(), QDate(2024, 5, 14));
        QCOMPARE(f.evaluator->accountId(), 100);

        f.pane.cmbFormulaTransID()->setCurrentIndex(-1);
        f.tester.TestFormula();
        QCOMPARE(f.evaluator->transId(), QStringLiteral("bob"));
        QCOMPARE(f.pane.txtFormulaShiftDate()->text(), QString());
    }

    void checksTheDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("short form") << "5/3/2024"
                                    << "05/03/2024" << true;
        QTest::newRow("ISO form") << "2024-05-03"
                                  << "05/03/2024" << true;
        QTest::newRow("empty") << ""
                               << "" << true;
        QTest::newRow("blanks") << "   "
                                << "" << true;
        QTest::newRow("no such day") << "02/30/2024"
                                     << "02/30/2024" << false;
        QTest::newRow("day first") << "14/05/2024"
                                   << "14/05/2024" << false;
        QTest::newRow("text") << "yesterday"
                              << "yesterday" << false;
    }

    // Leaving the field rewrites a date in the regional form; anything else is refused with
    // the message, kept as typed, and the focus goes back to the field. A test with such a
    // text evaluates nothing.
    void checksTheDate() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, accepted);
        test::TesterFixture f(false);
        f.tester.bindControls();
        f.pane.show();
        QApplication::setActiveWindow(&f.pane);
        QLineEdit& field = *f.pane.txtFormulaShiftDate();
        field.setText(typed);
        f.pane.cmdFormulaTestFormula()->setFocus();
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&field, &leave);
        QCOMPARE(field.text(), shown);
        QCOMPARE(f.messages.shown.size(), accepted ? 0 : 1);
        if (accepted)
            return;
        QCOMPARE(f.lastMessage(),
                 QStringLiteral("The Date you entered is invalid. Please re-enter the date."));
        QCOMPARE(f.messages.shown.last().title, QStringLiteral("Velora Incentive"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::None);
        QCOMPARE(f.messages.shown.last().buttons, common::MessageButtons::Ok);
        QVERIFY(field.hasFocus());

        f.evaluator->ShiftDate(QDate(2020, 1, 2));
        f.pane.txtFormulaText()->setPlainText(QStringLiteral("Results.IPay = 1"));
        f.tester.TestFormula();
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.evaluator->shiftDate(), QDate(2020, 1, 2));
    }

    void writesSingles_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 12.5f << "12.5";
        QTest::newRow("tenth") << 0.1f << "0.1";
        QTest::newRow("third") << 1.0f / 3.0f << "0.33333334";
        QTest::newRow("no double digits") << 123456.79f << "123456.79";
        QTest::newRow("large") << 1e7f << "10000000";
        QTest::newRow("negative") << -2.25f << "-2.25";
        QTest::newRow("negative zero") << -0.0f << "0";
    }

    void writesSingles() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(formulas::FormulaTester::singleText(value), text);
    }

    // The pane as a supervisor sees it after a test and with an error line marked, written
    // to build/artifacts for a look.
    void rendersThePane() {
        test::TesterFixture f(false);
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        f.pick(kDay, QStringLiteral("ann"), QStringLiteral("Memorial"),
               QStringLiteral("' Line rate with a productivity bonus\n") + kPayFormula +
                   QStringLiteral("Rem the bonus below needs \"fast\" days\n"
                                  "If Hours > 0 And TrueLines / Hours >= 180 Then _\n"
                                  "    Results.IPay = Round(Results.IPay + 5, 2)\n"));
        f.tester.TestFormula();
        f.pane.txtFormulaText()->markErrorLine(4);
        f.pane.resize(720, 640);
        f.pane.show();
        const QString folder =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../artifacts");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(f.pane.grab().save(folder + QStringLiteral("/formula-pane.png")));
    }
};

VELORA_TEST(TestFormulaTester)
#include "TestFormulaTester.moc"
