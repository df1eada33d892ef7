// Text in code page 932, the ANSI code page both programs run under: the
// lead-byte rule and copies into fixed buffers that never split a
// double-byte character. Portable: no platform headers.
#pragma once

#include <cstddef>

// The first byte of a double-byte character.
bool IsCp932LeadByte(unsigned char byte);

// Bytes of the character at `text`: 1, 2, or 0 at the end of the text and
// at a lead byte whose second byte is missing. Such a lone lead byte is
// never copied: it would swallow whatever byte came to follow it.
std::size_t Cp932CharLength(const char* text);

// The length of the longest prefix of `text` of at most `room` bytes that
// ends between two whole characters. Reads at most `room` bytes of `text`,
// which need not be terminated within them.
std::size_t Cp932CutLength(const char* text, std::size_t room);

// Copies `source` (null: an empty text) into `destination` of `size` bytes,
// as much as fits whole, always terminated, reading at most size - 1 bytes
// of it. Returns the bytes copied; 0 and nothing written when `destination`
// is null or `size` is 0.
std::size_t CopyCp932(char* destination, std::size_t size, const char* source);
