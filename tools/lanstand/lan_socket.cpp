#include "tools/lanstand/lan_socket.h"

namespace {
const std::size_t kChunk = 65536;
}

DWORD Remaining(DWORD deadline) {
    const LONG left = static_cast<LONG>(deadline - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

bool WaitSocket(SOCKET s, bool forWrite, DWORD ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait;
    wait.tv_sec = static_cast<long>(ms / 1000);
    wait.tv_usec = static_cast<long>((ms % 1000) * 1000);
    const int ready = forWrite ? select(0, nullptr, &set, nullptr, &wait) : select(0, &set, nullptr, nullptr, &wait);
    return ready == 1;
}

bool ReceiveExactly(SOCKET s, std::uint8_t* buffer, std::size_t length, DWORD deadline) {
    std::size_t got = 0;
    while (got < length) {
        const DWORD left = Remaining(deadline);
        if (left == 0 || !WaitSocket(s, false, left)) return false;
        const int chunk = static_cast<int>(length - got > kChunk ? kChunk : length - got);
        const int n = recv(s, reinterpret_cast<char*>(buffer + got), chunk, 0);
        if (n <= 0 || n > chunk) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool SendExactly(SOCKET s, const std::uint8_t* bytes, std::size_t length, DWORD deadline) {
    std::size_t sent = 0;
    while (sent < length) {
        const DWORD left = Remaining(deadline);
        if (left == 0 || !WaitSocket(s, true, left)) return false;
        const int chunk = static_cast<int>(length - sent > kChunk ? kChunk : length - sent);
        const int n = send(s, reinterpret_cast<const char*>(bytes + sent), chunk, 0);
        if (n <= 0 || n > chunk) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}
