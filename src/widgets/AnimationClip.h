#pragma once

#include <QString>

namespace velora::widgets {

// The wait dialog's animation clips, known by their resource numbers. The program draws them
// itself; a clip is its number, how many frames one cycle has and how long each frame shows.
struct AnimationClip {
    static constexpr int kTransfer = 201; // records travelling from the server into a table
    static constexpr int kSave = 202;     // pages being written to a disk

    int number = 0;
    int frameCount = 0;
    int frameMilliseconds = 0;
    QString description;

    // The clip with that number; any other number fails with 326.
    static const AnimationClip& find(int number);
    static bool exists(int number);
};

} // namespace velora::widgets
