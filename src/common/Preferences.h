#pragma once

#include <QVariant>
#include <QtGlobal>

namespace velora::common {

class PreferenceStore;

// The main window's size, position and splitter position as saved at unload. Sizes and
// positions are in twips; the splitter position is in the splitter's own units.
struct WindowSettings {
    float height = 0;
    float width = 0;
    float top = 0;
    float left = 0;
    int splitPosition = 0;
};

// The operator's preferences as the main window holds them after start-up. Each field starts
// at its built-in default.
class Preferences {
public:
    qint16 hourType = 1;       // 1: hours from the activity log, 2: typed hours
    quint8 firstDayOfWeek = 1; // 1 = Sunday ... 7 = Saturday
    qint16 autoLocking = 30;   // days after which production rows are locked
    bool enableFormulaWizard = true;
    bool showDeletedAccounts = false;
    bool showDeletedUsers = false;
    bool includeDeletedReports = false;
    quint8 partitionDisplay = 0; // 0: partition name before the item name, else after it
    bool firstTimeUse = true;    // show the Preferences dialog at start-up
    qint16 windowHeight = 9540;  // twips
    qint16 windowWidth = 11325;  // twips
    qint16 windowTop = -1;       // twips; -1 centres
    qint16 windowLeft = -1;      // twips; -1 centres
    qint16 splitPosition = 5000;

    // Reads every preference at its level and converts it to its field type. When
    // deleted-reports support is off, an include-deleted-reports preference that came out
    // true is turned off and stored as "0" at system level. Throws ConversionError for a value
    // that does not convert (13, "Type mismatch") or does not fit its field (6, "Overflow"),
    // and db::DbError for a failing statement; the fields keep their previous values then.
    void load(PreferenceStore& store, bool supportDeletedReports);

    // Stores the window's size, position and splitter position at user level.
    static void saveWindowSettings(PreferenceStore& store, const WindowSettings& settings);

    // The preference asked for by name or number: "FirstDayOfWeek" (or 1) gives the first
    // day of the week as a byte; anything else gives an empty value.
    QVariant GetPreference(const QVariant& nameOrNumber) const;
};

} // namespace velora::common
