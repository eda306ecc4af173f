// Fault injection for rewrites: fails the nth occurrence of one step (create, write, sync, rename)
// through the rewrite's operations seam, the way a failing device proves that nothing is lost.
#pragma once

#include "platform/TextFile.h"

namespace textfile::fault {
using textfile::Step;
// Fails the `nth` (1-based) occurrence of `step`, counted over all rewrites from now on.
void Inject(Step step, int nth = 1);
// The system's calls again.
void Clear();
}  // namespace textfile::fault
