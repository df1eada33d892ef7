#include "common/timing.h"

#include <windows.h>

namespace {
volatile unsigned g_divisor = 1;
}

unsigned ScaledMilliseconds(unsigned milliseconds) {
    const unsigned divisor = g_divisor ? g_divisor : 1;
    return milliseconds / divisor;
}

void FixedWait(unsigned milliseconds) { Sleep(ScaledMilliseconds(milliseconds)); }

void TestSeam_ShortenFixedWaits(unsigned divisor) { g_divisor = divisor ? divisor : 1; }
