#include "WeekNavigator.h"

#include "ConnectionUse.h"
#include "NumberedError.h"
#include "RevertStatement.h"
#include "UserDetailPane.h"
#include "WeekStart.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace velora::detail {

namespace {

const QString kAdjustQuestion =
    QStringLiteral("The date entered does not match the defined weekly starting date.") +
    QStringLiteral("\r\n") + QStringLiteral("Adjust date to nearest starting day?");
const QString kInvalidDate =
    QStringLiteral("The Start Date you entered is invalid. Please re-enter the date.");
const QString kCannotRevert = QStringLiteral("Error: cannot revert user data");

} // namespace

WeekNavigator::WeekNavigator(DetailContext& context, LoadWeek loadWeek)
    : ctx_(context)
    , loadWeek_(std::move(loadWeek)) {
    buildMenu();
}

WeekNavigator::~WeekNavigator() = default;

void WeekNavigator::buildMenu() {
    menu_ = std::make_unique<QMenu>(QStringLiteral("UserAccountTextBox"));
    menu_->setObjectName(QStringLiteral("mnuUserAccountTextBox"));
    QAction* revert = menu_->addAction(QStringLiteral("&Revert Changes"));
    revert->setObjectName(QStringLiteral("mnuRevert"));
    QObject::connect(revert, &QAction::triggered, menu_.get(), [this] { RevertCell(); });
}

void WeekNavigator::bindStartDate() {
    widgets::VeloraDatePicker* picker = ctx_.pane.startDate();
    QObject::connect(picker, &widgets::VeloraDatePicker::KeyPress, picker, [this](int& key) {
        if (key == 13)
            StartDateCommit();
    });
    QObject::connect(picker, &widgets::VeloraDatePicker::LostFocus, picker,
                     [this] { StartDateCommit(); });
    // The calendar stays open until a date is in the box.
    QObject::connect(picker, &widgets::VeloraDatePicker::CalendarClosing, picker,
                     [this](bool& cancel) { cancel = !StartDateCommit(); });
    // A day picked in the calendar goes the way of a typed date: the first-day-of-week check,
    // then its week.
    QObject::connect(picker, &widgets::VeloraDatePicker::DateChosen, picker,
                     [this] { StartDateCommit(); });
}

void WeekNavigator::bindButtons() {
    UserDetailPane* pane = &ctx_.pane;
    QObject::connect(pane->prevWeek(), &QPushButton::clicked, pane, [this] { PrevWeek(); });
    QObject::connect(pane->nextWeek(), &QPushButton::clicked, pane, [this] { NextWeek(); });
    QObject::connect(pane, &UserDetailPane::cellContextMenuRequested, pane,
                     [this](ValueKind kind, int row, const QPoint& globalPos) {
                         setContextCell(kind, row);
                         menu_->popup(globalPos);
                     });
}

void WeekNavigator::setContextCell(ValueKind kind, int row) {
    contextKind_ = kind;
    contextRow_ = row;
}

void WeekNavigator::RevertCell() {
    // Only the day rows have day records; a totals cell reverts nothing.
    if (contextRow_ < 0 || contextRow_ >= kDayRows)
        return;
    const DayRecord record = ctx_.week[static_cast<std::size_t>(contextRow_)];
    try {
        ConnectionUse use(ctx_.connection);
        ctx_.connection.execute(RevertStatement::build(record, contextKind_, ctx_.hourMode()));
        loadWeek_(record.TransID, ctx_.pane.userName()->text(), ctx_.pane.accountName()->text(),
                  QString::number(record.AccountID));
    } catch (const NumberedError& e) {
        ctx_.messages.inform(kCannotRevert + QStringLiteral("\r\n\r\nError ") +
                                 QString::number(e.number()) + QLatin1Char(':') + e.description(),
                             common::MessageIcon::Critical);
    }
}

void WeekNavigator::loadCurrentSelection() {
    const CurrentSelection selection = ctx_.selection();
    loadWeek_(selection.transID, selection.userName, selection.accountName, selection.accountID);
}

void WeekNavigator::moveWeek(int days) {
    widgets::VeloraDatePicker* picker = ctx_.pane.startDate();
    const QDate start = ctx_.region.parseDate(picker->Text());
    if (!start.isValid()) {
        ctx_.messages.show(kInvalidDate, common::Messages::kTitle, common::MessageIcon::None,
                           common::MessageButtons::Ok);
        picker->textBox()->setFocus();
        return;
    }
    // No weekday check: the start date keeps its weekday.
    picker->setText(ctx_.region.formatDate(start.addDays(days)));
    loadCurrentSelection();
}

bool WeekNavigator::StartDateCommit() {
    widgets::VeloraDatePicker* picker = ctx_.pane.startDate();
    const QString text = picker->Text();
    QDate date = ctx_.region.parseDate(text);
    if (!date.isValid()) {
        if (!text.isEmpty()) {
            ctx_.messages.show(kInvalidDate, common::Messages::kTitle, common::MessageIcon::None,
                               common::MessageButtons::Ok);
            picker->textBox()->setFocus();
        }
        return false;
    }
    const int firstDay = WeekStart::validFirstDay(ctx_.firstDayOfWeek());
    if (WeekStart::weekday(date) != firstDay) {
        if (ctx_.messages.show(kAdjustQuestion, common::Messages::kTitle,
                               common::MessageIcon::Question,
                               common::MessageButtons::OkCancel) != common::MessageAnswer::Ok)
            return true;
        date = WeekStart::adjust(date, firstDay);
    }
    picker->setText(ctx_.region.formatDate(date));
    const CurrentSelection selection = ctx_.selection();
    if (!selection.accountID.isEmpty() && !selection.transID.isEmpty())
        loadCurrentSelection();
    return true;
}

QString WeekNavigator::GetLastLockedDate() {
    return GetLastLockedDate(ctx_.connection, ctx_.region);
}

QString WeekNavigator::GetLastLockedDate(db::Connection& connection,
                                         const suite::HXRegion& region) {
    const bool wasOpen = connection.isOpen();
    connection.ensureOpen();
    QVariant latest;
    try {
        db::Recordset result = connection.openRecordset(
            QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE locked = 1"));
        latest = result.eof() ? QVariant() : result.value(0);
    } catch (...) {
        if (!wasOpen)
            connection.close();
        throw;
    }
    if (!wasOpen)
        connection.close();
    const QDate date = QDate::fromString(latest.toString().left(10), QStringLiteral("yyyy-MM-dd"));
    if (latest.isNull() || !date.isValid())
        return region.ConvertUSToRegion(QStringLiteral("01/01/1980"));
    return region.formatDate(date);
}

} // namespace velora::detail
