#pragma once

#include "ExplorerImage.h"

#include <QIcon>
#include <QStringList>
#include <array>

namespace velora::explorer {

// The image list of the explorer: fifteen 16x16 icons under fixed keys, shared by the tree
// and by the list view the explorer fills. The pictures are drawn here rather than loaded,
// so the program carries no image files for them.
class ExplorerImages {
public:
    ExplorerImages();

    // The keys in the list's order.
    static QStringList keys();

    QIcon icon(ExplorerImage image) const;
    // A null icon for a key the list does not hold.
    QIcon icon(const QString& key) const;

    static constexpr int kSize = 16;

private:
    std::array<QIcon, kExplorerImageCount> icons_;
};

} // namespace velora::explorer
