#include "tools/paneldriver/panel_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace paneldriver {

const char kMainWindowClass[] = "veldra6";
const char kProgramCaption[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル";

namespace {

const int kTextChars = 1024;  // longest text read from a window or a list row

// A point in time `ms` from now, by the tick counter (wraps safely).
class Deadline {
public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    bool Passed() const { return GetTickCount() - start_ >= ms_; }
    DWORD Left() const {
        const DWORD spent = GetTickCount() - start_;
        return spent >= ms_ ? 0 : ms_ - spent;
    }

private:
    DWORD start_, ms_;
};

std::string ToAnsi(const wchar_t* wide, int length) {
    if (length <= 0) return std::string();
    char text[kTextChars * 2 + 1];
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, length, text, sizeof text - 1, nullptr, nullptr);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::wstring ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    wchar_t wide[kTextChars + 1];
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide, kTextChars);
    return std::wstring(wide, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string ClassOf(HWND window) {
    char name[128] = {};
    const int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string Number(unsigned long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%lu", value);
    return text;
}

// Memory in another process, released with this holder.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)),
          size_(size) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t offset, const void* bytes, std::size_t length) const {
        SIZE_T done = 0;
        return offset + length <= size_ && WriteProcessMemory(process_, at(offset), bytes, length, &done) &&
               done == length;
    }
    bool Read(std::size_t offset, void* bytes, std::size_t length) const {
        SIZE_T done = 0;
        return offset + length <= size_ && ReadProcessMemory(process_, at(offset), bytes, length, &done) &&
               done == length;
    }

private:
    HANDLE process_;
    void* address_;
    std::size_t size_;
};

// A list view's item text as the program's list view holds it: LVM_GETITEMW
// may point pszText at its own copy instead of filling the buffer, so the
// text is read from wherever pszText points afterwards, bounded.
const std::size_t kItemOffset = 0;
const std::size_t kTextOffset = 256;  // after an LVITEMW of either bitness
const std::size_t kRemoteSize = kTextOffset + (kTextChars + 1) * sizeof(wchar_t);

std::string ReadRemoteText(HANDLE process, const void* address) {
    wchar_t text[kTextChars + 1] = {};
    SIZE_T done = 0;
    // The text may end before the last page of the program's memory: read
    // what can be read, in steps.
    ReadProcessMemory(process, address, text, kTextChars * sizeof(wchar_t), &done);
    if (done == 0) {
        for (std::size_t chars = 256; chars >= 16 && done == 0; chars /= 2)
            ReadProcessMemory(process, address, text, chars * sizeof(wchar_t), &done);
    }
    const std::size_t chars = done / sizeof(wchar_t);
    text[chars < kTextChars ? chars : kTextChars] = L'\0';
    return ToAnsi(text, lstrlenW(text));
}

struct FindContext {
    int controlId;
    HWND found;
};

BOOL CALLBACK NoteControl(HWND child, LPARAM data) {
    FindContext* context = reinterpret_cast<FindContext*>(data);
    if (GetDlgCtrlID(child) == context->controlId && IsWindowVisible(child)) {
        context->found = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

PanelDriver::PanelDriver(DWORD processId) : processId_(processId) {}

PanelDriver::~PanelDriver() {
    if (process_) CloseHandle(process_);
}

bool PanelDriver::Fail(const std::string& text) {
    error_ = text;
    return false;
}

bool PanelDriver::TimedOut(const std::string& what) {
    return Fail("timed out after " + Number(timeout_) + " ms waiting for " + what);
}

bool PanelDriver::Mine(HWND window) const {
    if (processId_ == 0) return true;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId_;
}

void PanelDriver::PressKey(HWND front, WORD key, bool ctrl, bool alt, bool shift) {
    SetForegroundWindow(front);
    std::vector<INPUT> keys;
    auto add = [&](WORD vk, bool up) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(in);
    };
    const WORD modifiers[] = {VK_CONTROL, VK_MENU, VK_SHIFT};
    const bool held[] = {ctrl, alt, shift};
    for (int i = 0; i < 3; ++i)
        if (held[i]) add(modifiers[i], false);
    add(key, false);
    add(key, true);
    for (int i = 2; i >= 0; --i)
        if (held[i]) add(modifiers[i], true);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

std::string PanelDriver::WindowText(HWND window) {
    wchar_t wide[kTextChars + 1];
    const int n = InternalGetWindowText(window, wide, kTextChars + 1);
    return ToAnsi(wide, n);
}

bool PanelDriver::Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD ms) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, ms, &answer))
        return false;
    if (result) *result = static_cast<LRESULT>(answer);
    return true;
}

HWND PanelDriver::FindMainWindow(bool shown) const {
    for (HWND window = FindWindowExA(nullptr, nullptr, kMainWindowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, kMainWindowClass, nullptr)) {
        if (Mine(window) && (!shown || IsWindowVisible(window))) return window;
    }
    return nullptr;
}

HWND PanelDriver::FindControl(HWND root, int controlId) const {
    FindContext context = {controlId, nullptr};
    EnumChildWindows(root, NoteControl, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

bool PanelDriver::Attach() {
    const Deadline deadline(timeout_);
    for (;;) {
        if (HWND window = FindMainWindow(false)) {
            GetWindowThreadProcessId(window, &processId_);
            if (process_) CloseHandle(process_);
            process_ = nullptr;
            return true;
        }
        if (deadline.Passed()) return TimedOut(std::string("the main window (class \"") + kMainWindowClass + "\")");
        Sleep(pollMs_);
    }
}

HWND PanelDriver::WaitMainWindow() {
    const Deadline deadline(timeout_);
    for (;;) {
        if (HWND window = FindMainWindow(true)) return window;
        if (deadline.Passed()) {
            TimedOut(std::string("the main window (class \"") + kMainWindowClass + "\") to be shown");
            return nullptr;
        }
        Sleep(pollMs_);
    }
}

HWND PanelDriver::WaitWindow(const std::string& className, const std::string& caption) {
    const Deadline deadline(timeout_);
    for (;;) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            if (!IsWindowVisible(window) || !Mine(window)) continue;
            if (!className.empty() && ClassOf(window) != className) continue;
            if (!caption.empty() && WindowText(window) != caption) continue;
            return window;
        }
        if (deadline.Passed()) {
            TimedOut("a window of class \"" + className + "\" with caption \"" + caption + "\"");
            return nullptr;
        }
        Sleep(pollMs_);
    }
}

HWND PanelDriver::WaitDialogWithControl(int controlId) {
    const Deadline deadline(timeout_);
    for (;;) {
        // Only the dialogs are looked at: a program's drop-down lists and
        // tooltips are top-level windows too, and asking each of them on
        // every look keeps Wine's server busy while the program starts.
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
             window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
            if (IsWindowVisible(window) && Mine(window) && GetDlgItem(window, controlId)) return window;
        }
        if (deadline.Passed()) {
            TimedOut("a dialog holding control " + Number(static_cast<unsigned long>(controlId)));
            return nullptr;
        }
        Sleep(pollMs_);
    }
}

bool PanelDriver::WaitGone(HWND window) {
    const Deadline deadline(timeout_);
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (deadline.Passed()) return TimedOut("the window \"" + WindowText(window) + "\" to close");
        Sleep(pollMs_);
    }
    return true;
}

bool PanelDriver::WaitExit() {
    if (processId_ == 0) {
        const Deadline deadline(timeout_);
        while (FindMainWindow(false)) {
            if (deadline.Passed()) return TimedOut("the main window to go");
            Sleep(pollMs_);
        }
        return true;
    }
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId_);
    if (!process) return true;  // already gone
    const DWORD result = WaitForSingleObject(process, timeout_);
    CloseHandle(process);
    if (result == WAIT_OBJECT_0) return true;
    return TimedOut("the program (process " + Number(processId_) + ") to end");
}

bool PanelDriver::OpenProcessMemory() {
    if (process_) return true;
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, processId_);
    if (!process_) return Fail("cannot open the program's process (error " + Number(GetLastError()) + ")");
    return true;
}

bool PanelDriver::ChoiceRows(HWND dialog, std::vector<ChoiceRow>* rows) {
    rows->clear();
    HWND list = GetDlgItem(dialog, ChoiceDialogList);
    if (!list) return Fail("the dialog has no printer list (control 1288)");
    if (processId_ == 0) GetWindowThreadProcessId(list, &processId_);
    if (!OpenProcessMemory()) return false;
    LRESULT count = 0;
    if (!Ask(list, LVM_GETITEMCOUNT, 0, 0, &count)) return Fail("the printer list does not answer");
    if (count < 0 || count > 10000) return Fail("the printer list reports " + Number(static_cast<unsigned long>(count)) + " rows");
    RemoteBuffer remote(process_, kRemoteSize);
    if (!remote.ok()) return Fail("cannot reserve memory in the program (error " + Number(GetLastError()) + ")");
    for (int row = 0; row < count; ++row) {
        ChoiceRow entry;
        for (int column = 0; column < 2; ++column) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | (column == 0 ? LVIF_IMAGE : 0);
            item.iItem = row;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(remote.at(kTextOffset));
            item.cchTextMax = kTextChars;
            const wchar_t empty = L'\0';
            LRESULT got = 0;
            if (!remote.Write(kItemOffset, &item, sizeof item) || !remote.Write(kTextOffset, &empty, sizeof empty) ||
                !Ask(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at(kItemOffset)), &got) || !got ||
                !remote.Read(kItemOffset, &item, sizeof item))
                return Fail("cannot read row " + Number(static_cast<unsigned long>(row)) + " of the printer list");
            const std::string text = item.pszText ? ReadRemoteText(process_, item.pszText) : std::string();
            if (column == 0) {
                entry.printer = text;
                entry.image = item.iImage;
            } else {
                entry.port = text;
            }
        }
        rows->push_back(entry);
    }
    return true;
}

bool PanelDriver::ChoosePrinter(HWND dialog, const std::string& printer) {
    std::vector<ChoiceRow> rows;
    if (!ChoiceRows(dialog, &rows)) return false;
    HWND list = GetDlgItem(dialog, ChoiceDialogList);
    const std::wstring name = ToWide(printer);
    if (name.empty() || name.size() > static_cast<std::size_t>(kTextChars)) return Fail("no printer name given");
    RemoteBuffer remote(process_, kRemoteSize);
    if (!remote.ok()) return Fail("cannot reserve memory in the program (error " + Number(GetLastError()) + ")");
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = reinterpret_cast<LPCWSTR>(remote.at(kTextOffset));
    LRESULT index = -1;
    if (!remote.Write(kTextOffset, name.c_str(), (name.size() + 1) * sizeof(wchar_t)) ||
        !remote.Write(kItemOffset, &find, sizeof find) ||
        !Ask(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.at(kItemOffset)), &index))
        return Fail("the printer list does not answer");
    // The search ignores case; the choice must not.
    if (index < 0 || index >= static_cast<LRESULT>(rows.size()) || rows[index].printer != printer) {
        std::string names;
        for (const ChoiceRow& row : rows) names += (names.empty() ? "\"" : ", \"") + row.printer + "\"";
        return Fail("no printer \"" + printer + "\" in the list (it holds " + names + ")");
    }
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    LRESULT done = 0, focused = -1;
    if (!remote.Write(kItemOffset, &state, sizeof state) ||
        !Ask(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.at(kItemOffset)), &done) ||
        !done || !Ask(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE, nullptr) ||
        !Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED, &focused) || focused != index)
        return Fail("cannot select and focus \"" + printer + "\" in the list");
    HWND ok = GetDlgItem(dialog, ChoiceDialogOk);
    if (!ok) return Fail("the dialog has no OK button (control 1286)");
    // Posted: OK may open a message box, which would hold a sent click.
    if (!PostMessageW(ok, BM_CLICK, 0, 0)) return Fail("cannot click OK");
    return true;
}

bool PanelDriver::WaitMessageBox(MessageBoxSeen* seen) {
    const Deadline deadline(timeout_);
    for (;;) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            if (!IsWindowVisible(window) || !Mine(window) || ClassOf(window) != "#32770") continue;
            HWND text = GetDlgItem(window, 0xFFFF);  // a message box's text
            if (!text || WindowText(window) != kProgramCaption) continue;
            seen->window = window;
            seen->caption = WindowText(window);
            seen->text = WindowText(text);
            return true;
        }
        if (deadline.Passed()) return TimedOut(std::string("a message box \"") + kProgramCaption + "\"");
        Sleep(pollMs_);
    }
}

bool PanelDriver::AnswerMessageBox(const MessageBoxSeen& box, int buttonId) {
    HWND button = GetDlgItem(box.window, buttonId);
    if (!button || !IsWindowVisible(button))
        return Fail("the message box \"" + box.text + "\" has no button " + Number(static_cast<unsigned long>(buttonId)));
    if (!PostMessageW(button, BM_CLICK, 0, 0)) return Fail("cannot press the button");
    return WaitGone(box.window);
}

HWND PanelDriver::WaitControl(int controlId) {
    const Deadline deadline(timeout_);
    for (;;) {
        if (HWND main = FindMainWindow(false)) {
            if (HWND control = FindControl(main, controlId)) return control;
        }
        if (deadline.Passed()) {
            TimedOut("control " + Number(static_cast<unsigned long>(controlId)) + " in the main window");
            return nullptr;
        }
        Sleep(pollMs_);
    }
}

bool PanelDriver::CurrentTab(int* index) { return CurrentTabOf(SettingsTabControl, index); }

bool PanelDriver::SelectTab(int index) { return SelectTabOf(SettingsTabControl, index); }

bool PanelDriver::CurrentTabOf(int tabId, int* index) {
    HWND tab = WaitAnyControl(tabId);
    if (!tab) return false;
    LRESULT selected = -1;
    if (!Ask(tab, TCM_GETCURSEL, 0, 0, &selected)) return Fail("the tab control does not answer");
    *index = static_cast<int>(selected);
    return true;
}

bool PanelDriver::SelectTabOf(int tabId, int index) {
    HWND tab = WaitAnyControl(tabId);
    if (!tab) return false;
    LRESULT count = 0;
    if (!Ask(tab, TCM_GETITEMCOUNT, 0, 0, &count)) return Fail("the tab control does not answer");
    if (index < 0 || index >= count)
        return Fail("no tab " + Number(static_cast<unsigned long>(index)) + " (there are " +
                    Number(static_cast<unsigned long>(count)) + ")");
    // Focusing a tab of a tab control without buttons selects it and tells
    // the container, as a click would.
    const Deadline deadline(timeout_);
    Ask(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, nullptr, deadline.Left() + 1);
    for (;;) {
        LRESULT selected = -1;
        if (Ask(tab, TCM_GETCURSEL, 0, 0, &selected, deadline.Left() + 1) && selected == index) return true;
        if (deadline.Passed()) return TimedOut("tab " + Number(static_cast<unsigned long>(index)) + " to be selected");
        Sleep(pollMs_);
    }
}

bool PanelDriver::ListSelection(int listId, int* row, std::string* text) {
    HWND list = WaitControl(listId);
    if (!list) return false;
    LRESULT selected = CB_ERR;
    if (!Ask(list, CB_GETCURSEL, 0, 0, &selected)) return Fail("list " + Number(static_cast<unsigned long>(listId)) + " does not answer");
    *row = selected == CB_ERR ? -1 : static_cast<int>(selected);
    text->clear();
    if (*row < 0) return true;
    LRESULT length = 0;
    if (!Ask(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(*row), 0, &length) || length < 0 || length > kTextChars)
        return Fail("cannot read the selected row of list " + Number(static_cast<unsigned long>(listId)));
    // Wide: Wine hands an ANSI CB_GETLBTEXT across processes back as UTF-16.
    wchar_t wide[kTextChars + 1] = {};
    LRESULT got = 0;
    if (!Ask(list, CB_GETLBTEXT, static_cast<WPARAM>(*row), reinterpret_cast<LPARAM>(wide), &got) || got < 0 ||
        got > kTextChars)
        return Fail("cannot read the selected row of list " + Number(static_cast<unsigned long>(listId)));
    wide[got] = L'\0';
    *text = ToAnsi(wide, static_cast<int>(got));
    return true;
}

bool PanelDriver::SetListSelection(int listId, int row) {
    HWND list = WaitControl(listId);
    if (!list) return false;
    LRESULT count = 0, result = CB_ERR;
    if (!Ask(list, CB_GETCOUNT, 0, 0, &count)) return Fail("list " + Number(static_cast<unsigned long>(listId)) + " does not answer");
    if (row < 0 || row >= count)
        return Fail("list " + Number(static_cast<unsigned long>(listId)) + " has no row " +
                    Number(static_cast<unsigned long>(row)) + " (it has " + Number(static_cast<unsigned long>(count)) + ")");
    if (!Ask(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0, &result) || result != row)
        return Fail("cannot select row " + Number(static_cast<unsigned long>(row)) + " of list " +
                    Number(static_cast<unsigned long>(listId)));
    // A selection made in the drop-down reaches the page as these two.
    HWND page = GetParent(list);
    const LPARAM from = reinterpret_cast<LPARAM>(list);
    if (!PostMessageW(page, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), from) ||
        !PostMessageW(page, WM_COMMAND, MAKEWPARAM(listId, CBN_CLOSEUP), from))
        return Fail("cannot tell the page of the new selection");
    return true;
}

bool PanelDriver::ClickButton(int buttonId) {
    HWND button = WaitAnyControl(buttonId);
    if (!button) return false;
    if (!PostMessageW(button, BM_CLICK, 0, 0)) return Fail("cannot click button " + Number(static_cast<unsigned long>(buttonId)));
    return true;
}

bool PanelDriver::MenuCommand(int commandId) {
    HWND main = FindMainWindow(false);
    if (!main) return Fail("there is no main window");
    if (!PostMessageW(main, WM_COMMAND, MAKEWPARAM(commandId, 0), 0)) return Fail("cannot send the command");
    return true;
}

bool PanelDriver::CloseMainWindow() {
    HWND main = FindMainWindow(false);
    if (!main) return Fail("there is no main window");
    if (!PostMessageW(main, WM_CLOSE, 0, 0)) return Fail("cannot ask the main window to close");
    return true;
}

HWND PanelDriver::WaitAnyControl(int controlId) {
    const Deadline deadline(timeout_);
    for (;;) {
        if (HWND main = FindMainWindow(false)) {
            if (HWND control = FindControl(main, controlId)) return control;
        }
        // The dialogs only, as in WaitDialogWithControl: drop-down lists and
        // tooltips are top-level windows too.
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
             window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
            if (!IsWindowVisible(window) || !Mine(window)) continue;
            if (HWND control = FindControl(window, controlId)) return control;
        }
        if (deadline.Passed()) {
            TimedOut("control " + Number(static_cast<unsigned long>(controlId)) + " in a window of the program");
            return nullptr;
        }
        Sleep(pollMs_);
    }
}

bool PanelDriver::ControlText(HWND control, std::string* text) {
    wchar_t wide[kTextChars + 1] = {};
    LRESULT got = 0;
    if (!Ask(control, WM_GETTEXT, kTextChars + 1, reinterpret_cast<LPARAM>(wide), &got) || got < 0)
        return Fail("control " + Number(static_cast<unsigned long>(GetDlgCtrlID(control))) + " does not answer");
    const int length = got > kTextChars ? kTextChars : static_cast<int>(got);
    wide[length] = L'\0';
    *text = ToAnsi(wide, length);
    return true;
}

bool PanelDriver::WaitControlText(int controlId, const std::string& text, std::string* seen) {
    const Deadline deadline(timeout_);
    std::string now;
    for (;;) {
        HWND control = WaitAnyControl(controlId);
        if (!control) return false;
        if (ControlText(control, &now) && now == text) break;
        if (deadline.Passed()) {
            if (seen) *seen = now;
            return Fail("control " + Number(static_cast<unsigned long>(controlId)) + " shows \"" + now +
                        "\", not \"" + text + "\"");
        }
        Sleep(pollMs_);
    }
    if (seen) *seen = now;
    return true;
}

bool PanelDriver::GaugePosition(int controlId, int* position) {
    HWND gauge = WaitAnyControl(controlId);
    if (!gauge) return false;
    LRESULT now = 0;
    if (!Ask(gauge, PBM_GETPOS, 0, 0, &now)) return Fail("gauge " + Number(static_cast<unsigned long>(controlId)) + " does not answer");
    *position = static_cast<int>(now);
    return true;
}

bool PanelDriver::WaitGaugePosition(int controlId, int position, int* seen) {
    const Deadline deadline(timeout_);
    int now = -1;
    for (;;) {
        if (!GaugePosition(controlId, &now)) return false;
        if (now == position) break;
        if (deadline.Passed()) {
            if (seen) *seen = now;
            return Fail("gauge " + Number(static_cast<unsigned long>(controlId)) + " stands at " +
                        Number(static_cast<unsigned long>(now)) + ", not " + Number(static_cast<unsigned long>(position)));
        }
        Sleep(pollMs_);
    }
    if (seen) *seen = now;
    return true;
}

bool PanelDriver::WindowCommand(int controlId, int commandId) {
    HWND control = WaitAnyControl(controlId);
    if (!control) return false;
    HWND window = GetAncestor(control, GA_ROOT);
    // Posted with the accelerator's mark: it may open modal windows.
    if (!window || !PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 1), 0))
        return Fail("cannot send command " + Number(static_cast<unsigned long>(commandId)));
    return true;
}

bool UseDesktop(const wchar_t* name, DWORD ms) {
    const Deadline deadline(ms);
    for (;;) {
        // Kept open for the rest of the process: the thread runs on it.
        if (HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL)) return SetThreadDesktop(desktop) != 0;
        if (deadline.Passed()) return false;
        Sleep(50);
    }
}

int ButtonIdByName(const std::string& name) {
    static const struct {
        const char* name;
        int id;
    } kButtons[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
                    {"ignore", IDIGNORE}, {"yes", IDYES},       {"no", IDNO}};
    std::string lower;
    for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower.compare(0, 2, "id") == 0) lower.erase(0, 2);
    for (const auto& button : kButtons)
        if (lower == button.name) return button.id;
    return 0;
}

}  // namespace paneldriver
