// The answer records of the consumables query (ESC e S1, S3..S9), one block
// per record id, each a copy of the record as it came from the printer:
// byte 0 the leading byte, byte 1 the length, byte 2 the id, data from byte 4.
// After a complete answer the counts are converted to host order.
#pragma once

#include <cstdint>

struct ConsumablesCounters {
    unsigned char record1[8];         // id 1: read, shown nowhere; 16-bit value in bytes 4-5
    unsigned char powerOnTime[8];     // id 3: 32-bit count in bytes 4-7 (hours)
    unsigned char printedLines[8];    // id 4
    unsigned char platenFeeds[8];     // id 5
    unsigned char ribbonLife[8];      // id 6 (characters)
    unsigned char thicknessCount[8];  // id 7
    unsigned char headPins[100];      // id 8: 24 32-bit counts in bytes 4-99, pin 1 first
    unsigned char alarmHistory[11];   // id 9: seven one-byte alarm codes in bytes 4-10
};

// Reads the host-order 32-bit count at `offset` of a converted block.
std::uint32_t CounterValue(const unsigned char* block, int offset);

// The answer buffer of the consumables query (the same 4096 bytes as every
// other answer).
enum { CounterAnswerBufferSize = 4096 };

// Counter parse: scans for the (length, id) pairs 08 01, 08 03 .. 08 07,
// 64 08, 0B 09; each match copies its block (from the byte before the match;
// 0 when the match is at position 0) into the record of that id and counts
// one block. Nothing is read outside the buffer or written outside the
// record: bytes of a block beyond the 4096-byte buffer are stored as 0.
// Returns the number of blocks matched; with 8 or more the counts are
// converted from big-endian to host order (ids 1, 3-8; id 9 stays raw).
int ParseCountersAnswer(const unsigned char* buffer, int length, ConsumablesCounters* counters);
