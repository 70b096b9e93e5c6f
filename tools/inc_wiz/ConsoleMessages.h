#pragma once

#include "common/Messages.h"

namespace velora::wizard {

// Messages of a scripted run: written to the error output, every question answered Yes.
class ConsoleMessages final : public common::Messages {
public:
    common::MessageAnswer show(const QString& text, const QString& title, common::MessageIcon icon,
                               common::MessageButtons buttons) override;
};

} // namespace velora::wizard
