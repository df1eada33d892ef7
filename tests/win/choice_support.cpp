#include "tests/win/choice_support.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "link/channel/spooler_calls.h"
#include "link/choice/choice_ids.h"
#include "link/choice/printer_choice.h"

namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && std::strcmp(cls, "#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

// The visible dialogs and message boxes of this process.
std::vector<HWND> OurDialogs() {
    std::vector<HWND> found;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindChoiceDialog() {
    for (HWND window : OurDialogs())
        if (ChoiceList(window)) return window;
    return nullptr;
}

std::string ItemText(HWND list, int row, int column) {
    char text[1024] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// 16x16 pixels of an image list's image drawn on white.
std::string DrawImage(HIMAGELIST images, int index) {
    if (!images || index < 0 || index >= ImageList_GetImageCount(images)) return std::string();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::memset(bits, 0xFF, 16 * 16 * 4);
    ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    std::string pixels(static_cast<const char*>(bits), 16 * 16 * 4);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

ChoiceRun RunChoice(const std::function<void(HWND dialog)>& script) {
    ChoiceRun run;
    std::atomic<bool> ended{false};
    std::thread watcher([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return ended || (dialog = FindChoiceDialog()) != nullptr; }, INFINITE, 5);
        if (!dialog) return;
        run.shown = true;
        script(dialog);
        if (!WaitUntil([&] { return ended.load(); }, 3000)) {
            run.scriptLeftItOpen = true;
            PostMessageA(dialog, WM_COMMAND, IDC_CHOICE_CANCEL, 0);
        }
    });
    run.result = RunPrinterChoice(GetModuleHandleA(nullptr), nullptr);
    ended = true;
    watcher.join();
    return run;
}

HWND ChoiceList(HWND dialog) { return GetDlgItem(dialog, IDC_PRINTER_LIST); }

std::vector<ChoiceRow> ReadRows(HWND dialog) {
    HWND list = ChoiceList(dialog);
    std::vector<ChoiceRow> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({ItemText(list, row, 0), ItemText(list, row, 1), item.iImage});
    }
    return rows;
}

int FindRow(const std::vector<ChoiceRow>& rows, const std::string& name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

void FocusRow(HWND dialog, int row) {
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(ChoiceList(dialog), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int FocusedRow(HWND dialog) {
    return static_cast<int>(SendMessageA(ChoiceList(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void DoubleClickRow(HWND dialog, int row) {
    RECT rect = {};
    rect.left = LVIR_LABEL;
    SendMessageA(ChoiceList(dialog), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(ChoiceList(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(ChoiceList(dialog), WM_LBUTTONUP, 0, at);
}

std::string RowImage(HWND dialog, int index) {
    return DrawImage(
        reinterpret_cast<HIMAGELIST>(SendMessageA(ChoiceList(dialog), LVM_GETIMAGELIST, LVSIL_SMALL, 0)), index);
}

std::string PanelIconImage(int iconId) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 1);
    HICON icon =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
    ImageList_AddIcon(images, icon);
    const std::string pixels = DrawImage(images, 0);
    DestroyIcon(icon);
    ImageList_Destroy(images);
    return pixels;
}

// --- the scripted spooler ------------------------------------------------

namespace {

FakeSpooler* g_fake = nullptr;
SpoolerCalls g_fakeCalls;
const char kOutside[] = "USB001";  // where a port pointer outside the block points
const ULONG_PTR kHandleBase = 0x5000;

DWORD RecordSize(const FakePrinter& printer) {
    return static_cast<DWORD>(sizeof(PRINTER_INFO_2A) + printer.name.size() + printer.port.size() +
                              printer.driver.size() +
                              printer.separator.size() + 4);
}

char* Put(char*& at, const std::string& text) {
    char* start = at;
    std::memcpy(at, text.c_str(), text.size() + 1);
    at += text.size() + 1;
    return start;
}

// One printer's record, its texts packed after the records at `texts`.
void Fill(const FakePrinter& printer, PRINTER_INFO_2A* info, char*& texts) {
    std::memset(info, 0, sizeof *info);
    char* name = Put(texts, printer.name);
    char* port = Put(texts, printer.port);
    char* driver = Put(texts, printer.driver);
    info->pSepFile = Put(texts, printer.separator);
    if (!printer.nullFields) {
        info->pPrinterName = name;
        info->pPortName = printer.portOutside ? const_cast<char*>(kOutside) : port;
        info->pDriverName = driver;
    }
    info->Attributes = printer.attributes;
    info->Status = printer.status;
    info->cJobs = printer.jobs;
}

DWORD ListSize(const std::vector<FakePrinter>& printers) {
    DWORD size = 0;
    for (const FakePrinter& printer : printers) size += RecordSize(printer);
    return size;
}

BOOL WINAPI FakeEnumPrinters(DWORD, LPSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
    FakeSpooler& fake = *g_fake;
    ++fake.enumCalls;
    *needed = *returned = 0;
    if (fake.enumFailures != 0 || level != 2) {
        if (fake.enumFailures > 0) --fake.enumFailures;
        SetLastError(RPC_S_SERVER_UNAVAILABLE);
        return FALSE;
    }
    if (buffer && size >= ListSize(fake.printers) && !fake.arriving.empty()) {
        fake.printers.push_back(fake.arriving.front());
        fake.arriving.erase(fake.arriving.begin());
    }
    *needed = ListSize(fake.printers);
    if (!buffer || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    char* texts = reinterpret_cast<char*>(buffer + fake.printers.size() * sizeof(PRINTER_INFO_2A));
    for (std::size_t i = 0; i < fake.printers.size(); ++i) Fill(fake.printers[i], &info[i], texts);
    *returned = static_cast<DWORD>(fake.printers.size());
    return TRUE;
}

BOOL WINAPI FakeOpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
    FakeSpooler& fake = *g_fake;
    for (std::size_t i = 0; i < fake.printers.size(); ++i)
        if (!fake.printers[i].nullFields && fake.printers[i].name == name) {
            ++fake.opens;
            *printer = reinterpret_cast<HANDLE>(kHandleBase + i);
            return TRUE;
        }
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
}

BOOL WINAPI FakeGetPrinter(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    FakeSpooler& fake = *g_fake;
    const ULONG_PTR index = reinterpret_cast<ULONG_PTR>(handle) - kHandleBase;
    *needed = 0;
    if (level != 2 || index >= fake.printers.size() || fake.recordFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *needed = fake.recordClaim ? fake.recordClaim : RecordSize(fake.printers[index]);
    if (buffer && size >= *needed && fake.recordGrowths > 0) {
        --fake.recordGrowths;
        *needed = size + 64;
    }
    if (!buffer || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    char* texts = reinterpret_cast<char*>(buffer + sizeof(PRINTER_INFO_2A));
    Fill(fake.printers[index], reinterpret_cast<PRINTER_INFO_2A*>(buffer), texts);
    return TRUE;
}

BOOL WINAPI FakeClosePrinter(HANDLE) {
    ++g_fake->closes;
    return TRUE;
}

}  // namespace

void UseFakeSpooler(FakeSpooler* fake) {
    TestSeam_UseSpoolerCalls(nullptr);
    g_fake = fake;
    if (!fake) return;
    g_fakeCalls = Spooler();
    g_fakeCalls.enumPrinters = FakeEnumPrinters;
    g_fakeCalls.openPrinter = FakeOpenPrinter;
    g_fakeCalls.getPrinter = FakeGetPrinter;
    g_fakeCalls.closePrinter = FakeClosePrinter;
    TestSeam_UseSpoolerCalls(&g_fakeCalls);
}
