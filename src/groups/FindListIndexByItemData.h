#pragma once

#include <QComboBox>

namespace velora::groups {

// The index of the list entry whose item data is the number; 0 (the first entry) when no entry
// carries it.
inline int FindListIndexByItemData(const QComboBox& list, int itemData) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemData(i).toInt() == itemData)
            return i;
    }
    return 0;
}

} // namespace velora::groups
