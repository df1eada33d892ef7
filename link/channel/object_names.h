// The kernel object name set of this run, chosen once from the Windows version.
#pragma once

#include "link/channel/link_block.h"

// Asks GetVersionExA (extended record first, then the plain one). Returns
// false when both fail; *names is then left as it was.
bool QueryKernelObjectNames(const KernelObjectNames** names);

// The set in use: chosen on first call (plain names if the version query fails).
const KernelObjectNames& CurrentKernelObjectNames();
