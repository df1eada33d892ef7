// Whole-buffer socket transfers with a deadline, for both ends of the LAN
// stand-in (the library and the printer's server).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Milliseconds left until the deadline (a GetTickCount value); 0 when passed.
DWORD Remaining(DWORD deadline);

// Waits until the socket is readable (or writable) or the time is up.
bool WaitSocket(SOCKET s, bool forWrite, DWORD ms);

// Exactly `length` bytes into `buffer` (which holds at least that many), by
// the deadline; false on a timeout, an error or the peer closing.
bool ReceiveExactly(SOCKET s, std::uint8_t* buffer, std::size_t length, DWORD deadline);

// All `length` bytes, by the deadline.
bool SendExactly(SOCKET s, const std::uint8_t* bytes, std::size_t length, DWORD deadline);
