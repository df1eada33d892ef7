// The kernel object name set of this run, chosen once from the Windows version.
#pragma once

#include "link/channel/link_block.h"

// Asks GetVersionExA (extended record first, then the plain one). Returns
// false when both fail; *names is then left as it was.
bool QueryKernelObjectNames(const KernelObjectNames** names);

// The set in use: chosen on first call (plain names if the version query fails).
const KernelObjectNames& CurrentKernelObjectNames();

// TEST SEAM: chooses the name set again as if the program ran on the given
// Windows version (platform 0 forgets the choice: the next use asks the
// system). Objects already opened keep their names. For tests only.
void TestSeam_UseWindowsVersion(unsigned long platformId, unsigned long majorVersion);
