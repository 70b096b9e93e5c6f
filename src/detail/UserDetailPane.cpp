#include "UserDetailPane.h"

#include "widgets/DatePickerState.h"
#include "widgets/Twips.h"
#include "widgets/VeloraDatePicker.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velora::detail {

namespace {

// The system-hours button beside a day's Hours cell in hour mode 1 (twips, as designed).
constexpr int kSystemHoursButtonTwips = 240;

// The widest value a cell must show whole: 9,999,999.99 as the grid writes it, without
// grouping, in either decimal separator.
const QString kWidestValues[] = {QStringLiteral("9999999.99"), QStringLiteral("9999999,99")};
// QLineEdit keeps this many pixels free on each side of its text inside the frame, and the
// text cursor takes one more.
constexpr int kLineEditTextMargin = 2;
constexpr int kCursorWidth = 1;

struct Column {
    ValueKind kind;
    const char* name;
    const char* caption;
};

constexpr Column kColumns[] = {
    {ValueKind::Reports, "txtUserDetailNumberReports", "Reports"},
    {ValueKind::Hours, "txtUserDetailHours", "Hours"},
    {ValueKind::CharLines, "txtUserDetailChars", "Char Lines"},
    {ValueKind::TrueLines, "txtUserDetailLines", "True Lines"},
    {ValueKind::IHours, "txtUserDetailIHoursWorked", "IHours"},
    {ValueKind::ITyped, "txtUserDetailITyped", "ITyped"},
    {ValueKind::IPay, "txtUserDetailIPay", "IPay"},
};

struct TotalRow {
    int row;
    const char* name;
    const char* caption;
};

constexpr TotalRow kTotalRows[] = {
    {kWeekTotalRow, "lblUserDetailWeekLabel", "Week:"},
    {kBiWeekTotalRow, "lblUserDetailBiWeekLabel", "Bi-Week:"},
    {kMonthTotalRow, "lblUserDetailMonthLabel", "Month:"},
    {kYearTotalRow, "lblUserDetailYearLabel", "Year:"},
};

// Grid layout: a heading row, the seven days, a separator line, the four totals.
constexpr int kHeadingGridRow = 0;
constexpr int kSeparatorGridRow = 1 + kDayRows;
constexpr int kFirstValueGridColumn = 2;

int gridRow(int row) {
    return row < kDayRows ? 1 + row : 2 + row;
}

QString indexedName(const char* name, int index) {
    return QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

int pixels(int twips) {
    return widgets::Twips::toPixels(twips);
}

// Typing over a value replaces it: a cell that gains the focus selects its whole text. A mouse
// click would clear that selection while it is delivered, so the selection is made again after
// it.
class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* cell = static_cast<QLineEdit*>(watched);
            if (!cell->text().isEmpty()) {
                cell->selectAll();
                if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                    QMetaObject::invokeMethod(cell, &QLineEdit::selectAll, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

// Keeps the start date picker over its place in the layout. The picker grows over the grid
// while its calendar is open, so it is not managed by the layout itself.
class FollowPlaceholder : public QObject {
public:
    FollowPlaceholder(QWidget* placeholder, QWidget* follower)
        : QObject(placeholder)
        , follower_(follower) {
        placeholder->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
            event->type() == QEvent::Show) {
            follower_->move(static_cast<QWidget*>(watched)->pos());
            follower_->raise();
        }
        return false;
    }

private:
    QWidget* follower_;
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

UserDetailPane::UserDetailPane(QWidget* parent)
    : QWidget(parent)
    , keys_([this](const GridCell& cell) { return isEditable(cell); }) {
    setObjectName(QStringLiteral("UserDetailPane"));
    setWindowTitle(QStringLiteral("Velora Incentive - User Account"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);

    auto* title = makeLabel(this, QStringLiteral("lblUserDetailTitle"), windowTitle());
    title->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: 600; color: #1f4e79;"));
    layout->addWidget(title);

    // The user, group and account captions show the loaded user's names.
    QFont bold = font();
    bold.setBold(true);
    userName_ =
        makeLabel(this, QStringLiteral("lblUserDetailUserName"), QStringLiteral("User Name:"));
    groupName_ =
        makeLabel(this, QStringLiteral("lblUserDetailGroupName"), QStringLiteral("Group Name:"));
    accountName_ = makeLabel(this, QStringLiteral("lblUserDetailAccountName"),
                             QStringLiteral("Account Name:"));
    for (QLabel* label : {userName_, groupName_, accountName_}) {
        label->setFont(bold);
        layout->addWidget(label);
    }

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(makeLabel(this, QStringLiteral("lblUserDetailStartDateCaption"),
                                 QStringLiteral("Start Date:")));
    auto* datePlace = new QWidget(this);
    datePlace->setFixedSize(widgets::DatePickerState::collapsedSize());
    dateRow->addWidget(datePlace);
    // Made here so that it comes before the week buttons in the Tab order; FollowPlaceholder
    // keeps it in front of the grid that is made after it.
    startDate_ = new widgets::VeloraDatePicker(this);
    new FollowPlaceholder(datePlace, startDate_);
    dateRow->addStretch();
    prevWeek_ = makeButton(this, "cmdUserDetailPrevWeek", "&Prev Week");
    nextWeek_ = makeButton(this, "cmdUserDetailNextWeek", "&Next Week");
    dateRow->addWidget(prevWeek_);
    dateRow->addWidget(nextWeek_);
    layout->addLayout(dateRow);

    cellWidth_ = cellWidthFor(*this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    auto* selectOnFocus = new SelectOnFocus(this);
    for (std::size_t c = 0; c < std::size(kColumns); ++c) {
        const Column& column = kColumns[c];
        const int gridColumn = kFirstValueGridColumn + static_cast<int>(c);
        auto* heading = makeLabel(this, indexedName("lblUserDetailHeading", static_cast<int>(c)),
                                  QString::fromLatin1(column.caption));
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        heading->setWordWrap(true);
        const int width = column.kind == ValueKind::Hours ? hoursColumnWidth() : cellWidth_;
        heading->setMinimumWidth(width);
        grid->addWidget(heading, kHeadingGridRow, gridColumn);
        for (int row = 0; row < kGridRows; ++row) {
            auto* cell = new QLineEdit(this);
            cell->setObjectName(indexedName(column.name, row));
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setMinimumWidth(width);
            cell->installEventFilter(selectOnFocus);
            cell->setContextMenuPolicy(Qt::CustomContextMenu);
            const ValueKind kind = column.kind;
            connect(cell, &QLineEdit::customContextMenuRequested, this,
                    [this, cell, kind, row](const QPoint& pos) {
                        Q_EMIT cellContextMenuRequested(kind, row, cell->mapToGlobal(pos));
                    });
            cells_[static_cast<std::size_t>(valueIndex(kind))][static_cast<std::size_t>(row)] =
                cell;
            if (row >= kDayRows) {
                // The totals are read and copied, never typed: the mouse reaches them, the
                // Tab key does not.
                cell->setReadOnly(true);
                cell->setFocusPolicy(Qt::ClickFocus);
                QPalette palette = cell->palette();
                palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                cell->setPalette(palette);
            }
            if (kind != ValueKind::Hours || row >= kDayRows)
                grid->addWidget(cell, gridRow(row), gridColumn);
        }
    }

    // The day rows: name, date, and the Hours cell beside its system-hours button. The day
    // names are written by the load; their room is kept from the start.
    int dayNameWidth = 0;
    for (int weekday = 1; weekday <= 7; ++weekday)
        dayNameWidth = std::max(dayNameWidth, fontMetrics().horizontalAdvance(
                                                  locale().dayName(weekday, QLocale::ShortFormat)));
    for (int day = 0; day < kDayRows; ++day) {
        workDays_[static_cast<std::size_t>(day)] =
            makeLabel(this, indexedName("lblUserDetailWorkDay", day), QString());
        workDates_[static_cast<std::size_t>(day)] = makeLabel(
            this, indexedName("lblUserDetailWorkDate", day), QStringLiteral("12/12/2000"));
        workDays_[static_cast<std::size_t>(day)]->setMinimumWidth(
            dayNameWidth + fontMetrics().horizontalAdvance(QLatin1Char(' ')));
        grid->addWidget(workDays_[static_cast<std::size_t>(day)], gridRow(day), 0);
        grid->addWidget(workDates_[static_cast<std::size_t>(day)], gridRow(day), 1);

        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(indexedName("cmdUserDetailSystemHours", day));
        button->setToolTip(QStringLiteral("Edit the day's system hours"));
        button->setFixedWidth(systemHoursButtonWidth());
        systemHours_[static_cast<std::size_t>(day)] = button;
        connect(button, &QPushButton::clicked, this,
                [this, day] { Q_EMIT systemHoursClicked(day); });
        auto* hoursBox = new QHBoxLayout;
        hoursBox->setSpacing(0);
        hoursBox->addWidget(cell(ValueKind::Hours, day));
        hoursBox->addWidget(button);
        grid->addLayout(hoursBox, gridRow(day),
                        kFirstValueGridColumn + valueIndex(ValueKind::Hours));
    }

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("linUserDetailTotals"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    grid->addWidget(separator, kSeparatorGridRow, 0, 1, kFirstValueGridColumn + 7);

    for (std::size_t t = 0; t < std::size(kTotalRows); ++t) {
        const TotalRow& total = kTotalRows[t];
        auto* label =
            makeLabel(this, QLatin1String(total.name), QString::fromLatin1(total.caption));
        label->setWordWrap(true);
        // The period captions wrap within the day columns rather than widen them: the pane
        // keeps the width it was laid out with when a load writes longer captions.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        totalLabels_[t] = label;
        grid->addWidget(label, gridRow(total.row), 0, 1, kFirstValueGridColumn);
    }
    // The value columns share the width the pane has beyond what the day names and dates need.
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
        grid->setColumnStretch(kFirstValueGridColumn + c, 1);
    layout->addLayout(grid);
    layout->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    print_ = makeButton(this, "cmdUserDetailPrint", "Prin&t");
    saveChanges_ = makeButton(this, "cmdUserDetailSaveChanges", "&Save Changes");
    buttonRow->addWidget(print_);
    buttonRow->addWidget(saveChanges_);
    layout->addLayout(buttonRow);

    setHourMode(1);
    buildKeyboard();
}

// Tab order: the start date with its calendar button, the week buttons, the day rows from left to
// right and top to bottom (each day's system-hours button in place of its Hours cell), then Print
// and Save Changes. The grid's own keys are handled by eventFilter.
void UserDetailPane::buildKeyboard() {
    QWidget* previous = startDate_->textBox();
    auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    if (auto* calendarButton = startDate_->findChild<QToolButton*>())
        chain(calendarButton);
    chain(prevWeek_);
    chain(nextWeek_);
    for (int day = 0; day < kDayRows; ++day) {
        for (ValueKind kind : kValueKinds) {
            chain(cell(kind, day));
            cell(kind, day)->installEventFilter(this);
            if (kind == ValueKind::Hours) {
                chain(systemHours(day));
                systemHours(day)->installEventFilter(this);
            }
        }
    }
    chain(print_);
    chain(saveChanges_);
}

QWidget* UserDetailPane::gridControl(const GridCell& at) const {
    QLineEdit* value = cell(kValueKinds.at(static_cast<std::size_t>(at.column)), at.row);
    if (value && value->isReadOnly() && at.column == valueIndex(ValueKind::Hours) &&
        !systemHours(at.row)->isHidden())
        return systemHours(at.row);
    return value;
}

bool UserDetailPane::isEditable(const GridCell& at) const {
    QWidget* control = gridControl(at);
    if (!control || control->isHidden() || !control->isEnabled())
        return false;
    const auto* value = qobject_cast<const QLineEdit*>(control);
    return !value || !value->isReadOnly();
}

std::optional<GridCell> UserDetailPane::gridCellOf(const QObject* control) const {
    for (int day = 0; day < kDayRows; ++day) {
        for (int column = 0; column < GridKeyNavigation::kColumns; ++column) {
            if (cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(day)] == control)
                return GridCell{day, column};
        }
        if (systemHours(day) == control)
            return GridCell{day, valueIndex(ValueKind::Hours)};
    }
    return std::nullopt;
}

bool UserDetailPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const std::optional<GridCell> from = gridCellOf(watched);
    return from && handleGridKey(*from, static_cast<const QKeyEvent&>(*event));
}

// Page Up and Page Down turn the week as the week buttons do; the moves between cells follow
// GridKeyNavigation. A Tab that leaves the grid, and every other key, goes on as usual.
bool UserDetailPane::handleGridKey(const GridCell& from, const QKeyEvent& key) {
    if (key.modifiers() == Qt::NoModifier &&
        (key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown)) {
        (key.key() == Qt::Key_PageUp ? prevWeek_ : nextWeek_)->click();
        return true;
    }
    const auto* value = qobject_cast<const QLineEdit*>(gridControl(from));
    const bool wholeSelected =
        value && !value->text().isEmpty() && value->selectedText().size() == value->text().size();
    const bool atStart = !value || wholeSelected || value->cursorPosition() == 0;
    const bool atEnd = !value || wholeSelected || value->cursorPosition() == value->text().size();
    const std::optional<GridMove> move =
        GridKeyNavigation::moveFor(key.key(), key.modifiers(), atStart, atEnd);
    if (!move)
        return false;
    const std::optional<GridCell> to = keys_.target(from, *move);
    if (!to)
        return *move != GridMove::Next && *move != GridMove::Previous;
    const bool backwards = *move == GridMove::Previous;
    gridControl(*to)->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

// Wide enough for the widest value in the pane's font, inside a line edit's frame and margins.
int UserDetailPane::cellWidthFor(const QWidget& pane) {
    const QLineEdit probe;
    const QFontMetrics metrics(pane.font());
    int text = 0;
    for (const QString& value : kWidestValues)
        text = std::max(text, metrics.horizontalAdvance(value));
    const QMargins margins = probe.textMargins() + probe.contentsMargins();
    const int frame = probe.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &probe);
    return text + kCursorWidth + 2 * (kLineEditTextMargin + frame) + margins.left() +
           margins.right();
}

int UserDetailPane::systemHoursButtonWidth() {
    return pixels(kSystemHoursButtonTwips);
}

int UserDetailPane::hoursColumnWidth() const {
    return cellWidth_ + systemHoursButtonWidth();
}

QLineEdit* UserDetailPane::cell(ValueKind kind, int row) const {
    const int kindIndex = valueIndex(kind);
    if (kindIndex < 0 || row < 0 || row >= kGridRows)
        return nullptr;
    return cells_[static_cast<std::size_t>(kindIndex)][static_cast<std::size_t>(row)];
}

QLabel* UserDetailPane::workDay(int day) const {
    return day >= 0 && day < kDayRows ? workDays_[static_cast<std::size_t>(day)] : nullptr;
}

QLabel* UserDetailPane::workDate(int day) const {
    return day >= 0 && day < kDayRows ? workDates_[static_cast<std::size_t>(day)] : nullptr;
}

QPushButton* UserDetailPane::systemHours(int day) const {
    return day >= 0 && day < kDayRows ? systemHours_[static_cast<std::size_t>(day)] : nullptr;
}

QLabel* UserDetailPane::totalLabel(int row) const {
    const int index = row - kWeekTotalRow;
    return index >= 0 && index < 4 ? totalLabels_[static_cast<std::size_t>(index)] : nullptr;
}

// Hour mode 1 takes the hours from the activity log: they change only through the
// system-hours button. Hour mode 2 types them.
void UserDetailPane::setHourMode(int hourMode) {
    const bool fromActivityLog = hourMode == 1;
    for (int day = 0; day < kDayRows; ++day) {
        QLineEdit* hours = cell(ValueKind::Hours, day);
        systemHours(day)->setVisible(fromActivityLog);
        hours->setMinimumWidth(fromActivityLog ? cellWidth_ : hoursColumnWidth());
        hours->setReadOnly(fromActivityLog);
        // A read-only Hours cell is passed over by Tab; its button takes its place.
        hours->setFocusPolicy(fromActivityLog ? Qt::ClickFocus : Qt::StrongFocus);
        const int height = cell(ValueKind::CharLines, day)->sizeHint().height();
        hours->setFixedHeight(height);
        systemHours(day)->setFixedHeight(height);
    }
}

} // namespace velora::detail
