#include "monitor/printer_checks.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>

#include "common/memory.h"
#include "common/timing.h"
#include "common/wait_cursor.h"
#include "link/channel/link_block.h"
#include "link/channel/object_names.h"
#include "link/channel/printer_link.h"
#include "link/channel/spooler_calls.h"
#include "monitor/registry_slot.h"
#include "monitor/resources/resource.h"

const char NoSupportedPrinterText[] = "プリンター（ドライバー）が見つかりません。\n\nプログラムを終了します。";

namespace {

const char kCaption[] = "ｽﾃｰﾀｽﾓﾆﾀｰ";

const char kMemoryFailed[] = "メモリー獲得に失敗しました。\nError : EnumPrinters\n\nプログラムを終了します。";
const char kListFailed[] =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : EnumPrinters\n\nプログラムを終了します。";
const char kOpenFailed[] = "プリンター情報の獲得に失敗しました。\nError : OpenPrinter\n\nプログラムを終了します。";
const char kStartDocFailed[] =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : StartDocPrinter\n\nプログラムを終了します。";
const char kJobsFailed[] =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : EnumJobs\n\nプログラムを終了します。";
const char kBidiOff[] =
    "プリンターの双方向機能が無効になっています。\n\n[プリンター]フォルダーからプロパティを開いて、"
    "双方向機能を有効にしてください。";
const char kPaused[] =
    "プリンターは一時停止状態です。\n\n[プリンター]フォルダーを開いて、一時停止チェックを解除してください。";
const char kOffline[] =
    "プリンターはオフラインになっています。\n\n[プリンター]フォルダーを開いて、オフラインチェックを解除してください。";
const char kWrongPort[] =
    "プリンターポートの設定が異なります。\n[プリンター]フォルダーからプロパティを開いて、ポート設定を変更してください。";
const char kNotDefault[] =
    "下記の何れかのプリンターを接続し、通常使うプリンターに設定してください。\n\n     KOA koa2400Max-R\n     KOA "
    "koa2600Max-R";
const char kRibbonQuestion[] =
    "リボン消耗情報を初期化します。\nよろしいですか？\n\nプリンターがオンラインになっていることを確認してください。";
const char kNoAnswer[] =
    "プリンターからの応答がありません｡\n\nプリンターが接続されていないか電源が入っていないか、\n"
    "又はオフラインになっています。\n\nプリンターのエラーを解除してプリンターの電源を再投入して下さい。";
const char kSpoolBusy[] =
    "スプールに印刷ジョブが残っています。\n\nスプールに残っている印刷ジョブの印刷を完了させてから\n"
    "[OK]ボタンをクリックして再度選択して下さい。";

// Exact, case-sensitive driver names of the two models.
const char* const kSupportedDrivers[] = {
    "KOA koa2400Max-R(0mm)", "KOA koa2400Max-R(8.5mm)", "KOA koa2600Max-R(0mm)",
    "KOA koa2600Max-R(8.5mm)", "KOA koa2400Max-RN", "KOA koa2600Max-RN",
};

enum { CheckDone = 0, CheckShown = 1, CheckFatal = 2 };

// The status code that shows "[情報取得中]" until the language monitor
// writes the fresh state.
const short kCodeFetching = 100;

// EnumPrinters is asked again after other errors, 1 s apart, this many times.
const int kListRetries = 60;
// A spooler whose list keeps growing between calls is not followed for ever.
const int kListGrowths = 64;
// Job positions looked at before the job list counts as unreadable; a real
// queue never comes near it, a broken spooler answering "one more" would.
const DWORD kMaxJobPositions = 100000;
const DWORD kMaxJobRecord = 1024 * 1024;
const int kJobRecordGrowths = 8;

// The whole "device" entry ("name,driver,port"). Printer names are far
// shorter than this (the spooler limits them to a few hundred characters);
// an entry that fills it is taken as cut and matches no printer.
const DWORD kDeviceEntrySize = 1024;
const std::size_t kPrinterNameSize = 512;
// The connection job's copy of the printer name (AttachLink).
const std::size_t kLinkPrinterNameSize = 256;

const DWORD kStatusRefreshPauseMs = 2000;
const DWORD kCancelPolls = 1000;
const DWORD kCancelPollMs = 10;

void ShowError(const char* text) {
    MessageBoxA(nullptr, text, kCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

// The ribbon reset's outcome: a user icon of the program, owned by the
// monitor window.
void ShowRibbonResult(HWND window, HINSTANCE instance, const char* text, int icon) {
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = window;
    box.hInstance = instance;
    box.lpszText = text;
    box.lpszCaption = kCaption;
    box.dwStyle = MB_OK | MB_USERICON | MB_TASKMODAL | MB_SETFOREGROUND;
    box.lpszIcon = MAKEINTRESOURCEA(icon);
    MessageBoxIndirectA(&box);
}

// Length of `text` when it ends within `size` bytes, else `size`: never
// reads past either.
std::size_t BoundedLength(const char* text, std::size_t size) {
    std::size_t n = 0;
    while (n < size && text[n]) ++n;
    return n;
}

bool IsSupportedDriver(const char* driver) {
    if (!driver) return false;
    for (const char* supported : kSupportedDrivers)
        if (std::strcmp(driver, supported) == 0) return true;
    return false;
}

// "LPT0:" .. "LPT99:" and "USB000" .. "USB099", compared exactly: "LPT01:",
// "lpt1:", "USB100" and "USB001:" are other ports.
bool IsAcceptedPort(const char* port) {
    if (!port) return false;
    char candidate[16];
    for (int n = 0; n <= 99; ++n) {
        std::snprintf(candidate, sizeof candidate, "LPT%1d:", n);
        if (std::strcmp(port, candidate) == 0) return true;
        std::snprintf(candidate, sizeof candidate, "USB%03d", n);
        if (std::strcmp(port, candidate) == 0) return true;
    }
    return false;
}

// The spooler's printer list (level 2) in a block of its own. Freed by
// hand: a destructor would give these functions unwinding code, and with it
// a C++ runtime whose threading support imports calls Windows XP lacks.
struct PrinterList {
    BYTE* buffer;
    DWORD size;
    DWORD count;

    // 0 listed; 2 after its message (no memory, or the spooler kept failing).
    int Fill();
    void Free() {
        if (buffer) FreeBlock(buffer);
        buffer = nullptr;
        size = 0;
        count = 0;
    }

    const PRINTER_INFO_2A& At(DWORD i) const { return reinterpret_cast<const PRINTER_INFO_2A*>(buffer)[i]; }
    // A text of an entry, or null unless it lies within the list's block and
    // ends there: the spooler's pointers are not taken on trust.
    const char* Text(const char* field) const {
        const BYTE* at = reinterpret_cast<const BYTE*>(field);
        if (!field || !buffer || at < buffer || at >= buffer + size) return nullptr;
        const std::size_t room = static_cast<std::size_t>(buffer + size - at);
        return BoundedLength(field, room) < room ? field : nullptr;
    }
};

int PrinterList::Fill() {
    const SpoolerCalls& spooler = Spooler();
    int failures = 0;
    int growths = 0;
    for (;;) {
        DWORD needed = 0;
        DWORD returned = 0;
        if (spooler.enumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, buffer, size, &needed,
                                 &returned)) {
            const DWORD fits = size / sizeof(PRINTER_INFO_2A);
            count = returned < fits ? returned : fits;
            return CheckDone;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER && needed > size && growths < kListGrowths) {
            ++growths;
            Free();
            long allocError = 0;
            buffer = static_cast<BYTE*>(AllocBlock(needed, &allocError));
            if (!buffer) {
                ShowError(kMemoryFailed);
                return CheckFatal;
            }
            size = needed;
            continue;
        }
        if (failures >= kListRetries) {
            ShowError(kListFailed);
            return CheckFatal;
        }
        ++failures;
        FixedWait(1000);
    }
}

// The default printer's name: the "device" entry of the profile's "windows"
// section up to its first comma. Empty when there is none, or when the
// entry is too long to be read whole.
void ReadDefaultPrinter(char* name, std::size_t size) {
    name[0] = '\0';
    char entry[kDeviceEntrySize];
    DWORD n = Spooler().getProfileString("windows", "device", ",,,", entry, sizeof entry);
    if (n >= sizeof entry) n = sizeof entry - 1;
    entry[n] = '\0';
    const std::size_t length = BoundedLength(entry, n);
    const char* comma = static_cast<const char*>(std::memchr(entry, ',', length));
    if (!comma && length == sizeof entry - 1) return;
    const std::size_t nameLength = comma ? static_cast<std::size_t>(comma - entry) : length;
    if (nameLength >= size) return;
    std::memcpy(name, entry, nameLength);
    name[nameLength] = '\0';
}

// 1 a job is printing, 0 none, -1 the job list cannot be read.
int IsJobPrinting(HANDLE printer) {
    const SpoolerCalls& spooler = Spooler();
    BYTE* buffer = nullptr;
    DWORD size = 0;
    int result = -1;
    int growths = 0;  // for the current position
    for (DWORD position = 0; position < kMaxJobPositions;) {
        DWORD needed = 0;
        DWORD returned = 0;
        if (spooler.enumJobs(printer, position, 1, 1, buffer, size, &needed, &returned)) {
            if (returned == 0) {
                result = 0;
                break;
            }
            if (size < sizeof(JOB_INFO_1A)) break;  // a job claimed but not delivered
            const DWORD status = reinterpret_cast<const JOB_INFO_1A*>(buffer)->Status;
            if ((status & JOB_STATUS_PRINTING) &&
                !(status & (JOB_STATUS_DELETED | JOB_STATUS_DELETING | JOB_STATUS_PRINTED))) {
                result = 1;
                break;
            }
            ++position;
            growths = 0;
            continue;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size || needed > kMaxJobRecord ||
            ++growths > kJobRecordGrowths)
            break;
        if (buffer) FreeBlock(buffer);
        long allocError = 0;
        buffer = static_cast<BYTE*>(AllocBlock(needed, &allocError));
        size = buffer ? needed : 0;
        if (!buffer) break;
    }
    if (buffer) FreeBlock(buffer);
    return result;
}

// ERR_CODE, written by the checks themselves; a slot that cannot be opened
// is left as it is.
void WriteErrorCode(MonitorState* state, const char* code) {
    if (OpenSlot(state) == 1) WriteSlotString(state, "ERR_CODE", code);
    CloseSlot(state);
}

// ESC e R6 through the command channel, under the mutex that keeps the
// monitor off the channel while another holder has it. Never waits for that
// mutex. Non-zero on success.
int SendRibbonReset(const char* printerName, const MonitorState* state) {
    SetWaitCursor(CursorHourglass);
    int result = 0;
    char name[kLinkPrinterNameSize];
    // A name the connection job could only carry cut would reach another
    // printer, or none.
    const std::size_t length = BoundedLength(printerName, sizeof name);
    const char* mutexName =
        state->disposablesMutexName ? state->disposablesMutexName : CurrentKernelObjectNames().disposablesMutex;
    HANDLE mutex = length < sizeof name ? CreateMutexA(nullptr, FALSE, mutexName) : nullptr;
    if (mutex) {
        std::memcpy(name, printerName, length);
        name[length] = '\0';
        const DWORD wait = WaitForSingleObject(mutex, 0);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            if (OpenPrinterLink()) {
                // A block that cannot be cleared reaches no printer.
                if (AttachLink(name)) {
                    const CommandFrame reset = CounterResetCommand(6);
                    result = LinkExchange(LinkSend, reset.bytes, static_cast<unsigned>(reset.length)) != 0;
                }
                DetachLink();
                // The monitor keeps no channel state between resets.
                ClosePrinterLink();
            }
            ReleaseMutex(mutex);
        }
        CloseHandle(mutex);
    }
    SetWaitCursor(CursorArrow);
    return result;
}

// The first spooler condition of the default printer that stops the checks,
// or null.
const char* SpoolerCondition(DWORD attributes, DWORD status) {
    if (!(attributes & PRINTER_ATTRIBUTE_ENABLE_BIDI)) return kBidiOff;
    if (status & PRINTER_STATUS_PAUSED) return kPaused;
    if (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) return kOffline;
    return nullptr;
}

// The default printer, supported and on an accepted port: its spooler
// state, then the ribbon reset or the status refresh.
int CheckTarget(HWND window, MonitorState* state, bool ribbonReset, char* name, const PRINTER_INFO_2A& info) {
    const SpoolerCalls& spooler = Spooler();
    HANDLE printer = nullptr;
    if (!spooler.openPrinter(name, &printer, nullptr)) {
        ShowError(kOpenFailed);
        return CheckFatal;
    }
    if (const char* condition = SpoolerCondition(info.Attributes, info.Status)) {
        if (!ribbonReset) WriteErrorCode(state, "0");
        ShowError(condition);
        spooler.closePrinter(printer);
        return CheckShown;
    }
    const int printing = IsJobPrinting(printer);

    if (ribbonReset) {
        spooler.closePrinter(printer);
        if (printing != 0) {
            ShowRibbonResult(window, state->instance, kSpoolBusy, IDI_STATUS_WARNING);
        } else if (SendRibbonReset(name, state)) {
            if (OpenSlot(state) == 1) {
                WriteSlotByte(state, "RIBBON_SPAN", 0);
                WriteSlotString(state, "ERR_CODE", "0");
            }
            CloseSlot(state);
        } else {
            ShowRibbonResult(window, state->instance, kNoAnswer, IDI_STATUS_ERROR);
        }
        return CheckDone;
    }

    // The status refresh: a printing job brings a fresh status by itself;
    // otherwise the dummy job asks the language monitor for one.
    if (printing < 0) {
        ShowError(kJobsFailed);
        spooler.closePrinter(printer);
        return CheckFatal;
    }
    if (printing == 0) {
        DOC_INFO_1A doc = {};
        doc.pDocName = const_cast<char*>(DummyJobName);
        doc.pOutputFile = nullptr;
        doc.pDatatype = const_cast<char*>("RAW");
        if (!spooler.startDocPrinter(printer, 1, reinterpret_cast<LPBYTE>(&doc))) {
            ShowError(kStartDocFailed);
            spooler.closePrinter(printer);
            return CheckFatal;
        }
    }
    state->currentCode = kCodeFetching;
    state->previousCode = kCodeFetching;
    WriteErrorCode(state, "100");
    if (printing == 0) {
        BYTE zeros[DummyJobLength] = {};
        DWORD written = 0;
        spooler.writePrinter(printer, zeros, sizeof zeros, &written);
        spooler.endDocPrinter(printer);
    }
    spooler.closePrinter(printer);
    FixedWait(kStatusRefreshPauseMs);
    return CheckDone;
}

// The walk over the list: the default printer among the supported ones.
int CheckListedPrinters(HWND window, MonitorState* state, bool ribbonReset, const PrinterList& list) {
    char defaultName[kPrinterNameSize];
    ReadDefaultPrinter(defaultName, sizeof defaultName);

    bool supportedNotDefault = false;
    bool wrongPort = false;
    for (DWORD i = 0; i < list.count; ++i) {
        const PRINTER_INFO_2A& info = list.At(i);
        if (!IsSupportedDriver(list.Text(info.pDriverName))) continue;
        const char* name = list.Text(info.pPrinterName);
        if (!name || !defaultName[0] || std::strcmp(name, defaultName) != 0) {
            supportedNotDefault = true;
            continue;
        }
        if (!IsAcceptedPort(list.Text(info.pPortName))) {
            wrongPort = true;
            break;
        }
        // The name lies in the list's own block, which outlives the check.
        return CheckTarget(window, state, ribbonReset, const_cast<char*>(name), info);
    }
    if (wrongPort) {
        ShowError(kWrongPort);
        return CheckShown;
    }
    if (supportedNotDefault) {
        ShowError(kNotDefault);
        return CheckShown;
    }
    ShowError(NoSupportedPrinterText);
    return CheckFatal;
}

}  // namespace

int FindSupportedPrinter() {
    PrinterList list = {};
    int result = list.Fill();
    if (result == CheckDone) {
        for (DWORD i = 0; i < list.count && !result; ++i)
            if (IsSupportedDriver(list.Text(list.At(i).pDriverName))) result = 1;
    }
    list.Free();
    return result;
}

int CheckDefaultPrinter(HWND window, MonitorState* state, bool ribbonReset) {
    if (state->checkRunning) return CheckDone;
    state->checkRunning = true;
    PrinterList list = {};
    int result = list.Fill();
    if (result == CheckDone) result = CheckListedPrinters(window, state, ribbonReset, list);
    list.Free();
    return result;
}

int ResetRibbonFromMonitor(HWND page, HWND window, MonitorState* state) {
    if (MessageBoxA(page, kRibbonQuestion, kCaption, MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL | MB_SETFOREGROUND) !=
        IDOK)
        return 0;
    const int result = CheckDefaultPrinter(window, state, true);
    state->checkRunning = false;
    return result == CheckFatal ? CheckFatal : 0;
}

bool RequestPrintCancel(MonitorState* state) {
    if (OpenSlot(state) != 1) {
        CloseSlot(state);
        return false;
    }
    if (!WriteSlotString(state, "LM_JOB_CANCEL", "RQ_CANCEL")) {
        CloseSlot(state);
        return false;
    }
    // The language monitor cancels the job and clears the document name.
    for (DWORD poll = 0; poll < kCancelPolls; ++poll) {
        if (!ReadStringValue("DOC_NAME", state)) {
            CloseSlot(state);
            return false;
        }
        if (std::strcmp(state->text, "  ") == 0 || std::strcmp(state->text, " ") == 0) break;
        FixedWait(kCancelPollMs);
    }
    CloseSlot(state);
    return true;
}
