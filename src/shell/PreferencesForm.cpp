#include "PreferencesForm.h"

#include "common/Messages.h"
#include "common/PreferenceKeys.h"
#include "common/PreferenceStore.h"
#include "common/TextConversion.h"

#include <cmath>

namespace velora::shell {

namespace {

namespace Key = common::PreferenceKey;

constexpr double kAutoLockMaximum = 32000;

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

PreferencesForm::PreferencesForm(common::PreferenceStore& store, common::Messages& messages,
                                 Situation situation)
    : store_(store)
    , messages_(messages)
    , situation_(situation) {}

const QList<int>& PreferencesForm::hourTypeItems() {
    static const QList<int> items{1, 2};
    return items;
}

const QList<int>& PreferencesForm::dayOfWeekItems() {
    static const QList<int> items{1, 2, 3, 4, 5, 6, 7};
    return items;
}

const QList<int>& PreferencesForm::partitionDisplayItems() {
    static const QList<int> items{0, 1};
    return items;
}

QString PreferencesForm::readSystem(const QString& key, const QString& defaultValue) {
    return store_.GetPreferenceValue(key, defaultValue, true);
}

QString PreferencesForm::readOperatorOverSystem(const QString& key, const QString& defaultValue) {
    return store_.GetPreferenceValue(key, store_.GetPreferenceValue(key, defaultValue, true),
                                     false);
}

PreferenceChoices PreferencesForm::load() {
    PreferenceChoices c;
    c.hourType = chosenItem(readSystem(Key::HourType, QStringLiteral("1")), hourTypeItems());
    c.firstDayOfWeek = chosenItem(readSystem(Key::FirstDayOfWeek, QString()), dayOfWeekItems());
    const QString autoLock = readSystem(Key::AutoLocking, QString());
    if (!autoLock.isEmpty())
        c.autoLock = autoLock;
    if (situation_.supportDeletedReports)
        c.includeDeletedReports = checkedFrom(readSystem(Key::IncludeDeletedReports, QString()));
    c.eomAdjustment = checkedFrom(readSystem(Key::AddBlankEomValues, QString()));
    c.showDeletedAccounts =
        checkedFrom(readOperatorOverSystem(Key::ShowDeletedAccounts, QStringLiteral("False")));
    c.showDeletedUsers =
        checkedFrom(readOperatorOverSystem(Key::ShowDeletedUsers, QStringLiteral("False")));
    c.enableFormulaWizard =
        checkedFrom(readOperatorOverSystem(Key::EnableFormulaWizard, QStringLiteral("True")));
    if (situation_.partitionMode)
        c.partitionDisplay =
            chosenItem(readOperatorOverSystem(Key::PartitionDisplay, QStringLiteral("0")),
                       partitionDisplayItems());
    return c;
}

PreferencesForm::AutoLockCheck PreferencesForm::checkAutoLock(const QString& text) {
    bool numeric = false;
    const double days = text.trimmed().toDouble(&numeric);
    if (!numeric || !std::isfinite(days))
        return AutoLockCheck::NotNumeric;
    const double whole = std::nearbyint(days); // as a whole number, halves to even
    return whole < 0 || whole > kAutoLockMaximum ? AutoLockCheck::OutOfRange
                                                 : AutoLockCheck::Accepted;
}

void PreferencesForm::write(const QString& key, const QString& value, bool systemLevel) {
    store_.SetPreferenceValue(key, value, systemLevel);
}

bool PreferencesForm::accept(const PreferenceChoices& c) {
    switch (checkAutoLock(c.autoLock)) {
    case AutoLockCheck::NotNumeric:
        messages_.inform(kNotNumericMessage, common::MessageIcon::Warning);
        return false;
    case AutoLockCheck::OutOfRange:
        messages_.inform(kOutOfRangeMessage, common::MessageIcon::Warning);
        return false;
    case AutoLockCheck::Accepted:
        break;
    }
    const bool admin = situation_.admin;
    if (admin) {
        write(Key::HourType, QString::number(c.hourType), true);
        write(Key::FirstDayOfWeek, QString::number(c.firstDayOfWeek), true);
        write(Key::AutoLocking, c.autoLock, true);
    }
    write(Key::EnableFormulaWizard, flag(c.enableFormulaWizard), false);
    write(Key::ShowDeletedAccounts, flag(c.showDeletedAccounts), false);
    write(Key::ShowDeletedUsers, flag(c.showDeletedUsers), false);
    write(Key::FirstTimeUse, QStringLiteral("False"), false);
    if (admin)
        write(Key::IncludeDeletedReports, flag(c.includeDeletedReports), true);
    if (situation_.partitionMode)
        write(Key::PartitionDisplay, QString::number(c.partitionDisplay), false);
    if (admin)
        write(Key::AddBlankEomValues, flag(c.eomAdjustment), true);
    return true;
}

int PreferencesForm::chosenItem(const QString& stored, const QList<int>& itemData) {
    if (stored.isEmpty())
        return itemData.value(1);
    bool number = false;
    const int value = stored.trimmed().toInt(&number);
    return number && itemData.contains(value) ? value : itemData.value(0);
}

bool PreferencesForm::checkedFrom(const QString& stored) {
    if (stored.isEmpty())
        return false;
    try {
        return common::textToBoolean(stored);
    } catch (const common::ConversionError&) {
        return false;
    }
}

} // namespace velora::shell
