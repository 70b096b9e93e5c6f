#pragma once

#include <QString>

namespace velora::explorer {

// The texts of pseudo accounts ("__Account Summary", "__Default Account",
// "__External Accounts") begin with "__" so that a sorted account folder shows them before
// the real accounts; once a folder is filled, the explorer drops that prefix from the texts
// it shows, without moving the nodes.
class ExplorerNodeText {
public:
    static constexpr QLatin1String SortFirstPrefix{"__"};

    // Ascending text order of a sorted folder: texts beginning with "__" come before all
    // others, then letter case is ignored (ties fall back to the exact text, so the order is
    // total).
    static bool SortsBefore(const QString& left, const QString& right);

    // The text a node shows after the clean-up: the prefix goes from a user's account summary
    // (-2) and from a group's default (-1) and external (-3) accounts; every other node,
    // including a "__Default Account" under a user, keeps its text.
    static QString CleanedText(const QString& key, const QString& text);
};

} // namespace velora::explorer
