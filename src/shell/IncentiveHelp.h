#pragma once

#include "ProgramHelp.h"

namespace velora::shell {

// The program's --help text (and manual page): its switches, the environment it reads, where
// its error log goes and its exit statuses.
cli::ProgramHelp incentiveHelp();

} // namespace velora::shell
