#pragma once

namespace quorveno::bench {

// This process's resident memory in kilobytes (on Windows its working set),
// or -1 when the system does not tell.
long ResidentKilobytes();

// The processor time this process has used so far, user and system, in seconds.
double ProcessorSeconds();

}  // namespace quorveno::bench
