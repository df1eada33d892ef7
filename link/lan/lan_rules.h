// The rules of the LAN channel that need no platform: which entry points the
// LAN library must have and in which order they are bound, how a port name
// becomes the printer's address, how far an answer count is believed, and
// which request codes reach the library. The texts the channel shows.
#pragma once

#include <cstddef>
#include <cstdint>

enum { LanEntryPointCount = 14, LanAddressSize = 256, LanAnswerSize = 4096 };

// The library's entry points, in the order they are bound.
extern const char* const LanEntryNames[LanEntryPointCount];

// Asks `lookup` for each entry point in order and stores what it finds in
// entries[i]. Stops at the first it cannot find (the rest are not asked
// for): 0; 1 when all 14 exist.
typedef void* (*LanEntryLookup)(const char* name, void* context);
int BindLanEntryPoints(LanEntryLookup lookup, void* context, void* entries[LanEntryPointCount]);

// The printer's address in a port name such as "192.168.1.20:lp": the first
// colon-delimited token after any leading colons. The port name counts only
// up to its first LanAddressSize - 1 bytes; `address` (of `size` bytes) is
// always NUL-terminated.
void DeriveLanAddress(const char* portName, char* address, std::size_t size);

// The answer count the library reports, bounded by the answer buffer: a
// library that claims more cannot have put more into it.
std::uint32_t BoundLanAnswerCount(std::uint32_t count);

// What a request code asks of the library; anything else is not passed on.
enum LanRequest { LanNoRequest, LanReceiveRequest, LanSendRequest };
LanRequest LanRequestOf(std::uint32_t code);

// What went wrong on the channel, for a caller that words it in its own
// language (the console tool) rather than showing the channel's text.
enum LanFailure {
    LanInitFailed,     // the library cannot be loaded, bound or started
    LanNoAnswer,       // the printer's address does not answer
    LanReceiveFailed,
    LanSendFailed,
    LanCloseFailed,
};
// The channel's text of `failure` (never null).
const char* LanFailureText(LanFailure failure);
// The failure whose text `text` is (compared as text); -1 for any other,
// null included.
int LanFailureOfText(const char* text);

// The texts of the channel, in one place.
extern const char LanInitFailedText[];    // the library cannot be loaded, bound or started
extern const char LanNoAnswerText[];      // the printer's address does not answer
extern const char LanReceiveFailedText[];
extern const char LanSendFailedText[];
extern const char LanCloseFailedText[];
