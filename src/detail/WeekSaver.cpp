#include "WeekSaver.h"

#include "CellNumber.h"
#include "ConnectionUse.h"
#include "NumberText.h"
#include "NumberedError.h"
#include "SaveWeekStatements.h"
#include "UserDetailPane.h"
#include "catalogue/QuoteSql.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velora::detail {

namespace {

bool isDayRow(int d) {
    return d >= 0 && d < kDayRows;
}

const QString kCannotSave = QStringLiteral("Error: cannot save user data");
const QString kCannotFill = QStringLiteral("Error: cannot fix blank cells");
const QString kCannotMask = QStringLiteral("Error: cannot determing data change state");
const QString kCannotEditWorkTime = QStringLiteral("Error: cannot edit the work time");
const QString kRecalculateNow = QStringLiteral("Do you wish to recalculate now?");
const QString kNotRecalculated = QStringLiteral(
    "The incentive values were not recalculated, so the figures on screen do not include the "
    "changes just saved. Choose Update Incentive Values in the File menu to recalculate them.");

// The incentive values of a new row are the engine's results: the INSERT leaves them out.
bool isIncentiveValue(ValueKind kind) {
    return kind == ValueKind::IHours || kind == ValueKind::ITyped || kind == ValueKind::IPay;
}

} // namespace

WeekSaver::WeekSaver(DetailContext& context, Actions actions)
    : ctx_(context)
    , actions_(std::move(actions)) {}

void WeekSaver::bindButtons() {
    QObject::connect(ctx_.pane.saveChanges(), &QPushButton::clicked, &ctx_.pane,
                     [this] { SaveChanges(); });
    QObject::connect(&ctx_.pane, &UserDetailPane::systemHoursClicked, &ctx_.pane,
                     [this](int day) { SystemHours(day); });
}

void WeekSaver::showFailure(const QString& sentence, int number, const QString& description) {
    ctx_.messages.inform(sentence + QStringLiteral("\r\n\r\nError ") + QString::number(number) +
                             QLatin1Char(':') + description,
                         common::MessageIcon::Critical);
}

DayCellTexts WeekSaver::cellTexts(int d) const {
    DayCellTexts texts;
    for (std::size_t i = 0; i < kValueKinds.size(); ++i)
        texts[i] = ctx_.pane.cell(kValueKinds[i], d)->text();
    return texts;
}

void WeekSaver::FillBlankCells(int d) {
    if (!isDayRow(d)) {
        showFailure(kCannotFill, suite::SuiteErrorNumber::InvalidArgument,
                    QStringLiteral("There is no day row %1.").arg(d));
        return;
    }
    for (ValueKind kind : kValueKinds) {
        QLineEdit* cell = ctx_.pane.cell(kind, d);
        if (cell->text().isEmpty())
            cell->setText(kind == ValueKind::IPay ? QStringLiteral("0.00") : QStringLiteral("0"));
    }
}

// The statements of every changed day. Throws SuiteError when a cell is not a number.
std::vector<WeekSaver::DayWrite> WeekSaver::prepareWeek() {
    std::vector<DayWrite> writes;
    const SaveWeekStatements statements(ctx_.region, ctx_.hourMode());
    for (int d = 0; d < kDayRows; ++d) {
        FillBlankCells(d);
        const DayRecord& record = ctx_.week[static_cast<std::size_t>(d)];
        // The group's default account is a formula setting, never a production row.
        if (record.AccountID == -1)
            continue;
        DayWrite write;
        write.day = d;
        write.cells = cellTexts(d);
        write.mask = DayChangeMask::of(record, write.cells, ctx_.region);
        if (write.mask == 0)
            continue;
        write.insert = !record.Stored;
        write.statement = write.insert ? statements.insert(record, write.cells)
                                       : statements.update(record, write.mask, write.cells);
        writes.push_back(write);
    }
    return writes;
}

bool WeekSaver::SaveWeek() {
    std::vector<DayWrite> writes;
    try {
        writes = prepareWeek();
    } catch (const NumberedError& e) {
        showFailure(kCannotMask, e.number(), e.description());
        return false;
    }
    if (writes.empty())
        return true;
    try {
        ConnectionUse use(ctx_.connection);
        db::Transaction transaction(ctx_.connection);
        for (const DayWrite& write : writes)
            ctx_.connection.execute(write.statement);
        transaction.commit();
    } catch (const NumberedError& e) {
        showFailure(kCannotSave, e.number(), e.description());
        return false;
    }
    for (const DayWrite& write : writes)
        markSaved(write);
    return true;
}

// The day record takes the values now stored, so the day shows no change until the operator
// types again. Values a new row does not store go back to what the record holds.
void WeekSaver::markSaved(const DayWrite& write) {
    DayRecord& record = ctx_.week[static_cast<std::size_t>(write.day)];
    const int hourMode = ctx_.hourMode();
    const NumberText numbers(ctx_.region.DecimalSep());
    for (std::size_t i = 0; i < kValueKinds.size(); ++i) {
        const ValueKind kind = kValueKinds[i];
        if (!(write.mask & DayChangeMask::bit(kind)))
            continue;
        if (write.insert && isIncentiveValue(kind))
            ctx_.pane.cell(kind, write.day)->setText(numbers.fixed(record.values[i].current));
        else if (!(write.insert && kind == ValueKind::Hours && hourMode == 1))
            record.values[i].current = CellNumber::value(write.cells[i], ctx_.region);
    }
    // The hours of a new row come from the activity log; the reload shows them.
    if (write.insert && hourMode == 1)
        ctx_.pane.cell(ValueKind::Hours, write.day)->clear();
    record.Stored = true;
}

void WeekSaver::DiscardEdits() {
    for (DayRecord& record : ctx_.week)
        record.Editable = false;
}

QString WeekSaver::notRecalculatedText(const recalc::RecalcOutcome& outcome) {
    if (outcome.error.isEmpty())
        return kNotRecalculated;
    return kNotRecalculated + QStringLiteral("\r\n\r\n") + outcome.error;
}

void WeekSaver::SaveChanges() {
    // A failed save keeps the typed values on screen: nothing is reloaded over them and there
    // is nothing new to recalculate.
    if (!SaveWeek())
        return;
    const CurrentSelection selection = ctx_.selection();
    actions_.reloadWeek(selection.transID, selection.userName, selection.accountName,
                        selection.accountID);
    offerRecalculation(selection);
}

void WeekSaver::offerRecalculation(const CurrentSelection& selection) {
    if (!ctx_.messages.ask(kRecalculateNow))
        return;
    QCoreApplication::processEvents();
    const recalc::RecalcOutcome outcome =
        actions_.recalculate(QStringLiteral("Trans_info.trans_id = '") +
                             catalogue::QuoteSql(selection.transID) + QLatin1Char('\''));
    if (outcome.completed()) {
        // The engine's completion handler reloads the week and leaves the busy state.
        ctx_.beginBusy();
        return;
    }
    if (outcome.queued()) {
        // The server recalculates later; waiting here would only show the old figures.
        ctx_.messages.inform(recalc::RecalcOutcome::queuedNotice());
        return;
    }
    // No completion event follows a cancelled or failed run: the window stays usable.
    ctx_.messages.inform(notRecalculatedText(outcome), common::MessageIcon::Warning);
}

void WeekSaver::SystemHours(int i) {
    if (!isDayRow(i))
        return;
    try {
        ConnectionUse use(ctx_.connection);
        QLineEdit* hoursCell = ctx_.pane.cell(ValueKind::Hours, i);
        QString hours = hoursCell->text();
        DayRecord& record = ctx_.week[static_cast<std::size_t>(i)];
        // A day that may not be saved gets no row and no work time.
        if (!DayChangeMask::saveable(record))
            return;
        if (!record.Stored) {
            // The work time belongs to a day's row; create it first. Blank cells would make no
            // number, so they are zero like on a save.
            FillBlankCells(i);
            const SaveWeekStatements statements(ctx_.region, ctx_.hourMode());
            ctx_.connection.execute(statements.systemHoursInsert(record, cellTexts(i)));
            record.Stored = true;
        }
        QString second = QStringLiteral("0");
        if (actions_.editWorkTime(ctx_.pane.workDate(i)->text(), record.TransID, 0, hours, second,
                                  true))
            hoursCell->setText(hours);
    } catch (const NumberedError& e) {
        showFailure(kCannotEditWorkTime, e.number(), e.description());
    }
}

} // namespace velora::detail
