#include "monitor/window_position.h"

#include <cstring>

#include "monitor/core/window_position_rules.h"
#include "monitor/registry_values.h"
#include "monitor/window_calls.h"

namespace {

const char kPositionMutex[] = "StatusRegSet_Mutex";
const char kLeftValue[] = "Position_left";
const char kTopValue[] = "Position_top";

// Holds "StatusRegSet_Mutex" for its lifetime. Without the mutex (it could
// not be created) the values are still read and written whole; at worst a
// concurrent writer's pair gets mixed, which only misplaces the window.
class PositionLock {
public:
    PositionLock() : mutex_(CreateMutexA(nullptr, FALSE, kPositionMutex)) {
        if (mutex_) {
            const DWORD wait = WaitForSingleObject(mutex_, INFINITE);
            owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    ~PositionLock() {
        if (owned_) ReleaseMutex(mutex_);
        if (mutex_) CloseHandle(mutex_);
    }
    PositionLock(const PositionLock&) = delete;
    PositionLock& operator=(const PositionLock&) = delete;

private:
    HANDLE mutex_;
    bool owned_ = false;
};

// A saved coordinate: exactly four bytes of REG_BINARY, a signed pixel value.
bool ReadCoordinate(HKEY key, const char* name, std::int32_t* value) {
    BYTE bytes[4] = {};
    DWORD type = 0, size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY || size != sizeof bytes) return false;
    std::memcpy(value, bytes, sizeof bytes);
    return true;
}

bool WriteCoordinate(HKEY key, const char* name, std::int32_t value) {
    BYTE bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    return RegSetValueExA(key, name, 0, REG_BINARY, bytes, sizeof bytes) == ERROR_SUCCESS;
}

bool ReadSavedPosition(HKEY root, std::int32_t* left, std::int32_t* top) {
    PositionLock lock;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, StatusKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    const bool read = ReadCoordinate(key, kLeftValue, left) && ReadCoordinate(key, kTopValue, top);
    RegCloseKey(key);
    return read;
}

void WriteSavedPosition(HKEY root, std::int32_t left, std::int32_t top) {
    PositionLock lock;
    HKEY key = OpenOrCreateKey(root, StatusKeyPath, KEY_SET_VALUE);
    if (!key) return;
    if (WriteCoordinate(key, kLeftValue, left)) WriteCoordinate(key, kTopValue, top);
    RegCloseKey(key);
}

void DeleteSavedPosition(HKEY root) {
    PositionLock lock;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, StatusKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kLeftValue);
    RegDeleteValueA(key, kTopValue);
    RegCloseKey(key);
}

bool GetWorkArea(PixelRect* area) {
    RECT r;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    *area = {r.left, r.top, r.right, r.bottom};
    return true;
}

}  // namespace

void CenterWindow(HWND window) {
    PixelRect area;
    RECT frame;
    if (!GetWorkArea(&area) || !GetWindowRect(window, &frame)) return;
    const PixelPoint at = CentredPosition(area, frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RestoreWindowPosition(HWND window, const MonitorState* state) {
    std::int32_t left = 0, top = 0;
    PixelRect area;
    RECT frame;
    if (ReadSavedPosition(state->positionRoot, &left, &top) && GetWorkArea(&area) && GetWindowRect(window, &frame) &&
        SavedPositionFits(area, frame.right - frame.left, frame.bottom - frame.top, left, top)) {
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    CenterWindow(window);
}

void SaveWindowPosition(HWND window, const MonitorState* state) {
    PixelRect area;
    const bool haveArea = GetWorkArea(&area);
    RECT normal;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (WindowCalls().getWindowPlacement(window, &placement)) {
        // The restored rectangle is kept in workspace coordinates (relative
        // to the work area); the saved values and the centre are screen pixels.
        normal = placement.rcNormalPosition;
        if (haveArea) OffsetRect(&normal, area.left, area.top);
    } else if (!GetWindowRect(window, &normal)) {
        return;  // the window is gone: it has no position to save
    }
    // Without the placement the window's own rectangle stands in for the
    // restored one: the same while the window is shown, and while it is
    // minimised no worse than nothing, since the restoring rule keeps any
    // saved position on the work area (or centres the window) at the next
    // start. Writing nothing would instead bring back an older position.
    if (haveArea) {
        const PixelPoint centre =
            CentredPositionForSave(area, normal.right - normal.left, normal.bottom - normal.top);
        if (centre.x == normal.left && centre.y == normal.top) {
            DeleteSavedPosition(state->positionRoot);
            return;
        }
    }
    WriteSavedPosition(state->positionRoot, normal.left, normal.top);
}
