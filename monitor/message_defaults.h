// The values the status monitor writes into slot "1" at every start, in
// their order: RST_DVD "999" tells the language monitor that the defaults
// are being written, RST_DVD "0" that they are complete.
#pragma once

#include <windows.h>

#include <cstddef>

struct MessageDefault {
    const char* name;
    const char* text;    // a REG_SZ value, or null for a one-byte REG_BINARY
    unsigned char byte;  // the REG_BINARY value
};

extern const MessageDefault MessageDefaults[];
extern const std::size_t MessageDefaultCount;

// Writes the defaults into the open slot in order; the first write that
// fails stops the sequence. True when all were written.
bool WriteMessageDefaults(HKEY slot);
