#include "VeloraDatePicker.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace velora::widgets {

namespace {

constexpr int kEscape = 27;

// A small desk calendar: a page with a coloured header band, two rings and a grid of days.
// Drawn in a 32x32 design on twice as many device pixels, so it stays sharp on a screen at
// twice the scale.
QIcon calendarIcon(const QPalette& colours) {
    constexpr int kPixelRatio = 2;
    QPixmap pixmap(32 * kPixelRatio, 32 * kPixelRatio);
    pixmap.setDevicePixelRatio(kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page(4.5, 6.5, 23, 21);
    painter.setPen(QPen(colours.color(QPalette::Dark), 1.5));
    painter.setBrush(colours.color(QPalette::Base));
    painter.drawRoundedRect(page, 2.5, 2.5);
    QPainterPath band;
    band.addRoundedRect(QRectF(page.left(), page.top(), page.width(), 6.5), 2.5, 2.5);
    painter.fillPath(band, colours.color(QPalette::Highlight));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.color(QPalette::Dark));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            painter.drawRect(QRectF(8 + column * 4.5, 16 + row * 3.8, 2.6, 2.3));
    painter.setPen(QPen(colours.color(QPalette::Shadow), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(11, 4.5), QPointF(11, 9));
    painter.drawLine(QPointF(21, 4.5), QPointF(21, 9));
    painter.end();
    return QIcon(pixmap);
}

Qt::Key keyFor(int keyAscii) {
    switch (keyAscii) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 13:
        return Qt::Key_Return;
    default:
        return static_cast<Qt::Key>(QChar(keyAscii).toUpper().unicode());
    }
}

} // namespace

VeloraDatePicker::VeloraDatePicker(QWidget* parent)
    : QWidget(parent)
    , text_(new QLineEdit(this))
    , button_(new QToolButton(this))
    , calendar_(new QCalendarWidget(this)) {
    text_->setObjectName(QStringLiteral("txtUserDetailStartDate"));
    button_->setObjectName(QStringLiteral("cmdUserDetailCalendar"));
    calendar_->setObjectName(QStringLiteral("mvwCalendar"));

    const QSize collapsed = DatePickerState::collapsedSize();
    const int buttonWidth = collapsed.height();
    text_->setGeometry(0, 0, collapsed.width() - buttonWidth, collapsed.height());
    text_->installEventFilter(this);
    button_->setGeometry(collapsed.width() - buttonWidth, 0, buttonWidth, collapsed.height());
    button_->setIcon(calendarIcon(palette()));
    button_->setIconSize(QSize(buttonWidth - 6, buttonWidth - 6));
    button_->setToolTip(tr("Choose a date from the calendar"));
    button_->setCheckable(true);
    connect(button_, &QToolButton::clicked, this, &VeloraDatePicker::onButtonClicked);

    buildCalendar();
    applySize();
}

void VeloraDatePicker::buildCalendar() {
    const QSize collapsed = DatePickerState::collapsedSize();
    const QSize dropped = DatePickerState::droppedSize();
    // One pixel all round is left for the frame that paintEvent draws.
    calendar_->setGeometry(1, collapsed.height() + 2, dropped.width() - 2,
                           dropped.height() - collapsed.height() - 3);
    calendar_->setGridVisible(false);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar_->setMinimumDate(QDate(100, 1, 1));
    calendar_->setMaximumDate(QDate(9999, 12, 31));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    QFont compact = calendar_->font();
    compact.setPointSizeF(compact.pointSizeF() * 0.9);
    calendar_->setFont(compact);
    // The text box keeps the focus while the operator picks a date, so that choosing one does
    // not count as leaving the field.
    calendar_->setFocusPolicy(Qt::NoFocus);
    for (QWidget* part : calendar_->findChildren<QWidget*>())
        part->setFocusPolicy(Qt::NoFocus);
    calendar_->hide();
    connect(calendar_, &QCalendarWidget::clicked, this, &VeloraDatePicker::onDateChosen);
    connect(calendar_, &QCalendarWidget::activated, this, &VeloraDatePicker::onDateChosen);
}

void VeloraDatePicker::setRegionalFormat(const QString& dateFormat, int firstDayOfWeek) {
    const Qt::DayOfWeek firstDay = DateText::dayOfWeek(firstDayOfWeek);
    dateText_ = DateText(dateFormat);
    calendar_->setFirstDayOfWeek(firstDay);
}

QString VeloraDatePicker::Text() const {
    return text_->text();
}

void VeloraDatePicker::setText(const QString& text) {
    text_->setText(text);
    state_.textAssigned(text);
    if (const std::optional<QDate> date = dateText_.parse(text))
        calendar_->setSelectedDate(*date);
}

QDate VeloraDatePicker::calendarDate() const {
    return calendar_->selectedDate();
}

void VeloraDatePicker::dropDown() {
    if (state_.isOpen())
        return;
    // The calendar opens on the date in the box when the operator has typed one.
    if (const std::optional<QDate> date = dateText_.parse(text_->text()))
        calendar_->setSelectedDate(*date);
    state_.setOpen(true);
    applySize();
    calendar_->show();
    raise();
    button_->setChecked(true);
}

void VeloraDatePicker::collapse() {
    const bool calendarHadFocus =
        calendar_->isAncestorOf(focusWidget()) || focusWidget() == calendar_;
    if (calendarHadFocus)
        text_->setFocus(Qt::OtherFocusReason);
    state_.setOpen(false);
    calendar_->hide();
    applySize();
    button_->setChecked(false);
}

void VeloraDatePicker::applySize() {
    setFixedSize(state_.size());
}

void VeloraDatePicker::onButtonClicked() {
    if (!state_.isOpen()) {
        dropDown();
        return;
    }
    // The button shows the calendar's state, not the click's toggle.
    bool cancel = false;
    Q_EMIT CalendarClosing(cancel);
    if (cancel)
        button_->setChecked(true);
    else
        collapse();
}

void VeloraDatePicker::onDateChosen(const QDate& date) {
    text_->setText(dateText_.toText(date));
    collapse();
    Q_EMIT DateChosen();
}

bool VeloraDatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_) {
        if (event->type() == QEvent::KeyPress)
            return textBoxKeyPress(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut) {
            // Switching to another program or opening a menu is not leaving the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                Q_EMIT LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Returns true when the key is consumed here.
bool VeloraDatePicker::textBoxKeyPress(QKeyEvent* event) {
    if (retyping_)
        return false;
    if (event->key() == Qt::Key_Escape) {
        text_->setText(state_.initialText());
        collapse();
        return true;
    }
    const QString typed = event->text();
    if (typed.size() != 1)
        return false;
    const int original = typed.at(0).unicode();
    int keyAscii = original;
    Q_EMIT KeyPress(keyAscii);
    if (keyAscii == original)
        return false;
    if (keyAscii != 0 && keyAscii != kEscape)
        retypeKey(keyAscii, event->modifiers());
    return true;
}

// Delivers the key a KeyPress handler chose in place of the one typed.
void VeloraDatePicker::retypeKey(int keyAscii, Qt::KeyboardModifiers modifiers) {
    QKeyEvent replacement(QEvent::KeyPress, keyFor(keyAscii), modifiers, QString(QChar(keyAscii)));
    retyping_ = true;
    QCoreApplication::sendEvent(text_, &replacement);
    retyping_ = false;
}

void VeloraDatePicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && state_.isOpen()) {
        collapse();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VeloraDatePicker::paintEvent(QPaintEvent*) {
    if (!state_.isOpen())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(calendar_->geometry().adjusted(-1, -1, 0, 0));
}

void VeloraDatePicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled() && state_.isOpen())
        collapse();
    if (event->type() == QEvent::PaletteChange)
        button_->setIcon(calendarIcon(palette()));
    QWidget::changeEvent(event);
}

} // namespace velora::widgets
