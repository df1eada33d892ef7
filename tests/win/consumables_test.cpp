// The consumables windows in the whole program: veldra6.exe started as a
// child of this test, a printer chosen and read, then the management window
// (Alt+M), the detail window (Ctrl+Alt+J) and its two pages driven from here
// as a person would, against the language-monitor stand-in and the printer
// emulator behind it. The printer's side is read back from the emulator: the
// bytes it received and its counts. Colours are read off the screen.
//
// The resources of the three windows are checked in this process (it carries
// the program's resource script).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/resources/resource.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

using paneldriver::MessageBoxSeen;
using paneldriver::PanelDriver;

const char kLpt[] = "KOA Consumables LPT";
const int kProgressText = 1252;

const std::string kExitQuestion = "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了します。\n\n設定値を保存しますか？";
const std::string kNoAnswer =
    "プリンターからの応答がありません｡\n\nプリンターが接続されていないか電源が入っていないか、又はオフラインに"
    "なっています。\n\nプリンターのエラーを解除してプリンターの電源を再投入して下さい。";
const std::string kCountersQuery = "\x1b" "eS9";  // the last record the counters query asks for

// The printer of most scenarios: the most worn head pin (18) at 90 % of the
// head's life, the next one (19) a strike below it; the ribbon a character
// below 90 % on its gauge; the printed lines past 90 % on the counters
// page; the rest well inside.
const std::string kPrinter =
    "model koa240MR\n"
    "version 1.20\n"
    "counter 3 1234\n"
    "counter 4 6800000\n"
    "counter 5 2345678\n"
    "counter 6 134999\n"
    "counter 7 45678\n"
    "headpin 1 120000\n"
    "headpin 7 534000000\n"
    "headpin 18 540000000\n"
    "headpin 19 539999999\n"
    "headpin 24 98000\n"
    "alarms 69 82 65 0 88 63 0\n";

// ---- what the screen shows --------------------------------------------------

// The pixels of a window's rectangle as the screen shows them now.
class ScreenPixels {
public:
    explicit ScreenPixels(HWND window) {
        RECT r;
        if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
            SelectObject(memory, old);
            const DWORD* pixels = static_cast<const DWORD*>(bits);
            pixels_.assign(pixels, pixels + width_ * height_);
        }
        if (bitmap) DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    // How many pixels have exactly this colour.
    int Count(COLORREF colour) const {
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        int n = 0;
        for (DWORD p : pixels_) n += (p & 0xFFFFFF) == wanted;
        return n;
    }
    int Size() const { return static_cast<int>(pixels_.size()); }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kCyan = RGB(0, 255, 255);

// Whether the field's background is mostly `colour` (the digits cover a
// small part of it).
bool FieldIs(HWND field, COLORREF colour) {
    return WaitUntil([&] {
        const ScreenPixels pixels(field);
        return pixels.Size() > 0 && pixels.Count(colour) * 2 > pixels.Size();
    });
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Keys through the system's input queue, with `front` in front, so that the
// program's accelerator tables and keyboard hook see them.
void Press(HWND front, WORD key, bool ctrl = false, bool alt = false, bool shift = false) {
    PanelDriver::PressKey(front, key, ctrl, alt, shift);
}

// The icon a message box shows, told by its colours: the printer icons with
// a red disc (an error), a blue one (information) or a yellow triangle.
HWND IconOfBox(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    }
    return nullptr;
}

class Consumables : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallTestPrinters(&error)) << error;
        ASSERT_TRUE(AddTestPrinter(kLpt, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) << error;
    }

    void TearDown() override {
        program_.Stop();
        standIn_.Stop();
    }

    // The program started against `config`, the printer chosen and read.
    void StartWith(const std::string& config, const std::string& options = "") {
        ASSERT_TRUE(standIn_.Start(config, "jobs-lpt.bin", options)) << "language-monitor stand-in did not start";
        ASSERT_TRUE(program_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
        ASSERT_TRUE(driver_.Attach()) << driver_.error();
        HWND choice = driver_.WaitDialogWithControl(paneldriver::ChoiceDialogList);
        ASSERT_TRUE(choice) << driver_.error();
        ASSERT_TRUE(driver_.ChoosePrinter(choice, kLpt)) << driver_.error();
        main_ = driver_.WaitMainWindow();
        read_ = driver_.WaitControl(paneldriver::SettingsReadButton);
        ASSERT_TRUE(main_ && read_) << driver_.error();
        // The first read is done when the Read button has the focus.
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_) == read_; }, 30000, 50)) << "the first read did not end";
    }

    // The program's thread has handled everything sent or posted to it before.
    bool Settled(HWND window) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
    }

    // The management window through the Tools menu; it is in front when this returns.
    HWND OpenManagement() {
        if (!driver_.MenuCommand(IDM_TOOLS_SUPPLIES)) return nullptr;
        HWND window = driver_.WaitDialogWithControl(IDC_HEAD_GAUGE);
        if (window) WaitUntil([&] { return GetForegroundWindow() == window; });
        return window;
    }

    // The detail window from the management window, as the user opens it: Ctrl+Alt+J.
    HWND OpenDetail(HWND management) {
        Press(management, 'J', true, true);
        HWND detail = driver_.WaitDialogWithControl(IDC_DETAIL_TAB);
        if (detail) Settled(detail);
        return detail;
    }

    // Both windows, one after the other: the detail window, or null (and
    // *management the management window, when it came).
    HWND OpenManagementAndDetail(HWND* management) {
        *management = OpenManagement();
        return *management ? OpenDetail(*management) : nullptr;
    }

    std::string Text(int id) {
        HWND control = driver_.WaitAnyControl(id);
        std::string text;
        if (!control || !driver_.ControlText(control, &text)) return "(" + driver_.error() + ")";
        return text;
    }

    int Gauge(int id) {
        int position = -1;
        return driver_.GaugePosition(id, &position) ? position : -1;
    }

    // The program's refresh request (WM_SETREDRAW with both parameters 0),
    // sent; what the window answered, or -1.
    LRESULT RefreshRequest(HWND window) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, WM_SETREDRAW, 0, 0, SMTO_NORMAL, 30000, &result)) return -1;
        return static_cast<LRESULT>(result);
    }

    // The next message box: its text, answered with `button`.
    std::string Answer(int button, MessageBoxSeen* seen = nullptr) {
        MessageBoxSeen box;
        if (!driver_.WaitMessageBox(&box)) return "(no message box: " + driver_.error() + ")";
        if (seen) *seen = box;
        EXPECT_TRUE(driver_.AnswerMessageBox(box, button)) << driver_.error();
        return box.text;
    }

    // The bytes the printer received after the first `from`.
    std::string ReceivedSince(std::size_t from) {
        const std::string all = standIn_.Received();
        return all.size() > from ? all.substr(from) : std::string();
    }

    // A count of the emulator's saved state ("counter 6 0", "headpin 7 0").
    bool StateHas(const std::string& line) {
        return WaitUntil([&] { return standIn_.State().find("\n" + line + "\n") != std::string::npos; }, 10000, 50);
    }

    void ExitWithNo() {
        ASSERT_TRUE(driver_.CloseMainWindow()) << driver_.error();
        EXPECT_EQ(Answer(IDNO), kExitQuestion);
        EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
    }

    StandIn standIn_;
    ChildProcess program_;
    PanelDriver driver_;
    HWND main_ = nullptr;
    HWND read_ = nullptr;
};

// ---- the management window ---------------------------------------------------

TEST_F(Consumables, OpeningReadsTheCountersAndShowsBothGaugesWithTheirWarnings) {
    StartWith(kPrinter);
    const std::size_t before = standIn_.Received().size();
    HWND management = OpenManagement();
    ASSERT_TRUE(management) << driver_.error();
    EXPECT_EQ(PanelDriver::WindowText(management), "KOA koa2400Max-R/koa2600Max-R リモートパネル - 消耗品管理");
    EXPECT_EQ(GetWindow(management, GW_OWNER), main_);
    EXPECT_NE(ReceivedSince(before).find(kCountersQuery), std::string::npos) << "the counters were not read";
    EXPECT_FALSE(IsWindowEnabled(main_));

    // 540,000,000 strikes on pin 18: level 90, its warning in red; 134,999
    // characters of ribbon: level 89, no warning.
    EXPECT_EQ(Gauge(IDC_HEAD_GAUGE), 90);
    EXPECT_EQ(Text(IDC_HEAD_TEXT), "\nヘッド交換準備をしてください。");
    EXPECT_EQ(Gauge(IDC_RIBBON_GAUGE), 89);
    EXPECT_EQ(Text(IDC_RIBBON_TEXT), " ");
    HWND ribbonText = driver_.WaitAnyControl(IDC_RIBBON_TEXT);
    HWND headText = driver_.WaitAnyControl(IDC_HEAD_TEXT);
    ASSERT_TRUE(ribbonText && headText);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(headText).Count(kRed) > 10; })) << "the warning is not red";
    EXPECT_EQ(ScreenPixels(ribbonText).Count(kRed), 0);
    // The refresh request is handled whole: answered TRUE, and never taken
    // for "stop drawing" (which would leave the window without its shown bit).
    EXPECT_EQ(RefreshRequest(management), TRUE);
    EXPECT_TRUE(IsWindowVisible(management));
    EXPECT_EQ(Gauge(IDC_HEAD_GAUGE), 90);

    // Alt+M again only brings it forward: nothing is read. Update, posted
    // behind it, reads once.
    ASSERT_TRUE(driver_.MenuCommand(IDM_TOOLS_SUPPLIES));
    ASSERT_TRUE(driver_.WindowCommand(IDC_HEAD_GAUGE, IDM_CONSUMABLES_UPDATE));
    WaitUntil([&] {
        const std::string since = ReceivedSince(before);
        return since.find(kCountersQuery) != since.rfind(kCountersQuery);
    }, 20000, 50);
    const std::string since = ReceivedSince(before);
    const std::size_t first = since.find(kCountersQuery), second = since.find(kCountersQuery, first + 1);
    EXPECT_NE(second, std::string::npos) << "Update did not read";
    EXPECT_EQ(since.find(kCountersQuery, second + 1), std::string::npos) << "Alt+M read again";

    // Exit: the main window is usable again, the focus back on its Read button.
    ASSERT_TRUE(driver_.ClickButton(IDC_CONSUMABLES_EXIT));
    EXPECT_TRUE(driver_.WaitGone(management));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == read_; })) << "the focus did not come back";
    ExitWithNo();
}

TEST_F(Consumables, ARibbonResetWithOkClearsThePrinterAndTheGaugeWithoutANewRead) {
    StartWith(kPrinter);
    HWND management = OpenManagement();
    ASSERT_TRUE(management) << driver_.error();
    ASSERT_EQ(Gauge(IDC_RIBBON_GAUGE), 89);
    const std::size_t before = standIn_.Received().size();
    Press(management, 'I', false, true);  // Alt+I
    EXPECT_EQ(Answer(IDOK), "リボン消耗情報を初期化します。\n\nよろしいですか？");
    EXPECT_TRUE(driver_.WaitGaugePosition(IDC_RIBBON_GAUGE, 0)) << driver_.error();
    EXPECT_TRUE(driver_.WaitControlText(IDC_RIBBON_TEXT, " ")) << driver_.error();
    EXPECT_TRUE(StateHas("counter 6 0"));
    ASSERT_TRUE(Settled(management));
    EXPECT_EQ(ReceivedSince(before), "\x1b" "eR6") << "exactly the reset, no read after it";
    EXPECT_EQ(Gauge(IDC_HEAD_GAUGE), 90);
}

// ---- the detail window ---------------------------------------------------------

TEST_F(Consumables, TheDetailWindowShowsTheCountsColoursAndAlarmsAndFollowsTheTabKeys) {
    StartWith(kPrinter);
    HWND management = OpenManagement();
    ASSERT_TRUE(management) << driver_.error();
    const std::size_t before = standIn_.Received().size();
    HWND detail = OpenDetail(management);
    ASSERT_TRUE(detail) << driver_.error();
    EXPECT_EQ(PanelDriver::WindowText(detail),
              "KOA koa2400Max-R/koa2600Max-R リモートパネル - 消耗品情報（詳細）");
    EXPECT_EQ(GetWindow(detail, GW_OWNER), main_);
    EXPECT_FALSE(IsWindowEnabled(management));
    const std::string read = ReceivedSince(before);
    EXPECT_NE(read.find(kCountersQuery), std::string::npos) << "the counters were not read";
    EXPECT_NE(read.find("?VER    \r"), std::string::npos) << "the version was not read";

    // The counters page, its counts in "%lu" and the alarm history.
    EXPECT_EQ(Text(IDC_PRINTED_LINES), "6800000");
    EXPECT_EQ(Text(IDC_RIBBON_LIFE), "134999");
    EXPECT_EQ(Text(IDC_POWER_ON_TIME), "1234");
    EXPECT_EQ(Text(IDC_THICKNESS_COUNT), "45678");
    EXPECT_EQ(Text(IDC_PLATEN_FEEDS), "2345678");
    EXPECT_EQ(Text(IDC_ALARM_HISTORY),
              "エラーログ\r\n ｱﾗｰﾑ履歴1 印字ヘッド異常\r\n ｱﾗｰﾑ履歴2 イージーセットアラーム\r\n"
              " ｱﾗｰﾑ履歴3 リボンモータ異常\r\n ｱﾗｰﾑ履歴4 エラー無し\r\n ｱﾗｰﾑ履歴5 未定義エラー\r\n"
              " ｱﾗｰﾑ履歴6 未定義エラー\r\n ｱﾗｰﾑ履歴7 エラー無し\r\n");
    // 6,800,000 printed lines are past 90 % of 7,500,000: red. The ribbon's
    // 134,999 characters are cyan (÷ 150,000 here, not the gauge's 1,500).
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_PRINTED_LINES), kRed));
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_RIBBON_LIFE), kCyan));
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_POWER_ON_TIME), kCyan));
    HWND page = GetParent(driver_.WaitAnyControl(IDC_PRINTED_LINES));
    EXPECT_EQ(RefreshRequest(page), TRUE);
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(RefreshRequest(detail), TRUE);
    EXPECT_TRUE(IsWindowVisible(detail));

    // Tab from the tab control onto the page, Ctrl+Tab to the head pins with
    // the focus following, Ctrl+Tab back.
    HWND tabs = driver_.WaitAnyControl(IDC_DETAIL_TAB);
    ASSERT_TRUE(tabs);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(detail) == tabs; })) << "the window opens on its tabs";
    Press(detail, VK_TAB);
    HWND ribbonClear = driver_.WaitAnyControl(IDC_CLEAR_RIBBON);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(detail) == ribbonClear; }));
    Press(detail, VK_TAB, true);
    int tab = -1;
    EXPECT_TRUE(WaitUntil([&] { return driver_.CurrentTabOf(IDC_DETAIL_TAB, &tab) && tab == 1; })) << tab;
    HWND headClear = driver_.WaitAnyControl(IDC_CLEAR_HEAD_PINS);
    ASSERT_TRUE(headClear) << driver_.error();
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(detail) == headClear; }));
    EXPECT_FALSE(IsWindow(ribbonClear)) << "the counters page is gone";
    EXPECT_EQ(Text(IDC_PIN_FIRST), "120000");
    EXPECT_EQ(Text(IDC_PIN_FIRST + 6), "534000000");
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_PIN_FIRST + 6), kCyan));
    EXPECT_EQ(Text(IDC_PIN_FIRST + 13), "0");
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_PIN_FIRST + 17), kRed));   // 540,000,000
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_PIN_FIRST + 18), kCyan));  // 539,999,999
    Press(detail, VK_TAB, true);
    EXPECT_TRUE(WaitUntil([&] { return driver_.CurrentTabOf(IDC_DETAIL_TAB, &tab) && tab == 0; })) << tab;
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(detail) == driver_.WaitAnyControl(IDC_CLEAR_RIBBON); }));

    // A tab chosen on the tab control keeps the focus there.
    SetForegroundWindow(detail);
    SendMessageTimeoutA(detail, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE, SMTO_NORMAL, 5000, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(detail) == tabs; }));
    ASSERT_TRUE(driver_.SelectTabOf(IDC_DETAIL_TAB, 1)) << driver_.error();
    ASSERT_TRUE(driver_.WaitAnyControl(IDC_CLEAR_HEAD_PINS)) << driver_.error();
    EXPECT_EQ(FocusOf(detail), tabs);
}

TEST_F(Consumables, AResetWithOkClearsThePrinterAndTheFieldsWithoutANewRead) {
    StartWith(kPrinter);
    HWND management = nullptr;
    HWND detail = OpenManagementAndDetail(&management);
    ASSERT_TRUE(detail) << driver_.error();

    std::size_t before = standIn_.Received().size();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_POWER_ON));
    EXPECT_EQ(Answer(IDOK), "電源オン時間をクリアします。\n\nよろしいですか？");
    EXPECT_TRUE(driver_.WaitControlText(IDC_POWER_ON_TIME, "0")) << driver_.error();
    EXPECT_TRUE(StateHas("counter 3 0"));
    ASSERT_TRUE(Settled(detail));
    EXPECT_EQ(ReceivedSince(before), "\x1b" "eR3") << "exactly the reset, no read after it";
    EXPECT_EQ(Text(IDC_PLATEN_FEEDS), "2345678");
    EXPECT_TRUE(StateHas("counter 5 2345678"));

    // The head pins, all 24 at once.
    ASSERT_TRUE(driver_.SelectTabOf(IDC_DETAIL_TAB, 1)) << driver_.error();
    before = standIn_.Received().size();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_HEAD_PINS));
    EXPECT_EQ(Answer(IDOK), "ヘッドピンカウンターをクリアします。\n\nよろしいですか？");
    // The page is redrawn in one go: once the last pin shows 0, all do.
    EXPECT_TRUE(driver_.WaitControlText(IDC_PIN_FIRST + 23, "0")) << driver_.error();
    for (int pin = 1; pin <= 24; ++pin) EXPECT_EQ(Text(IDC_PIN_FIRST + pin - 1), "0") << "pin " << pin;
    EXPECT_TRUE(StateHas("headpin 7 0"));
    EXPECT_TRUE(StateHas("headpin 18 0"));
    ASSERT_TRUE(Settled(detail));
    EXPECT_EQ(ReceivedSince(before), "\x1b" "eR8");
    EXPECT_TRUE(FieldIs(driver_.WaitAnyControl(IDC_PIN_FIRST + 17), kCyan));
}

TEST_F(Consumables, CancelSendsNothingAndKeepsTheCount) {
    StartWith(kPrinter);
    HWND management = nullptr;
    HWND detail = OpenManagementAndDetail(&management);
    ASSERT_TRUE(detail) << driver_.error();
    const std::size_t before = standIn_.Received().size();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_PLATEN));
    EXPECT_EQ(Answer(IDCANCEL), "プラテン改行数をクリアします。\n\nよろしいですか？");
    ASSERT_TRUE(Settled(detail));
    EXPECT_EQ(Text(IDC_PLATEN_FEEDS), "2345678");
    EXPECT_EQ(ReceivedSince(before), "");
    EXPECT_TRUE(StateHas("counter 5 2345678"));
}

// The printer refuses the paper-thickness reset: the no-answer message with
// the printer error icon, and the count stays, here and in the printer.
TEST_F(Consumables, ARefusedResetShowsTheNoAnswerMessageAndKeepsTheCount) {
    StartWith(kPrinter + "fault refuse-reset 7\n");
    HWND management = nullptr;
    HWND detail = OpenManagementAndDetail(&management);
    ASSERT_TRUE(detail) << driver_.error();
    const std::size_t before = standIn_.Received().size();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_THICKNESS));
    EXPECT_EQ(Answer(IDOK), "紙厚検出回数をクリアします。\n\nよろしいですか？");
    MessageBoxSeen box;
    ASSERT_TRUE(driver_.WaitMessageBox(&box)) << driver_.error();
    EXPECT_EQ(box.text, kNoAnswer);
    HWND icon = IconOfBox(box.window);
    ASSERT_TRUE(icon) << "the message shows no icon";
    // The printer error icon is the only one with a red disc.
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(icon).Count(kRed) > 20; })) << "not the printer error icon";
    EXPECT_EQ(GetWindow(box.window, GW_OWNER), detail);
    ASSERT_TRUE(driver_.AnswerMessageBox(box, IDOK)) << driver_.error();
    ASSERT_TRUE(Settled(detail));
    EXPECT_EQ(Text(IDC_THICKNESS_COUNT), "45678");
    EXPECT_TRUE(StateHas("counter 7 45678"));
    EXPECT_EQ(ReceivedSince(before), "\x1b" "eR7") << "the reset went out once, nothing after it";
}

// Update reads the printer again: a printer that took a reset without
// clearing (it acknowledges and forgets) shows its count again after it.
TEST_F(Consumables, UpdateShowsWhatThePrinterHoldsInBothWindows) {
    StartWith(kPrinter + "fault ignore-reset 6\n");
    HWND management = nullptr;
    HWND detail = OpenManagementAndDetail(&management);
    ASSERT_TRUE(detail) << driver_.error();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_RIBBON));
    EXPECT_EQ(Answer(IDOK), "リボン寿命をクリアします。\n\nよろしいですか？");
    ASSERT_TRUE(driver_.WaitControlText(IDC_RIBBON_LIFE, "0")) << driver_.error();

    std::size_t before = standIn_.Received().size();
    ASSERT_TRUE(driver_.ClickButton(IDC_DETAIL_UPDATE));
    EXPECT_TRUE(driver_.WaitControlText(IDC_RIBBON_LIFE, "134999")) << driver_.error();
    EXPECT_NE(ReceivedSince(before).find(kCountersQuery), std::string::npos);

    // The same in the management window, after the detail window has gone.
    ASSERT_TRUE(driver_.ClickButton(IDC_DETAIL_CLOSE));
    ASSERT_TRUE(driver_.WaitGone(detail)) << driver_.error();
    ASSERT_TRUE(driver_.WaitGaugePosition(IDC_RIBBON_GAUGE, 89)) << driver_.error();
    Press(management, 'I', false, true);  // Alt+I: the ribbon reset of this window
    EXPECT_EQ(Answer(IDOK), "リボン消耗情報を初期化します。\n\nよろしいですか？");
    ASSERT_TRUE(driver_.WaitGaugePosition(IDC_RIBBON_GAUGE, 0)) << driver_.error();
    before = standIn_.Received().size();
    Press(management, 'R', false, true);  // Alt+R: update
    EXPECT_TRUE(driver_.WaitGaugePosition(IDC_RIBBON_GAUGE, 89)) << driver_.error();
    EXPECT_NE(ReceivedSince(before).find(kCountersQuery), std::string::npos);
}

// Closing in order: the detail window (its counters page tells the
// management window to show a reset made there), then the management window.
TEST_F(Consumables, ClosingTheDetailWindowRefreshesTheManagementWindowThenBothGoInOrder) {
    StartWith(kPrinter);
    HWND management = nullptr;
    HWND detail = OpenManagementAndDetail(&management);
    ASSERT_TRUE(detail) << driver_.error();
    ASSERT_TRUE(driver_.ClickButton(IDC_CLEAR_RIBBON));
    EXPECT_EQ(Answer(IDOK), "リボン寿命をクリアします。\n\nよろしいですか？");
    ASSERT_TRUE(driver_.WaitControlText(IDC_RIBBON_LIFE, "0")) << driver_.error();
    ASSERT_TRUE(Settled(detail));
    EXPECT_EQ(Gauge(IDC_RIBBON_GAUGE), 89) << "the management window waits for the detail window to close";

    Press(detail, 'X', false, true);  // Alt+X
    ASSERT_TRUE(driver_.WaitGone(detail)) << driver_.error();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(management) != FALSE; }));
    EXPECT_TRUE(driver_.WaitGaugePosition(IDC_RIBBON_GAUGE, 0)) << driver_.error();
    EXPECT_FALSE(IsWindowEnabled(main_));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == management; }));

    // Opened again, it starts on the counters page.
    detail = OpenDetail(management);
    ASSERT_TRUE(detail) << driver_.error();
    int tab = -1;
    EXPECT_TRUE(driver_.CurrentTabOf(IDC_DETAIL_TAB, &tab));
    EXPECT_EQ(tab, 0);
    ASSERT_TRUE(driver_.ClickButton(IDC_DETAIL_CLOSE));
    ASSERT_TRUE(driver_.WaitGone(detail)) << driver_.error();

    Press(management, 'X', false, true);  // Alt+X
    ASSERT_TRUE(driver_.WaitGone(management)) << driver_.error();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == read_; })) << "the focus did not come back";
    // The main window's own keys are back: Alt+X asks to end the program.
    Press(main_, 'X', false, true);
    EXPECT_EQ(Answer(IDNO), kExitQuestion);
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
}

// ---- the resources, in this process ------------------------------------------------

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[256] = "";
    const int n = GetMenuStringA(menu, item, text, sizeof text, flags);
    return std::string(text, n > 0 ? n : 0);
}

struct Key {
    BYTE modifiers;  // FALT, FCONTROL
    WORD key;
    WORD command;
};

std::vector<Key> Keys(int table) {
    std::vector<Key> keys;
    HACCEL accel = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(table));
    if (!accel) return keys;
    ACCEL entries[32];
    const int n = CopyAcceleratorTableA(accel, entries, 32);
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(entries[i].fVirt & FVIRTKEY) << "table " << table;
        keys.push_back(Key{static_cast<BYTE>(entries[i].fVirt & (FALT | FCONTROL | FSHIFT)), entries[i].key,
                           entries[i].cmd});
    }
    DestroyAcceleratorTable(accel);
    return keys;
}

bool operator==(const Key& a, const Key& b) {
    return a.modifiers == b.modifiers && a.key == b.key && a.command == b.command;
}

void ExpectKeys(int table, std::vector<Key> expected) {
    const std::vector<Key> keys = Keys(table);
    EXPECT_EQ(keys.size(), expected.size()) << "table " << table;
    for (const Key& key : expected) {
        bool found = false;
        for (const Key& k : keys) found = found || k == key;
        EXPECT_TRUE(found) << "table " << table << ": key " << static_cast<char>(key.key) << " for " << key.command;
    }
}

TEST(ConsumablesResources, MenusAndKeysOfTheThreeWindows) {
    HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_CONSUMABLES));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuText(menu, IDM_CONSUMABLES_UPDATE, MF_BYCOMMAND), "最新情報に更新(&R)\tAlt+R");
    EXPECT_EQ(MenuText(menu, IDM_CONSUMABLES_EXIT, MF_BYCOMMAND), "終了(&X)");
    EXPECT_EQ(MenuText(menu, IDM_RIBBON_RESET, MF_BYCOMMAND), "リボン消耗情報の初期化(&I)\tAlt+I");
    EXPECT_EQ(MenuText(menu, IDM_CONSUMABLES_HELP, MF_BYCOMMAND), "ヘルプ(&H)");
    DestroyMenu(menu);
    menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_DETAIL));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuText(menu, IDM_DETAIL_CLOSE, MF_BYCOMMAND), "終了(&X)");
    EXPECT_EQ(MenuText(menu, IDM_PRINT_CONSUMABLES, MF_BYCOMMAND), "消耗品情報の印刷(&M)\tAlt+M");
    EXPECT_EQ(MenuText(menu, IDM_PRINT_ERROR_LOG, MF_BYCOMMAND), "エラーログの印刷(&E)\tAlt+E");
    EXPECT_EQ(MenuText(menu, IDM_SAVE_REPORT, MF_BYCOMMAND), "ファイルの出力(&O)\tAlt+O");
    DestroyMenu(menu);

    ExpectKeys(IDA_CONSUMABLES, {{FALT, 'I', IDM_RIBBON_RESET},
                                 {FALT, 'R', IDM_CONSUMABLES_UPDATE},
                                 {FALT, 'X', IDM_CONSUMABLES_EXIT},
                                 {FALT | FCONTROL, 'J', IDC_OPEN_DETAIL}});
    ExpectKeys(IDA_DETAIL, {{FALT, 'R', IDC_DETAIL_UPDATE},
                            {FALT, 'X', IDM_DETAIL_CLOSE},
                            {FALT, 'M', IDM_PRINT_CONSUMABLES},
                            {FALT, 'E', IDM_PRINT_ERROR_LOG},
                            {FALT, 'O', IDM_SAVE_REPORT}});
    ExpectKeys(IDA_COUNTERS_PAGE, {{FALT, 'C', IDC_CLEAR_RIBBON},
                                   {FALT, 'D', IDC_CLEAR_POWER_ON},
                                   {FALT, 'A', IDC_CLEAR_THICKNESS},
                                   {FALT, 'P', IDC_CLEAR_PLATEN},
                                   {FALT, 'X', IDM_DETAIL_CLOSE}});
    ExpectKeys(IDA_HEAD_PIN_PAGE, {{FALT, 'D', IDC_CLEAR_HEAD_PINS}, {FALT, 'X', IDM_DETAIL_CLOSE}});
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string ItemText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST(ConsumablesResources, TheDialogsCarryTheirControlsAndTexts) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    HWND window = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_CONSUMABLES), nullptr, PlainDialog, 0);
    ASSERT_NE(window, nullptr);
    for (int id : {IDC_HEAD_GAUGE, IDC_HEAD_TEXT, IDC_CONSUMABLES_NOTE, IDC_CONSUMABLES_UPDATE, IDC_OPEN_DETAIL,
                   IDC_CONSUMABLES_EXIT, IDC_RIBBON_GAUGE, IDC_RIBBON_TEXT})
        EXPECT_NE(GetDlgItem(window, id), nullptr) << id;
    EXPECT_EQ(ItemText(window, IDC_CONSUMABLES_NOTE),
              "印字ヘッドとリボンの消耗状態のおおよその目安を示しています。\rレベルカウンター値[100]付近が交換の目安となります。");
    EXPECT_EQ(ItemText(window, IDC_CONSUMABLES_UPDATE), "更新(&R)");
    EXPECT_EQ(ItemText(window, IDC_CONSUMABLES_EXIT), "終了(&X)");
    EXPECT_EQ(ItemText(window, IDC_OPEN_DETAIL), "");
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(window, IDC_OPEN_DETAIL), GWL_STYLE) & WS_VISIBLE);
    // The fixed texts: group boxes and each gauge's scale.
    std::vector<std::string> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF) texts.push_back(PanelDriver::WindowText(child));
    EXPECT_EQ(texts, (std::vector<std::string>{"印字ヘッド消耗状況", "0", "50", "100", "リボン消耗状況", "0", "50", "100"}));
    DestroyWindow(window);

    window = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_DETAIL), nullptr, PlainDialog, 0);
    ASSERT_NE(window, nullptr);
    for (int id : {IDC_DETAIL_TAB, IDC_ALARM_HISTORY, IDC_DETAIL_UPDATE, IDC_DETAIL_CLOSE})
        EXPECT_NE(GetDlgItem(window, id), nullptr) << id;
    EXPECT_EQ(ItemText(window, IDC_DETAIL_UPDATE), "更新(&R)");
    EXPECT_EQ(ItemText(window, IDC_DETAIL_CLOSE), "終了(&X)");
    DestroyWindow(window);

    // The pages (child windows: under a window of their own here): the counts
    // take no focus, the buttons come in their tab order.
    HWND holder = CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(holder, nullptr);
    window = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_COUNTERS_PAGE), holder, PlainDialog, 0);
    ASSERT_NE(window, nullptr);
    for (int id : {IDC_RIBBON_LIFE, IDC_POWER_ON_TIME, IDC_THICKNESS_COUNT, IDC_PLATEN_FEEDS, IDC_PRINTED_LINES}) {
        ASSERT_NE(GetDlgItem(window, id), nullptr) << id;
        EXPECT_FALSE(GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & WS_TABSTOP) << id;
    }
    const struct {
        int id;
        const char* text;
    } buttons[] = {{IDC_CLEAR_RIBBON, "ｶｳﾝﾀｰｸﾘｱ(&C)"},
                   {IDC_CLEAR_POWER_ON, "ｶｳﾝﾀｰｸﾘｱ(&D)"},
                   {IDC_CLEAR_THICKNESS, "ｶｳﾝﾀｰｸﾘｱ(&A)"},
                   {IDC_CLEAR_PLATEN, "ｶｳﾝﾀｰｸﾘｱ(&P)"}};
    HWND previous = nullptr;
    for (const auto& b : buttons) {
        EXPECT_EQ(ItemText(window, b.id), b.text);
        if (previous) {
            EXPECT_EQ(GetNextDlgTabItem(window, previous, FALSE), GetDlgItem(window, b.id)) << b.id;
        }
        previous = GetDlgItem(window, b.id);
    }
    DestroyWindow(window);
    window = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_HEAD_PIN_PAGE), holder, PlainDialog, 0);
    ASSERT_NE(window, nullptr);
    for (int pin = 1; pin <= 24; ++pin) EXPECT_NE(GetDlgItem(window, IDC_PIN_FIRST + pin - 1), nullptr) << pin;
    EXPECT_EQ(ItemText(window, IDC_CLEAR_HEAD_PINS), "ｶｳﾝﾀｰｸﾘｱ(&D)");
    // The button lies below the last row: nothing of the page covers another.
    RECT button, lastPin;
    GetWindowRect(GetDlgItem(window, IDC_CLEAR_HEAD_PINS), &button);
    GetWindowRect(GetDlgItem(window, IDC_PIN_FIRST + 23), &lastPin);
    EXPECT_GE(button.top, lastPin.bottom);
    DestroyWindow(holder);

    char text[128];
    LoadStringA(Instance(), IDS_DETAIL_TAB_COUNTERS, text, sizeof text);
    EXPECT_STREQ(text, "消耗品管理ｶｳﾝﾀｰ");
    LoadStringA(Instance(), IDS_DETAIL_TAB_HEAD_PINS, text, sizeof text);
    EXPECT_STREQ(text, "ﾍｯﾄﾞﾋﾟﾝｶｳﾝﾀｰ");
}

}  // namespace
