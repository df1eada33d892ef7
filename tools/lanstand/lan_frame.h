// The frames between the stand-in LAN library (tools/sxstand) and the LAN
// printer stand-in (lanstand.exe) over a TCP connection on 127.0.0.1.
//
// Every frame is a 4-byte header and a payload:
//   byte 0     LanFrameTag ('K')
//   byte 1     kind (below)
//   bytes 2-3  payload length, little-endian
//
// The library sends a request and waits for its reply before it sends the
// next; nothing else travels on the connection.
//   'W' write   payload: the bytes for the printer (0 to 65535)
//       reply   'T' taken or 'N' not taken, no payload
//   'R' read    no payload
//       reply   'A' with the answer (1 to 4096 bytes) or 'E' no answer
// A frame with another tag or kind, or a length its kind does not allow, is
// malformed: the receiver closes the connection.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint8_t LanFrameTag = 'K';
constexpr std::size_t LanHeaderSize = 4;
constexpr std::size_t LanMaxWrite = 65535;   // what one write of the library can carry
constexpr std::size_t LanMaxAnswer = 4096;   // what the printer answers to one read at most

enum LanFrameKind : std::uint8_t {
    LanWrite = 'W',
    LanRead = 'R',
    LanTaken = 'T',
    LanNotTaken = 'N',
    LanAnswer = 'A',
    LanNoAnswer = 'E',
};

inline void LanPutHeader(std::uint8_t* header, LanFrameKind kind, std::size_t length) {
    header[0] = LanFrameTag;
    header[1] = kind;
    header[2] = static_cast<std::uint8_t>(length & 0xFF);
    header[3] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
}

inline std::size_t LanHeaderLength(const std::uint8_t* header) {
    return static_cast<std::size_t>(header[2]) | (static_cast<std::size_t>(header[3]) << 8);
}

// True when the header is well formed for a frame the other side may send:
// a request when `request`, otherwise a reply.
inline bool LanHeaderValid(const std::uint8_t* header, bool request) {
    if (header[0] != LanFrameTag) return false;
    const std::size_t length = LanHeaderLength(header);
    switch (header[1]) {
    case LanWrite:
        return request && length <= LanMaxWrite;
    case LanRead:
        return request && length == 0;
    case LanTaken:
    case LanNotTaken:
    case LanNoAnswer:
        return !request && length == 0;
    case LanAnswer:
        return !request && length >= 1 && length <= LanMaxAnswer;
    default:
        return false;
    }
}
