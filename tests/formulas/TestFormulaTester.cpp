#include "TesterFixture.h"
#include "common/TestMain.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace velora;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPayFormula = QStringLiteral("Results.ILines = TrueLines\n"
                                           "Results.IHours = 0.1\n"
                                           "If Hours > 7 And Not IsLastDayOfMonth Then _\n"
                                           "    Results.IPay = Lines * 0.085\n");

// North (1) with Zed and Ann (catalogue order), South (2) with Bob, Empty (3) with nobody.
// The database also holds a deleted user, a user who is no transcriptionist, a deleted
// account and a default account, which no list shows.
void populate(test::TesterFixture& f) {
    f.addPartition(1, QStringLiteral("North"));
    f.addPartition(2, QStringLiteral("South"));
    f.addPartition(3, QStringLiteral("Empty"));
    f.addAccount(100, QStringLiteral("Memorial"), 1);
    f.addAccount(200, QStringLiteral("City Clinic"), 1);
    f.addAccount(300, QStringLiteral("Harbor"), 2);
    f.exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, is_deleted) "
                          "VALUES (400, 'Closed Ward', 1), (-1, '__Default Account', 0)"));
    f.addUser(QStringLiteral("zed"), 1);
    f.addUser(QStringLiteral("ann"), 1);
    f.addUser(QStringLiteral("bob"), 2);
    f.exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, is_deleted, trans_type) "
                          "VALUES ('gone', 1, 1, 1), ('clerk', 1, 0, 2)"));
    f.addDay(QStringLiteral("ann"), 100, QStringLiteral("2024-05-14"), 10, 1500, 7.5);
    f.addDay(QStringLiteral("bob"), 100, QStringLiteral("2024-05-14"), 4, 300, 2);
    f.tester.FillTesterUserList();
    f.tester.FillTesterAccountList();
}

QStringList texts(const QComboBox& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i)
        result << list.itemText(i) + QLatin1Char('#') + list.itemData(i).toString();
    return result;
}

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
        QTest::newRow("database") << false << 0 << 1 << QStringList{"ann#", "bob#", "zed#"}
                                  << QStringList{"City Clinic#200", "Harbor#300", "Memorial#100"};
        QTest::newRow("partition first")
            << true << 0 << 1 << QStringList{"North\\zed#", "North\\ann#"}
            << QStringList{"North\\Memorial#100", "North\\City Clinic#200"};
        QTest::newRow("partition last")
            << true << 1 << 2 << QStringList{"bob\\South#"} << QStringList{"Harbor\\South#300"};
        QTest::newRow("nobody in the partition")
            << true << 0 << 3 << QStringList{} << QStringList{};
    }

    // Filled twice: a refill replaces the entries. The first entry is selected, none in an
    // empty list, and the connection is closed afterwards.
    void fillsTheLists() {
        QFETCH(bool, partitions);
        QFETCH(int, preference);
        QFETCH(int, formulaPartition);
        test::TesterFixture f(partitions);
        f.partitionDisplay = preference;
        f.formulaPartition = formulaPartition;
        populate(f);
        f.tester.FillTesterUserList();
        f.tester.FillTesterAccountList();
        QFETCH(QStringList, users);
        QFETCH(QStringList, accounts);
        QCOMPARE(texts(*f.pane.cmbFormulaTransID()), users);
        QCOMPARE(texts(*f.pane.cmbFormulaAccountID()), accounts);
        QCOMPARE(f.pane.cmbFormulaTransID()->currentIndex(), users.isEmpty() ? -1 : 0);
        QCOMPARE(f.pane.cmbFormulaAccountID()->currentIndex(), accounts.isEmpty() ? -1 : 0);
        QVERIFY(!f.db.connection().isOpen());
        QVERIFY(f.messages.shown.isEmpty());

        f.exec(QStringLiteral("DROP TABLE Trans_info"));
        f.tester.FillTesterUserList();
        QCOMPARE(f.lastMessage(),
                 QString::fromLatin1(partitions ? "" : "Error: cannot load user list"));
    }

    // Results with the inputs read; then an empty date and no account keep the day and the
    // account while the user changes; then a run-time error on line 3, marked and reported,
    // with Reset so that the next test shows its results.
    void testsTheFormula() {
        test::TesterFixture f(false);
        populate(f);
        f.pick(QStringLiteral("5/14/2024"), QStringLiteral("ann"), QStringLiteral("Memorial"),
               kPayFormula);
        f.tester.TestFormula();
        QCOMPARE(f.lastMessage(), QStringLiteral("The formula evaluated to:") + kCrLf +
                                      QStringLiteral("   Hours = '0.1'") + kCrLf +
                                      QStringLiteral("   Lines = '1500'") + kCrLf +
                                      QStringLiteral("   Pay   = '127.5'"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::Information);
        QCOMPARE(tableRows(*f.pane.tblFormulaInputs()),
                 (QStringList{"TrueLines=1,500", "Hours=7.5", "IsLastDayOfMonth=False",
                              "Results.IHours=0.1", "Results.ILines=1,500", "Results.IPay=127.5"}));
        QCOMPARE(f.pane.txtFormulaShiftDate()->text(), QStringLiteral("05/14/2024"));

        f.pick(QString(), QStringLiteral("bob"), QString(), kPayFormula);
        f.tester.TestFormula();
        QVERIFY(f.lastMessage().contains(QStringLiteral("Lines = '300'")));

        f.pane.txtFormulaText()->setPlainText(
            QStringLiteral("Dim h\nh = Hours - Hours\nResults.IPay = 1 / h"));
        f.tester.TestFormula();
        QCOMPARE(f.lastMessage(),
                 QStringLiteral("The following error occurred evaluating your formula:") + kCrLf +
                     kCrLf + QStringLiteral("Line Number: 3") + kCrLf +
                     QStringLiteral("Error Description: Division by zero") + kCrLf +
                     QStringLiteral("Error Text: Results.IPay = 1 / h"));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::None);
        QCOMPARE(f.pane.txtFormulaText()->markedLine(), 3);
        QCOMPARE(f.pane.tblFormulaInputs()->rowCount(), 0);
        QVERIFY(f.evaluator->InputsRead().isEmpty());

        f.pane.txtFormulaText()->setPlainText(kPayFormula);
        f.tester.TestFormula();
        QVERIFY(f.lastMessage().endsWith(QStringLiteral("Lines = '300'\r\n   Pay   = '0'")));
        QCOMPARE(f.evaluator->ErrorNumber(), 0);
    }

    // With a comma as the decimal separator nothing reaches the evaluator.
    void refusesCommaDecimalSettings() {
        test::TesterFixture f(false, QLocale(QLocale::German, QLocale::Germany));
        populate(f);
        f.evaluator->TransID(QStringLiteral("before"));
        f.pick(QStringLiteral("14.5.2024"), QStringLiteral("ann"), QStringLiteral("Memorial"),
               QStringLiteral("Results.IPay = 1 +"));
        f.tester.TestFormula();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.lastMessage(),
                 QStringLiteral(
                     "Formula testing cannot be performed with the current regional settings."));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::Information);
        QCOMPARE(f.evaluator->transId(), QStringLiteral("before"));
        QCOMPARE(f.evaluator->ErrorNumber(), 0);
    }

    // Leaving the field rewrites a date in the regional form and empties blanks; other text
    // is refused with the message and kept, the focus goes back, and a test evaluates nothing.
    void checksTheDate() {
        test::TesterFixture f(false);
        f.tester.bindControls();
        f.pane.show();
        QApplication::setActiveWindow(&f.pane);
        QLineEdit& field = *f.pane.txtFormulaShiftDate();
        const QList<std::pair<const char*, const char*>> cases{{"5/3/2024", "05/03/2024"},
                                                               {"  ", ""},
                                                               {"14/05/2024", nullptr},
                                                               {"02/30/2024", nullptr}};
        for (const auto& [typed, shown] : cases) {
            field.setFocus();
            field.setText(QLatin1String(typed));
            f.messages.shown.clear();
            f.pane.cmdFormulaTestFormula()->setFocus();
            QCOMPARE(field.text(), QLatin1String(shown ? shown : typed));
            QCOMPARE(f.messages.shown.size(), shown ? 0 : 1);
            QCOMPARE(field.hasFocus(), !shown);
        }
        QCOMPARE(f.lastMessage(),
                 QStringLiteral("The Date you entered is invalid. Please re-enter the date."));
        QCOMPARE(f.messages.shown.last().icon, common::MessageIcon::None);
        f.evaluator->ShiftDate(QDate(2020, 1, 2));
        f.tester.TestFormula();
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.lastMessage(), f.messages.shown.first().text);
        QCOMPARE(f.evaluator->shiftDate(), QDate(2020, 1, 2));
    }
};

VELORA_TEST(TestFormulaTester)
#include "TestFormulaTester.moc"
