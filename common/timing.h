// Every fixed wait of the printer conversations goes through FixedWait, so
// that tests can shorten them all in one place. The shipped programs never
// call the test seam: their waits are what the printer and its language
// monitor need (200 ms before reading an answer, 5 s after a recovery
// sequence, and so on).
#pragma once

// Waits `milliseconds` (divided by the test divisor, if one is set).
void FixedWait(unsigned milliseconds);

// `milliseconds` as FixedWait would wait it; for deadlines.
unsigned ScaledMilliseconds(unsigned milliseconds);

// TEST SEAM: divides every fixed wait and channel time-out by `divisor`
// (1 restores the real waits). For tests only.
void TestSeam_ShortenFixedWaits(unsigned divisor);
