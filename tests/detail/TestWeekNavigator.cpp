#include "DetailFixture.h"
#include "common/TestMain.h"
#include "detail/WeekNavigator.h"

#include <QMenu>
#include <QPushButton>
#include <QTest>

using velora::common::MessageAnswer;
using velora::common::MessageButtons;
using velora::common::MessageIcon;
using velora::detail::ValueKind;
using velora::detail::WeekNavigator;

class TestWeekNavigator : public QObject {
    Q_OBJECT

    std::unique_ptr<velora::test::DetailFixture> fx_;
    std::unique_ptr<WeekNavigator> navigator_;

    QString startText() const { return fx_->pane.startDate()->Text(); }
    void setStart(const QString& text) { fx_->pane.startDate()->setText(text); }

private Q_SLOTS:
    void init() {
        fx_ = std::make_unique<velora::test::DetailFixture>();
        navigator_ = std::make_unique<WeekNavigator>(fx_->context, fx_->loadRecorder());
        navigator_->bindStartDate();
        navigator_->bindButtons();
    }
    void cleanup() {
        navigator_.reset();
        fx_.reset();
    }

    void startDateOffWeekday_data() {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("loads");
        QTest::newRow("Monday first, Sunday, OK")
            << 2 << "3/10/2024" << MessageAnswer::Ok << "03/04/2024" << 1;
        QTest::newRow("Monday first, Wednesday, OK")
            << 2 << "03/06/2024" << MessageAnswer::Ok << "03/04/2024" << 1;
        QTest::newRow("Sunday first, Saturday, OK")
            << 1 << "03/09/2024" << MessageAnswer::Ok << "03/03/2024" << 1;
        QTest::newRow("Cancel keeps the text and loads nothing")
            << 2 << "3/10/2024" << MessageAnswer::Cancel << "3/10/2024" << 0;
    }
    void startDateOffWeekday() {
        QFETCH(int, firstDay);
        QFETCH(QString, typed);
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, expected);
        QFETCH(int, loads);
        fx_->firstDay = firstDay;
        setStart(typed);
        fx_->messages.queue(answer);
        QVERIFY(navigator_->StartDateCommit());
        QCOMPARE(startText(), expected);
        QCOMPARE(fx_->loads.size(), loads);
        QCOMPARE(fx_->messages.shown.size(), 1);
        const auto& question = fx_->messages.shown.first();
        QCOMPARE(question.text,
                 QStringLiteral("The date entered does not match the defined weekly starting "
                                "date.\r\nAdjust date to nearest starting day?"));
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::OkCancel);
        QCOMPARE(question.title, QStringLiteral("Velora Incentive"));
    }

    void startDateOnWeekdayIsRewrittenAndLoaded() {
        setStart(QStringLiteral("2024-03-17"));
        int enter = 13;
        Q_EMIT fx_->pane.startDate()->KeyPress(enter);
        QVERIFY(fx_->messages.shown.isEmpty());
        QCOMPARE(startText(), QStringLiteral("03/17/2024"));
        QCOMPARE(fx_->loads.size(), 1);
        QCOMPARE(fx_->loads.first().accountID, QStringLiteral("12"));
        QCOMPARE(fx_->loads.first().transID, QStringLiteral("O'Neil"));
        int other = 'a';
        Q_EMIT fx_->pane.startDate()->KeyPress(other);
        QCOMPARE(fx_->loads.size(), 1);
    }

    void withoutASelectedAccountNothingLoads() {
        fx_->selection.accountID.clear();
        setStart(QStringLiteral("3/3/2024"));
        Q_EMIT fx_->pane.startDate()->LostFocus();
        QCOMPARE(startText(), QStringLiteral("03/03/2024"));
        QVERIFY(fx_->loads.isEmpty());
    }

    void invalidStartDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::newRow("not a date") << "13/45/2024" << 1;
        QTest::newRow("letters") << "next week" << 1;
        QTest::newRow("empty is left alone") << "" << 0;
    }
    void invalidStartDate() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        setStart(typed);
        // The calendar stays open until a date is in the box.
        bool cancel = false;
        Q_EMIT fx_->pane.startDate()->CalendarClosing(cancel);
        QVERIFY(cancel);
        QCOMPARE(startText(), typed);
        QVERIFY(fx_->loads.isEmpty());
        QCOMPARE(fx_->messages.shown.size(), messages);
        if (messages == 1) {
            QCOMPARE(
                fx_->messages.shown.first().text,
                QStringLiteral("The Start Date you entered is invalid. Please re-enter the date."));
            QCOMPARE(fx_->messages.shown.first().icon, MessageIcon::None);
            QCOMPARE(fx_->messages.shown.first().buttons, MessageButtons::Ok);
        }
    }

    void calendarClosesOnAValidDate() {
        setStart(QStringLiteral("03/03/2024"));
        bool cancel = false;
        Q_EMIT fx_->pane.startDate()->CalendarClosing(cancel);
        QVERIFY(!cancel);
        QCOMPARE(fx_->loads.size(), 1);
    }

    void weekButtonsKeepTheWeekday() {
        fx_->firstDay = 2;
        setStart(QStringLiteral("03/06/2024")); // a Wednesday
        fx_->pane.prevWeek()->click();
        QCOMPARE(startText(), QStringLiteral("02/28/2024"));
        fx_->pane.nextWeek()->click();
        fx_->pane.nextWeek()->click();
        QCOMPARE(startText(), QStringLiteral("03/13/2024"));
        QCOMPARE(fx_->loads.size(), 3);
        QCOMPARE(fx_->loads.last().accountName, QStringLiteral("Acme Clinic"));
        QVERIFY(fx_->messages.shown.isEmpty());
    }

    void revertingTheOnlyCorrectionDeletesTheRow() {
        fx_->storeRow(2, QStringLiteral("number_rpts_modified"), QStringLiteral("5"));
        fx_->fillDay(2, {}, true);
        fx_->week[2].value(ValueKind::Reports) = {5, 0};
        fx_->pane.userName()->setText(QStringLiteral("Kate"));
        fx_->db.connection().close();
        navigator_->setContextCell(ValueKind::Reports, 2);
        navigator_->contextMenu()->findChild<QAction*>(QStringLiteral("mnuRevert"))->trigger();
        QVERIFY(!fx_->db.connection().isOpen());
        QCOMPARE(fx_->rowCount(), 0);
        QCOMPARE(fx_->loads.size(), 1);
        QCOMPARE(fx_->loads.first().transID, QStringLiteral("O'Neil"));
        QCOMPARE(fx_->loads.first().userName, QStringLiteral("Kate"));
        QCOMPARE(fx_->loads.first().accountName, QStringLiteral("Acme Clinic"));
        QCOMPARE(fx_->loads.first().accountID, QStringLiteral("12"));
    }

    void revertingHoursFollowsTheHourMode() {
        fx_->hourMode = 1;
        fx_->storeRow(1,
                      QStringLiteral("chars, chars_modified, hours_system, "
                                     "hours_system_modified, hours_typed, "
                                     "hours_typed_modified"),
                      QStringLiteral("100, 100, 6, 7.5, 3, 4"));
        fx_->fillDay(1, {0, 7.5f, 100, 0, 0, 0, 0}, true);
        navigator_->setContextCell(ValueKind::Hours, 1);
        navigator_->RevertCell();
        QCOMPARE(fx_->column(QStringLiteral("hours_system_modified"), 1), QStringLiteral("6"));
        QCOMPARE(fx_->column(QStringLiteral("hours_typed_modified"), 1), QStringLiteral("4"));
    }

    void aTotalsCellRevertsNothing() {
        fx_->storeRow(0, QStringLiteral("number_rpts_modified"), QStringLiteral("5"));
        fx_->fillDay(0, {}, true);
        fx_->week[0].value(ValueKind::Reports) = {5, 0};
        navigator_->setContextCell(ValueKind::Reports, 7);
        navigator_->RevertCell();
        QCOMPARE(fx_->rowCount(), 1);
        QVERIFY(fx_->loads.isEmpty());
    }
};

VELORA_TEST(TestWeekNavigator)
#include "TestWeekNavigator.moc"
