#include "common/memory.h"

#include <windows.h>

void* AllocBlock(std::size_t size, long* errorOut) {
    if (size == 0) {
        if (errorOut) *errorOut = -1;
        return nullptr;
    }
    void* block = GlobalAlloc(GPTR, size);
    if (!block && errorOut) *errorOut = static_cast<long>(GetLastError());
    return block;
}

long FreeBlock(void* block) {
    if (!block) return -1;
    return GlobalFree(block) ? static_cast<long>(GetLastError()) : 0;
}
