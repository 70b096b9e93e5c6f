#include "DetailFixture.h"
#include "common/TestMain.h"

#include <QPushButton>
#include <QTest>

using namespace velora::detail;
using velora::test::DetailFixture;

namespace {

const QList<bool> kAllOn{true, true, true, true, true, true, true};
const QList<bool> kAllOff{false, false, false, false, false, false, false};

} // namespace

// LoadWeek against a real database: what each day shows, which cells may be typed in, which
// values are marked as corrections, what the week buffer keeps, and the totals rows.
class TestWeekLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyWeekShowsZerosAndActivityHours() {
        DetailFixture g;
        g.hourMode = 1;
        g.activity(1, 27000);
        g.activity(1, 3600, 1, 6); // not system time of the day
        g.activity(1, 1800, 2, 9); // other work
        g.load();
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.busy, 0);
        QCOMPARE(g.shown, 1);
        QCOMPARE(g.rowTexts(0), (QStringList{"0", "0", "0", "0", "0.00", "0.00", "0.00"}));
        QCOMPARE(g.rowTexts(1), (QStringList{"0", "7.5", "0", "0", "0.00", "0.00", "0.00"}));
        for (int day = 0; day < kDayRows; ++day) {
            QCOMPARE(g.enabled(day), kAllOn);
            const DayRecord& record = g.week[static_cast<std::size_t>(day)];
            QCOMPARE(record.ShiftDate, DetailFixture::kStart.addDays(day));
            QVERIFY(record.Editable && !record.Stored);
            QCOMPARE(record.AccountID, 10);
            QCOMPARE(record.TransID, QStringLiteral("o'neil"));
        }
        QCOMPARE(g.week[1].value(ValueKind::Hours).collected, 7.5f);
        QCOMPARE(g.pane.workDay(0)->text(), QStringLiteral("Sun"));
        QCOMPARE(g.pane.workDate(6)->text(), QStringLiteral("11/10/2012"));
        QCOMPARE(g.pane.groupName()->text(), QStringLiteral("North Alpha"));
        QCOMPARE(g.pane.accountName()->text(), QStringLiteral("Mercy"));
        QCOMPARE(g.currentUser->GroupID(), 21);
        QCOMPARE(g.rowTexts(kWeekTotalRow), (QStringList{"0", "7.5", "0", "0", "0", "0", "0.00"}));
        QCOMPARE(g.pane.totalLabel(kBiWeekTotalRow)->text(),
                 QStringLiteral("Bi-Week (Oct 28-Nov 10):"));
        QCOMPARE(g.pane.totalLabel(kMonthTotalRow)->text(), QStringLiteral("Month (Nov '12):"));
    }

    // The day's values in the regional form, cells and totals alike.
    void storedRowFillsDayAndBuffer_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("payTotal");
        QTest::newRow("hour mode 1: activity hours")
            << "en_US" << 1 << QStringList{"3", "7.5", "1250", "980.5", "6.00", "975.25", "120.10"}
            << "120.10";
        QTest::newRow("hour mode 2: typed hours")
            << "en_US" << 2 << QStringList{"3", "6.25", "1250", "980.5", "6.00", "975.25", "120.10"}
            << "120.10";
        QTest::newRow("German separator")
            << "de_DE" << 1 << QStringList{"3", "7,5", "1250", "980,5", "6,00", "975,25", "120,10"}
            << "120,10";
    }
    void storedRowFillsDayAndBuffer() {
        QFETCH(QString, locale);
        QFETCH(int, hourMode);
        QFETCH(QStringList, texts);
        QFETCH(QString, payTotal);
        DetailFixture g(locale.toLatin1().constData());
        g.hourMode = hourMode;
        g.activity(2, 27000);
        g.row(
            2,
            "number_rpts, number_rpts_modified, hours_typed, hours_typed_modified, "
            "hours_system_modified, chars, chars_modified, lines, lines_modified, "
            "incent_hours_typed, incent_hours_typed_modified, incent_typed, "
            "incent_typed_modified, incent_pay, incent_pay_modified",
            "3, 3, 6.25, 6.25, 7.5, 1250, 1250, 980.5, 980.5, 6, 6, 975.25, 975.25, 120.1, 120.1");
        g.load();
        QCOMPARE(g.rowTexts(2), texts);
        QVERIFY(g.week[2].Stored);
        QCOMPARE(g.week[2].value(ValueKind::IPay).current, 120.1f);
        for (ValueKind kind : kValueKinds)
            QVERIFY(!g.blue(kind, 2));
        // Hours can be typed only in hour mode 2; mode 1 takes them from the work-time editor.
        QCOMPARE(g.cell(ValueKind::Hours, 2)->isReadOnly(), hourMode == 1);
        QCOMPARE(g.pane.systemHours(2)->isHidden(), hourMode == 2);
        QCOMPARE(g.text(ValueKind::Hours, kWeekTotalRow), texts[1]);
        QCOMPARE(g.text(ValueKind::IPay, kWeekTotalRow), payTotal);
    }

    // Any difference in single precision is a correction; in hour mode 1 the activity-log hours
    // are compared with hours_system_modified.
    void correctionsShowBlue_data() {
        QTest::addColumn<double>("modified");
        QTest::addColumn<double>("collected");
        QTest::addColumn<bool>("blue");
        QTest::newRow("equal") << 5.0 << 5.0 << false;
        QTest::newRow("differs in single precision") << 5.0000005 << 5.0 << true;
        QTest::newRow("same single-precision value") << 5.00000001 << 5.0 << false;
        QTest::newRow("corrected") << 4.0 << 5.0 << true;
    }
    void correctionsShowBlue() {
        QFETCH(double, modified);
        QFETCH(double, collected);
        QFETCH(bool, blue);
        DetailFixture g;
        g.hourMode = 1;
        g.activity(1, 27000);
        g.row(1, "chars_modified, chars, incent_pay_modified, incent_pay, hours_system_modified",
              QStringLiteral("%1, %2, %1, %2, 8")
                  .arg(modified, 0, 'g', 17)
                  .arg(collected, 0, 'g', 17));
        g.load();
        QCOMPARE(g.blue(ValueKind::CharLines, 1), blue);
        QCOMPARE(g.blue(ValueKind::IPay, 1), blue);
        QVERIFY(!g.blue(ValueKind::Reports, 1));
        QVERIFY(g.blue(ValueKind::Hours, 1)); // 7.5 from the log against 8
        QCOMPARE(g.week[1].value(ValueKind::Hours).collected, 8.0f);
    }

    void lockedDaysAreReadOnly() {
        DetailFixture g;
        // Another user's locked row sets the last locked date for everyone: 6 November.
        g.exec("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) "
               "VALUES ('ghost', 11, '2012-11-06', 1)");
        g.row(0, "chars_modified, chars", "9, 7"); // corrected, locked below
        g.row(1, "locked", "0");                   // unlocked row before the locked date
        g.load();
        QVERIFY(g.blue(ValueKind::CharLines, 0));
        g.exec("UPDATE Trans_incentive SET chars_modified = 8, locked = 1 WHERE shift_date = "
               "'2012-11-04'");
        g.load();
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.enabled(0), kAllOff);
        QVERIFY(!g.pane.systemHours(0)->isEnabled());
        QCOMPARE(g.text(ValueKind::CharLines, 0), QStringLiteral("8"));
        QVERIFY(g.blue(ValueKind::CharLines, 0)); // a locked day keeps its colour
        QCOMPARE(g.enabled(1), kAllOn);
        QCOMPARE(g.enabled(2), kAllOff); // no row, on the last locked date
        QVERIFY(!g.week[2].Editable);
        QCOMPARE(g.enabled(3), kAllOn); // no row, after it
        QVERIFY(g.pane.saveChanges()->isEnabled());
    }

    void privilegesOpenCells_data() {
        QTest::addColumn<QList<int>>("rights");
        QTest::addColumn<QList<bool>>("cells"); // reports, hours, chars, lines, IH, IT, IPay
        QTest::addColumn<bool>("save");
        QTest::newRow("none") << QList<int>{} << kAllOff << false;
        QTest::newRow("hours") << QList<int>{18}
                               << QList<bool>{false, true, false, false, false, false, false}
                               << true;
        QTest::newRow("production")
            << QList<int>{19} << QList<bool>{true, false, true, true, false, false, false} << true;
        QTest::newRow("incentive values")
            << QList<int>{22, 23, 45} << QList<bool>{false, false, false, false, true, true, true}
            << true;
        QTest::newRow("unrelated rights") << QList<int>{1, 17, 20, 44} << kAllOff << false;
    }
    void privilegesOpenCells() {
        QFETCH(QList<int>, rights);
        QFETCH(QList<bool>, cells);
        QFETCH(bool, save);
        DetailFixture g("en_US", std::set<int>(rights.begin(), rights.end()));
        g.pane.saveChanges()->setEnabled(!save);
        g.row(1);
        g.load();
        QCOMPARE(g.enabled(0), cells); // a day without a row
        QCOMPARE(g.enabled(1), cells); // a stored day
        QCOMPARE(g.pane.systemHours(1)->isEnabled(), cells[1]);
        QCOMPARE(g.pane.saveChanges()->isEnabled(), save);
    }

    // The account summary adds the accounts up per day; IHours is the largest account value in
    // hour mode 1 and the sum in hour mode 2. Nothing of it can be typed or saved.
    void accountSummary_data() {
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QString>("dayIHours");
        QTest::addColumn<QString>("weekIHours");
        QTest::newRow("hour mode 1") << 1 << "6.00"
                                     << "10.00";
        QTest::newRow("hour mode 2") << 2 << "12.00"
                                     << "18.00";
    }
    void accountSummary() {
        QFETCH(int, hourMode);
        QFETCH(QString, dayIHours);
        QFETCH(QString, weekIHours);
        DetailFixture g;
        g.hourMode = hourMode;
        g.pane.saveChanges()->setEnabled(true);
        const QString columns = "chars_modified, incent_hours_typed_modified, incent_pay_modified";
        g.row(1, columns, "100, 6, 10");
        g.row(1, columns, "50, 6, 2.5", 11);
        g.row(3, "incent_hours_typed_modified", "4");
        g.row(3, "incent_hours_typed_modified", "2", 11);
        g.exec("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, chars_modified) "
               "VALUES ('ghost', 10, '2012-11-05', 1000)"); // another user's day
        g.load("-2");
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.text(ValueKind::CharLines, 1), QStringLiteral("150"));
        QCOMPARE(g.text(ValueKind::IPay, 1), QStringLiteral("12.50"));
        QCOMPARE(g.text(ValueKind::IHours, 1), dayIHours);
        for (int day = 0; day < kDayRows; ++day)
            QCOMPARE(g.enabled(day), kAllOff);
        QVERIFY(!g.pane.saveChanges()->isEnabled());
        // Two accounts with 6.00 on the same day count once in hour mode 1.
        QCOMPARE(g.text(ValueKind::IHours, kWeekTotalRow), weekIHours);
        g.load("10");
        QCOMPARE(g.text(ValueKind::CharLines, 1), QStringLiteral("100"));
    }

    void negativePayTotals_data() {
        QTest::addColumn<double>("pay");
        QTest::addColumn<QString>("shown");
        QTest::newRow("-0.50") << -0.5 << "-0.50";
        QTest::newRow("-0.51") << -0.51 << "0.00";
        QTest::newRow("-1.50") << -1.5 << "0.00";
        QTest::newRow("positive") << 2.5 << "2.50";
    }
    void negativePayTotals() {
        QFETCH(double, pay);
        QFETCH(QString, shown);
        DetailFixture g;
        g.row(1, "incent_pay_modified", QString::number(pay));
        g.load();
        for (int row = kWeekTotalRow; row <= kYearTotalRow; ++row)
            QCOMPARE(g.text(ValueKind::IPay, row), shown);
        // The day itself shows its pay as it is.
        QCOMPARE(g.text(ValueKind::IPay, 1), QString::number(pay, 'f', 2));
        g.load("11"); // the other account has no rows: zeros, no pay
        QCOMPARE(g.rowTexts(kYearTotalRow), (QStringList{"0", "0", "0", "0", "0", "0", "0.00"}));
    }

    // The month and year rows total the month and year of the week's first day; in hour mode 1
    // the hours total is the user's whole activity time, the same for every account.
    void periodsOfTheFirstDay() {
        DetailFixture g;
        g.row(-30, "lines_modified", "1");
        g.row(-2, "lines_modified", "10");
        g.row(59, "lines_modified", "100");
        g.load("10", QDate(2012, 10, 29));
        QCOMPARE(g.pane.totalLabel(kMonthTotalRow)->text(), QStringLiteral("Month (Oct '12):"));
        QCOMPARE(g.text(ValueKind::TrueLines, kWeekTotalRow), QStringLiteral("10"));
        QCOMPARE(g.text(ValueKind::TrueLines, kMonthTotalRow), QStringLiteral("1"));
        QCOMPARE(g.text(ValueKind::TrueLines, kYearTotalRow), QStringLiteral("11"));
        g.load("10", QDate(2012, 12, 30));
        QCOMPARE(g.text(ValueKind::TrueLines, kBiWeekTotalRow), QStringLiteral("100"));
        QCOMPARE(g.text(ValueKind::TrueLines, kYearTotalRow), QStringLiteral("11"));

        g.hourMode = 1;
        g.activity(1, 3600);
        g.activity(26, 7200);
        g.activity(-200, 1800);
        for (const char* account : {"10", "11"}) {
            g.load(QString::fromLatin1(account));
            QCOMPARE(g.text(ValueKind::Hours, kWeekTotalRow), QStringLiteral("1"));
            QCOMPARE(g.text(ValueKind::Hours, kMonthTotalRow), QStringLiteral("3"));
            QCOMPARE(g.text(ValueKind::Hours, kYearTotalRow), QStringLiteral("3.5"));
        }
    }

    // A user without a Trans_info row keeps the captions; a group not in the list selects
    // nothing, so the user's group can never be taken for another one.
    void userCaptions() {
        DetailFixture g;
        g.load();
        g.groups.setCurrentIndex(0);
        g.loader.LoadWeek(QStringLiteral("nobody"), QStringLiteral("No Body"),
                          QStringLiteral("Elsewhere"), QStringLiteral("10"));
        QCOMPARE(g.pane.userName()->text(), QStringLiteral("Kate O'Neil"));
        QCOMPARE(g.pane.accountName()->text(), QStringLiteral("Mercy"));
        QCOMPARE(g.currentUser->TransID(), QStringLiteral("nobody"));
        QCOMPARE(g.currentUser->GroupID(), 20); // the list's selection stands
        g.loader.LoadWeek(QStringLiteral("ghost"), QStringLiteral("Gil"), QStringLiteral("X"),
                          QStringLiteral("10"));
        QCOMPARE(g.groups.currentIndex(), -1);
        QCOMPARE(g.pane.groupName()->text(), QString());
        QCOMPARE(g.currentUser->GroupID(), -1);
        QVERIFY(g.messages.shown.isEmpty());
    }

    // A load that cannot run stops with the load-failure message and leaves the window usable;
    // an account id that is not a number never reaches a statement.
    void failureStopsTheLoad_data() {
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("start");
        QTest::newRow("account id with a statement") << "10; DELETE FROM Trans_info"
                                                     << "11/4/2012";
        QTest::newRow("start date not a date") << "10"
                                               << "13/45/2012";
    }
    void failureStopsTheLoad() {
        QFETCH(QString, account);
        QFETCH(QString, start);
        DetailFixture g;
        g.pane.startDate()->setText(start);
        g.loader.LoadWeek(g.selection.transID, g.selection.userName, g.selection.accountName,
                          account);
        QCOMPARE(g.messages.shown.size(), 1);
        const auto& shown = g.messages.shown.first();
        QVERIFY2(shown.text.startsWith(
                     QStringLiteral("An Error Occurred Attempting To Load The User Account "
                                    "Information. Please Contact The Vendor For More "
                                    "Information.\r\n\r\nError 13:")),
                 qPrintable(shown.text));
        QCOMPARE(shown.icon, velora::common::MessageIcon::Critical);
        QCOMPARE(g.shown, 0);
        QCOMPARE(g.busy, 0);
        QVERIFY(!g.db.connection().isOpen());
        QCOMPARE(g.pane.workDate(0)->text(), QStringLiteral("12/12/2000"));
        g.db.connection().ensureOpen();
        QCOMPARE(g.db.scalar("SELECT COUNT(*) FROM Trans_info"), QStringLiteral("2"));
    }

    // Typing over a value replaces it: a cell that gains the focus selects its whole text.
    void focusSelectsTheValue() {
        UserDetailPane pane;
        QLineEdit* cell = pane.cell(ValueKind::IPay, 2);
        cell->setText(QStringLiteral("12.50"));
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(cell, &focusIn);
        QCOMPARE(cell->selectedText(), QStringLiteral("12.50"));
    }
};

VELORA_TEST(TestWeekLoader)
#include "TestWeekLoader.moc"
