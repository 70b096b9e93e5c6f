#include "AnimationClip.h"

#include "WidgetError.h"

#include <array>

namespace velora::widgets {

namespace {

const std::array<AnimationClip, 2>& clips() {
    static const std::array<AnimationClip, 2> all{{
        {AnimationClip::kTransfer, 36, 50, QStringLiteral("Records moving from the server")},
        {AnimationClip::kSave, 30, 60, QStringLiteral("Pages being saved to disk")},
    }};
    return all;
}

} // namespace

const AnimationClip& AnimationClip::find(int number) {
    for (const AnimationClip& clip : clips())
        if (clip.number == number)
            return clip;
    throw WidgetError(WidgetErrorNumber::ResourceNotFound,
                      QStringLiteral("Resource with identifier '%1' not found").arg(number));
}

bool AnimationClip::exists(int number) {
    for (const AnimationClip& clip : clips())
        if (clip.number == number)
            return true;
    return false;
}

} // namespace velora::widgets
