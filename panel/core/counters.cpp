// Access to the converted consumables counters.
#include "counters.h"

#include <cstring>

std::uint32_t CounterValue(const unsigned char* block, int offset) {
    if (!block || offset < 0) return 0;
    // The block is a byte array: the count need not be aligned.
    std::uint32_t value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}
