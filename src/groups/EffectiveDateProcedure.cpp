#include "EffectiveDateProcedure.h"

#include "PromptForValue.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "suite/HXRegion.h"
#include "widgets/DateText.h"

namespace velora::groups {

namespace {

const QString kRetryTitle = QStringLiteral("Effective Date for Change");
const QString kInvalidPrompt =
    QStringLiteral("The date you entered is invalid. Please re-enter a valid effective date:");
const QString kReenterPrompt = QStringLiteral("Please re-enter a valid effective date:");
const QString kLoseChanges =
    QStringLiteral("Changes will be lost! Are you sure you wish to cancel?");

QString conflictQuestion(const QString& earliest) {
    return QStringLiteral("The effective date you entered can not be used. This date conflicts "
                          "with already locked incentive changes which can not be reverted to "
                          "the effective date you entered. The earliest date you can revert to "
                          "is ") +
           earliest + QStringLiteral(". Would you like to use this date?");
}

} // namespace

EffectiveDateProcedure::EffectiveDateProcedure(ValuePrompter& prompter, common::Messages& messages,
                                               const suite::HXRegion& region,
                                               std::function<QDate()> today)
    : prompter_(prompter)
    , messages_(messages)
    , region_(region)
    , today_(std::move(today)) {}

EffectiveDateOutcome EffectiveDateProcedure::Run(db::Connection& connection,
                                                 const EffectiveDateRequest& request) {
    using Kind = EffectiveDateOutcome::Kind;
    const QString asked = AskForDate(request.title, request.prompt, request.variant);
    if (asked.isEmpty())
        return {Kind::NoDate, {}};
    const QString date = EarliestRevertDate(connection, asked, request.maximumQuery(asked));
    if (date.isEmpty())
        return {Kind::Declined, {}};
    connection.execute(request.lockStatement(date));
    return {Kind::Locked, date};
}

QString EffectiveDateProcedure::AskForDate(const QString& title, const QString& prompt,
                                           EffectiveDateVariant variant) {
    QString date = ask(title, prompt);
    if (variant == EffectiveDateVariant::GroupOrUser) {
        while (!date.isEmpty() && !isValidDate(date))
            date = ask(kRetryTitle, kInvalidPrompt);
        return date;
    }
    while (!isValidDate(date)) {
        if (!date.isEmpty())
            date = ask(kRetryTitle, kInvalidPrompt);
        else if (messages_.show(kLoseChanges, common::Messages::kTitle, common::MessageIcon::None,
                                common::MessageButtons::YesNo) == common::MessageAnswer::Yes)
            return {};
        else
            date = ask(kRetryTitle, kReenterPrompt);
    }
    return date;
}

QString EffectiveDateProcedure::EarliestRevertDate(db::Connection& connection, const QString& date,
                                                   const QString& maximumQuery) {
    db::Recordset latest = connection.openRecordset(maximumQuery);
    const QDate locked = latest.eof() ? QDate() : latest.date(latest.columnNames().value(0));
    if (!locked.isValid())
        return date;
    const QString earliest = region_.formatDate(locked);
    const bool accepted =
        messages_.show(conflictQuestion(earliest), common::Messages::kTitle,
                       common::MessageIcon::None,
                       common::MessageButtons::YesNo) == common::MessageAnswer::Yes;
    return accepted ? earliest : QString();
}

bool EffectiveDateProcedure::isValidDate(const QString& text) const {
    return widgets::DateText(region_.DateFormat()).isDate(text);
}

QString EffectiveDateProcedure::ask(const QString& title, const QString& prompt) {
    const PromptResult answer =
        prompter_.PromptForValue(prompt, title, region_.formatDate(today_()), true);
    return answer.confirmed() ? answer.text : QString();
}

} // namespace velora::groups
