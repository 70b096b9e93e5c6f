#include "catalogue/User.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "db/Connection.h"
#include "detail/DetailContext.h"
#include "detail/UserDetailPane.h"
#include "detail/WeekLoader.h"
#include "suite/HXLoginUser.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace velora;
using namespace velora::detail;

namespace {

const std::set<int> kAllRights{18, 19, 22, 23, 45};

// One weekly grid over a fresh database: user jdoe (group 21) with accounts 10 and 11.
struct Grid {
    explicit Grid(const char* locale = "en_US", std::set<int> rights = kAllRights)
        : region(QLocale(QString::fromLatin1(locale)))
        , login(suite::SuiteUserRecord{}, std::move(rights), QString())
        , context{db.connection(),
                  region,
                  [this] { return &login; },
                  messages,
                  pane,
                  groups,
                  week,
                  currentUser,
                  [this] { return hourMode; },
                  [] { return 1; },
                  [] { return CurrentSelection{}; },
                  [this] { ++busy; },
                  [this] { --busy; },
                  [this] { ++shown; }}
        , loader(context, [this] { ++saves; }) {
        groups.addItem(QStringLiteral("North Standard"), 20);
        groups.addItem(QStringLiteral("North Alpha"), 21);
        exec("INSERT INTO Trans_info (trans_id, first_name, last_name, incentive_group_id) "
             "VALUES ('jdoe', 'Jane', 'Doe', 21), ('ghost', 'Gil', 'Ghost', 99)");
    }

    void exec(const char* statement) {
        db.connection().ensureOpen();
        db.exec(QString::fromLatin1(statement));
    }
    // A Trans_incentive row of jdoe; columns and values as extra pieces of the INSERT.
    void row(int account, const char* date, const char* columns = "", const char* values = "") {
        db.connection().ensureOpen();
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date") +
                QString::fromLatin1(columns) + QStringLiteral(") VALUES ('jdoe', ") +
                QString::number(account) + QStringLiteral(", '") + QString::fromLatin1(date) +
                QStringLiteral("'") + QString::fromLatin1(values) + QStringLiteral(")"));
    }
    void activity(const char* date, int seconds, int workType = 1, int updateType = 9) {
        db.connection().ensureOpen();
        db.exec(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                               "work_type, update_type) VALUES ('jdoe', '%1', %2, %3, %4)")
                    .arg(QString::fromLatin1(date))
                    .arg(seconds)
                    .arg(workType)
                    .arg(updateType));
    }

    void load(const char* account, const QDate& start = QDate(2012, 11, 4),
              const char* user = "jdoe") {
        pane.startDate()->setText(region.formatDate(start));
        loader.LoadWeek(QString::fromLatin1(user), QStringLiteral("Jane Doe"),
                        QStringLiteral("Mercy"), QString::fromLatin1(account));
    }

    QString text(ValueKind kind, int row) const { return pane.cell(kind, row)->text(); }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (ValueKind kind : kValueKinds)
            texts << text(kind, row);
        return texts;
    }
    bool blue(ValueKind kind, int row) const {
        return pane.cell(kind, row)->palette().color(QPalette::Active, QPalette::Text) ==
               QColor(0, 0, 255);
    }
    QList<bool> enabled(int row) const {
        QList<bool> states;
        for (ValueKind kind : kValueKinds)
            states << pane.cell(kind, row)->isEnabled();
        return states;
    }

    test::TestDatabase db;
    suite::HXRegion region;
    suite::HXLoginUser login;
    test::ScriptedMessages messages;
    UserDetailPane pane;
    QComboBox groups;
    WeekBuffer week;
    std::shared_ptr<catalogue::User> currentUser;
    int hourMode = 1;
    int busy = 0;
    int shown = 0;
    int saves = 0;
    DetailContext context;
    WeekLoader loader;
};

const QList<bool> kAllOn{true, true, true, true, true, true, true};
const QList<bool> kAllOff{false, false, false, false, false, false, false};

} // namespace

// LoadWeek against a real database: what each day shows, which cells may be typed in, which
// values are marked as corrections, what the week buffer keeps, and the totals rows.
class TestWeekLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyWeekShowsZerosAndActivityHours() {
        Grid g;
        g.activity("2012-11-05", 27000);
        g.activity("2012-11-05", 3600, 1, 6); // not system time of the day
        g.activity("2012-11-05", 1800, 2, 9); // other work
        g.load("10");
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.saves, 1);
        QCOMPARE(g.busy, 0);
        QCOMPARE(g.shown, 1);
        QCOMPARE(g.rowTexts(0), (QStringList{"0", "0", "0", "0", "0.00", "0.00", "0.00"}));
        QCOMPARE(g.rowTexts(1), (QStringList{"0", "7.5", "0", "0", "0.00", "0.00", "0.00"}));
        for (int day = 0; day < kDayRows; ++day) {
            QCOMPARE(g.enabled(day), kAllOn);
            const DayRecord& record = g.week[static_cast<std::size_t>(day)];
            QCOMPARE(record.ShiftDate, QDate(2012, 11, 4 + day));
            QVERIFY(record.Editable);
            QVERIFY(!record.Stored);
            QCOMPARE(record.AccountID, 10);
            QCOMPARE(record.TransID, QStringLiteral("jdoe"));
        }
        QCOMPARE(g.week[1].value(ValueKind::Hours).current, 7.5f);
        QCOMPARE(g.week[1].value(ValueKind::Hours).collected, 7.5f);
        QVERIFY(g.pane.saveChanges()->isEnabled());
        QCOMPARE(g.pane.workDay(0)->text(), QStringLiteral("Sun"));
        QCOMPARE(g.pane.workDate(6)->text(), QStringLiteral("11/10/2012"));
        QCOMPARE(g.pane.userName()->text(), QStringLiteral("Jane Doe"));
        QCOMPARE(g.pane.groupName()->text(), QStringLiteral("North Alpha"));
        QCOMPARE(g.pane.accountName()->text(), QStringLiteral("Mercy"));
        QCOMPARE(g.currentUser->TransID(), QStringLiteral("jdoe"));
        QCOMPARE(g.currentUser->GroupID(), 21);
        // Totals of a user without rows: the activity hours, zeros, no pay.
        QCOMPARE(g.rowTexts(kWeekTotalRow), (QStringList{"0", "7.5", "0", "0", "0", "0", "0.00"}));
        QCOMPARE(g.pane.totalLabel(kWeekTotalRow)->text(), QStringLiteral("Week (Nov 04-Nov 10):"));
        QCOMPARE(g.pane.totalLabel(kBiWeekTotalRow)->text(),
                 QStringLiteral("Bi-Week (Oct 28-Nov 10):"));
        QCOMPARE(g.pane.totalLabel(kMonthTotalRow)->text(), QStringLiteral("Month (Nov '12):"));
        QCOMPARE(g.pane.totalLabel(kYearTotalRow)->text(), QStringLiteral("Year (2012):"));
    }

    void storedRowFillsDayAndBuffer_data() {
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("hour mode 1: activity hours")
            << 1 << QStringList{"3", "7.5", "1250", "980.5", "6.00", "975.25", "120.10"};
        QTest::newRow("hour mode 2: typed hours")
            << 2 << QStringList{"3", "6.25", "1250", "980.5", "6.00", "975.25", "120.10"};
    }
    void storedRowFillsDayAndBuffer() {
        QFETCH(int, hourMode);
        QFETCH(QStringList, texts);
        Grid g;
        g.hourMode = hourMode;
        g.activity("2012-11-06", 27000);
        g.row(10, "2012-11-06",
              ", number_rpts, number_rpts_modified, hours_typed, hours_typed_modified, "
              "hours_system_modified, chars, chars_modified, lines, lines_modified, "
              "incent_hours_typed, incent_hours_typed_modified, incent_typed, "
              "incent_typed_modified, incent_pay, incent_pay_modified",
              ", 3, 3, 6.25, 6.25, 7.5, 1250, 1250, 980.5, 980.5, 6, 6, 975.25, 975.25, 120.1, "
              "120.1");
        g.load("10");
        QCOMPARE(g.rowTexts(2), texts);
        const DayRecord& record = g.week[2];
        QVERIFY(record.Stored);
        QVERIFY(record.Editable);
        QCOMPARE(record.ShiftDate, QDate(2012, 11, 6));
        QCOMPARE(record.value(ValueKind::IPay).current, 120.1f);
        QCOMPARE(record.value(ValueKind::CharLines).collected, 1250.0f);
        for (ValueKind kind : kValueKinds)
            QVERIFY(!g.blue(kind, 2));
        QCOMPARE(g.enabled(2), kAllOn);
        // Hours can be typed only in hour mode 2; mode 1 takes them from the work-time editor.
        QCOMPARE(g.pane.cell(ValueKind::Hours, 2)->isReadOnly(), hourMode == 1);
        QCOMPARE(g.pane.systemHours(2)->isHidden(), hourMode == 2);
        QCOMPARE(g.text(ValueKind::Hours, kWeekTotalRow), texts[1]);
        QCOMPARE(g.text(ValueKind::IPay, kWeekTotalRow), QStringLiteral("120.10"));
    }

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
        Grid g;
        g.activity("2012-11-05", 27000);
        const QByteArray values = QStringLiteral(", %1, %2, %1, %2, 7.5")
                                      .arg(modified, 0, 'g', 17)
                                      .arg(collected, 0, 'g', 17)
                                      .toLatin1();
        g.row(10, "2012-11-05",
              ", chars_modified, chars, incent_pay_modified, incent_pay, hours_system_modified",
              values.constData());
        g.load("10");
        QCOMPARE(g.blue(ValueKind::CharLines, 1), blue);
        QCOMPARE(g.blue(ValueKind::IPay, 1), blue);
        QVERIFY(!g.blue(ValueKind::Reports, 1));
        QVERIFY(!g.blue(ValueKind::Hours, 1));
    }

    // Hour mode 1 compares the activity-log hours with hours_system_modified.
    void activityHoursAgainstSystemHours() {
        Grid g;
        g.activity("2012-11-05", 27000);
        g.row(10, "2012-11-05", ", hours_system_modified", ", 8");
        g.load("10");
        QCOMPARE(g.text(ValueKind::Hours, 1), QStringLiteral("7.5"));
        QVERIFY(g.blue(ValueKind::Hours, 1));
        QCOMPARE(g.week[1].value(ValueKind::Hours).collected, 8.0f);
    }

    void lockedDaysAreReadOnly() {
        Grid g;
        // Another user's locked row sets the last locked date for everyone: 6 November.
        g.exec("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) "
               "VALUES ('ghost', 11, '2012-11-06', 1)");
        g.row(10, "2012-11-04", ", locked, chars_modified, chars", ", 1, 9, 7"); // locked row
        g.row(10, "2012-11-05", ", locked", ", 0"); // unlocked row before the locked date
        g.load("10");
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.enabled(0), kAllOff);
        QVERIFY(!g.pane.systemHours(0)->isEnabled());
        QVERIFY(!g.blue(ValueKind::CharLines, 0)); // a locked day keeps its colour
        QCOMPARE(g.text(ValueKind::CharLines, 0), QStringLiteral("9"));
        QCOMPARE(g.enabled(1), kAllOn);
        QCOMPARE(g.enabled(2), kAllOff); // no row, on the last locked date
        QVERIFY(!g.week[2].Editable);
        QCOMPARE(g.enabled(3), kAllOn); // no row, after it
        QVERIFY(g.week[3].Editable);
        QVERIFY(g.pane.saveChanges()->isEnabled());
    }

    void lockedDayKeepsItsColour() {
        Grid g;
        g.row(10, "2012-11-04", ", chars_modified, chars", ", 9, 7");
        g.load("10");
        QVERIFY(g.blue(ValueKind::CharLines, 0));
        g.exec("UPDATE Trans_incentive SET chars_modified = 7, locked = 1");
        g.load("10");
        QCOMPARE(g.text(ValueKind::CharLines, 0), QStringLiteral("7"));
        QVERIFY(g.blue(ValueKind::CharLines, 0));
    }

    void privilegesOpenCells_data() {
        QTest::addColumn<QList<int>>("rights");
        QTest::addColumn<QList<bool>>(
            "cells"); // reports, hours, chars, lines, IHours, ITyped, IPay
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
        Grid g("en_US", std::set<int>(rights.begin(), rights.end()));
        g.pane.saveChanges()->setEnabled(!save);
        g.row(10, "2012-11-05");
        g.load("10");
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
        Grid g;
        g.hourMode = hourMode;
        g.pane.saveChanges()->setEnabled(true);
        g.row(10, "2012-11-05",
              ", chars_modified, incent_hours_typed_modified, incent_pay_modified", ", 100, 6, 10");
        g.row(11, "2012-11-05",
              ", chars_modified, incent_hours_typed_modified, incent_pay_modified", ", 50, 6, 2.5");
        g.row(10, "2012-11-07", ", incent_hours_typed_modified", ", 4");
        g.row(11, "2012-11-07", ", incent_hours_typed_modified", ", 2");
        g.load("-2");
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.text(ValueKind::CharLines, 1), QStringLiteral("150"));
        QCOMPARE(g.text(ValueKind::IPay, 1), QStringLiteral("12.50"));
        QCOMPARE(g.text(ValueKind::IHours, 1), dayIHours);
        for (int day = 0; day < kDayRows; ++day)
            QCOMPARE(g.enabled(day), kAllOff);
        QVERIFY(!g.pane.saveChanges()->isEnabled());
        QCOMPARE(g.week[1].AccountID, -2);
        // Two accounts with 6.00 on the same day count once in hour mode 1.
        QCOMPARE(g.text(ValueKind::IHours, kWeekTotalRow), weekIHours);
        QCOMPARE(g.text(ValueKind::CharLines, kWeekTotalRow), QStringLiteral("150"));
    }

    void totalsOfPeriodsWithoutRows() {
        Grid g;
        g.hourMode = 2;
        g.row(10, "2012-11-05", ", chars_modified", ", 10");
        g.load("11"); // the user's other account has no rows at all
        for (int row = kWeekTotalRow; row <= kYearTotalRow; ++row)
            QCOMPARE(g.rowTexts(row), (QStringList{"0", "0", "0", "0", "0", "0", "0.00"}));
        g.load("10");
        QCOMPARE(g.rowTexts(kYearTotalRow),
                 (QStringList{"0", "0", "10", "0", "0.00", "0.00", "0.00"}));
    }

    void negativePayTotals_data() {
        QTest::addColumn<double>("pay");
        QTest::addColumn<QString>("shown");
        QTest::newRow("-0.49") << -0.49 << "-0.49";
        QTest::newRow("-0.50") << -0.5 << "-0.50";
        QTest::newRow("-0.51") << -0.51 << "0.00";
        QTest::newRow("-1.50") << -1.5 << "0.00";
        QTest::newRow("positive") << 2.5 << "2.50";
    }
    void negativePayTotals() {
        QFETCH(double, pay);
        QFETCH(QString, shown);
        Grid g;
        const QByteArray values = (QStringLiteral(", ") + QString::number(pay)).toLatin1();
        g.row(10, "2012-11-05", ", incent_pay_modified", values.constData());
        g.load("10");
        for (int row = kWeekTotalRow; row <= kYearTotalRow; ++row)
            QCOMPARE(g.text(ValueKind::IPay, row), shown);
        // The day itself shows its pay as it is.
        QCOMPARE(g.text(ValueKind::IPay, 1), fixedText(pay));
    }

    // The month and year rows total the month and year of the week's first day.
    void monthAndYearOfFirstDay() {
        Grid g;
        g.hourMode = 2;
        g.row(10, "2012-10-05", ", lines_modified", ", 1");
        g.row(10, "2012-11-02", ", lines_modified", ", 10");
        g.row(10, "2013-01-02", ", lines_modified", ", 100");
        g.load("10", QDate(2012, 10, 29));
        QCOMPARE(g.pane.totalLabel(kMonthTotalRow)->text(), QStringLiteral("Month (Oct '12):"));
        QCOMPARE(g.text(ValueKind::TrueLines, kWeekTotalRow), QStringLiteral("10"));
        QCOMPARE(g.text(ValueKind::TrueLines, kMonthTotalRow), QStringLiteral("1"));
        QCOMPARE(g.text(ValueKind::TrueLines, kYearTotalRow), QStringLiteral("11"));
        g.load("10", QDate(2012, 12, 30));
        QCOMPARE(g.text(ValueKind::TrueLines, kWeekTotalRow), QStringLiteral("100"));
        QCOMPARE(g.text(ValueKind::TrueLines, kBiWeekTotalRow), QStringLiteral("100"));
        QCOMPARE(g.text(ValueKind::TrueLines, kYearTotalRow), QStringLiteral("11"));
        QCOMPARE(g.pane.totalLabel(kYearTotalRow)->text(), QStringLiteral("Year (2012):"));
    }

    // In hour mode 1 every account of the user shows the user's whole activity time.
    void hourMode1HoursTotalIsTheUsers() {
        Grid g;
        g.activity("2012-11-05", 3600);
        g.activity("2012-11-30", 7200);
        g.activity("2012-03-01", 1800);
        g.row(10, "2012-11-05");
        for (const char* account : {"10", "11"}) {
            g.load(account);
            QCOMPARE(g.text(ValueKind::Hours, kWeekTotalRow), QStringLiteral("1"));
            QCOMPARE(g.text(ValueKind::Hours, kMonthTotalRow), QStringLiteral("3"));
            QCOMPARE(g.text(ValueKind::Hours, kYearTotalRow), QStringLiteral("3.5"));
        }
    }

    void userWithoutInfoRowKeepsLabels() {
        Grid g;
        g.load("10");
        g.groups.setCurrentIndex(0);
        g.loader.LoadWeek(QStringLiteral("nobody"), QStringLiteral("No Body"),
                          QStringLiteral("Elsewhere"), QStringLiteral("10"));
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.pane.userName()->text(), QStringLiteral("Jane Doe"));
        QCOMPARE(g.pane.groupName()->text(), QStringLiteral("North Alpha"));
        QCOMPARE(g.pane.accountName()->text(), QStringLiteral("Mercy"));
        QCOMPARE(g.currentUser->TransID(), QStringLiteral("nobody"));
        QCOMPARE(g.currentUser->GroupID(), 20); // the list's selection stands
        QCOMPARE(g.week[0].TransID, QStringLiteral("nobody"));
    }

    void unknownGroupSelectsFirstEntry() {
        Grid g;
        g.load("10", QDate(2012, 11, 4), "ghost");
        QCOMPARE(g.groups.currentIndex(), 0);
        QCOMPARE(g.pane.groupName()->text(), QStringLiteral("North Standard"));
        QCOMPARE(g.currentUser->GroupID(), 20);
    }

    void quotedUserId() {
        Grid g;
        g.exec("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, chars_modified) "
               "VALUES ('o''neil', 10, '2012-11-05', 42)");
        g.load("10", QDate(2012, 11, 4), "o'neil");
        QVERIFY(g.messages.shown.isEmpty());
        QCOMPARE(g.text(ValueKind::CharLines, 1), QStringLiteral("42"));
        QCOMPARE(g.week[1].TransID, QStringLiteral("o'neil"));
    }

    void failureStopsTheLoad() {
        Grid g;
        g.load("10; DROP"); // no account id: the day statement fails
        QCOMPARE(g.messages.shown.size(), 1);
        const auto& shown = g.messages.shown.first();
        QVERIFY2(shown.text.startsWith(
                     QStringLiteral("An Error Occurred Attempting To Load The User Account "
                                    "Information. Please Contact The Vendor For More "
                                    "Information.\r\n\r\nError -")),
                 qPrintable(shown.text));
        QCOMPARE(shown.icon, common::MessageIcon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Velora Incentive"));
        QCOMPARE(g.shown, 0);
        QCOMPARE(g.busy, 0);
        QVERIFY(!g.db.connection().isOpen());
    }

    void invalidStartDateFailsTheLoad() {
        Grid g;
        g.pane.startDate()->setText(QStringLiteral("13/45/2012"));
        g.loader.LoadWeek(QStringLiteral("jdoe"), QStringLiteral("Jane Doe"),
                          QStringLiteral("Mercy"), QStringLiteral("10"));
        QCOMPARE(g.messages.shown.size(), 1);
        QVERIFY(g.messages.shown.first().text.endsWith(QStringLiteral("Error 13:Type mismatch")));
        QCOMPARE(g.pane.workDate(0)->text(), QStringLiteral("12/12/2000"));
    }

    void fillEmptyDayReportsBadRow() {
        Grid g;
        g.loader.FillEmptyDay(7, QStringLiteral("10"), QStringLiteral("jdoe"), true, QString());
        QCOMPARE(g.messages.shown.size(), 1);
        QCOMPARE(g.messages.shown.first().text,
                 QStringLiteral("Error cannot set line 7 values to zero"));
    }

    // The regional decimal separator in cells and totals.
    void germanSeparator() {
        Grid g("de_DE");
        g.activity("2012-11-05", 27000);
        g.row(10, "2012-11-05", ", incent_pay_modified, incent_pay, lines_modified, lines",
              ", 12.5, 12.5, 980.5, 980.5");
        g.load("10");
        QCOMPARE(g.pane.workDate(1)->text(), QStringLiteral("05.11.2012"));
        QCOMPARE(g.text(ValueKind::IPay, 1), QStringLiteral("12,50"));
        QCOMPARE(g.text(ValueKind::TrueLines, 1), QStringLiteral("980,5"));
        QCOMPARE(g.text(ValueKind::Hours, 1), QStringLiteral("7,5"));
        QCOMPARE(g.text(ValueKind::IHours, 0), QStringLiteral("0,00"));
        QCOMPARE(g.text(ValueKind::IPay, kWeekTotalRow), QStringLiteral("12,50"));
        QVERIFY(!g.blue(ValueKind::IPay, 1));
    }

private:
    static QString fixedText(double pay) { return QString::number(pay, 'f', 2); }
};

// The pane itself: names of the controls, and how cells react to the operator.
class TestUserDetailPane : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsCarryTheirNames() {
        UserDetailPane pane;
        for (const char* name :
             {"txtUserDetailHours_3", "txtUserDetailNumberReports_10", "txtUserDetailChars_0",
              "txtUserDetailLines_7", "txtUserDetailIHoursWorked_9", "txtUserDetailITyped_8",
              "txtUserDetailIPay_6"})
            QVERIFY2(pane.findChild<QLineEdit*>(QString::fromLatin1(name)), name);
        for (const char* name : {"lblUserDetailWorkDay_0", "lblUserDetailWorkDate_6",
                                 "lblUserDetailWeekLabel", "lblUserDetailYearLabel"})
            QVERIFY2(pane.findChild<QLabel*>(QString::fromLatin1(name)), name);
        QCOMPARE(pane.findChild<QPushButton*>(QStringLiteral("cmdUserDetailSystemHours_6")),
                 pane.systemHours(6));
        QCOMPARE(pane.findChild<QPushButton*>(QStringLiteral("cmdUserDetailSaveChanges"))->text(),
                 QStringLiteral("Save Changes"));
        QCOMPARE(pane.cell(ValueKind::IPay, 4)->objectName(),
                 QStringLiteral("txtUserDetailIPay_4"));
        QVERIFY(pane.cell(ValueKind::Reports, kYearTotalRow)->isReadOnly());
        QVERIFY(!pane.cell(ValueKind::Reports, 6)->isReadOnly());
        QCOMPARE(pane.cell(ValueKind::IPay, 0)->alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
    }

    void hourModeLayout() {
        UserDetailPane pane;
        pane.setHourMode(2);
        QCOMPARE(pane.cell(ValueKind::Hours, 0)->width(), 49);
        QVERIFY(pane.systemHours(0)->isHidden());
        QVERIFY(!pane.cell(ValueKind::Hours, 0)->isReadOnly());
        pane.setHourMode(1);
        QCOMPARE(pane.cell(ValueKind::Hours, 0)->width(), 33);
        QVERIFY(!pane.systemHours(0)->isHidden());
        QVERIFY(pane.cell(ValueKind::Hours, 0)->isReadOnly());
        QCOMPARE(pane.cell(ValueKind::Hours, 0)->height(),
                 pane.cell(ValueKind::CharLines, 0)->sizeHint().height());
    }

    void rightClickReportsTheCell() {
        UserDetailPane pane;
        QSignalSpy spy(&pane, &UserDetailPane::cellContextMenuRequested);
        QLineEdit* cell = pane.cell(ValueKind::ITyped, 3);
        Q_EMIT cell->customContextMenuRequested(QPoint(2, 2));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().at(0).value<ValueKind>(), ValueKind::ITyped);
        QCOMPARE(spy.first().at(1).toInt(), 3);
        QCOMPARE(cell->contextMenuPolicy(), Qt::CustomContextMenu);
    }

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
VELORA_TEST(TestUserDetailPane)
#include "TestWeekLoader.moc"
