// The LAN communication library "SxJcp32.dll": its 14 entry points.
//
// The remote panel loads the library by name at the start of each
// conversation with a network printer, binds the entry points by name with
// GetProcAddress, and unloads it at the end. The exported names are exactly
// the function names below, undecorated (no leading underscore and no "@N"
// suffix on i686).
//
// Calling convention WINAPI (__stdcall), the convention of the platform's
// own DLLs; on x86-64 there is only one convention.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Non-zero: the library is ready.
int WINAPI SxStartup(HINSTANCE instance);
// Non-zero: the library has stopped.
int WINAPI SxCleanup(void);
// A port handle for the printer at `address`; -1 when the printer did not answer.
INT_PTR WINAPI SxOpenPort(const char* address);
// Non-zero: the port is closed.
int WINAPI SxClosePort(INT_PTR port);
// Non-zero: an answer was read into `buffer` (at most `size` bytes) and
// *count holds its length.
int WINAPI SxReadPort(INT_PTR port, void* buffer, DWORD size, DWORD* count);
// Non-zero: the `count` bytes were sent; *written holds how many.
int WINAPI SxWritePort(INT_PTR port, const void* bytes, WORD count, DWORD* written);
// The error of the last failed read or write on the port.
int WINAPI SxGetError(INT_PTR port);

// In the library's interface but not used by the programs.
int WINAPI SxOpenStatus(INT_PTR port);
int WINAPI SxCloseStatus(INT_PTR port);
int WINAPI SxGetStatus(INT_PTR port, void* buffer, DWORD size);
int WINAPI SxGetDeviceID(INT_PTR port, void* buffer, DWORD size);
int WINAPI SxOpenSearch(void);
int WINAPI SxCloseSearch(INT_PTR search);
int WINAPI SxSendSearch(INT_PTR search);

#ifdef __cplusplus
}
#endif

// Pointer types for binding the entry points with GetProcAddress.
typedef int(WINAPI* SxStartupFn)(HINSTANCE instance);
typedef int(WINAPI* SxCleanupFn)(void);
typedef INT_PTR(WINAPI* SxOpenPortFn)(const char* address);
typedef int(WINAPI* SxClosePortFn)(INT_PTR port);
typedef int(WINAPI* SxReadPortFn)(INT_PTR port, void* buffer, DWORD size, DWORD* count);
typedef int(WINAPI* SxWritePortFn)(INT_PTR port, const void* bytes, WORD count, DWORD* written);
typedef int(WINAPI* SxGetErrorFn)(INT_PTR port);
typedef int(WINAPI* SxOpenStatusFn)(INT_PTR port);
typedef int(WINAPI* SxCloseStatusFn)(INT_PTR port);
typedef int(WINAPI* SxGetStatusFn)(INT_PTR port, void* buffer, DWORD size);
typedef int(WINAPI* SxGetDeviceIDFn)(INT_PTR port, void* buffer, DWORD size);
typedef int(WINAPI* SxOpenSearchFn)(void);
typedef int(WINAPI* SxCloseSearchFn)(INT_PTR search);
typedef int(WINAPI* SxSendSearchFn)(INT_PTR search);

// The port handle SxOpenPort returns when the printer did not answer.
#define SX_INVALID_PORT ((INT_PTR)-1)
