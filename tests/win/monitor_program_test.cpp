// The status monitor as a user and the language monitor meet it: tzrawatch.exe
// started as a child, the registry slot written from here, the window read
// from here.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/core/status_rules.h"
#include "tests/win/box_watcher.h"
#include "tests/win/monitor_test_support.h"

namespace {

const int kStatusText = 1060;
const int kUserName = 1050;
const int kDocName = 1031;
const int kOk = 1044;
const int kPrintCancel = 1047;
const int kTabs = 1037;
const int kPrepareList = 1039;
const int kReplaceList = 1040;
const int kRibbonReset = 1041;
const UINT kTrayMessage = 0x8064;

std::string ExpectedText(int code, int head = 0, int ribbon = 0) {
    std::vector<char> text(8192);
    BuildStatusText(code, head, ribbon, text.data(), text.size());
    return text.data();
}

class MonitorProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        installed_ = InstallMonitorPrinter(&error);
        installError_ = error;
    }
    void SetUp() override {
        ASSERT_TRUE(installed_) << installError_;
        ASSERT_TRUE(CreateSlot());
        DeleteSavedPosition();
    }
    void TearDown() override { DeleteSavedPosition(); }

    std::string StatusText(HWND window) { return ControlText(FindControl(window, kStatusText)); }

    // Puts a status into the slot as the language monitor does and waits
    // until the window shows its text.
    bool ShowCode(HWND window, int code, int head = 0, int ribbon = 0) {
        if (!SetSlotByte("HEAD_SPAN", static_cast<unsigned char>(head)) ||
            !SetSlotByte("RIBBON_SPAN", static_cast<unsigned char>(ribbon)) ||
            !SetSlotText("ERR_CODE", std::to_string(code)))
            return false;
        const std::string expected = ExpectedText(code, head, ribbon);
        return WaitUntil([&] { return StatusText(window) == expected; });
    }

    static bool installed_;
    static std::string installError_;
};
bool MonitorProgramTest::installed_ = false;
std::string MonitorProgramTest::installError_;

TEST_F(MonitorProgramTest, StartWritesTheSlotDefaultsOverWhatWasThere) {
    // What a language monitor may have left from the last run.
    ASSERT_TRUE(SetSlotText("ERR_CODE", "300"));
    ASSERT_TRUE(SetSlotText("LM_JOB_CANCEL", "RQ_CANCEL"));
    ASSERT_TRUE(SetSlotText("RST_DVD", "7"));
    ASSERT_TRUE(SetSlotByte("HEAD_SPAN", 100));
    ASSERT_TRUE(SetSlotText("DSP_MODE", "1"));

    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    EXPECT_EQ(SlotText("RST_DVD"), "0");
    EXPECT_EQ(SlotText("PRT_NAME"), "  ");
    EXPECT_EQ(SlotText("ERR_CODE"), "0000");
    EXPECT_EQ(SlotText("USR_NAME"), "  ");
    EXPECT_EQ(SlotText("DOC_NAME"), "  ");
    EXPECT_EQ(SlotText("CAL_MODE"), "0");
    EXPECT_EQ(SlotText("JOB_ID"), "5");
    EXPECT_EQ(SlotText("DSP_MODE"), "2");
    EXPECT_EQ(SlotText("PSV_HOST"), "  ");
    EXPECT_EQ(SlotText("PSV_PORT"), "  ");
    EXPECT_EQ(SlotText("PRT_HALT"), "1");
    EXPECT_EQ(SlotText("LM_JOB_CANCEL"), "RQ_NORMAL");
    EXPECT_EQ(SlotBytes("HEAD_SPAN"), std::string(1, '\0'));
    EXPECT_EQ(SlotBytes("RIBBON_SPAN"), std::string(1, '\0'));
    EXPECT_EQ(SlotBytes("CSF_FRONT"), std::string(1, '\x64'));
    EXPECT_EQ(SlotBytes("CSF_REAR"), std::string(1, '\x64'));

    // Code 0 with DSP_MODE 2: minimised to the tray, showing "[0000 印刷可能]".
    // Minimising marks the window iconic a moment before it is shown and
    // then hidden: wait for where it comes to rest.
    EXPECT_TRUE(WaitUntil([&] { return IsInTray(monitor.window); }))
        << IsWindowVisible(monitor.window) << IsIconic(monitor.window) << " "
                                          << MessageBoxTextOf(monitor.program.pid());
    EXPECT_EQ(StatusText(monitor.window), "[0000 印刷可能]");
    EXPECT_EQ(WindowText(monitor.window), "ｽﾃｰﾀｽﾓﾆﾀｰ :   ");
}

TEST_F(MonitorProgramTest, NewErrorPopsTheWindowUpAndItsEndSendsItBackToTheTray) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(SetSlotText("PRT_NAME", "KOA Monitor LPT"));
    ASSERT_TRUE(SetSlotText("USR_NAME", "yamada"));
    ASSERT_TRUE(SetSlotText("DOC_NAME", "見積書.txt"));

    ASSERT_TRUE(ShowCode(monitor.window, 300));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    EXPECT_EQ(StatusText(monitor.window), ExpectedText(300));
    EXPECT_EQ(WindowText(monitor.window), "ｽﾃｰﾀｽﾓﾆﾀｰ : KOA Monitor LPT");
    EXPECT_EQ(ControlText(FindControl(monitor.window, kUserName)), "yamada");
    EXPECT_EQ(ControlText(FindControl(monitor.window, kDocName)), "見積書.txt");
    // Offline is no severe error: OK stays the default button.
    EXPECT_TRUE(IsWindowEnabled(FindControl(monitor.window, kOk)));
    EXPECT_EQ(LOWORD(SendMessageA(monitor.window, DM_GETDEFID, 0, 0)), kOk);
    EXPECT_FALSE(IsWindowEnabled(FindControl(monitor.window, kRibbonReset)));

    ASSERT_TRUE(ShowCode(monitor.window, 0));
    EXPECT_TRUE(WaitUntil([&] { return IsInTray(monitor.window); }));
    EXPECT_TRUE(IsWindowEnabled(FindControl(monitor.window, kRibbonReset)));
}

TEST_F(MonitorProgramTest, SevereErrorMakesPrintCancelTheDefaultButton) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 402));
    ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(FindControl(monitor.window, kOk)); }));
    EXPECT_TRUE(WaitUntil(
        [&] { return LOWORD(SendMessageA(monitor.window, DM_GETDEFID, 0, 0)) == kPrintCancel; }));

    // Back to a plain error: OK is enabled again.
    ASSERT_TRUE(ShowCode(monitor.window, 310));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(FindControl(monitor.window, kOk)); }));
    EXPECT_TRUE(WaitUntil([&] { return LOWORD(SendMessageA(monitor.window, DM_GETDEFID, 0, 0)) == kOk; }));
}

TEST_F(MonitorProgramTest, IgnoredCodeLeavesTheStatusAsItIs) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 300));
    // 315 comes with a new user name: once the name shows, the cycle that
    // read 315 has run.
    ASSERT_TRUE(SetSlotText("ERR_CODE", "315"));
    ASSERT_TRUE(SetSlotText("USR_NAME", "after 315"));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(FindControl(monitor.window, kUserName)) == "after 315"; }));
    EXPECT_EQ(StatusText(monitor.window), ExpectedText(300));
    EXPECT_TRUE(IsShown(monitor.window));
}

TEST_F(MonitorProgramTest, LifeNotesAndConsumablesLists) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 300, 100, 90));
    EXPECT_EQ(StatusText(monitor.window).rfind("印字ヘッドを交換してください。\r\nリボン交換準備をしてください。\r\n-----", 0),
              0u);
    EXPECT_EQ(ControlText(FindControl(monitor.window, kPrepareList)), "リボン\r\n");
    EXPECT_EQ(ControlText(FindControl(monitor.window, kReplaceList)), "印字ヘッド\r\n");
    ASSERT_TRUE(ShowCode(monitor.window, 204, 0, 100));
    EXPECT_EQ(ControlText(FindControl(monitor.window, kPrepareList)), "");
    EXPECT_EQ(ControlText(FindControl(monitor.window, kReplaceList)), "リボン\r\n");
    EXPECT_TRUE(IsWindowEnabled(FindControl(monitor.window, kRibbonReset)));
}

TEST_F(MonitorProgramTest, TabKeysSwitchPagesAndANewStatusBringsTheStatusTabBack) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 300));
    ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    HWND tabs = FindControl(monitor.window, kTabs);
    HWND statusPage = GetParent(FindControl(monitor.window, kStatusText));
    HWND suppliesPage = GetParent(FindControl(monitor.window, kRibbonReset));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(statusPage));
    EXPECT_FALSE(IsWindowVisible(suppliesPage));

    PostMessageA(monitor.window, WM_COMMAND, 40011, 0);  // Ctrl+Tab
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(suppliesPage) && !IsWindowVisible(statusPage); }));
    PostMessageA(monitor.window, WM_COMMAND, 40009, 0);  // Ctrl+Shift+Tab
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0; }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(statusPage) && !IsWindowVisible(suppliesPage); }));

    PostMessageA(monitor.window, WM_COMMAND, 40011, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }));
    ASSERT_TRUE(ShowCode(monitor.window, 310));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0; }));
    EXPECT_TRUE(IsWindowVisible(statusPage));
}

TEST_F(MonitorProgramTest, OkSendsTheWindowToTheTray) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 300));
    ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    PostMessageA(FindControl(monitor.window, kOk), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsInTray(monitor.window); }));
    EXPECT_TRUE(monitor.program.Running());
}

TEST_F(MonitorProgramTest, PrintCancelAsksTheLanguageMonitorAndGoesToTheTray) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(SetSlotText("DOC_NAME", "請求書"));
    ASSERT_TRUE(ShowCode(monitor.window, 300));
    ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    PostMessageA(FindControl(monitor.window, kPrintCancel), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return SlotText("LM_JOB_CANCEL") == "RQ_CANCEL"; }));
    // The window waits for the document to go before it leaves.
    EXPECT_TRUE(IsShown(monitor.window));
    ASSERT_TRUE(SetSlotText("DOC_NAME", "  "));
    EXPECT_TRUE(WaitUntil([&] { return IsInTray(monitor.window); }));
}

// A double-click without a new status runs the printer check. Wine's
// spooler cannot list jobs, so here the check meets its fatal case: its
// message, then the program ends at once, the window's position unsaved.
// (The status refresh itself is driven in this process, with a job list.)
TEST_F(MonitorProgramTest, FatalPrinterCheckEndsAtOnceWithoutSavingThePosition) {
    ASSERT_TRUE(SavePosition(100, 120));
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    SetWindowPos(monitor.window, nullptr, 150, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(monitor.window, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    std::string shown;
    ASSERT_TRUE(WaitUntil([&] { return !(shown = MessageBoxTextOf(monitor.program.pid())).empty(); }));
    EXPECT_EQ(shown, "プリンター（ドライバー）情報取得に失敗しました。\nError : EnumJobs\n\nプログラムを終了します。");
    EXPECT_FALSE(IsWindowVisible(monitor.window));
    PostMessageA(FindWindowA("#32770", "ｽﾃｰﾀｽﾓﾆﾀｰ"), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(monitor.program.WaitForExit(), 1);
    long left = 0, top = 0;
    ASSERT_TRUE(ReadSavedPosition(&left, &top));
    EXPECT_EQ(left, 100);
    EXPECT_EQ(top, 120);
}

// The ribbon reset button asks first; Cancel leaves everything as it was.
// (Clicked while the window waits in the tray: code 204 does not pop it up.)
TEST_F(MonitorProgramTest, RibbonResetButtonAsksFirst) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 204, 0, 100));
    HWND reset = FindControl(monitor.window, kRibbonReset);
    ASSERT_TRUE(IsWindowEnabled(reset));
    PostMessageA(reset, BM_CLICK, 0, 0);
    std::string shown;
    ASSERT_TRUE(WaitUntil([&] { return !(shown = MessageBoxTextOf(monitor.program.pid())).empty(); }));
    EXPECT_EQ(shown,
              "リボン消耗情報を初期化します。\nよろしいですか？\n\nプリンターがオンラインになっていることを確認してください。");
    PostMessageA(FindWindowA("#32770", "ｽﾃｰﾀｽﾓﾆﾀｰ"), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return MessageBoxTextOf(monitor.program.pid()).empty(); }));
    EXPECT_EQ(SlotBytes("RIBBON_SPAN"), std::string(1, '\x64'));
    EXPECT_TRUE(monitor.program.Running());
}

TEST_F(MonitorProgramTest, SecondStartEndsQuietlyWithinTwoSeconds) {
    RunningMonitor first;
    ASSERT_TRUE(StartMonitor(&first));
    // The instance is held under the name other programs know it by.
    HANDLE instance = OpenMutexA(SYNCHRONIZE, FALSE, "Global\\tzraMonitor_Mutex");
    EXPECT_NE(instance, nullptr);
    if (instance) CloseHandle(instance);
    MonitorProgram second;
    ASSERT_TRUE(second.started());
    const DWORD started = GetTickCount();
    // No window of its own while it tries for the instance.
    bool windowSeen = false;
    WaitUntil([&] {
        windowSeen = windowSeen || WindowOf(second.pid()) != nullptr;
        return !second.Running();
    });
    EXPECT_FALSE(windowSeen);
    EXPECT_EQ(second.WaitForExit(5000), 0);
    // 50 attempts 30 ms apart, plus the start of a Wine process on a busy
    // machine.
    EXPECT_LT(GetTickCount() - started, 3000u);
    EXPECT_TRUE(first.program.Running());
}

TEST_F(MonitorProgramTest, StartRightAfterTheFirstEndedGetsTheInstance) {
    {
        RunningMonitor first;
        ASSERT_TRUE(StartMonitor(&first));
        PostMessageA(first.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(first.program.WaitForExit(), 1);
    }
    RunningMonitor second;
    EXPECT_TRUE(StartMonitor(&second));
}

TEST_F(MonitorProgramTest, CalModeOneEndsTheMonitor) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(SetSlotText("CAL_MODE", "1"));
    EXPECT_EQ(monitor.program.WaitForExit(5000), 1);
}

TEST_F(MonitorProgramTest, HeadSpanOfTwoBytesEndsTheMonitor) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(SetSlotRaw("HEAD_SPAN", REG_BINARY, std::string("\x5a\x00", 2)));
    EXPECT_EQ(monitor.program.WaitForExit(5000), 1);
}

TEST_F(MonitorProgramTest, MissingSlotEndsTheMonitor) {
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(DeleteSlot());
    EXPECT_EQ(monitor.program.WaitForExit(5000), 1);
}

// Esc; and STS_RUN, the end mark of Windows NT 4.0 only, stays untouched.
TEST_F(MonitorProgramTest, EscapeEndsTheMonitor) {
    HKEY status = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-Status", 0, KEY_ALL_ACCESS, &status) ==
        ERROR_SUCCESS)
        RegDeleteValueA(status, "STS_RUN");
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    PostMessageA(monitor.window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(monitor.program.WaitForExit(5000), 1);
    if (status) {
        EXPECT_NE(RegQueryValueExA(status, "STS_RUN", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        RegCloseKey(status);
    }
}

// The message box of a start without the slot, found, read and answered.
TEST_F(MonitorProgramTest, StartWithoutTheSlotTellsThePrinterIsMissing) {
    ASSERT_TRUE(DeleteSlot());
    MonitorProgram monitor;
    ASSERT_TRUE(monitor.started());
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        box = FindWindowA("#32770", "ｽﾃｰﾀｽﾓﾆﾀｰ");
        DWORD pid = 0;
        if (box) GetWindowThreadProcessId(box, &pid);
        return box && pid == monitor.pid() && IsWindowVisible(box);
    }));
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), "プリンター（ドライバー）が見つかりません。\n\nプログラムを終了します。");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(monitor.WaitForExit(), 0);
    ASSERT_TRUE(CreateSlot());
}

// Moved, closed, started again: the same place. Closed while centred: the
// saved values go.
TEST_F(MonitorProgramTest, WindowPositionRoundTrip) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    {
        RunningMonitor monitor;
        ASSERT_TRUE(StartMonitor(&monitor));
        ASSERT_TRUE(ShowCode(monitor.window, 300));
        ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
        SetWindowPos(monitor.window, nullptr, area.left + 100, area.top + 120, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(monitor.window, WM_CLOSE, 0, 0);
        ASSERT_EQ(monitor.program.WaitForExit(), 1);
    }
    long left = 0, top = 0;
    ASSERT_TRUE(ReadSavedPosition(&left, &top));
    EXPECT_EQ(left, area.left + 100);
    EXPECT_EQ(top, area.top + 120);

    RECT frame = {};
    {
        RunningMonitor monitor;
        ASSERT_TRUE(StartMonitor(&monitor));
        ASSERT_TRUE(ShowCode(monitor.window, 300));
        ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
        ASSERT_TRUE(GetWindowRect(monitor.window, &frame));
        EXPECT_EQ(frame.left, area.left + 100);
        EXPECT_EQ(frame.top, area.top + 120);
        // To the centre, and closed there.
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        SetWindowPos(monitor.window, nullptr, (area.left + area.right - width) / 2,
                     (area.top + area.bottom - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(monitor.window, WM_CLOSE, 0, 0);
        ASSERT_EQ(monitor.program.WaitForExit(), 1);
    }
    EXPECT_FALSE(ReadSavedPosition(&left, &top));
}

TEST_F(MonitorProgramTest, SavedPositionOffTheWorkAreaIsCentred) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    ASSERT_TRUE(SavePosition(area.right - 10, area.top + 50));  // only 10 pixels would show
    RunningMonitor monitor;
    ASSERT_TRUE(StartMonitor(&monitor));
    ASSERT_TRUE(ShowCode(monitor.window, 300));
    ASSERT_TRUE(WaitUntil([&] { return IsShown(monitor.window); }));
    RECT frame;
    ASSERT_TRUE(GetWindowRect(monitor.window, &frame));
    EXPECT_EQ(frame.left, (area.left + area.right - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (area.top + area.bottom - (frame.bottom - frame.top)) / 2);
}

}  // namespace
