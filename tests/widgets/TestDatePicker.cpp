#include "common/TestMain.h"
#include "widgets/DateText.h"
#include "widgets/VeloraDatePicker.h"
#include "widgets/WidgetError.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace velora::widgets;

namespace {

// The calendar's cell that shows `day` of the month on display (the first match from the top
// left, so days above 22 may be taken from the previous month's tail: pick days in the middle).
QPoint cellOfDay(QCalendarWidget& calendar, int day) {
    auto* view = calendar.findChild<QAbstractItemView*>();
    Q_ASSERT(view);
    const QAbstractItemModel* model = view->model();
    for (int row = 1; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index).toInt() == day)
                return view->visualRect(index).center();
        }
    return {};
}

void clickDay(VeloraDatePicker& picker, int day) {
    auto* view = picker.calendar()->findChild<QAbstractItemView*>();
    const QPoint cell = cellOfDay(*picker.calendar(), day);
    QVERIFY(!cell.isNull());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
}

// A window with the picker and a second field to move the focus to.
struct PickerWindow {
    PickerWindow() {
        window.resize(320, 240);
        picker->move(10, 10);
        other->setGeometry(10, 200, 100, 22);
        picker->setText(QStringLiteral("03/10/2024"));
        window.show();
        window.activateWindow();
    }
    bool focusTextBox() {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        picker->textBox()->setFocus(Qt::MouseFocusReason);
        return picker->textBox()->hasFocus();
    }

    QWidget window;
    VeloraDatePicker* picker = new VeloraDatePicker(&window);
    QLineEdit* other = new QLineEdit(&window);
};

} // namespace

class TestDatePicker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        const QString us = QStringLiteral("MM/dd/yyyy");
        QTest::newRow("regional form") << us << "03/10/2024" << QDate(2024, 3, 10);
        QTest::newRow("one-digit month and day") << us << "3/1/2024" << QDate(2024, 3, 1);
        QTest::newRow("blanks around") << us << " 03/10/2024 " << QDate(2024, 3, 10);
        QTest::newRow("ISO form") << us << "2024-03-10" << QDate(2024, 3, 10);
        QTest::newRow("leap day") << us << "02/29/2024" << QDate(2024, 2, 29);
        QTest::newRow("leap day of a common year") << us << "02/29/2023" << QDate();
        QTest::newRow("thirtieth of February") << us << "02/30/2024" << QDate();
        QTest::newRow("month 13") << us << "13/01/2024" << QDate();
        QTest::newRow("day and month swapped") << us << "31/12/2024" << QDate();
        QTest::newRow("two-digit year") << us << "1/5/24" << QDate();
        QTest::newRow("year below 100") << us << "1/5/0024" << QDate();
        QTest::newRow("trailing junk") << us << "03/10/2024x" << QDate();
        QTest::newRow("word") << us << "abc" << QDate();
        QTest::newRow("empty") << us << "" << QDate();
        QTest::newRow("day first") << "dd/MM/yyyy"
                                   << "10/03/2024" << QDate(2024, 3, 10);
        QTest::newRow("dotted") << "dd.MM.yyyy"
                                << "1.3.2024" << QDate(2024, 3, 1);
        QTest::newRow("dotted refuses slashes") << "dd.MM.yyyy"
                                                << "10/03/2024" << QDate();
        QTest::newRow("month names untouched") << "dd-MMM-yyyy"
                                               << "10-Mar-2024" << QDate(2024, 3, 10);
    }
    void parse() {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const std::optional<QDate> parsed = DateText(format).parse(text);
        QCOMPARE(parsed.value_or(QDate()), expected);
    }

    void toTextWritesTheRegionalForm() {
        QCOMPARE(DateText(QStringLiteral("MM/dd/yyyy")).toText(QDate(2024, 3, 5)),
                 QStringLiteral("03/05/2024"));
        QCOMPARE(DateText(QStringLiteral("d.M.yyyy")).toText(QDate(2024, 3, 5)),
                 QStringLiteral("5.3.2024"));
        QCOMPARE(DateText().toText(QDate()), QString());
    }

    void firstDayOfWeek_data() {
        QTest::addColumn<int>("regional");
        QTest::addColumn<int>("qtDay");
        QTest::newRow("Sunday") << 1 << int(Qt::Sunday);
        QTest::newRow("Monday") << 2 << int(Qt::Monday);
        QTest::newRow("Saturday") << 7 << int(Qt::Saturday);
        QTest::newRow("zero") << 0 << -1;
        QTest::newRow("eight") << 8 << -1;
    }
    void firstDayOfWeek() {
        QFETCH(int, regional);
        QFETCH(int, qtDay);
        try {
            QCOMPARE(int(DateText::dayOfWeek(regional)), qtDay);
        } catch (const WidgetError& error) {
            QCOMPARE(qtDay, -1);
            QCOMPARE(error.number(), 5);
        }
    }

    void badRegionalSettingsFailWith5AndChangeNothing() {
        VeloraDatePicker picker;
        picker.setRegionalFormat(QStringLiteral("dd.MM.yyyy"), 2);
        for (auto [format, day] :
             {std::pair{QStringLiteral("MM/dd/yyyy"), 9}, std::pair{QStringLiteral("  "), 1}}) {
            try {
                picker.setRegionalFormat(format, day);
                QFAIL("bad regional settings were accepted");
            } catch (const WidgetError& error) {
                QCOMPARE(error.number(), 5);
            }
        }
        QCOMPARE(picker.dateText().format(), QStringLiteral("dd.MM.yyyy"));
        QCOMPARE(picker.calendar()->firstDayOfWeek(), Qt::Monday);
    }

    void onlyADateTextMovesTheCalendar() {
        VeloraDatePicker picker;
        picker.setText(QStringLiteral("03/10/2024"));
        QCOMPARE(picker.calendarDate(), QDate(2024, 3, 10));
        picker.setText(QStringLiteral("abc"));
        QCOMPARE(picker.Text(), QStringLiteral("abc"));
        QCOMPARE(picker.calendarDate(), QDate(2024, 3, 10));
        picker.setText(QStringLiteral("2025-01-02"));
        QCOMPARE(picker.calendarDate(), QDate(2025, 1, 2));
    }

    void escapeRestoresTheFirstTextAndCloses() {
        VeloraDatePicker picker;
        picker.setText(QStringLiteral("03/10/2024"));
        picker.setText(QStringLiteral("03/17/2024"));
        picker.dropDown();
        QTest::keyClicks(picker.textBox(), QStringLiteral("99"));
        int keys = 0;
        connect(&picker, &VeloraDatePicker::KeyPress, this, [&](int&) { ++keys; });
        QTest::keyClick(picker.textBox(), Qt::Key_Escape);
        QCOMPARE(picker.Text(), QStringLiteral("03/10/2024"));
        QVERIFY(!picker.isOpen());
        QCOMPARE(keys, 0);
    }

    void escapeOnTheControlItselfClosesTheCalendar() {
        VeloraDatePicker picker;
        picker.setText(QStringLiteral("03/10/2024"));
        picker.dropDown();
        picker.textBox()->setText(QStringLiteral("typed"));
        QTest::keyClick(&picker, Qt::Key_Escape);
        QVERIFY(!picker.isOpen());
        QCOMPARE(picker.Text(), QStringLiteral("typed"));
    }

    void typedKeysGoToTheHostWhichMayChangeThem() {
        VeloraDatePicker picker;
        QList<int> seen;
        connect(&picker, &VeloraDatePicker::KeyPress, this, [&](int& key) {
            seen << key;
            if (key == 'x')
                key = 0;
            else if (key == 'a')
                key = '7';
        });
        QTest::keyClicks(picker.textBox(), QStringLiteral("1x/a"));
        QTest::keyClick(picker.textBox(), Qt::Key_Return);
        QTest::keyClick(picker.textBox(), Qt::Key_Left);
        QCOMPARE(seen, (QList<int>{'1', 'x', '/', 'a', 13}));
        QCOMPARE(picker.Text(), QStringLiteral("1/7"));
    }

    void disablingDisablesTextBoxAndButtonTogether() {
        VeloraDatePicker picker;
        picker.dropDown();
        picker.setEnabled(false);
        QVERIFY(!picker.textBox()->isEnabled());
        QVERIFY(!picker.calendarButton()->isEnabled());
        QVERIFY(!picker.isOpen());
        picker.setEnabled(true);
        QVERIFY(picker.textBox()->isEnabled());
        QVERIFY(picker.calendarButton()->isEnabled());
    }

    void keepsItsFixedSizeOpenAndCollapsed() {
        VeloraDatePicker picker;
        QCOMPARE(picker.size(), QSize(109, 21));
        QVERIFY(picker.calendar()->isHidden());
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QVERIFY(picker.isOpen());
        QCOMPARE(picker.size(), QSize(182, 184));
        QVERIFY(!picker.calendar()->isHidden());
        QVERIFY(picker.calendarButton()->isChecked());
        picker.resize(400, 400);
        QCOMPARE(picker.size(), QSize(182, 184));
        picker.collapse();
        picker.resize(10, 10);
        QCOMPARE(picker.size(), QSize(109, 21));
        QVERIFY(!picker.calendarButton()->isChecked());
    }

    void clickingADateFillsTheBoxAndClosesSilently() {
        PickerWindow w;
        w.picker->setRegionalFormat(QStringLiteral("dd.MM.yyyy"), 2);
        w.picker->setText(QStringLiteral("10.03.2024"));
        QVERIFY(w.focusTextBox());
        QSignalSpy lost(w.picker, &VeloraDatePicker::LostFocus);
        int events = 0;
        connect(w.picker, &VeloraDatePicker::CalendarClosing, this, [&](bool&) { ++events; });
        connect(w.picker, &VeloraDatePicker::KeyPress, this, [&](int&) { ++events; });
        QTest::mouseClick(w.picker->calendarButton(), Qt::LeftButton);
        clickDay(*w.picker, 15);
        QCOMPARE(w.picker->Text(), QStringLiteral("15.03.2024"));
        QVERIFY(!w.picker->isOpen());
        QCOMPARE(w.picker->size(), QSize(109, 21));
        QCOMPARE(lost.count() + events, 0);
        QVERIFY(w.picker->textBox()->hasFocus());
    }

    void calendarOpensOnTheTypedDate() {
        VeloraDatePicker picker;
        picker.setText(QStringLiteral("03/10/2024"));
        picker.textBox()->setText(QStringLiteral("07/04/2023"));
        picker.dropDown();
        QCOMPARE(picker.calendarDate(), QDate(2023, 7, 4));
    }

    void hostCancellingCalendarClosingKeepsItOpen() {
        VeloraDatePicker picker;
        bool keepOpen = true;
        int closing = 0;
        connect(&picker, &VeloraDatePicker::CalendarClosing, this, [&](bool& cancel) {
            ++closing;
            cancel = keepOpen;
        });
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QCOMPARE(closing, 0);
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QCOMPARE(closing, 1);
        QVERIFY(picker.isOpen());
        QVERIFY(picker.calendarButton()->isChecked());
        keepOpen = false;
        QTest::mouseClick(picker.calendarButton(), Qt::LeftButton);
        QCOMPARE(closing, 2);
        QVERIFY(!picker.isOpen());
        QVERIFY(!picker.calendarButton()->isChecked());
    }

    void leavingTheTextBoxRaisesLostFocusOnce() {
        PickerWindow w;
        QVERIFY(w.focusTextBox());
        QSignalSpy lost(w.picker, &VeloraDatePicker::LostFocus);
        QTest::mouseClick(w.picker->calendarButton(), Qt::LeftButton);
        QCOMPARE(lost.count(), 0);
        w.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(lost.count(), 1);
    }
};

VELORA_TEST(TestDatePicker)
#include "TestDatePicker.moc"
