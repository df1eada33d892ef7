// Tooltips and help of the remote panel, in this process: the string table
// the tooltips read (this executable carries the program's resources), the
// tools registered for the program's pages and for windows made here in
// place of the others, and the help calls with and without a help file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "panel/core/page_layout.h"
#include "panel/core/setting_items.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/help_file.h"
#include "panel/ui/tooltips.h"
#include "panel/settings/settings_tabs.h"
#include "tests/win/box_watcher.h"

namespace {

using Ids = std::multiset<int>;  // so that a control registered twice is seen
const Ids kContainerButtons = {IDC_READ_BUTTON, IDC_COMMIT_BUTTON, IDC_EXIT_BUTTON};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string Text(UINT id) {
    char text[1024];
    const int n = LoadStringA(Instance(), id, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

Ids Labels(int page) {
    Ids ids;
    for (int i = 0; i < PageRowCount(page); ++i) ids.insert(PageRows(page)[i].labelId);
    return ids;
}

Ids Join(Ids a, const Ids& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// ---- the string table ---------------------------------------------------------

// Texts exactly for the page labels, the container buttons, the consumables
// controls (not their first and their hidden button) and two spares; no two
// alike, none too long for a tip.
TEST(TooltipTexts, TheStringTableHoldsExactlyThe123TooltipTexts) {
    Ids expected = Join(kContainerButtons, {1202, 1204, 1209, 1210, 1217, 1218, 1219, 1220, 1221, 1658, 1659});
    for (int page = 0; page < PageCount; ++page) expected = Join(expected, Labels(page));
    EXPECT_EQ(std::set<int>(expected.begin(), expected.end()).size(), 123u);
    std::map<std::string, UINT> seen;
    for (UINT id = 1201; id <= 1659; ++id) {
        const std::string text = Text(id);
        EXPECT_EQ(!text.empty(), expected.count(id) != 0) << "string " << id;
        if (text.empty()) continue;
        EXPECT_LT(text.size(), 400u) << "string " << id;
        const auto inserted = seen.emplace(text, id);
        EXPECT_TRUE(inserted.second) << "strings " << id << " and " << inserted.first->second << " read alike";
    }

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
}

// Whether `part` occurs in `text` at a character boundary (code page 932: a
// match starting on a trail byte is no match).
bool ContainsText(const std::string& text, const std::string& part) {
    for (size_t i = 0; i + part.size() <= text.size(); i += IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) ? 2 : 1)
        if (text.compare(i, part.size(), part) == 0) return true;
    return false;
}

// The cut-sheet and forms pages repeat their labels per group ("単票吸入位置"
// for front ASF, rear ASF and manual feed): each text names the group in
// the brackets of its item's title. Brackets are ASCII and never a trail byte.
TEST(TooltipTexts, RepeatedLabelsNameTheirOwnGroup) {
    int checked = 0;
    for (int page = 0; page < PageCount; ++page)
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            const std::string title = SettingTitle(row.recordByte);
            const size_t open = title.rfind('('), close = title.rfind(')');
            if (!row.group || open == std::string::npos || close == std::string::npos || close < open) continue;
            EXPECT_TRUE(ContainsText(Text(row.labelId), title.substr(open + 1, close - open - 1)))
                << "label " << row.labelId;
            ++checked;
        }
    EXPECT_EQ(checked, 49);  // 25 on the cut-sheet page, 24 on the forms page
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
        if (SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info)))
            tools.push_back(Tool{reinterpret_cast<HWND>(info.uId), info.uFlags, info.hwnd});
    }
    return tools;
}

Ids ToolIds(HWND tooltip) {
    Ids ids;
    for (const Tool& tool : Tools(tooltip)) ids.insert(GetDlgCtrlID(tool.control));
    return ids;
}

// The text the tooltip shows for `control`, and the string it should be (wide:
// the ANSI message cuts long texts).
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

std::wstring WideText(HWND control) {
    wchar_t text[1024];
    const int n = LoadStringW(Instance(), GetDlgCtrlID(control), text, sizeof text / sizeof text[0]);
    return std::wstring(text, n > 0 ? n : 0);
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
        if (owner_) DestroyWindow(owner_);  // its children and the tooltip go with it
    }

    // A child window of `parent` holding controls with `ids`.
    HWND Window(HWND parent, const std::vector<int>& ids) {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 580, 480, parent, nullptr,
                                      Instance(), nullptr);
        for (size_t i = 0; i < ids.size(); ++i)
            CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 14 * static_cast<int>(i), 100,
                            12, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), Instance(), nullptr);
        return window;
    }

    TooltipTargets Targets(HWND page, int pageIndex) {
        TooltipTargets targets = {};
        targets.owner = owner_;
        targets.settingsPage = page;
        targets.settingsPageIndex = pageIndex;
        targets.detailPageIndex = -1;
        return targets;
    }

    HWND owner_ = nullptr;
};

TEST_F(TooltipRegistration, ToolsAreTheContainerButtonsAndTheLabelsOfThePageOnScreen) {
    HWND container = Window(owner_, {IDC_READ_BUTTON, IDC_COMMIT_BUTTON, IDC_EXIT_BUTTON, IDC_SETTINGS_TAB});
    // Every other label of the cut-sheet page with its list, and a label of
    // the hardware page that does not belong here.
    std::vector<int> pageIds = {PageRows(PageHardware)[0].labelId};
    Ids expected = kContainerButtons;
    for (int i = 0; i < PageRowCount(PageSheets); i += 2) {
        pageIds.push_back(PageRows(PageSheets)[i].labelId);
        pageIds.push_back(PageRows(PageSheets)[i].listId);
        expected.insert(PageRows(PageSheets)[i].labelId);
    }
    TooltipTargets targets = Targets(Window(container, pageIds), PageSheets);
    targets.settingsTabs = container;
    HWND first = RebuildTooltips(targets);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CurrentTooltipWindow(), first);
    EXPECT_EQ(ToolIds(first), expected);
    for (const Tool& tool : Tools(first)) {
        EXPECT_EQ(tool.flags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tool.owner, owner_);
        EXPECT_EQ(ToolText(first, tool.control), WideText(tool.control));
    }
    char className[64] = "";
    GetClassNameA(first, className, sizeof className);
    EXPECT_STREQ(className, TOOLTIPS_CLASSA);
    const LONG_PTR style = GetWindowLongPtrA(first, GWL_STYLE);
    EXPECT_TRUE((style & WS_POPUP) && (style & TTS_ALWAYSTIP) && (style & TTS_NOPREFIX));
    EXPECT_TRUE(GetWindowLongPtrA(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(first, GW_OWNER), owner_);
    EXPECT_EQ(SendMessageA(first, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
    EXPECT_EQ(SendMessageA(first, TTM_GETMAXTIPWIDTH, 0, 0), 400);

    // Another page on screen, the first one still there: a new tooltip
    // window whose page tools are the new page's.
    std::vector<int> otherIds;
    for (int id : Labels(PageOther)) otherIds.push_back(id);
    targets.settingsPage = Window(container, otherIds);
    targets.settingsPageIndex = PageOther;
    HWND second = RebuildTooltips(targets);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(CurrentTooltipWindow(), second);
    EXPECT_EQ(ToolIds(second), Join(kContainerButtons, Labels(PageOther)));

    // A page index outside the pages gives its window no tools.
    targets.settingsPageIndex = PageCount;
    EXPECT_EQ(ToolIds(RebuildTooltips(targets)), kContainerButtons);
}

INT_PTR CALLBACK PlainPage(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The program's own page dialogs: every label gets its tool, nothing else
// on the page does.
// A tab change of the real settings container: the tools are the labels of
// the page now on screen, the controls of that page's window.
TEST_F(TooltipRegistration, ARealTabChangePointsTheToolsAtTheNewPage) {
    if (!CurrentSettings) {
        ASSERT_TRUE(AllocateGlobals());
    }
    CopyFactoryDefaults(CurrentSettings);
    ASSERT_NE(CreateSettingsTabs(Instance(), owner_), nullptr);
    const HWND first = SettingsPageWindow();
    EXPECT_EQ(ToolIds(CurrentTooltipWindow()), Join(kContainerButtons, Labels(PageHardware)));
    SendMessageA(SettingsTabControl(), TCM_SETCURFOCUS, PageForms, 0);
    ASSERT_EQ(CurrentPageIndex(), PageForms);
    ASSERT_NE(SettingsPageWindow(), first);
    const HWND tooltip = CurrentTooltipWindow();
    EXPECT_EQ(ToolIds(tooltip), Join(kContainerButtons, Labels(PageForms)));
    for (const Tool& tool : Tools(tooltip)) {
        const HWND parent = GetParent(tool.control);
        EXPECT_TRUE(parent == SettingsPageWindow() || parent == SettingsTabsWindow()) << GetDlgCtrlID(tool.control);
    }
}

TEST_F(TooltipRegistration, EveryLabelOfTheProgramsPagesGetsItsTool) {
    for (int page = 0; page < PageCount; ++page) {
        HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_PAGE_HARDWARE + page), owner_, PlainPage, 0);
        ASSERT_NE(dialog, nullptr) << "page " << page;
        EXPECT_EQ(ToolIds(RebuildTooltips(Targets(dialog, page))), Labels(page)) << "page " << page;
        DestroyWindow(dialog);
    }
}

// The consumables windows while they are open, each with a control that
// gets no tool; 1201 and 1203 get tools that show nothing.
TEST_F(TooltipRegistration, CreateTooltipsTakesTheOpenWindowsAndGoesWithTheMainWindow) {
    ConsumablesWindows.window = Window(owner_, {1199, 1201, 1202, 1203, 1204});
    ConsumablesWindows.detail = Window(owner_, {1209, 1210, 1211});
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20,
                                ConsumablesWindows.detail, nullptr, Instance(), nullptr);
    ASSERT_NE(tabs, nullptr);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("page");
    SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(tabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
    ConsumablesWindows.detailTabs = tabs;
    // While the tab changes both pages exist: the selected tab decides, and
    // only that page's buttons count (here each page holds all of them).
    ConsumablesWindows.countersPage = Window(ConsumablesWindows.detail, {1217, 1218, 1219, 1220, 1221});
    ConsumablesWindows.headPinPage = Window(ConsumablesWindows.detail, {1217, 1218, 1219, 1220, 1221});
    const Ids windows = {1201, 1202, 1203, 1204, 1209, 1210};

    SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    CreateTooltips();
    HWND first = CurrentTooltipWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetWindow(first, GW_OWNER), owner_);
    EXPECT_EQ(ToolIds(first), Join(windows, {1221}));
    for (const Tool& tool : Tools(first))
        EXPECT_EQ(ToolText(first, tool.control), WideText(tool.control)) << GetDlgCtrlID(tool.control);
    SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
    CreateTooltips();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(ToolIds(CurrentTooltipWindow()), Join(windows, {1217, 1218, 1219, 1220}));

    // Closed again (and no settings container): no tools at all.
    ConsumablesWindows = ConsumablesWindowSet{};
    CreateTooltips();
    HWND last = CurrentTooltipWindow();
    EXPECT_TRUE(Tools(last).empty());
    DestroyWindow(owner_);
    owner_ = nullptr;
    EXPECT_FALSE(IsWindow(last));
    EXPECT_EQ(CurrentTooltipWindow(), nullptr);
}

// ---- help -----------------------------------------------------------------------

// A fresh empty folder as the start directory; the current directory is
// put back afterwards.
class TooltipHelp : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(sizeof saved_, saved_);
        std::memcpy(savedStart_, StartDirectory, sizeof savedStart_);
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        std::snprintf(folder_, sizeof folder_, "%stooltips-help-%lu", temp, GetCurrentProcessId());
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

TEST_F(TooltipHelp, AMissingHelpFileShowsNothing) {
    {
        BoxWatcher watch(IDCANCEL, BoxWatcher::CloseOtherDialogs);
        CloseAllHelp();  // before any help: harmless
        OpenHelpFile(owner_);
        OpenHelpFile(nullptr);
        CloseAllHelp();
        EXPECT_EQ(watch.Count(), 0u);
    }
    // Not even the help system was asked (each test runs in a process of its own).
    EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
    // The help is looked for in the start directory, which becomes current.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(lstrcmpiA(current, folder_), 0);
    // Nor does an unknown start directory show anything.
    StartDirectory[0] = '\0';
    BoxWatcher watch(IDCANCEL, BoxWatcher::CloseOtherDialogs);
    OpenHelpFile(owner_);
    EXPECT_EQ(watch.Count(), 0u);
}

// With a help file the help system is loaded at run time and asked to
// open it; what it makes of a file that is no help file is its own affair
// (the watch only keeps a box of its own from blocking the test).
TEST_F(TooltipHelp, AHelpFileIsHandedToTheHelpSystemLoadedAtRunTime) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\VELDRA6.CHM", folder_);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a help file", 15, &written, nullptr);
    CloseHandle(file);
    {
        BoxWatcher watch(IDCANCEL, BoxWatcher::CloseOtherDialogs);
        OpenHelpFile(owner_);
    }
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);
    {
        BoxWatcher watch(IDCANCEL, BoxWatcher::CloseOtherDialogs);
        CloseAllHelp();
        EXPECT_EQ(watch.Count(), 0u);
    }
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);  // kept loaded
    DeleteFileA(path);
}

}  // namespace
