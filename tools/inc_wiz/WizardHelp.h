#pragma once

#include "ProgramHelp.h"

namespace velora::wizard {

// The wizard's --help text (and manual page): its switches, the answers file, its exit codes.
cli::ProgramHelp wizardHelp();

} // namespace velora::wizard
