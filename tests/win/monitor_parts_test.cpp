// The status monitor's parts in this process: the window position rules,
// the slot's defaults and the reading of untrusted values, the resources,
// and the monitor window itself driven through its display modes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "common/timing.h"
#include "link/channel/spooler_calls.h"
#include "monitor/core/status_rules.h"
#include "monitor/message_defaults.h"
#include "monitor/monitor_state.h"
#include "monitor/monitor_window.h"
#include "monitor/registry_slot.h"
#include "monitor/resources/resource.h"
#include "monitor/startup.h"
#include "monitor/tray_icon.h"
#include "monitor/window_calls.h"
#include "monitor/window_position.h"
#include "tests/win/box_watcher.h"
#include "tests/win/monitor_test_support.h"

namespace {

// ---- the slot's defaults ------------------------------------------------

TEST(MessageDefaults, OrderFromRstDvd999ToRstDvd0) {
    const char* const names[] = {"RST_DVD",  "PRT_NAME",  "ERR_CODE",  "USR_NAME",      "DOC_NAME",  "CAL_MODE",
                                 "JOB_ID",   "DSP_MODE",  "PSV_HOST",  "PSV_PORT",      "PRT_HALT",  "LM_JOB_CANCEL",
                                 "HEAD_SPAN", "RIBBON_SPAN", "CSF_FRONT", "CSF_REAR", "RST_DVD"};
    ASSERT_EQ(MessageDefaultCount, sizeof names / sizeof names[0]);
    for (size_t i = 0; i < MessageDefaultCount; ++i) EXPECT_STREQ(MessageDefaults[i].name, names[i]) << i;
    EXPECT_STREQ(MessageDefaults[0].text, "999");
    EXPECT_STREQ(MessageDefaults[MessageDefaultCount - 1].text, "0");
    for (size_t i = 12; i < 16; ++i) EXPECT_EQ(MessageDefaults[i].text, nullptr) << MessageDefaults[i].name;
}

TEST(MessageDefaults, FirstFailedWriteStopsTheSequence) {
    ASSERT_TRUE(CreateSlot());
    ASSERT_TRUE(DeleteSlotValue("RST_DVD"));
    ASSERT_TRUE(DeleteSlotValue("PRT_NAME"));
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-msg\\1", 0, KEY_QUERY_VALUE, &readOnly),
              ERROR_SUCCESS);
    EXPECT_FALSE(WriteMessageDefaults(readOnly));
    RegCloseKey(readOnly);
    EXPECT_EQ(SlotText("RST_DVD"), "<missing>");
    EXPECT_EQ(SlotText("PRT_NAME"), "<missing>");

    HKEY writable = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-msg\\1", 0, KEY_ALL_ACCESS, &writable),
              ERROR_SUCCESS);
    EXPECT_TRUE(WriteMessageDefaults(writable));
    RegCloseKey(writable);
    EXPECT_EQ(SlotText("RST_DVD"), "0");
    // Strings go with their terminating zero.
    EXPECT_EQ(SlotBytes("LM_JOB_CANCEL"), std::string("RQ_NORMAL", 10));
}

// ---- what the Windows version chooses ----------------------------------

// The rows themselves are data; what is checked is that this system is
// read as the family whose row the program takes.
TEST(MonitorSettings, ThisSystemReadsAsWindows2000OrLater) {
    WindowsFamily here;
    ASSERT_TRUE(QueryWindowsFamily(&here));
    EXPECT_EQ(here, Windows2000OrLater);
}

TEST(MonitorSettings, EndOnNt4WritesStsRun) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-Status", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "STS_RUN");
        RegCloseKey(key);
    }
    MarkMonitorEnded();
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-Status", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    char value[8] = {};
    DWORD type = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "STS_RUN", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 2u);
    EXPECT_STREQ(value, "0");
    RegDeleteValueA(key, "STS_RUN");
    RegCloseKey(key);
}

// ---- reading what another process wrote ---------------------------------

class SlotReading : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSlot());
        state_ = CreateMonitorState(GetModuleHandleA(nullptr));
        ASSERT_NE(state_, nullptr);
        ApplySettings(SettingsFor(Windows2000OrLater), state_);
        ASSERT_EQ(state_->textSize, 1024u);
    }
    void TearDown() override {
        if (state_) {
            CloseSlot(state_);
            DestroyMonitorState(state_);
        }
    }
    bool Open() { return OpenSlot(state_) == 1; }
    MonitorState* state_ = nullptr;
};

TEST_F(SlotReading, StringWithoutTerminatingZeroEndsInOne) {
    ASSERT_TRUE(SetSlotRaw("PRT_NAME", REG_SZ, "KOA LPT"));  // 7 bytes, no zero
    std::memset(state_->text, 'x', state_->textSize);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ReadStringValue("PRT_NAME", state_));
    EXPECT_STREQ(state_->text, "KOA LPT");
}

TEST_F(SlotReading, LongStringGrowsTheBuffer) {
    const std::string longName(5000, 'N');
    ASSERT_TRUE(SetSlotRaw("USR_NAME", REG_SZ, longName));  // no zero either
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ReadStringValue("USR_NAME", state_));
    EXPECT_EQ(std::string(state_->text), longName);
    EXPECT_GE(state_->textSize, 5001u);
    // The next, short value leaves nothing of the long one behind.
    ASSERT_TRUE(SetSlotText("DOC_NAME", "doc"));
    ASSERT_TRUE(ReadStringValue("DOC_NAME", state_));
    EXPECT_STREQ(state_->text, "doc");
    EXPECT_EQ(state_->text[4], '\0');
    EXPECT_EQ(state_->text[state_->textSize - 1], '\0');
}

TEST_F(SlotReading, ValueOfAnotherTypeIsReadAsText) {
    ASSERT_TRUE(SetSlotRaw("ERR_CODE", REG_BINARY, "300"));  // no zero
    ASSERT_TRUE(SetSlotRaw("JOB_ID", REG_DWORD, std::string("\x07\x00\x00\x00", 4)));
    ASSERT_TRUE(SetSlotRaw("PRT_NAME", REG_MULTI_SZ, std::string("a\0b\0\0", 5)));
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ReadStringValue("ERR_CODE", state_));
    EXPECT_STREQ(state_->text, "300");
    EXPECT_EQ(ParseStatusCode(state_->text, state_->textSize), 300);
    ASSERT_TRUE(ReadStringValue("JOB_ID", state_));
    EXPECT_STREQ(state_->text, "\x07");
    ASSERT_TRUE(ReadStringValue("PRT_NAME", state_));
    EXPECT_STREQ(state_->text, "a");
}

TEST_F(SlotReading, MissingValueFails) {
    ASSERT_TRUE(DeleteSlotValue("TSK_MODE"));
    ASSERT_TRUE(Open());
    EXPECT_FALSE(ReadStringValue("TSK_MODE", state_));
    EXPECT_STREQ(state_->text, "");
}

TEST_F(SlotReading, ByteValueMustBeOneByteOfBinary) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(SetSlotByte("HEAD_SPAN", 90));
    ASSERT_TRUE(ReadByteValue("HEAD_SPAN", state_));
    EXPECT_EQ(state_->singleByte, 90);
    ASSERT_TRUE(SetSlotRaw("HEAD_SPAN", REG_BINARY, std::string("\x5a\x00", 2)));
    EXPECT_FALSE(ReadByteValue("HEAD_SPAN", state_));
    ASSERT_TRUE(SetSlotRaw("HEAD_SPAN", REG_BINARY, ""));
    EXPECT_FALSE(ReadByteValue("HEAD_SPAN", state_));
    ASSERT_TRUE(SetSlotRaw("HEAD_SPAN", REG_SZ, std::string(1, '\0')));
    EXPECT_FALSE(ReadByteValue("HEAD_SPAN", state_));
    ASSERT_TRUE(DeleteSlotValue("HEAD_SPAN"));
    EXPECT_FALSE(ReadByteValue("HEAD_SPAN", state_));
}

TEST_F(SlotReading, MissingSlotIsTheEndNotAFailure) {
    ASSERT_TRUE(DeleteSlot());
    EXPECT_EQ(OpenSlot(state_), 2);
    EXPECT_EQ(state_->slotKey, nullptr);
    EXPECT_EQ(state_->messageKey, nullptr);
    ASSERT_TRUE(CreateSlot());
    EXPECT_EQ(OpenSlot(state_), 1);
}

// ---- resources ----------------------------------------------------------

std::string Text(HWND window) {
    char text[1024];
    const int n = GetWindowTextA(window, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class MonitorResources : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
    }
    // The tab pages are child dialogs: they go into a monitor window.
    HWND Create(int id) {
        HWND parent = nullptr;
        if (id != IDD_MONITOR) {
            if (!window_) window_ = Create(IDD_MONITOR);
            parent = window_;
        }
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), parent, PlainDialog, 0);
        if (dialog) created_.push_back(dialog);
        return dialog;
    }
    void TearDown() override {
        for (auto dialog = created_.rbegin(); dialog != created_.rend(); ++dialog) DestroyWindow(*dialog);
    }
    std::vector<HWND> created_;
    HWND window_ = nullptr;
};

TEST_F(MonitorResources, MonitorWindowControls) {
    HWND window = Create(IDD_MONITOR);
    ASSERT_NE(window, nullptr);
    char cls[64];
    GetClassNameA(GetDlgItem(window, IDC_TABS), cls, sizeof cls);
    EXPECT_STREQ(cls, "SysTabControl32");
    EXPECT_EQ(Text(GetDlgItem(window, IDC_MINIMISE)), "OK");
    EXPECT_EQ(Text(GetDlgItem(window, IDC_PRINT_CANCEL)), "印刷中止");
    EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), IDC_MINIMISE);
    EXPECT_EQ(Text(GetDlgItem(window, IDC_USER_LABEL)), "ユーザー名");
    EXPECT_EQ(Text(GetDlgItem(window, IDC_DOC_LABEL)), "文書名");
    EXPECT_NE(GetDlgItem(window, IDC_USER_NAME), nullptr);
    EXPECT_NE(GetDlgItem(window, IDC_DOC_NAME), nullptr);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(MonitorResources, StatusPageAndConsumablesPage) {
    HWND status = Create(IDD_STATUS_PAGE);
    ASSERT_NE(status, nullptr);
    HWND edit = GetDlgItem(status, IDC_STATUS_TEXT);
    ASSERT_NE(edit, nullptr);
    const LONG style = GetWindowLongA(edit, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & (WS_HSCROLL | ES_AUTOHSCROLL));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(status, IDC_STATUS_ICON), GWL_STYLE) & SS_TYPEMASK, SS_ICON);

    HWND supplies = Create(IDD_SUPPLIES_PAGE);
    ASSERT_NE(supplies, nullptr);
    EXPECT_EQ(Text(GetDlgItem(supplies, IDC_PREPARE_LABEL)), "交換準備");
    EXPECT_EQ(Text(GetDlgItem(supplies, IDC_REPLACE_LABEL)), "交換時期");
    EXPECT_EQ(Text(GetDlgItem(supplies, IDC_RIBBON_RESET)), "ﾘﾎﾞﾝ寿命ｶｳﾝﾀｰｸﾘｱ");
    for (int id : {IDC_PREPARE_LIST, IDC_REPLACE_LIST})
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(supplies, id), GWL_STYLE) & ES_READONLY) << id;
}

// Every status text, with the longest notes, fits the status edit: no line
// wraps (the edit has no horizontal scrolling, so a line too long would).
TEST_F(MonitorResources, EveryStatusTextFitsTheStatusEdit) {
    HWND status = Create(IDD_STATUS_PAGE);
    ASSERT_NE(status, nullptr);
    HWND edit = GetDlgItem(status, IDC_STATUS_TEXT);
    std::vector<char> text(8192);
    const StatusEntry* previous = nullptr;
    int checked = 0;
    for (int code = -1; code <= 2000; ++code) {
        const StatusEntry& entry = FindStatusEntry(code);
        if (&entry == previous && !entry.formatted) continue;
        previous = &entry;
        BuildStatusText(code, 100, 100, text.data(), text.size());
        SetWindowTextA(edit, text.data());
        int lines = 1;
        for (const char* p = text.data(); (p = std::strstr(p, "\r\n")) != nullptr; p += 2) ++lines;
        EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), lines) << "code " << code;
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

TEST_F(MonitorResources, AcceleratorsTrayMenuAndTexts) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HACCEL table = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MONITOR));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 8), 2);
    for (const ACCEL& entry : entries) {
        if (&entry == entries + 2) break;
        EXPECT_EQ(entry.key, VK_TAB);
        const BYTE wanted = entry.cmd == IDM_NEXT_TAB ? (FVIRTKEY | FCONTROL) : (FVIRTKEY | FCONTROL | FSHIFT);
        EXPECT_TRUE(entry.cmd == IDM_NEXT_TAB || entry.cmd == IDM_PREVIOUS_TAB) << entry.cmd;
        EXPECT_EQ(entry.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), wanted) << entry.cmd;
    }
    EXPECT_EQ(IDM_NEXT_TAB, 40011);
    EXPECT_EQ(IDM_PREVIOUS_TAB, 40009);

    HMENU bar = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_TRAY));
    ASSERT_NE(bar, nullptr);
    HMENU menu = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    const struct { UINT id; const char* text; } items[] = {
        {200, "元のサイズに戻す(&R)"}, {0, nullptr}, {400, "印刷中止(&C)"}, {0, nullptr}, {300, "ステータス表示の終了(&X)"}};
    for (int i = 0; i < 5; ++i) {
        char text[128] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        if (items[i].text) {
            EXPECT_EQ(GetMenuItemID(menu, i), items[i].id);
            EXPECT_STREQ(text, items[i].text);
        } else {
            EXPECT_EQ(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
        }
    }
    DestroyMenu(bar);

    char text[256];
    LoadStringA(instance, IDS_TAB_STATUS, text, sizeof text);
    EXPECT_STREQ(text, "ﾌﾟﾘﾝﾀｰｽﾃｰﾀｽ");
    LoadStringA(instance, IDS_TAB_SUPPLIES, text, sizeof text);
    EXPECT_STREQ(text, "消耗品情報");
    LoadStringA(instance, IDS_WINDOW_CAPTION, text, sizeof text);
    EXPECT_STREQ(text, "ｽﾃｰﾀｽﾓﾆﾀｰ : ");
}

TEST_F(MonitorResources, StatusIconsComeInBothSizes) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int id : {IDI_MONITOR, IDI_STATUS_INFO, IDI_STATUS_WARNING, IDI_STATUS_ERROR, IDI_STATUS_ALARM}) {
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP mask = {};
            GetObjectA(info.hbmMask, sizeof mask, &mask);
            EXPECT_EQ(mask.bmWidth, size) << id;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    // The icons the status rules name are the ones in the resources.
    EXPECT_EQ(StatusIconReady, IDI_MONITOR);
    EXPECT_EQ(StatusIconInfo, IDI_STATUS_INFO);
    EXPECT_EQ(StatusIconWarning, IDI_STATUS_WARNING);
    EXPECT_EQ(StatusIconError, IDI_STATUS_ERROR);
    EXPECT_EQ(StatusIconAlarm, IDI_STATUS_ALARM);
}

// ---- the monitor window in this process ---------------------------------

class MonitorWindowHere : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        installed_ = InstallMonitorPrinter(&error);
    }
    void SetUp() override {
        ASSERT_TRUE(installed_);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(CreateSlot());
        HKEY slot = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-msg\\1", 0, KEY_ALL_ACCESS, &slot),
                  ERROR_SUCCESS);
        ASSERT_TRUE(WriteMessageDefaults(slot));
        RegCloseKey(slot);
        DeleteSavedPosition();
        state_ = CreateMonitorState(GetModuleHandleA(nullptr));
        ASSERT_NE(state_, nullptr);
        ApplySettings(SettingsFor(Windows2000OrLater), state_);
    }
    void TearDown() override {
        if (window_) {
            PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
            WaitUntil([&] { return EndMarker(window_) != 0; });
            DestroyWindow(window_);
        }
        TestSeam_UseMonitorWindowCalls(nullptr);
        if (state_) DestroyMonitorState(state_);
        DeleteSavedPosition();
    }
    HWND Start(int displayMode) {
        state_->displayMode = displayMode;
        window_ = CreateMonitorWindow(state_);
        if (window_) ShowAtStart(window_, state_);
        return window_;
    }
    MonitorState* state_ = nullptr;
    HWND window_ = nullptr;
    static bool installed_;
};
bool MonitorWindowHere::installed_ = false;

TEST_F(MonitorWindowHere, DisplayModeOneStartsInTheTray) {
    ASSERT_NE(Start(1), nullptr);
    EXPECT_TRUE(IsInTray(window_));
    EXPECT_TRUE(state_->iconShown);
}

TEST_F(MonitorWindowHere, DisplayModeTwoShowsAnErrorAtStart) {
    ASSERT_TRUE(SetSlotText("ERR_CODE", "0300"));
    ASSERT_NE(Start(2), nullptr);
    EXPECT_EQ(state_->currentCode, 300);
    EXPECT_TRUE(IsShown(window_));
    EXPECT_FALSE(state_->iconShown);
}

TEST_F(MonitorWindowHere, DisplayModeTwoWithoutErrorStartsInTheTray) {
    ASSERT_NE(Start(2), nullptr);
    EXPECT_TRUE(IsInTray(window_));
}

TEST_F(MonitorWindowHere, OtherDisplayModeShowsTheWindow) {
    ASSERT_NE(Start(0), nullptr);
    EXPECT_TRUE(IsShown(window_));
    EXPECT_FALSE(state_->iconShown);
}

TEST_F(MonitorWindowHere, FirstCycleFillsTheWindowAndTheTip) {
    ASSERT_TRUE(SetSlotText("ERR_CODE", "600"));
    ASSERT_TRUE(SetSlotText("PRT_NAME", "KOA Monitor LPT"));
    ASSERT_TRUE(SetSlotText("PSV_HOST", "host-1"));
    ASSERT_NE(Start(1), nullptr);
    EXPECT_EQ(state_->started, 1);
    EXPECT_STREQ(state_->host, "host-1");
    EXPECT_EQ(Text(window_), "ｽﾃｰﾀｽﾓﾆﾀｰ : KOA Monitor LPT");
    // The tip follows at the next tick.
    ASSERT_TRUE(WaitUntil([&] { return std::string(state_->tray.szTip) == "600 システムエラー"; }));
    EXPECT_EQ(state_->tray.hIcon, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_STATUS_ERROR)));
    EXPECT_EQ(state_->tray.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(state_->tray.uID, 1u);
    EXPECT_EQ(state_->tray.uCallbackMessage, 0x8064u);
}

TEST_F(MonitorWindowHere, TipIsCutToSixtyThreeBytesBetweenCharacters) {
    ASSERT_NE(Start(1), nullptr);
    std::string title(40, 'a');
    title += "あいうえおかきくけこさしすせそ";  // 40 + 30 bytes
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_STATUS_INFO));
    UpdateTrayIcon(state_, icon, title.c_str());
    EXPECT_EQ(std::string(state_->tray.szTip), title.substr(0, 62));
    EXPECT_EQ(state_->tray.hIcon, icon);
}

TEST_F(MonitorWindowHere, SystemMenuKeepsMoveMinimiseAndClose) {
    ASSERT_NE(Start(0), nullptr);
    HMENU menu = GetSystemMenu(window_, FALSE);
    EXPECT_EQ(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(MonitorWindowHere, TaskbarRestartAddsTheIconAgainOnlyWhileInTheTray) {
    ASSERT_NE(Start(1), nullptr);
    ASSERT_TRUE(state_->iconShown);
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    EXPECT_EQ(state_->taskbarCreatedMessage, taskbarCreated);
    SendMessageA(window_, taskbarCreated, 0, 0);
    EXPECT_TRUE(state_->iconShown);
    EXPECT_TRUE(IsInTray(window_));
}

TEST_F(MonitorWindowHere, FlashingFollowsTskMode) {
    ASSERT_TRUE(SetSlotText("TSK_MODE", "1"));
    ASSERT_NE(Start(0), nullptr);
    // Another window in front, then a new error.
    HWND other = CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(SetSlotText("ERR_CODE", "310"));
    EXPECT_TRUE(WaitUntil([&] { return state_->flashState == (FlashRequested | Flashing); }));
    EXPECT_TRUE(state_->flashEnabled);
    ASSERT_TRUE(SetSlotText("ERR_CODE", "0"));
    EXPECT_TRUE(WaitUntil([&] { return state_->flashState == 0; }));
    DestroyWindow(other);
    ASSERT_TRUE(DeleteSlotValue("TSK_MODE"));
}

// Wine's spooler cannot list jobs: here the list is empty, as a real
// spooler's is when nothing prints.
BOOL WINAPI NoJobs(HANDLE, DWORD, DWORD, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
    if (needed) *needed = 0;
    if (returned) *returned = 0;
    return TRUE;
}

TEST_F(MonitorWindowHere, DoubleClickWithoutNewStatusAsksThePrinterForOne) {
    SpoolerCalls calls = Spooler();
    calls.enumJobs = NoJobs;
    TestSeam_UseSpoolerCalls(&calls);
    TestSeam_ShortenFixedWaits(20);
    ASSERT_NE(Start(1), nullptr);
    ASSERT_TRUE(IsInTray(window_));
    // The code has not changed since the last cycle: the check sends the
    // dummy job, sets ERR_CODE "100", and the window comes up showing
    // "[情報取得中]" once the next cycle has read it.
    PostMessageA(window_, 0x8064, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(window_); }));
    EXPECT_EQ(SlotText("ERR_CODE"), "100");
    EXPECT_FALSE(state_->checkRunning);
    EXPECT_FALSE(state_->iconShown);
    HWND edit = GetDlgItem(state_->statusPage, IDC_STATUS_TEXT);
    std::vector<char> expected(4096);
    BuildStatusText(100, 0, 0, expected.data(), expected.size());
    EXPECT_TRUE(WaitUntil([&] { return Text(edit) == expected.data(); }));
    TestSeam_ShortenFixedWaits(1);
    TestSeam_UseSpoolerCalls(nullptr);
}

// Every printer of Wine's list with PRINTER_STATUS_PAUSED, which Wine
// itself cannot show.
BOOL WINAPI PausedPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                           LPDWORD returned) {
    if (!EnumPrintersA(flags, name, level, buffer, size, needed, returned)) return FALSE;
    PRINTER_INFO_2A* info = level == 2 ? reinterpret_cast<PRINTER_INFO_2A*>(buffer) : nullptr;
    for (DWORD i = 0; info && i < *returned; ++i) info[i].Status |= PRINTER_STATUS_PAUSED;
    return TRUE;
}

// A double-click on the tray icon with the default printer paused: the
// check sets ERR_CODE "0" and tells the user; the window stays in the tray.
TEST_F(MonitorWindowHere, DoubleClickWithThePrinterPausedKeepsTheWindowInTheTray) {
    SpoolerCalls calls = Spooler();
    calls.enumJobs = NoJobs;
    calls.enumPrinters = PausedPrinters;
    TestSeam_UseSpoolerCalls(&calls);
    ASSERT_NE(Start(1), nullptr);
    ASSERT_TRUE(IsInTray(window_));
    BoxWatcher boxes;
    PostMessageA(window_, 0x8064, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return boxes.Count() == 1 && !state_->checkRunning; }));
    WaitUntil([] { return false; }, 1200);  // two cycles: nothing brings the window up later
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              "プリンターは一時停止状態です。\n\n[プリンター]フォルダーを開いて、一時停止チェックを解除してください。");
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
    EXPECT_FALSE(IsShown(window_));
    EXPECT_TRUE(IsInTray(window_));
    EXPECT_TRUE(state_->iconShown);
    TestSeam_UseSpoolerCalls(nullptr);
}

// ---- when the shell or the system says no ------------------------------

// The window's shell and timer calls with the tray icon refused as often as
// a test asks; timers of a second or more (the retries) run 20 times faster
// so that a minute of retries passes in seconds.
struct RefusingShell {
    static int refusals;  // adds still to refuse
    static int adds;      // every NIM_ADD asked for
    static bool refuseTimers;

    static BOOL WINAPI NotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
        if (message == NIM_ADD) {
            ++adds;
            if (refusals > 0) {
                --refusals;
                return FALSE;
            }
        }
        return Shell_NotifyIconA(message, data);
    }
    static UINT_PTR WINAPI Timer(HWND window, UINT_PTR id, UINT ms, TIMERPROC callback) {
        if (refuseTimers) return 0;
        return SetTimer(window, id, ms >= 1000 ? ms / 20 : ms, callback);
    }
    static void Use(int refused, bool noTimers = false) {
        static MonitorWindowCalls calls;
        calls = WindowCalls();
        calls.notifyIcon = NotifyIcon;
        calls.setTimer = Timer;
        refusals = refused;
        adds = 0;
        refuseTimers = noTimers;
        TestSeam_UseMonitorWindowCalls(&calls);
    }
};
int RefusingShell::refusals = 0;
int RefusingShell::adds = 0;
bool RefusingShell::refuseTimers = false;

void KeepWindowsRunningFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

// Minimised, but on the screen where the user can restore it.
bool IsMinimisedOnScreen(HWND window) { return IsWindowVisible(window) && IsIconic(window); }

TEST_F(MonitorWindowHere, RefusedTrayIconIsAskedForAgainUntilTheShellTakesIt) {
    RefusingShell::Use(3);
    ASSERT_NE(Start(1), nullptr);
    EXPECT_FALSE(state_->iconShown);
    EXPECT_TRUE(IsMinimisedOnScreen(window_));
    bool hiddenWithoutIcon = false;
    EXPECT_TRUE(WaitUntil([&] {
        hiddenWithoutIcon = hiddenWithoutIcon || (!IsWindowVisible(window_) && !state_->iconShown);
        return state_->iconShown;
    }));
    EXPECT_FALSE(hiddenWithoutIcon);
    EXPECT_EQ(RefusingShell::adds, 4);
    EXPECT_TRUE(IsInTray(window_));
}

TEST_F(MonitorWindowHere, TrayIconRefusedForGoodLeavesTheWindowMinimisedOnScreen) {
    RefusingShell::Use(INT_MAX);
    ASSERT_NE(Start(1), nullptr);
    ASSERT_TRUE(WaitUntil([] { return RefusingShell::adds > 1; }));
    // The attempts come to an end: two whole seconds (twenty retries here)
    // bring no new one.
    int seen = -1;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const int before = RefusingShell::adds;
            KeepWindowsRunningFor(2000);
            seen = RefusingShell::adds;
            return seen == before;
        },
        20000));
    EXPECT_LE(seen, 31);
    EXPECT_FALSE(state_->iconShown);
    EXPECT_TRUE(IsMinimisedOnScreen(window_));
    // The user restores it from the taskbar as any window.
    ShowWindow(window_, SW_RESTORE);
    EXPECT_TRUE(IsShown(window_));
}

TEST_F(MonitorWindowHere, TaskbarRestartRefusingTheIconBringsTheWindowBack) {
    ASSERT_NE(Start(1), nullptr);
    ASSERT_TRUE(IsInTray(window_));
    RefusingShell::Use(1);
    SendMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_FALSE(state_->iconShown);
    EXPECT_TRUE(IsMinimisedOnScreen(window_));
    EXPECT_TRUE(WaitUntil([&] { return state_->iconShown && IsInTray(window_); }));
}

TEST_F(MonitorWindowHere, RefusedCycleTimerEndsTheMonitor) {
    RefusingShell::Use(0, true);
    ASSERT_NE(Start(0), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return EndMarker(window_) != 0; }, 5000));
}

BOOL WINAPI NoPlacement(HWND, WINDOWPLACEMENT*) { return FALSE; }

TEST_F(MonitorWindowHere, SavingWithoutThePlacementWritesTheWindowsOwnPosition) {
    ASSERT_NE(Start(0), nullptr);
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    static MonitorWindowCalls calls;
    calls = WindowCalls();
    calls.getWindowPlacement = NoPlacement;
    TestSeam_UseMonitorWindowCalls(&calls);
    DeleteSavedPosition();
    SaveWindowPosition(window_, state_);
    long left = 0, top = 0;
    ASSERT_TRUE(ReadSavedPosition(&left, &top));
    EXPECT_EQ(left, 37);
    EXPECT_EQ(top, 41);
}

}  // namespace
