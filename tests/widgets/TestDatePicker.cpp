#include "common/TestMain.h"
#include "widgets/DateText.h"
#include "widgets/VeloraDatePicker.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace velora::widgets;

namespace {

// Clicks the calendar's cell of `day` of the month on display (the first match from the top
// left, so days above 22 may be taken from the previous month's tail: pick days in the middle).
void clickDay(VeloraDatePicker& picker, int day) {
    auto* view = picker.calendar()->findChild<QAbstractItemView*>();
    QVERIFY(view);
    const QAbstractItemModel* model = view->model();
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index).toInt() == day) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                  view->visualRect(index).center());
                return;
            }
        }
    }
    QFAIL("no such day on display");
}

} // namespace

class TestDatePicker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected"); // invalid: not a date
        const QString us = QStringLiteral("MM/dd/yyyy");
        // clang-format off
        QTest::newRow("one-digit month and day, blanks around") << us << " 3/1/2024 " << QDate(2024, 3, 1);
        QTest::newRow("leap day of a common year") << us << "02/29/2023" << QDate();
        QTest::newRow("day and month swapped") << us << "31/12/2024" << QDate();
        QTest::newRow("two-digit year") << us << "1/5/24" << QDate();
        QTest::newRow("trailing junk") << us << "03/10/2024x" << QDate();
        QTest::newRow("dotted, one digit") << "dd.MM.yyyy" << "1.3.2024" << QDate(2024, 3, 1);
        QTest::newRow("dotted refuses slashes") << "dd.MM.yyyy" << "10/03/2024" << QDate();
        QTest::newRow("month names untouched") << "dd-MMM-yyyy" << "10-Mar-2024" << QDate(2024, 3, 10);
        // clang-format on
    }
    void parse() {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QCOMPARE(DateText(format).parse(text).value_or(QDate()), expected);
    }

    // A date text moves the calendar, another text does not; opening reads the typed text.
    void calendarFollowsDateTexts() {
        VeloraDatePicker picker;
        picker.setText("03/10/2024");
        picker.setText("abc");
        QCOMPARE(picker.Text(), QStringLiteral("abc"));
        QCOMPARE(picker.calendarDate(), QDate(2024, 3, 10));
        picker.setText("2025-01-02");
        QCOMPARE(picker.calendarDate(), QDate(2025, 1, 2));
        picker.textBox()->setText("07/04/2023");
        picker.dropDown();
        QCOMPARE(picker.calendarDate(), QDate(2023, 7, 4));
    }

    // Typed keys go to the host, which may change or swallow them. Escape in the text box
    // restores the first text written and closes, unseen by the host; on the control itself it
    // only closes.
    void keys() {
        VeloraDatePicker picker;
        QList<int> seen;
        connect(&picker, &VeloraDatePicker::KeyPress, this, [&](int& key) {
            seen << key;
            if (key == 'x')
                key = 0;
            else if (key == 'a')
                key = '7';
        });
        QTest::keyClicks(picker.textBox(), "1x/a");
        QTest::keyClick(picker.textBox(), Qt::Key_Return);
        QTest::keyClick(picker.textBox(), Qt::Key_Left);
        QCOMPARE(seen, (QList<int>{'1', 'x', '/', 'a', 13}));
        QCOMPARE(picker.Text(), QStringLiteral("1/7"));

        picker.setText("03/10/2024");
        picker.setText("03/17/2024");
        picker.dropDown();
        QTest::keyClicks(picker.textBox(), "99");
        seen.clear();
        QTest::keyClick(picker.textBox(), Qt::Key_Escape);
        QCOMPARE(picker.Text(), QStringLiteral("03/10/2024"));
        QVERIFY(!picker.isOpen());
        QVERIFY(seen.isEmpty());
        picker.dropDown();
        picker.textBox()->setText("typed");
        QTest::keyClick(&picker, Qt::Key_Escape);
        QVERIFY(!picker.isOpen());
        QCOMPARE(picker.Text(), QStringLiteral("typed"));
    }

    // The button opens and closes the calendar unless the host cancels; the size is fixed in
    // each state; disabling disables both parts and closes.
    void openingClosingAndSize() {
        VeloraDatePicker picker;
        bool keepOpen = true;
        int closing = 0;
        connect(&picker, &VeloraDatePicker::CalendarClosing, this, [&](bool& cancel) {
            ++closing;
            cancel = keepOpen;
        });
        QCOMPARE(picker.size(), QSize(109, 21));
        QVERIFY(picker.calendar()->isHidden());
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QCOMPARE(closing, 0);
        QCOMPARE(picker.size(), QSize(182, 184));
        QVERIFY(!picker.calendar()->isHidden());
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QCOMPARE(closing, 1);
        QVERIFY(picker.isOpen());
        QVERIFY(picker.calendarButton()->isChecked());
        keepOpen = false;
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QVERIFY(!picker.isOpen());
        QVERIFY(!picker.calendarButton()->isChecked());
        QCOMPARE(picker.size(), QSize(109, 21));

        picker.dropDown();
        picker.setEnabled(false);
        QVERIFY(!picker.textBox()->isEnabled() && !picker.calendarButton()->isEnabled());
        QVERIFY(!picker.isOpen());
    }

    // Picking a day fills the box in the regional form and closes without asking the host, the
    // focus staying in the box; LostFocus comes once the focus moves to another control.
    void pickingADayAndLosingTheFocus() {
        QWidget window;
        window.resize(320, 240);
        auto* picker = new VeloraDatePicker(&window);
        auto* other = new QLineEdit(&window);
        picker->move(10, 10);
        other->setGeometry(10, 200, 100, 22);
        picker->setRegionalFormat("dd.MM.yyyy", 2);
        picker->setText("10.03.2024");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        picker->textBox()->setFocus(Qt::MouseFocusReason);
        QVERIFY(picker->textBox()->hasFocus());
        QSignalSpy lost(picker, &VeloraDatePicker::LostFocus);
        int closing = 0;
        connect(picker, &VeloraDatePicker::CalendarClosing, this, [&](bool&) { ++closing; });

        QTest::mouseClick(picker->calendarButton(), Qt::LeftButton);
        clickDay(*picker, 15);
        QCOMPARE(picker->Text(), QStringLiteral("15.03.2024"));
        QVERIFY(!picker->isOpen());
        QCOMPARE(picker->size(), QSize(109, 21));
        QVERIFY(picker->textBox()->hasFocus());
        QCOMPARE(lost.count() + closing, 0);
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(lost.count(), 1);
    }
};

VELORA_TEST(TestDatePicker)
#include "TestDatePicker.moc"
