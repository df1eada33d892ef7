#include "tests/win/monitor_test_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/win/test_paths.h"
#include "tools/lmstand/test_printers.h"

namespace {

const char kSlotPath[] = "SOFTWARE\\KOA\\tzraMonitor-msg\\1";
const char kStatusPath[] = "SOFTWARE\\KOA\\tzraMonitor-Status";
const char kPrinter[] = "KOA Monitor LPT";
const char kDriver[] = "KOA koa2400Max-R(0mm)";

std::string WindowsPathOfUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

HKEY OpenSlotKey(REGSAM access) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSlotPath, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

std::string QueryValue(HKEY root, const char* path, const char* name, DWORD* typeOut) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "<missing>";
    DWORD type = 0, size = 0;
    std::string bytes = "<missing>";
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS)
            bytes.assign(data.data(), size);
    }
    RegCloseKey(key);
    if (typeOut) *typeOut = type;
    return bytes;
}

}  // namespace

bool InstallMonitorPrinter(std::string* error) {
    const std::string folder = std::string(KOA_MONITOR_TEST_DIR);
    CreateDirectoryA(WindowsPathOfUnix(folder).c_str(), nullptr);
    return AddTestPrinter(kPrinter, kDriver, "LPT1:", 0x800, error) &&
           SetPortCommand("LPT1:", "|cat >> " + folder + "/jobs-lpt.bin", error) &&
           SetDefaultTestPrinter(kPrinter, error);
}

bool CreateSlot() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSlotPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool DeleteSlot() {
    const LONG rc = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSlotPath);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool SetSlotRaw(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = OpenSlotKey(KEY_SET_VALUE);
    if (!key) return false;
    const bool ok = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                   static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SetSlotText(const char* name, const std::string& value) {
    return SetSlotRaw(name, REG_SZ, std::string(value.c_str(), value.size() + 1));
}

bool SetSlotByte(const char* name, unsigned char value) {
    return SetSlotRaw(name, REG_BINARY, std::string(1, static_cast<char>(value)));
}

bool DeleteSlotValue(const char* name) {
    HKEY key = OpenSlotKey(KEY_SET_VALUE);
    if (!key) return false;
    const LONG rc = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

std::string SlotText(const char* name) {
    std::string bytes = QueryValue(HKEY_LOCAL_MACHINE, kSlotPath, name, nullptr);
    const size_t zero = bytes.find('\0');
    return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

std::string SlotBytes(const char* name) { return QueryValue(HKEY_LOCAL_MACHINE, kSlotPath, name, nullptr); }

bool ReadSavedPosition(long* left, long* top) {
    DWORD type = 0;
    const std::string l = QueryValue(HKEY_CURRENT_USER, kStatusPath, "Position_left", &type);
    if (l.size() != 4 || type != REG_BINARY) return false;
    const std::string t = QueryValue(HKEY_CURRENT_USER, kStatusPath, "Position_top", &type);
    if (t.size() != 4 || type != REG_BINARY) return false;
    std::int32_t a = 0, b = 0;
    std::memcpy(&a, l.data(), 4);
    std::memcpy(&b, t.data(), 4);
    *left = a;
    *top = b;
    return true;
}

void DeleteSavedPosition() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStatusPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "Position_left");
    RegDeleteValueA(key, "Position_top");
    RegCloseKey(key);
}

bool SavePosition(long left, long top) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kStatusPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
        return false;
    const std::int32_t l = left, t = top;
    const bool ok = RegSetValueExA(key, "Position_left", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&l), 4) ==
                        ERROR_SUCCESS &&
                    RegSetValueExA(key, "Position_top", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&t), 4) ==
                        ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

std::string ControlText(HWND control) {
    if (!control) return "<no control>";
    std::vector<char> text(16384, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &got))
        return "<no answer>";
    return std::string(text.data(), std::min<size_t>(got, text.size()));
}

namespace {
struct ControlSearch {
    int id;
    HWND found;
};
BOOL CALLBACK MatchControl(HWND child, LPARAM param) {
    ControlSearch* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}
}  // namespace

HWND FindControl(HWND window, int id) {
    ControlSearch search = {id, nullptr};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

MonitorProgram::MonitorProgram() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + ProgramPath("tzrawatch.exe") + "\"";
    started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info_) != 0;
}

MonitorProgram::~MonitorProgram() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

namespace {
struct WindowSearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK MatchMonitorWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    // The monitor window is the dialog with the tab control.
    if (pid != search->pid || std::string(cls) != "#32770" || !GetDlgItem(window, 1037)) return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND MonitorProgram::Window() const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            WindowSearch search = {info_.dwProcessId, nullptr};
            EnumWindows(MatchMonitorWindow, reinterpret_cast<LPARAM>(&search));
            found = search.found;
            return found != nullptr || !Running();
        },
        10000);
    return found;
}

long MonitorProgram::WaitForExit(DWORD ms) const {
    if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

bool MonitorProgram::Running() const { return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool StartMonitor(RunningMonitor* monitor) {
    if (!monitor->program.started()) return false;
    monitor->window = monitor->program.Window();
    return monitor->window && WaitUntil([&] { return IsInTray(monitor->window); });
}

bool IsShown(HWND window) { return IsWindowVisible(window) && !IsIconic(window); }
bool IsInTray(HWND window) { return !IsWindowVisible(window) && IsIconic(window); }

namespace {
struct BoxSearch {
    DWORD pid;
    std::string text;
};
BOOL CALLBACK MatchMessageBox(HWND window, LPARAM param) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    HWND text = GetDlgItem(window, 0xFFFF);
    if (pid != search->pid || std::string(cls) != "#32770" || !text || !IsWindowVisible(window)) return TRUE;
    search->text = ControlText(text);
    return FALSE;
}
}  // namespace

std::string MessageBoxTextOf(DWORD pid) {
    BoxSearch search = {pid, std::string()};
    EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

namespace {
BOOL CALLBACK MatchAnyWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    // Dialogs only: Wine gives every GUI process hidden windows of its own.
    if (pid != search->pid || std::string(cls) != "#32770") return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND WindowOf(DWORD pid) {
    WindowSearch search = {pid, nullptr};
    EnumWindows(MatchAnyWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
