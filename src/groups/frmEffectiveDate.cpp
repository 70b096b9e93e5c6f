#include "frmEffectiveDate.h"

#include "EffectiveDateShortcuts.h"
#include "suite/HXRegion.h"
#include "widgets/DateText.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velora::groups {

namespace {

// The calendar keys whose release copies the calendar's day into the field.
bool movesCalendarDay(int key) {
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

frmEffectiveDate::frmEffectiveDate(EffectiveDateServices services, QWidget* parent)
    : PromptDialog(QStringLiteral("frmEffectiveDate"), QStringLiteral("Effective Date"),
                   QStringLiteral("txtEffectiveDate"), parent)
    , services_(std::move(services))
    , calendar_(new QCalendarWidget(this))
    , currentMonth_(quickButton("btnCurrentMonth", QStringLiteral("Current &Month")))
    , prevWeek_(quickButton("btnPrevWeek", QStringLiteral("&Previous Week")))
    , currentWeek_(quickButton("btnCurrentWeek", QStringLiteral("Current &Week")))
    , earliestDate_(quickButton("btnEariliestDate", QStringLiteral("Current &Unlocked"))) {
    lblPrompt()->setText(QStringLiteral("Enter the effective date"));
    calendar_->setObjectName(QStringLiteral("calEffectiveDate"));
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->installEventFilter(this);
    if (auto* days = calendar_->findChild<QAbstractItemView*>())
        days->installEventFilter(this);
    layOut();

    connect(calendar_, &QCalendarWidget::clicked, this,
            [this](QDate day) { entryField()->setText(services_.region.formatDate(day)); });
    connect(currentMonth_, &QPushButton::clicked, this, [this] {
        offer(services_.region.formatDate(EffectiveDateShortcuts::currentMonth(services_.today())));
    });
    connect(currentWeek_, &QPushButton::clicked, this, [this] {
        offer(services_.region.formatDate(
            EffectiveDateShortcuts::currentWeek(services_.today(), firstDay())));
    });
    connect(prevWeek_, &QPushButton::clicked, this, [this] {
        offer(services_.region.formatDate(
            EffectiveDateShortcuts::previousWeek(services_.today(), firstDay())));
    });
    connect(earliestDate_, &QPushButton::clicked, this,
            [this] { offer(services_.lastLockedDate()); });
}

QPushButton* frmEffectiveDate::quickButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void frmEffectiveDate::layOut() {
    auto* dateLabel = new QLabel(QStringLiteral("Date:"), this);
    dateLabel->setObjectName(QStringLiteral("Label2"));
    auto* note = new QLabel(
        QStringLiteral("NOTE: All data prior to the effective date will be locked."), this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(dateLabel, 0, 0);
    grid->addWidget(entryField(), 0, 1);
    grid->addWidget(calendar_, 1, 0, 5, 2);
    grid->addWidget(currentMonth_, 1, 2);
    grid->addWidget(prevWeek_, 2, 2);
    grid->addWidget(currentWeek_, 3, 2);
    grid->addWidget(earliestDate_, 4, 2);
    grid->setRowStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK());
    buttons->addWidget(cmdCancel());

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblPrompt());
    outer->addLayout(grid);
    outer->addWidget(note);
    outer->addLayout(buttons);
}

bool frmEffectiveDate::acceptsInput() const {
    return widgets::DateText(services_.region.DateFormat()).isDate(entryField()->text());
}

void frmEffectiveDate::onLoad() {
    calendar_->setFirstDayOfWeek(firstDay());
}

bool frmEffectiveDate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease &&
        movesCalendarDay(static_cast<QKeyEvent*>(event)->key()))
        entryField()->setText(services_.region.formatDate(calendar_->selectedDate()));
    return PromptDialog::eventFilter(watched, event);
}

void frmEffectiveDate::offer(const QString& text) {
    entryField()->setText(text);
    const auto day = widgets::DateText(services_.region.DateFormat()).parse(text);
    if (day)
        calendar_->setSelectedDate(*day);
    entryField()->setFocus();
}

Qt::DayOfWeek frmEffectiveDate::firstDay() const {
    return widgets::DateText::dayOfWeek(services_.firstDayOfWeek());
}

} // namespace velora::groups
