#include "WeekSaver.h"

#include "ConnectionUse.h"
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

int WeekSaver::DayChangeMask(int d) {
    try {
        if (!isDayRow(d))
            throw suite::SuiteError(suite::SuiteErrorNumber::InvalidArgument,
                                    QStringLiteral("There is no day row %1.").arg(d));
        return DayChangeMask::of(ctx_.week[static_cast<std::size_t>(d)], cellTexts(d), ctx_.region);
    } catch (const NumberedError& e) {
        showFailure(kCannotMask, e.number(), e.description());
    }
    return 0;
}

void WeekSaver::saveDay(int d) {
    FillBlankCells(d);
    DayRecord& record = ctx_.week[static_cast<std::size_t>(d)];
    // The group's default account is a formula setting, never a production row.
    if (record.AccountID == -1)
        return;
    const int mask = DayChangeMask(d);
    if (mask == 0)
        return;
    const int hourMode = ctx_.hourMode();
    const SaveWeekStatements statements(ctx_.region, hourMode);
    const DayCellTexts cells = cellTexts(d);
    if (record.Stored) {
        ctx_.connection.execute(statements.update(record, mask, cells));
    } else {
        ctx_.connection.execute(statements.insert(record, cells));
        // The hours of a new row come from the activity log; the reload shows them.
        if (hourMode == 1)
            ctx_.pane.cell(ValueKind::Hours, d)->clear();
    }
    record.Stored = true;
}

void WeekSaver::SaveWeek() {
    try {
        ConnectionUse use(ctx_.connection);
        for (int d = 0; d < kDayRows; ++d)
            saveDay(d);
    } catch (const NumberedError& e) {
        showFailure(kCannotSave, e.number(), e.description());
    }
}

void WeekSaver::SaveChanges() {
    SaveWeek();
    const CurrentSelection selection = ctx_.selection();
    actions_.loadWeek(selection.transID, selection.userName, selection.accountName,
                      selection.accountID);
    if (!ctx_.messages.ask(kRecalculateNow))
        return;
    QCoreApplication::processEvents();
    actions_.recalculate(QStringLiteral("Trans_info.trans_id = '") +
                         catalogue::QuoteSql(selection.transID) + QLatin1Char('\''));
    // The engine's completion handler reloads the week and leaves the busy state.
    ctx_.beginBusy();
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
