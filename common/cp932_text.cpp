#include "common/cp932_text.h"

#include <cstring>

bool IsCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::size_t Cp932CharLength(const char* text) {
    if (text[0] == '\0') return 0;
    if (!IsCp932LeadByte(static_cast<unsigned char>(text[0]))) return 1;
    return text[1] != '\0' ? 2 : 0;
}

std::size_t Cp932CutLength(const char* text, std::size_t room) {
    // Reads no byte at or past `room`: the text need not be terminated there.
    std::size_t n = 0;
    while (n < room && text[n] != '\0') {
        if (!IsCp932LeadByte(static_cast<unsigned char>(text[n]))) {
            ++n;
            continue;
        }
        if (room - n < 2 || text[n + 1] == '\0') break;
        n += 2;
    }
    return n;
}

std::size_t CopyCp932(char* destination, std::size_t size, const char* source) {
    if (!destination || size == 0) return 0;
    const std::size_t n = source ? Cp932CutLength(source, size - 1) : 0;
    if (n) std::memcpy(destination, source, n);
    destination[n] = '\0';
    return n;
}
