// Copies of texts that came from outside (registry values, control texts)
// into fixed buffers: always terminated, never past the destination, and
// never cut inside a double-byte character.
#pragma once

#include <cstddef>

// Copies `source` (up to its NUL) into `destination` of `size` bytes.
// Returns the bytes copied.
std::size_t CopyBounded(char* destination, std::size_t size, const char* source);
