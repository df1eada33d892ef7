// Zero-filled fixed memory for the process-wide records.
#pragma once

#include <cstddef>

// Returns `size` zero bytes, or null with the system error code in *errorOut
// (-1 when size is 0). errorOut must be given.
void* AllocBlock(std::size_t size, long* errorOut);

// Frees a block from AllocBlock: -1 for null, 0 on success, else the system error code.
long FreeBlock(void* block);
