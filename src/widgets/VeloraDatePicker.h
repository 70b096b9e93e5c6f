#pragma once

#include "DatePickerState.h"
#include "DateText.h"

#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace velora::widgets {

// A date field: a text box for the date in the regional short form and a button that drops a
// month calendar down below it. Collapsed the control shows the text box and the button; while
// the calendar is open it grows to make room for it. Its size is fixed in both states.
//
// Child controls: txtUserDetailStartDate (the text box), cmdUserDetailCalendar (the button),
// mvwCalendar (the calendar).
class VeloraDatePicker : public QWidget {
    Q_OBJECT

public:
    explicit VeloraDatePicker(QWidget* parent = nullptr);

    // The regional short date format as Qt format text ("MM/dd/yyyy") and the first day of the
    // week, 1 = Sunday to 7 = Saturday. Bad values fail with 5 and change nothing.
    void setRegionalFormat(const QString& dateFormat, int firstDayOfWeek);
    const DateText& dateText() const { return dateText_; }

    // The text box's text. Writing it sets the text; the first text written is the one Escape
    // restores; a text that is a date also moves the calendar to that date.
    QString Text() const;
    void setText(const QString& text);

    bool isOpen() const { return state_.isOpen(); }
    void dropDown();
    void collapse();

    QDate calendarDate() const;
    QLineEdit* textBox() const { return text_; }
    QToolButton* calendarButton() const { return button_; }
    QCalendarWidget* calendar() const { return calendar_; }

Q_SIGNALS:
    // Every key typed in the text box except Escape; the handler may change the key, or set it
    // to 0 to swallow it.
    void KeyPress(int& keyAscii);
    // The text box lost the focus to another control.
    void LostFocus();
    // The button was pressed while the calendar is open; setting cancel keeps it open.
    void CalendarClosing(bool& cancel);
    // A date was picked in the calendar: it is in the text box and the calendar has closed.
    // The host handles it as a date typed and committed.
    void DateChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildCalendar();
    void onButtonClicked();
    void onDateChosen(const QDate& date);
    bool textBoxKeyPress(QKeyEvent* event);
    void retypeKey(int keyAscii, Qt::KeyboardModifiers modifiers);
    void applySize();

    DateText dateText_;
    DatePickerState state_;
    QLineEdit* text_;
    QToolButton* button_;
    QCalendarWidget* calendar_;
    bool retyping_ = false;
};

} // namespace velora::widgets
