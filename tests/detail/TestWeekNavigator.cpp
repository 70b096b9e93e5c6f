#include "DetailFixture.h"
#include "common/TestMain.h"
#include "detail/RevertStatement.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using velora::common::MessageAnswer;
using velora::common::MessageButtons;
using velora::common::MessageIcon;
using velora::detail::DayRecord;
using velora::detail::RevertStatement;
using velora::detail::ValueKind;
using velora::detail::WeekNavigator;
using velora::test::DetailFixture;

Q_DECLARE_METATYPE(velora::detail::DayRecord)
Q_DECLARE_METATYPE(velora::detail::ValueKind)

namespace {

const QString kAdjust = QStringLiteral("The date entered does not match the defined weekly "
                                       "starting date.\r\nAdjust date to nearest starting day?");
const QString kInvalid =
    QStringLiteral("The Start Date you entered is invalid. Please re-enter the date.");

DayRecord with(DayRecord record, ValueKind kind, float current, float collected) {
    record.value(kind) = {current, collected};
    return record;
}

} // namespace

// The start date, the week buttons, the calendar, Revert Changes and the last locked date;
// what changes the week ends in a real load.
class TestWeekNavigator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Typed, entered or picked in the calendar, a start date takes one path: off the first
    // day of the week it asks, OK moves it back and loads that week, Cancel keeps the text.
    void startDateCommit_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("asked");
        QTest::newRow("Monday first, Sunday, OK")
            << "enter" << 2 << "11/11/2012" << MessageAnswer::Ok << "11/05/2012" << true;
        QTest::newRow("Cancel keeps the text")
            << "leave" << 2 << "11/11/2012" << MessageAnswer::Cancel << "11/11/2012" << true;
        QTest::newRow("on the first day, ISO form")
            << "leave" << 1 << "2012-11-18" << MessageAnswer::Ok << "11/18/2012" << false;
        QTest::newRow("calendar, Wednesday, OK")
            << "calendar" << 1 << "2012-11-14" << MessageAnswer::Ok << "11/11/2012" << true;
        QTest::newRow("calendar, Wednesday, Cancel")
            << "calendar" << 1 << "2012-11-14" << MessageAnswer::Cancel << "11/14/2012" << true;
    }
    void startDateCommit() {
        QFETCH(QString, how);
        QFETCH(int, firstDay);
        QFETCH(QString, typed);
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, expected);
        QFETCH(bool, asked);
        DetailFixture g;
        g.load();
        g.firstDay = firstDay;
        g.messages.queue(answer);
        auto* picker = g.pane.startDate();
        if (how == QLatin1String("calendar")) {
            picker->dropDown();
            Q_EMIT picker->calendar()->clicked(QDate::fromString(typed, Qt::ISODate));
            QVERIFY(!picker->isOpen());
        } else {
            picker->textBox()->setText(typed);
            int enter = 13;
            if (how == QLatin1String("enter"))
                Q_EMIT picker->KeyPress(enter);
            else
                Q_EMIT picker->LostFocus();
        }
        QCOMPARE(picker->Text(), expected);
        QCOMPARE(g.messages.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(g.messages.shown.first().text, kAdjust);
            QCOMPARE(g.messages.shown.first().buttons, MessageButtons::OkCancel);
        }
        const bool loaded = answer == MessageAnswer::Ok;
        QCOMPARE(g.shown, loaded ? 2 : 1);
        if (loaded)
            QCOMPARE(g.pane.workDate(0)->text(), expected);
    }

    void invalidStartDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("keepOpen");
        QTest::newRow("not a date") << "13/45/2012" << 1 << true;
        QTest::newRow("empty is left alone") << "" << 0 << true;
        QTest::newRow("a date closes the calendar") << "11/04/2012" << 0 << false;
    }
    void invalidStartDate() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        QFETCH(bool, keepOpen);
        DetailFixture g;
        g.pane.startDate()->setText(typed);
        bool cancel = false;
        Q_EMIT g.pane.startDate()->CalendarClosing(cancel);
        QCOMPARE(cancel, keepOpen);
        QCOMPARE(g.shown, keepOpen ? 0 : 1);
        QCOMPARE(g.messages.shown.size(), messages);
        if (messages == 1) {
            QCOMPARE(g.messages.shown.first().text, kInvalid);
            QCOMPARE(g.messages.shown.first().icon, MessageIcon::None);
        }
    }

    void weekButtonsKeepTheWeekday() {
        DetailFixture g;
        g.firstDay = 2;
        g.load("10", QDate(2012, 11, 7)); // a Wednesday
        g.pane.prevWeek()->click();
        QCOMPARE(g.pane.startDate()->Text(), QStringLiteral("10/31/2012"));
        g.pane.nextWeek()->click();
        g.pane.nextWeek()->click();
        QCOMPARE(g.pane.startDate()->Text(), QStringLiteral("11/14/2012"));
        QCOMPARE(g.pane.workDate(0)->text(), QStringLiteral("11/14/2012"));
        QVERIFY(g.messages.shown.isEmpty());
    }

    // Revert Changes from a cell's own context menu: the collected value comes back in the
    // column of the hour mode, a row left with nothing is deleted, a totals cell reverts
    // nothing; the week is reloaded.
    void revertChanges_data() {
        QTest::addColumn<ValueKind>("kind");
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected"); // the day's row afterwards, "//" when deleted
        QTest::newRow("true lines") << ValueKind::TrueLines << 2 << 1 << "3/8/6";
        QTest::newRow("hours, hour mode 1") << ValueKind::Hours << 1 << 1 << "9/5/6";
        QTest::newRow("hours, hour mode 2") << ValueKind::Hours << 2 << 1 << "9/8/4";
        QTest::newRow("the only correction") << ValueKind::Reports << 2 << 2 << "//";
        QTest::newRow("a totals cell") << ValueKind::TrueLines << 2 << 7 << "9/8/6";
    }
    void revertChanges() {
        QFETCH(ValueKind, kind);
        QFETCH(int, hourMode);
        QFETCH(int, row);
        QFETCH(QString, expected);
        DetailFixture g;
        g.hourMode = hourMode;
        g.row(1,
              "lines, lines_modified, hours_system, hours_system_modified, hours_typed, "
              "hours_typed_modified",
              "3, 9, 5, 8, 4, 6");
        g.row(2, "number_rpts_modified", "5");
        g.load();
        QLineEdit* cell = g.cell(kind, row);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(3, 3),
                                     cell->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(cell, &rightClick);
        QMenu* menu = g.navigator.contextMenu();
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction*>(QStringLiteral("mnuRevert"))->trigger();
        menu->close();
        QVERIFY(!g.db.connection().isOpen());
        const int day = row < 7 ? row : 1;
        QCOMPARE(g.column("lines_modified", day) + '/' + g.column("hours_system_modified", day) +
                     '/' + g.column("hours_typed_modified", day),
                 expected);
        QCOMPARE(g.shown, row < 7 ? 2 : 1);
        if (expected == QLatin1String("//"))
            QVERIFY(!g.week[2].Stored);
    }

    // The DELETE replaces the UPDATE only when the row would hold nothing: no collected
    // production, no other production in force, no other incentive correction.
    void revertDeletesAnEmptyRow_data() {
        QTest::addColumn<DayRecord>("record");
        QTest::addColumn<ValueKind>("kind");
        QTest::addColumn<bool>("deletes");
        DayRecord empty;
        empty.TransID = QStringLiteral("o'neil");
        empty.ShiftDate = QDate(2012, 11, 5);
        const DayRecord reports = with(empty, ValueKind::Reports, 5, 0);
        QTest::newRow("only correction") << reports << ValueKind::Reports << true;
        QTest::newRow("another kind, reports typed") << reports << ValueKind::IPay << false;
        QTest::newRow("pay corrected elsewhere")
            << with(reports, ValueKind::IPay, 10, 8) << ValueKind::Reports << false;
        QTest::newRow("pay equal to its engine value")
            << with(reports, ValueKind::IPay, 8, 8) << ValueKind::Reports << true;
        QTest::newRow("pay correction reverted")
            << with(empty, ValueKind::IPay, 10, 8) << ValueKind::IPay << true;
    }
    void revertDeletesAnEmptyRow() {
        QFETCH(DayRecord, record);
        QFETCH(ValueKind, kind);
        QFETCH(bool, deletes);
        QCOMPARE(RevertStatement::build(record, kind, 2).startsWith(QStringLiteral("DELETE")),
                 deletes);
    }

    // The latest locked day of any user in the regional form; 1 January 1980 without one.
    void lastLockedDate() {
        DetailFixture g("de_DE");
        g.row(9); // a later unlocked row counts for nothing
        g.db.connection().close();
        QCOMPARE(g.navigator.GetLastLockedDate(), QStringLiteral("01.01.1980"));
        g.exec("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) VALUES "
               "('ghost', 1, '2012-11-06', 1), ('ghost', 1, '2012-10-01', 1)");
        g.db.connection().close();
        QCOMPARE(g.navigator.GetLastLockedDate(), QStringLiteral("06.11.2012"));
        QVERIFY(!g.db.connection().isOpen());
    }
};

VELORA_TEST(TestWeekNavigator)
#include "TestWeekNavigator.moc"
