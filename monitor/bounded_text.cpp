#include "monitor/bounded_text.h"

#include <windows.h>

std::size_t CopyBounded(char* destination, std::size_t size, const char* source) {
    if (size == 0) return 0;
    std::size_t n = 0;
    while (source[n]) {
        const bool pair = IsDBCSLeadByte(static_cast<BYTE>(source[n])) != 0;
        // A lead byte without its second byte is dropped, not shown alone.
        if (pair && !source[n + 1]) break;
        const std::size_t step = pair ? 2 : 1;
        if (n + step > size - 1) break;
        destination[n] = source[n];
        if (pair) destination[n + 1] = source[n + 1];
        n += step;
    }
    destination[n] = '\0';
    return n;
}
