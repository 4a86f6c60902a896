#pragma once

#include "cli/command_line.h"

namespace quorveno {

// `quorveno --riepilogo`: writes the class summary page and, without
// --output, opens it in the desktop's browser. With --output it needs no
// display. Returns the exit status; failures are told on standard error.
int RunClassSummary(int& argc, char* argv[], const CommandLine& command);

}  // namespace quorveno
