#include "Preferences.h"

#include "PreferenceKeys.h"
#include "PreferenceStore.h"
#include "TextConversion.h"

namespace velora::common {

namespace {

enum class Level { System, User, UserOverSystem };

QString readAtLevel(PreferenceStore& store, const QString& key, const QString& defaultValue,
                    Level level) {
    switch (level) {
    case Level::System:
        return store.GetPreferenceValue(key, defaultValue, true);
    case Level::User:
        return store.GetPreferenceValue(key, defaultValue, false);
    case Level::UserOverSystem:
        // The operator's own row wins; without one the system row applies; without that
        // the built-in default.
        return store.GetPreferenceValue(key, store.GetPreferenceValue(key, defaultValue, true),
                                        false);
    }
    return defaultValue;
}

bool isFirstDayOfWeekRequest(const QVariant& nameOrNumber) {
    if (nameOrNumber.typeId() == QMetaType::QString)
        return nameOrNumber.toString() == QLatin1String("FirstDayOfWeek");
    switch (nameOrNumber.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return nameOrNumber.toDouble() == 1.0;
    default:
        return false;
    }
}

} // namespace

void Preferences::load(PreferenceStore& store, bool supportDeletedReports) {
    namespace Key = PreferenceKey;
    namespace Default = PreferenceDefault;
    // Read in a fixed order, each value converted as soon as it is read, so a bad value stops
    // the load before any later key is read.
    Preferences loaded;
    loaded.hourType =
        textToInteger(readAtLevel(store, Key::HourType, Default::HourType, Level::System));
    loaded.firstDayOfWeek =
        textToByte(readAtLevel(store, Key::FirstDayOfWeek, Default::FirstDayOfWeek, Level::System));
    loaded.autoLocking =
        textToInteger(readAtLevel(store, Key::AutoLocking, Default::AutoLocking, Level::System));
    loaded.enableFormulaWizard = textToBoolean(readAtLevel(
        store, Key::EnableFormulaWizard, Default::EnableFormulaWizard, Level::UserOverSystem));
    loaded.showDeletedAccounts = textToBoolean(readAtLevel(
        store, Key::ShowDeletedAccounts, Default::ShowDeletedAccounts, Level::UserOverSystem));
    loaded.showDeletedUsers = textToBoolean(readAtLevel(
        store, Key::ShowDeletedUsers, Default::ShowDeletedUsers, Level::UserOverSystem));
    loaded.includeDeletedReports = textToBoolean(readAtLevel(
        store, Key::IncludeDeletedReports, Default::IncludeDeletedReports, Level::System));
    loaded.partitionDisplay = textToByte(readAtLevel(
        store, Key::PartitionDisplay, Default::PartitionDisplay, Level::UserOverSystem));
    loaded.firstTimeUse =
        textToBoolean(readAtLevel(store, Key::FirstTimeUse, Default::FirstTimeUse, Level::User));
    loaded.windowHeight =
        textToInteger(readAtLevel(store, Key::WindowHeight, Default::WindowHeight, Level::User));
    loaded.windowWidth =
        textToInteger(readAtLevel(store, Key::WindowWidth, Default::WindowWidth, Level::User));
    loaded.windowTop =
        textToInteger(readAtLevel(store, Key::WindowTop, Default::WindowTop, Level::User));
    loaded.windowLeft =
        textToInteger(readAtLevel(store, Key::WindowLeft, Default::WindowLeft, Level::User));
    loaded.splitPosition =
        textToInteger(readAtLevel(store, Key::SplitPos, Default::SplitPos, Level::User));

    // Without deleted-reports support the figures must never include deleted reports, so a
    // setting left over from a site that had it is switched off for good.
    if (!supportDeletedReports && loaded.includeDeletedReports) {
        loaded.includeDeletedReports = false;
        store.SetPreferenceValue(Key::IncludeDeletedReports, QStringLiteral("0"), true);
    }
    *this = loaded;
}

void Preferences::saveWindowSettings(PreferenceStore& store, const WindowSettings& settings) {
    store.SetPreferenceValue(PreferenceKey::WindowHeight, singleToText(settings.height), false);
    store.SetPreferenceValue(PreferenceKey::WindowWidth, singleToText(settings.width), false);
    store.SetPreferenceValue(PreferenceKey::WindowTop, singleToText(settings.top), false);
    store.SetPreferenceValue(PreferenceKey::WindowLeft, singleToText(settings.left), false);
    store.SetPreferenceValue(PreferenceKey::SplitPos, QString::number(settings.splitPosition),
                             false);
}

QVariant Preferences::GetPreference(const QVariant& nameOrNumber) const {
    if (isFirstDayOfWeekRequest(nameOrNumber))
        return QVariant::fromValue(firstDayOfWeek);
    return {};
}

} // namespace velora::common
