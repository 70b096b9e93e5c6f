#pragma once

#include <QComboBox>

namespace velora::groups {

// The index of the list entry whose item data is the number; -1 when no entry carries it.
inline int ListEntryWithItemData(const QComboBox& list, int itemData) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemData(i).toInt() == itemData)
            return i;
    }
    return -1;
}

// The index of the list entry whose item data is the number; 0 (the first entry) when no entry
// carries it.
inline int FindListIndexByItemData(const QComboBox& list, int itemData) {
    const int entry = ListEntryWithItemData(list, itemData);
    return entry < 0 ? 0 : entry;
}

} // namespace velora::groups
