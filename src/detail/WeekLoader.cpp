#include "WeekLoader.h"

#include "DetailContext.h"
#include "NumberText.h"
#include "PeriodTotals.h"
#include "UserDetailPane.h"
#include "WeekStatements.h"
#include "catalogue/User.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "groups/FindListIndexByItemData.h"
#include "suite/HXLoginUser.h"
#include "suite/HXRegion.h"
#include "widgets/VeloraDatePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velora::detail {

namespace {

constexpr int kTypeMismatch = 13;

// Privileges of the operator that open the cells of a day for typing.
constexpr int kPrivilegeHours = 18;
constexpr int kPrivilegeProduction = 19;
constexpr int kPrivilegeITyped = 22;
constexpr int kPrivilegeIPay = 23;
constexpr int kPrivilegeIHours = 45;

// A corrected value is shown in blue, a collected one in black.
const QColor kCorrected(0, 0, 255);
const QColor kCollected(0, 0, 0);

// The recordset columns of a day row, by the kinds of a day record's pairs.
struct DayColumns {
    ValueKind kind;
    const char* current;
    const char* collected;
    bool fixed; // "Fixed" format rather than the plain form
};

constexpr DayColumns kDayColumns[] = {
    {ValueKind::Reports, "num_reports", "num_orig_reports", false},
    {ValueKind::Hours, "num_incent_hours", "num_orig_incent_hours", false},
    {ValueKind::CharLines, "num_chars", "num_orig_chars", false},
    {ValueKind::TrueLines, "num_lines", "num_orig_lines", false},
    {ValueKind::IHours, "num_incent_hours_typed_modified", "num_orig_incent_hours_typed", true},
    {ValueKind::ITyped, "num_incent_typed", "num_orig_incent_typed", true},
    {ValueKind::IPay, "num_incent_pay", "num_orig_incent_pay", true},
};

double number(const db::Recordset& rows, const char* column) {
    return rows.value(QString::fromLatin1(column)).toDouble();
}

// The colour of an enabled cell's text; a disabled cell keeps the style's greyed text, so a
// day that may not be changed looks it.
void setTextColour(QLineEdit* cell, const QColor& colour) {
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Active, QPalette::Text, colour);
    palette.setColor(QPalette::Inactive, QPalette::Text, colour);
    cell->setPalette(palette);
}

} // namespace

WeekLoader::WeekLoader(DetailContext& context, std::function<bool()> saveWeek)
    : context_(context)
    , saveWeek_(std::move(saveWeek)) {}

QString WeekLoader::discardQuestion() {
    return QStringLiteral("The changes to the week on screen could not be saved.\r\nDiscard them "
                          "and open what you asked for? No keeps the week on screen.");
}

QString WeekLoader::failureText(int number, const QString& description) {
    return QStringLiteral("An Error Occurred Attempting To Load The User Account Information. "
                          "Please Contact The Vendor For More Information.\r\n\r\nError ") +
           QString::number(number) + QLatin1Char(':') + description;
}

void WeekLoader::LoadWeek(const QString& transID, const QString& userName,
                          const QString& accountName, const QString& accountID) {
    run(true, transID, userName, accountName, accountID);
}

void WeekLoader::ReloadWeek(const QString& transID, const QString& userName,
                            const QString& accountName, const QString& accountID) {
    run(false, transID, userName, accountName, accountID);
}

void WeekLoader::run(bool saveFirst, const QString& transID, const QString& userName,
                     const QString& accountName, const QString& accountID) {
    if (context_.beginBusy)
        context_.beginBusy();
    try {
        if (!saveFirst || !saveWeek_ || saveWeek_() || context_.messages.ask(discardQuestion()))
            load(transID, userName, accountName, accountID);
        else if (context_.showDetailPane)
            // The week that could not be saved stays in view with the operator's values, to be
            // corrected or saved again.
            context_.showDetailPane();
    } catch (const NumberedError& e) {
        context_.messages.inform(failureText(e.number(), e.description()),
                                 common::MessageIcon::Critical);
    } catch (const std::exception& e) {
        context_.messages.inform(
            failureText(db::ErrorNumber::General, QString::fromLocal8Bit(e.what())),
            common::MessageIcon::Critical);
    }
    // The window must not stay disabled nor the connection open after a failed load either.
    if (context_.endBusy)
        context_.endBusy();
    if (context_.connection.isOpen())
        context_.connection.close();
}

void WeekLoader::load(const QString& transID, const QString& userName, const QString& accountName,
                      const QString& accountID) {
    const QString account = WeekStatements::accountNumber(accountID);
    context_.connection.ensureOpen();
    const QDate lastLocked = readLastLockedDate();
    const QDate start = labelDays();
    showUser(transID, userName, accountName);
    fillDays(transID, account, start, lastLocked);
    PeriodTotals(context_).write(transID, account, start);
    replaceCurrentUser(transID);
    context_.pane.setHourMode(context_.hourMode());
    if (context_.showDetailPane)
        context_.showDetailPane();
}

// One date for the whole database: days without a row on or before it cannot be entered.
QDate WeekLoader::readLastLockedDate() {
    db::Recordset rows = context_.connection.openRecordset(WeekStatements::lastLockedDate());
    const QDate fallback(1980, 1, 1);
    if (rows.eof() || rows.value(0).isNull())
        return fallback;
    const QDate date =
        QDate::fromString(rows.value(0).toString().left(10), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date : fallback;
}

// Names and dates of the seven days from the start date; the start date of the week.
QDate WeekLoader::labelDays() {
    const QString text = context_.pane.startDate()->Text();
    const QDate start = context_.region.parseDate(text);
    if (!start.isValid())
        throw NumberedError(kTypeMismatch, QStringLiteral("Type mismatch"));
    for (int i = 0; i < kDayRows; ++i) {
        const QDate day = start.addDays(i);
        context_.pane.workDay(i)->setText(
            context_.region.locale().dayName(day.dayOfWeek(), QLocale::ShortFormat));
        context_.pane.workDate(i)->setText(context_.region.formatDate(day));
    }
    return start;
}

// A user without a Trans_info row leaves the captions as they are.
void WeekLoader::showUser(const QString& transID, const QString& userName,
                          const QString& accountName) {
    db::Recordset user = context_.connection.openRecordset(WeekStatements::userGroup(transID));
    if (user.eof())
        return;
    // Only the user's own group is ever selected: a group missing from the list (another
    // partition's, or none) selects nothing, so no later save can write a group that is not
    // the user's.
    const QVariant group = user.value(QStringLiteral("incentive_group_id"));
    QComboBox& groups = context_.groupList;
    groups.setCurrentIndex(group.isNull() ? -1
                                          : groups::ListEntryWithItemData(groups, group.toInt()));
    context_.pane.userName()->setText(userName);
    context_.pane.groupName()->setText(groups.currentText());
    context_.pane.accountName()->setText(accountName);
}

// The rows come ordered by day; a day whose date the current row does not carry has no row.
void WeekLoader::fillDays(const QString& transID, const QString& accountID, const QDate& start,
                          const QDate& lastLocked) {
    const QString statement = WeekStatements::days(transID, accountID, start, context_.hourMode());
    db::Recordset rows =
        statement.isEmpty() ? db::Recordset() : context_.connection.openRecordset(statement);
    const bool summary = accountID == WeekStatements::summaryAccountID();
    for (int i = 0; i < kDayRows; ++i) {
        const QString caption = context_.pane.workDate(i)->text();
        if (!rows.eof() &&
            context_.region.formatDate(rows.date(QStringLiteral("shift_date"))) == caption) {
            fillFromRow(i, rows, transID, accountID);
            rows.moveNext();
        } else if (context_.region.parseDate(caption) > lastLocked) {
            FillEmptyDay(i, accountID, transID, true, caption);
            ApplyCellPrivileges(i, summary);
        } else {
            FillEmptyDay(i, accountID, transID, false, caption);
        }
    }
}

void WeekLoader::fillFromRow(int row, const db::Recordset& day, const QString& transID,
                             const QString& accountID) {
    const NumberText numbers(context_.region.DecimalSep());
    const bool summary = accountID == WeekStatements::summaryAccountID();
    DayRecord& record = context_.week[static_cast<std::size_t>(row)];
    for (const DayColumns& c : kDayColumns) {
        const double value = number(day, c.current);
        context_.pane.cell(c.kind, row)
            ->setText(c.fixed ? numbers.fixed(value) : numbers.plain(value));
        record.value(c.kind).current = static_cast<float>(value);
        // The summary has no collected values of its own; the record keeps what it held.
        if (!summary)
            record.value(c.kind).collected = static_cast<float>(number(day, c.collected));
    }
    record.AccountID = accountID.toInt();
    record.Editable = true;
    record.Stored = true;
    record.TransID = transID;
    record.ShiftDate = day.date(QStringLiteral("shift_date"));

    if (day.value(QStringLiteral("locked")).toInt() == 1) {
        enableDay(row, false);
        return;
    }
    ApplyCellPrivileges(row, summary);
    colourCells(row);
}

// Compared in single precision, as the day record keeps them: any difference is a correction.
void WeekLoader::colourCells(int row) {
    const DayRecord& record = context_.week[static_cast<std::size_t>(row)];
    for (ValueKind kind : kValueKinds) {
        const ValuePair& pair = record.value(kind);
        setTextColour(context_.pane.cell(kind, row),
                      pair.current == pair.collected ? kCollected : kCorrected);
    }
}

void WeekLoader::FillEmptyDay(int row, const QString& accountID, const QString& transID,
                              bool enabled, const QString& dateText) {
    try {
        fillEmptyDay(row, accountID, transID, enabled, dateText);
    } catch (const NumberedError&) {
        context_.messages.inform(QStringLiteral("Error cannot set line ") + QString::number(row) +
                                     QStringLiteral(" values to zero"),
                                 common::MessageIcon::Critical);
    }
}

void WeekLoader::fillEmptyDay(int row, const QString& accountID, const QString& transID,
                              bool enabled, const QString& dateText) {
    if (row < 0 || row >= kDayRows)
        throw NumberedError(9, QStringLiteral("Subscript out of range"));
    const NumberText numbers(context_.region.DecimalSep());
    double hoursValue = 0;
    if (context_.hourMode() == 1 && !dateText.isEmpty()) {
        const QDate day = context_.region.parseDate(dateText);
        if (!day.isValid())
            throw NumberedError(kTypeMismatch, QStringLiteral("Type mismatch"));
        db::Recordset rows =
            context_.connection.openRecordset(WeekStatements::activityHours(transID, day));
        if (!rows.eof())
            hoursValue = rows.value(QStringLiteral("num_incent_hours")).toDouble();
    }
    const QString hours = numbers.plain(hoursValue);
    UserDetailPane& pane = context_.pane;
    const QString zeroFixed = numbers.fixed(0);
    for (ValueKind kind : kValueKinds) {
        QString text = QStringLiteral("0");
        if (kind == ValueKind::Hours)
            text = hours;
        else if (kind == ValueKind::IHours || kind == ValueKind::ITyped || kind == ValueKind::IPay)
            text = zeroFixed;
        pane.cell(kind, row)->setText(text);
        setTextColour(pane.cell(kind, row), kCollected);
    }

    DayRecord& record = context_.week[static_cast<std::size_t>(row)];
    record.AccountID = accountID.toInt();
    for (ValuePair& pair : record.values)
        pair = ValuePair{};
    const auto hoursSingle = static_cast<float>(hoursValue);
    record.value(ValueKind::Hours) = ValuePair{hoursSingle, hoursSingle};
    record.TransID = transID;
    record.ShiftDate = context_.region.parseDate(pane.workDate(row)->text());
    record.Editable = enabled;
    record.Stored = false;
    enableDay(row, enabled);
}

void WeekLoader::enableDay(int row, bool enabled) {
    for (ValueKind kind : kValueKinds)
        context_.pane.cell(kind, row)->setEnabled(enabled);
    context_.pane.systemHours(row)->setEnabled(enabled);
}

void WeekLoader::ApplyCellPrivileges(int row, bool disableAll) {
    UserDetailPane& pane = context_.pane;
    if (disableAll) {
        enableDay(row, false);
        pane.saveChanges()->setEnabled(false);
        return;
    }
    const suite::HXLoginUser* user = context_.loginUser ? context_.loginUser() : nullptr;
    const auto granted = [user](int n) { return user != nullptr && user->privilege(n); };
    const bool hours = granted(kPrivilegeHours);
    const bool production = granted(kPrivilegeProduction);
    const bool typed = granted(kPrivilegeITyped);
    const bool pay = granted(kPrivilegeIPay);
    const bool incentiveHours = granted(kPrivilegeIHours);
    pane.cell(ValueKind::Hours, row)->setEnabled(hours);
    pane.systemHours(row)->setEnabled(hours);
    for (ValueKind kind : {ValueKind::CharLines, ValueKind::TrueLines, ValueKind::Reports})
        pane.cell(kind, row)->setEnabled(production);
    pane.cell(ValueKind::ITyped, row)->setEnabled(typed);
    pane.cell(ValueKind::IPay, row)->setEnabled(pay);
    pane.cell(ValueKind::IHours, row)->setEnabled(incentiveHours);
    pane.saveChanges()->setEnabled(hours || production || typed || pay || incentiveHours);
}

void WeekLoader::replaceCurrentUser(const QString& transID) {
    auto user = std::make_shared<catalogue::User>();
    user->setTransID(transID);
    const int index = context_.groupList.currentIndex();
    user->setGroupID(index < 0 ? -1 : context_.groupList.itemData(index).toInt());
    context_.currentUser = std::move(user);
}

} // namespace velora::detail
