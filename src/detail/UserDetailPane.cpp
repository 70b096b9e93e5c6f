#include "UserDetailPane.h"

#include "widgets/DatePickerState.h"
#include "widgets/Twips.h"
#include "widgets/VeloraDatePicker.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
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
    : QWidget(parent) {
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
    dateRow->addStretch();
    prevWeek_ = makeButton(this, "cmdUserDetailPrevWeek", "Prev Week");
    nextWeek_ = makeButton(this, "cmdUserDetailNextWeek", "Next Week");
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
        heading->setFixedWidth(width);
        grid->addWidget(heading, kHeadingGridRow, gridColumn);
        for (int row = 0; row < kGridRows; ++row) {
            auto* cell = new QLineEdit(this);
            cell->setObjectName(indexedName(column.name, row));
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setFixedWidth(width);
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
                cell->setReadOnly(true);
                QPalette palette = cell->palette();
                palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                cell->setPalette(palette);
            }
            if (kind != ValueKind::Hours || row >= kDayRows)
                grid->addWidget(cell, gridRow(row), gridColumn, Qt::AlignRight);
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
        hoursBox->addStretch();
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
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    print_ = makeButton(this, "cmdUserDetailPrint", "Print");
    saveChanges_ = makeButton(this, "cmdUserDetailSaveChanges", "Save Changes");
    buttonRow->addWidget(print_);
    buttonRow->addWidget(saveChanges_);
    layout->addLayout(buttonRow);

    startDate_ = new widgets::VeloraDatePicker(this);
    new FollowPlaceholder(datePlace, startDate_);
    setHourMode(1);
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
        hours->setFixedWidth(fromActivityLog ? cellWidth_ : hoursColumnWidth());
        hours->setReadOnly(fromActivityLog);
        const int height = cell(ValueKind::CharLines, day)->sizeHint().height();
        hours->setFixedHeight(height);
        systemHours(day)->setFixedHeight(height);
    }
}

} // namespace velora::detail
