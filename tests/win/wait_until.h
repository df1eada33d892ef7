// The one wait of the Wine tests: a test never sleeps for a fixed time to let
// something happen, it polls for the state it expects, up to a bound that
// only a broken program reaches.
#pragma once

#include <windows.h>

#include <functional>

// Polls `done` every `pollMs` until it holds or `ms` have passed; the result
// of its last call. The time is measured as GetTickCount() - start, which
// stays right when the tick count wraps (every 49.7 days): a deadline
// compared with GetTickCount() would end the wait at once or never.
// Meanwhile the messages of windows this thread owns keep flowing (some
// tests run the program's windows on the waiting thread).
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000, DWORD pollMs = 10) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return done();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(pollMs);
    }
    return true;
}
