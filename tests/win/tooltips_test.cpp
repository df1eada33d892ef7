// Tooltips and help of the remote panel, in this process: the string table
// the tooltips read (this executable carries the program's resources), the
// tools registered for the program's pages and for windows made here in
// place of the others, and the help calls with and without a help file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "panel/resources/resource.h"
#include "panel/settings/page_layout.h"
#include "panel/settings/setting_items.h"
#include "panel/shell/folders.h"
#include "panel/shell/message_loop.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/tooltip_tools.h"
#include "panel/shell/tooltips.h"

namespace {

// Controls of the consumables windows that carry texts, and the two texts no
// control shows.
const UINT kConsumablesTextIds[] = {1202, 1204, 1209, 1210, 1217, 1218, 1219, 1220, 1221};
const UINT kSpareTextIds[] = {1658, 1659};
const UINT kContainerButtons[] = {IDC_READ_BUTTON, IDC_COMMIT_BUTTON, IDC_EXIT_BUTTON};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string Text(UINT id) {
    char text[1024];
    const int n = LoadStringA(Instance(), id, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

std::wstring WideText(UINT id) {
    wchar_t text[1024];
    const int n = LoadStringW(Instance(), id, text, sizeof text / sizeof text[0]);
    return std::wstring(text, n > 0 ? n : 0);
}

// Every id that should have a tooltip text: the page labels from the row
// table, the container buttons, the consumables controls, the two spares.
std::set<UINT> ExpectedTextIds() {
    std::set<UINT> ids;
    for (int page = 0; page < PageCount; ++page) {
        const PageRow* rows = PageRows(page);
        for (int i = 0; i < PageRowCount(page); ++i) ids.insert(rows[i].labelId);
    }
    ids.insert(std::begin(kContainerButtons), std::end(kContainerButtons));
    ids.insert(std::begin(kConsumablesTextIds), std::end(kConsumablesTextIds));
    ids.insert(std::begin(kSpareTextIds), std::end(kSpareTextIds));
    return ids;
}

// Whether `part` occurs in `text` at a character boundary (code page 932: a
// match starting on a trail byte is no match).
bool ContainsText(const std::string& text, const std::string& part) {
    for (size_t i = 0; i + part.size() <= text.size();) {
        if (text.compare(i, part.size(), part) == 0) return true;
        i += IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) ? 2 : 1;
    }
    return false;
}

// "単票吸入位置(前ASF)" -> "単票吸入位置" and "前ASF"; no brackets: the title
// and "". Brackets are ASCII and never a trail byte.
void SplitTitle(const std::string& title, std::string* stem, std::string* group) {
    const size_t open = title.rfind('(');
    const size_t close = title.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        *stem = title;
        group->clear();
        return;
    }
    *stem = title.substr(0, open);
    *group = title.substr(open + 1, close - open - 1);
}

// ---- the string table ---------------------------------------------------------

TEST(TooltipTexts, TheStringTableHoldsExactlyTheTooltipTexts) {
    const std::set<UINT> expected = ExpectedTextIds();
    EXPECT_EQ(expected.size(), 123u);
    for (UINT id = 1201; id <= 1659; ++id) {
        const bool expectText = expected.count(id) != 0;
        EXPECT_EQ(!WideText(id).empty(), expectText) << "string " << id;
    }
    // The consumables window's first button and its hidden button show nothing.
    EXPECT_TRUE(Text(1201).empty());
    EXPECT_TRUE(Text(1203).empty());
}

TEST(TooltipTexts, GivenTextsAreExactInCodePage932) {
    EXPECT_EQ(Text(1301), "「改行」スイッチを押下した時の紙送り量、及び改行コマンド（0Ahex）の紙送り量を設定します。");
    EXPECT_EQ(Text(1632), "省電力モード(スタンバイモード)への移行時間を設定します。");
    EXPECT_EQ(Text(IDC_READ_BUTTON),
              "プリンター装置内のメモリに記憶している現在の設定内容を読み込み、KOA koa2400Max-R/koa2600Max-R "
              "リモートパネルの表示を更新します。");
    EXPECT_EQ(Text(IDC_COMMIT_BUTTON),
              "KOA koa2400Max-R/koa2600Max-R "
              "リモートパネルの設定内容をプリンター装置に送信し、プリンターの設定を更新します。");
    EXPECT_EQ(Text(IDC_EXIT_BUTTON), "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了します。");
    EXPECT_EQ(Text(1217), "リボン寿命のカウンター値を初期化します。");
    EXPECT_EQ(Text(1221), "ヘッドピンカウンターを初期化します。");
    EXPECT_EQ(Text(1209), "消耗品管理（詳細）ダイアログを終了します。");
    EXPECT_EQ(Text(1210), "プリンター装置から消耗品管理状況に関する情報を取得し、表示を更新します。");
    // The first and the last label of the pages carry these two texts.
    EXPECT_EQ(PageRows(0)[0].labelId, 1301);
    EXPECT_EQ(PageRows(3)[PageRowCount(3) - 1].labelId, 1632);
}

TEST(TooltipTexts, EveryLabelOfThePagesHasAText) {
    int rows = 0;
    for (int page = 0; page < PageCount; ++page) {
        const PageRow* row = PageRows(page);
        ASSERT_NE(row, nullptr);
        for (int i = 0; i < PageRowCount(page); ++i, ++rows) {
            const std::string text = Text(row[i].labelId);
            EXPECT_FALSE(text.empty()) << "label " << row[i].labelId;
            EXPECT_TRUE(Text(row[i].listId).empty()) << "list " << row[i].listId << " has no tooltip text";
        }
    }
    EXPECT_EQ(rows, SettingCount);
}

// The cut-sheet and forms pages repeat their labels per group ("単票吸入位置"
// for front ASF, rear ASF and manual feed): each text names its own group,
// and no two of them read alike.
TEST(TooltipTexts, RepeatedLabelsNameTheirOwnGroup) {
    int checked = 0;
    for (int page = 0; page < PageCount; ++page) {
        std::map<std::string, std::set<std::string>> textsByStem;
        std::map<std::string, int> rowsByStem;
        const PageRow* rows = PageRows(page);
        for (int i = 0; i < PageRowCount(page); ++i) {
            if (rows[i].group == 0) continue;
            std::string stem, group;
            SplitTitle(SettingTitle(rows[i].recordByte), &stem, &group);
            const std::string text = Text(rows[i].labelId);
            if (!group.empty()) {
                EXPECT_TRUE(ContainsText(text, group)) << "label " << rows[i].labelId << " names its group";
                ++checked;
            }
            textsByStem[stem].insert(text);
            ++rowsByStem[stem];
        }
        for (const auto& entry : rowsByStem)
            EXPECT_EQ(textsByStem[entry.first].size(), static_cast<size_t>(entry.second)) << "page " << page;
    }
    EXPECT_EQ(checked, 49);  // the bracketed titles: 25 on the cut-sheet page, 24 on the forms page
}

TEST(TooltipTexts, AllTextsDifferAndStayShort) {
    std::map<std::string, UINT> seen;
    for (UINT id : ExpectedTextIds()) {
        const std::string text = Text(id);
        EXPECT_LT(text.size(), 400u) << "string " << id;
        const auto inserted = seen.emplace(text, id);
        EXPECT_TRUE(inserted.second) << "strings " << id << " and " << inserted.first->second << " read alike";
    }
}

// ---- tools --------------------------------------------------------------------

struct Tool {
    HWND control;
    UINT flags;
    HWND owner;
};

std::vector<Tool> Tools(HWND tooltip) {
    std::vector<Tool> tools;
    const int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1024] = "";
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.lpszText = text;
        if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info))) continue;
        tools.push_back(Tool{reinterpret_cast<HWND>(info.uId), info.uFlags, info.hwnd});
    }
    return tools;
}

std::set<int> ToolIds(HWND tooltip) {
    std::set<int> ids;
    for (const Tool& tool : Tools(tooltip)) ids.insert(GetDlgCtrlID(tool.control));
    return ids;
}

// The text the tooltip shows for `control`.
std::wstring ToolText(HWND tooltip, HWND control) {
    wchar_t text[1024] = L"";
    TOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.hwnd = MainWindow;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&info));
    return text;
}

class TooltipRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, Instance(),
                                 nullptr);
        ASSERT_NE(owner_, nullptr);
        MainWindow = owner_;
    }
    void TearDown() override {
        MainWindow = nullptr;
        ConsumablesWindows = ConsumablesWindowSet{};
        DestroyWindow(owner_);  // its children and the tooltip go with it
    }

    // A child window of `parent` holding controls with `ids`.
    HWND Window(HWND parent, const std::vector<int>& ids) {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 580, 480,
                                      parent ? parent : owner_, nullptr, Instance(), nullptr);
        int y = 0;
        for (int id : ids) {
            CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, y, 100, 12, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
            y += 14;
        }
        return window;
    }

    HWND Container() {
        std::vector<int> ids(std::begin(kContainerButtons), std::end(kContainerButtons));
        ids.push_back(IDC_SETTINGS_TAB);  // the tab control has no tooltip
        return Window(owner_, ids);
    }

    HWND owner_ = nullptr;
};

TEST_F(TooltipRegistration, TheContainerButtonsAndTheLabelsOfThePageOnScreenGetTools) {
    HWND container = Container();
    // Every other label of the cut-sheet page with its list, and a label of
    // the hardware page that does not belong here.
    std::vector<int> pageIds;
    std::set<int> expected(std::begin(kContainerButtons), std::end(kContainerButtons));
    const PageRow* rows = PageRows(PageSheets);
    for (int i = 0; i < PageRowCount(PageSheets); i += 2) {
        pageIds.push_back(rows[i].labelId);
        pageIds.push_back(rows[i].listId);
        expected.insert(rows[i].labelId);
    }
    pageIds.push_back(PageRows(PageHardware)[0].labelId);
    HWND page = Window(container, pageIds);

    TooltipTargets targets = {};
    targets.owner = owner_;
    targets.settingsTabs = container;
    targets.settingsPage = page;
    targets.settingsPageIndex = PageSheets;
    targets.detailPageIndex = -1;
    HWND tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(CurrentTooltipWindow(), tooltip);

    EXPECT_EQ(static_cast<size_t>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0)), expected.size());
    EXPECT_EQ(ToolIds(tooltip), expected);
    for (const Tool& tool : Tools(tooltip)) {
        const int id = GetDlgCtrlID(tool.control);
        EXPECT_EQ(tool.flags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tool.owner, owner_);
        const std::wstring text = ToolText(tooltip, tool.control);
        EXPECT_FALSE(text.empty()) << "tool " << id;
        EXPECT_EQ(text, WideText(id)) << "tool " << id;
    }

    char className[64] = "";
    GetClassNameA(tooltip, className, sizeof className);
    EXPECT_STREQ(className, TOOLTIPS_CLASSA);
    const LONG_PTR style = GetWindowLongPtrA(tooltip, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & TTS_ALWAYSTIP);
    EXPECT_TRUE(style & TTS_NOPREFIX);
    EXPECT_TRUE(GetWindowLongPtrA(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), owner_);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
}

TEST_F(TooltipRegistration, ShowingAnotherPageReplacesThePageTools) {
    HWND container = Container();
    std::vector<int> hardwareIds, otherIds;
    for (int i = 0; i < PageRowCount(PageHardware); ++i) hardwareIds.push_back(PageRows(PageHardware)[i].labelId);
    for (int i = 0; i < PageRowCount(PageOther); ++i) otherIds.push_back(PageRows(PageOther)[i].labelId);

    TooltipTargets targets = {};
    targets.owner = owner_;
    targets.settingsTabs = container;
    targets.settingsPage = Window(container, hardwareIds);
    targets.settingsPageIndex = PageHardware;
    targets.detailPageIndex = -1;
    HWND first = RebuildTooltips(targets);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SendMessageA(first, TTM_GETTOOLCOUNT, 0, 0), 3 + PageRowCount(PageHardware));

    // The hardware page is still there: only the page on screen counts.
    targets.settingsPage = Window(container, otherIds);
    targets.settingsPageIndex = PageOther;
    HWND second = RebuildTooltips(targets);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(CurrentTooltipWindow(), second);
    std::set<int> expected(otherIds.begin(), otherIds.end());
    expected.insert(std::begin(kContainerButtons), std::end(kContainerButtons));
    EXPECT_EQ(ToolIds(second), expected);
    EXPECT_EQ(SendMessageA(second, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
    EXPECT_EQ(SendMessageA(second, TTM_GETMAXTIPWIDTH, 0, 0), 400);
}

INT_PTR CALLBACK PlainPage(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The program's own page dialogs: every label gets its tool and its text,
// and nothing else on the page does.
TEST_F(TooltipRegistration, EveryLabelOfTheProgramsPagesGetsItsTool) {
    const int templates[PageCount] = {IDD_PAGE_HARDWARE, IDD_PAGE_SHEETS, IDD_PAGE_FORMS, IDD_PAGE_OTHER};
    for (int page = 0; page < PageCount; ++page) {
        HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templates[page]), owner_, PlainPage, 0);
        ASSERT_NE(dialog, nullptr) << "page " << page;
        TooltipTargets targets = {};
        targets.owner = owner_;
        targets.settingsPage = dialog;
        targets.settingsPageIndex = page;
        targets.detailPageIndex = -1;
        HWND tooltip = RebuildTooltips(targets);
        ASSERT_NE(tooltip, nullptr);
        std::set<int> labels;
        for (int i = 0; i < PageRowCount(page); ++i) labels.insert(PageRows(page)[i].labelId);
        EXPECT_EQ(ToolIds(tooltip), labels) << "page " << page;
        for (const Tool& tool : Tools(tooltip))
            EXPECT_FALSE(ToolText(tooltip, tool.control).empty()) << "label " << GetDlgCtrlID(tool.control);
        DestroyWindow(dialog);
    }
}

TEST_F(TooltipRegistration, WithoutWindowsTheTooltipHasNoTools) {
    TooltipTargets targets = {};
    targets.owner = owner_;
    targets.settingsPageIndex = -1;
    targets.detailPageIndex = -1;
    HWND tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);

    // A page index outside the pages gives its window no tools.
    targets.settingsPage = Window(owner_, {PageRows(PageHardware)[0].labelId});
    targets.settingsPageIndex = PageCount;
    tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(TooltipRegistration, ConsumablesWindowsGetToolsForTheirControls) {
    TooltipTargets targets = {};
    targets.owner = owner_;
    targets.settingsPageIndex = -1;
    targets.consumables = Window(owner_, {1199, 1201, 1202, 1203, 1204});
    targets.detail = Window(owner_, {1209, 1210, 1211});
    // Both pages' buttons on one window: only those of the page index count.
    targets.detailPage = Window(targets.detail, {1217, 1218, 1219, 1220, 1221});
    targets.detailPageIndex = 0;
    HWND tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(ToolIds(tooltip), (std::set<int>{1201, 1202, 1203, 1204, 1209, 1210, 1217, 1218, 1219, 1220}));
    for (const Tool& tool : Tools(tooltip)) {
        const int id = GetDlgCtrlID(tool.control);
        const bool silent = id == 1201 || id == 1203;
        EXPECT_EQ(ToolText(tooltip, tool.control).empty(), silent) << "tool " << id;
    }

    targets.detailPageIndex = 1;
    tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(ToolIds(tooltip), (std::set<int>{1201, 1202, 1203, 1204, 1209, 1210, 1221}));
}

TEST_F(TooltipRegistration, CreateTooltipsOwnsItsWindowByTheMainWindow) {
    CreateTooltips();
    HWND tooltip = CurrentTooltipWindow();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), owner_);
    CreateTooltips();
    EXPECT_FALSE(IsWindow(tooltip));
    ASSERT_NE(CurrentTooltipWindow(), nullptr);
    // Destroying the main window takes the tooltip with it.
    HWND last = CurrentTooltipWindow();
    DestroyWindow(owner_);
    owner_ = nullptr;
    EXPECT_FALSE(IsWindow(last));
    EXPECT_EQ(CurrentTooltipWindow(), nullptr);
}

TEST_F(TooltipRegistration, CreateTooltipsTakesTheOpenConsumablesWindowsAndTheirShownPage) {
    ConsumablesWindows.window = Window(owner_, {1201, 1202, 1203, 1204});
    ConsumablesWindows.detail = Window(owner_, {1209, 1210});
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20,
                                ConsumablesWindows.detail, nullptr, Instance(), nullptr);
    ASSERT_NE(tabs, nullptr);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("page");
    SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(tabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
    ConsumablesWindows.detailTabs = tabs;
    // While the tab changes both pages exist: the selected tab decides.
    ConsumablesWindows.countersPage = Window(ConsumablesWindows.detail, {1217, 1218, 1219, 1220});
    ConsumablesWindows.headPinPage = Window(ConsumablesWindows.detail, {1221});

    SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    CreateTooltips();
    EXPECT_EQ(ToolIds(CurrentTooltipWindow()), (std::set<int>{1201, 1202, 1203, 1204, 1209, 1210, 1221}));
    SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
    CreateTooltips();
    EXPECT_EQ(ToolIds(CurrentTooltipWindow()),
              (std::set<int>{1201, 1202, 1203, 1204, 1209, 1210, 1217, 1218, 1219, 1220}));

    // Closed again: no consumables tools.
    ConsumablesWindows = ConsumablesWindowSet{};
    CreateTooltips();
    EXPECT_EQ(SendMessageA(CurrentTooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 0);
}

// Pumps this thread's messages until `done()` or the deadline.
template <typename Done>
bool PumpUntil(Done done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void MoveMouseTo(POINT point) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

TEST_F(TooltipRegistration, RestingTheMouseOnALabelShowsItsTextWrapped) {
    SetWindowPos(owner_, HWND_TOPMOST, 40, 40, 600, 500, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    const PageRow* rows = PageRows(PageHardware);
    HWND page = Window(owner_, {rows[0].labelId, rows[19].labelId});
    TooltipTargets targets = {};
    targets.owner = owner_;
    targets.settingsPage = page;
    targets.settingsPageIndex = PageHardware;
    targets.detailPageIndex = -1;
    HWND tooltip = RebuildTooltips(targets);
    ASSERT_NE(tooltip, nullptr);

    HWND label = GetDlgItem(page, rows[19].labelId);
    RECT area;
    GetWindowRect(label, &area);
    // Moved in again now and then, in case something else moved the mouse.
    const POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    bool shown = false;
    for (int attempt = 0; attempt < 6 && !shown; ++attempt) {
        MoveMouseTo(POINT{centre.x - 5 + attempt % 2, centre.y});
        PumpUntil([] { return false; }, 50);
        MoveMouseTo(centre);
        shown = PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 1500);
    }
    ASSERT_TRUE(shown);

    TOOLINFOA current = {};
    current.cbSize = sizeof current;
    ASSERT_TRUE(SendMessageA(tooltip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(reinterpret_cast<HWND>(current.uId), label);
    // The long text wraps: the tip stays about 400 pixels wide and takes
    // several lines.
    RECT tip, margin = {};
    GetWindowRect(tooltip, &tip);
    SendMessageA(tooltip, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    EXPECT_LE(tip.right - tip.left, 400 + margin.left + margin.right + 2 * GetSystemMetrics(SM_CXBORDER) + 16);
    HDC screen = GetDC(nullptr);
    HGDIOBJ before = SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageA(tooltip, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    EXPECT_GE(tip.bottom - tip.top, 2 * metrics.tmHeight);
}

// ---- help -----------------------------------------------------------------------

// Watches this thread's windows from another thread while a call runs:
// any dialog or message box that appears is recorded and closed.
class PopupWatch {
public:
    PopupWatch() : thread_(GetCurrentThreadId()) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        watcher_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~PopupWatch() {
        SetEvent(stop_);
        WaitForSingleObject(watcher_, INFINITE);
        CloseHandle(watcher_);
        CloseHandle(stop_);
    }
    int seen() const { return seen_; }

private:
    static BOOL CALLBACK Check(HWND window, LPARAM context) {
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && std::strcmp(className, "#32770") == 0) {
            ++static_cast<PopupWatch*>(reinterpret_cast<void*>(context))->seen_;
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        return TRUE;
    }
    static DWORD WINAPI Run(LPVOID context) {
        PopupWatch* watch = static_cast<PopupWatch*>(context);
        do {
            EnumThreadWindows(watch->thread_, Check, reinterpret_cast<LPARAM>(watch));
        } while (WaitForSingleObject(watch->stop_, 20) == WAIT_TIMEOUT);
        EnumThreadWindows(watch->thread_, Check, reinterpret_cast<LPARAM>(watch));
        return 0;
    }

    DWORD thread_;
    HANDLE stop_ = nullptr;
    HANDLE watcher_ = nullptr;
    volatile int seen_ = 0;
};

// A fresh empty folder as the start directory; the current directory is
// put back afterwards.
class TooltipHelp : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(sizeof saved_, saved_);
        std::memcpy(savedStart_, StartDirectory, sizeof savedStart_);
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        ASSERT_GT(std::snprintf(folder_, sizeof folder_, "%stooltips-help-%lu", temp, GetCurrentProcessId()), 0);
        CreateDirectoryA(folder_, nullptr);
        ASSERT_LT(std::strlen(folder_), sizeof StartDirectory);
        std::snprintf(StartDirectory, sizeof StartDirectory, "%s", folder_);
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, Instance(),
                                 nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        SetCurrentDirectoryA(saved_);
        std::memcpy(StartDirectory, savedStart_, sizeof savedStart_);
        RemoveDirectoryA(folder_);
    }

    char saved_[MAX_PATH] = "";
    char savedStart_[sizeof StartDirectory] = "";
    char folder_[MAX_PATH] = "";
    HWND owner_ = nullptr;
};

TEST_F(TooltipHelp, CloseAllHelpBeforeAnyHelpIsHarmless) {
    PopupWatch watch;
    CloseAllHelp();
    CloseAllHelp();
    EXPECT_EQ(watch.seen(), 0);
}

TEST_F(TooltipHelp, AMissingHelpFileShowsNothing) {
    const bool helpLoaded = GetModuleHandleA("hhctrl.ocx") != nullptr;  // by a test before
    {
        PopupWatch watch;
        OpenHelpFile(owner_);
        OpenHelpFile(nullptr);
        EXPECT_EQ(watch.seen(), 0);
    }
    // Not even the help system was asked.
    if (!helpLoaded) {
        EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
    }
    // The help is looked for in the start directory, which becomes current.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(lstrcmpiA(current, folder_), 0);
    PopupWatch watch;
    CloseAllHelp();
    EXPECT_EQ(watch.seen(), 0);
}

// With a help file the help system is loaded at run time and asked to
// open it; what it makes of a file that is no help file is its own affair
// (the watch only keeps a box of its own from blocking the test).
TEST_F(TooltipHelp, AHelpFileIsHandedToTheHelpSystemLoadedAtRunTime) {
    char path[MAX_PATH];
    ASSERT_GT(std::snprintf(path, sizeof path, "%s\\VELDRA6.CHM", folder_), 0);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a help file", 15, &written, nullptr);
    CloseHandle(file);
    {
        PopupWatch watch;
        OpenHelpFile(owner_);
    }
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);
    {
        PopupWatch watch;
        CloseAllHelp();
        EXPECT_EQ(watch.seen(), 0);
    }
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);  // kept loaded
    DeleteFileA(path);
}

TEST_F(TooltipHelp, AnUnknownStartDirectoryShowsNothing) {
    StartDirectory[0] = '\0';
    PopupWatch watch;
    OpenHelpFile(owner_);
    EXPECT_EQ(watch.seen(), 0);
}

}  // namespace
