#include "monitor/control_text.h"

#include <cstring>

bool SetTextIfChanged(HWND control, const char* text, MonitorState* state) {
    if (!control) return false;
    // The length is an upper bound in double-byte code pages; one more byte
    // for the terminator and one to tell a longer text from an equal one.
    const std::size_t wanted = std::strlen(text);
    const int length = GetWindowTextLengthA(control);
    const std::size_t room = (length > 0 ? static_cast<std::size_t>(length) : 0) + wanted + 2;
    if (room <= MaxMonitorBuffer && GrowBuffer(&state->scratch, &state->scratchSize, static_cast<DWORD>(room))) {
        const int read = GetWindowTextA(control, state->scratch, static_cast<int>(state->scratchSize));
        if (read >= 0 && static_cast<std::size_t>(read) == wanted && std::memcmp(state->scratch, text, wanted) == 0)
            return false;
    }
    SetWindowTextA(control, text);
    return true;
}
