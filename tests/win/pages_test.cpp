// The settings container and its four pages, run in this process under a
// plain main window: what each page holds and how it is laid out, refresh
// and collect, tab changes, the forms page's greying, focus and buttons.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "link/channel/spooler_calls.h"
#include "link/choice/printer_choice.h"
#include "panel/resources/resource.h"
#include "panel/settings/current_page.h"
#include "panel/core/page_layout.h"
#include "panel/settings/settings_tabs.h"
#include "panel/records/panel_records.h"
#include "tests/win/box_watcher.h"

namespace {

int g_closeRequests;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return ++g_closeRequests, 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string Text(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsGroupBox(HWND w) {
    return ClassOf(w) == "Button" && (GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

RECT RectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Inside(const RECT& in, const RECT& out) {
    return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom;
}

// Size of `text` in `window`'s font (several lines where it breaks).
SIZE TextSize(HWND window, const std::string& text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, 10000, 0};
    DrawTextA(dc, text.c_str(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | (text.find('\n') == std::string::npos ? DT_SINGLELINE : 0));
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return SIZE{r.right, r.bottom};
}

// The Japanese Windows gothic gives about a seventh fewer pixels per dialog
// unit across than the stand-in font here, for texts of the same size.
int WithSpare(int width) { return (width * 7 + 5) / 6; }

int Selection(HWND list) { return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)); }

class Pages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "pagetests-main";
        RegisterClassA(&wc);
        if (!CurrentSettings) AllocateGlobals();
    }

    void SetUp() override {
        ASSERT_NE(CurrentSettings, nullptr);
        CopyFactoryDefaults(CurrentSettings);
        g_closeRequests = 0;
        main_ = CreateWindowExA(0, "pagetests-main", "pagetests", WS_OVERLAPPED | WS_CAPTION, 0, 0, 640, 600, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        MainWindow = main_;
        ShowWindow(main_, SW_SHOW);
        SetForegroundWindow(main_);
        tabs_ = CreateSettingsTabs(GetModuleHandleA(nullptr), main_);
        ASSERT_NE(tabs_, nullptr);
        ShowWindow(tabs_, SW_SHOW);
        tab_ = SettingsTabControl();
    }

    void TearDown() override {
        DestroyWindow(main_);
        MainWindow = nullptr;
    }

    void Show(int page) {
        SendMessageA(tab_, TCM_SETCURFOCUS, page, 0);
        ASSERT_EQ(CurrentPageIndex(), page);
    }
    HWND List(int page, int b) { return GetDlgItem(SettingsPageWindow(), FindPageRow(page, b)->listId); }
    HWND Label(int page, int b) { return GetDlgItem(SettingsPageWindow(), FindPageRow(page, b)->labelId); }
    // What the mouse does: open the drop-down and close it again.
    void DropAndClose(HWND list) {
        SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
    }

    HWND main_ = nullptr, tabs_ = nullptr, tab_ = nullptr;
};

// The container opens on the hardware page with the focus on Read; a tab
// change focuses the new page's first list unless the tabs have the focus;
// Exit asks the main window to close.
TEST_F(Pages, TheContainerOpensOnTheHardwarePageAndMovesTheFocusWithTheTabs) {
    const char* captions[] = {"ﾊｰﾄﾞｳｪｱ設定", " 単票設定  ", " 連帳設定  ", "  その他   "};
    ASSERT_EQ(SendMessageA(tab_, TCM_GETITEMCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
        SendMessageA(tab_, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::string(text), captions[i]);
    }
    EXPECT_EQ(SendMessageA(tab_, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(CurrentPageIndex(), 0);
    EXPECT_EQ(GetParent(SettingsPageWindow()), tabs_);
    EXPECT_EQ(Text(GetDlgItem(tabs_, IDC_COMMIT_BUTTON)) + Text(GetDlgItem(tabs_, IDC_EXIT_BUTTON)),
              "確定(&C)終了(&X)");
    EXPECT_EQ(Text(SettingsReadButton()), "読込(&R)");
    EXPECT_EQ(GetFocus(), SettingsReadButton());
    EXPECT_EQ(LOWORD(SendMessageA(tabs_, DM_GETDEFID, 0, 0)), IDC_READ_BUTTON);

    Show(PageForms);
    EXPECT_EQ(GetFocus(), PageFirstControl());
    SetFocus(tab_);
    Show(PageOther);
    EXPECT_EQ(GetFocus(), tab_);
    SendMessageA(GetDlgItem(tabs_, IDC_EXIT_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(g_closeRequests, 1);
}

// Every page holds its rows' labels and lists in tab order, each list the
// item's values unsorted, and its group boxes. Texts the resource compiler
// could spoil: a trail byte 5Ch in 能, a line break, full-width brackets.
TEST_F(Pages, EveryPageHoldsExactlyItsRowsInTabOrderWithTheItemsValues) {
    const std::vector<std::vector<std::string>> groupTitles = {
        {}, {"前ASF設定", "後ASF設定", "手差し設定"}, {"前連帳設定", "後連帳設定"}, {"ｵﾌｨｽﾓｰﾄﾞ", "ｺﾏﾝﾄﾞ機能", "その他"}};
    for (int page = 0; page < PageCount; ++page) {
        Show(page);
        const HWND window = SettingsPageWindow();
        std::vector<int> lists, labels;
        std::vector<std::string> groups;
        for (HWND c : Children(window)) {
            const std::string cls = ClassOf(c);
            if (cls == "ComboBox")
                lists.push_back(GetDlgCtrlID(c));
            else if (cls == "Static")
                labels.push_back(GetDlgCtrlID(c));
            else if (IsGroupBox(c))
                groups.push_back(Text(c));
            else
                ADD_FAILURE() << "page " << page << ": unexpected " << cls;
        }
        EXPECT_EQ(groups, groupTitles[page]);
        ASSERT_EQ(lists.size(), static_cast<size_t>(PageRowCount(page)));
        ASSERT_EQ(labels.size(), lists.size());
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            EXPECT_EQ(lists[i], row.listId) << "tab order, page " << page << " row " << i;
            EXPECT_EQ(labels[i], row.labelId);
            EXPECT_FALSE(Text(GetDlgItem(window, row.labelId)).empty());
            const HWND list = GetDlgItem(window, row.listId);
            const LONG style = GetWindowLongA(list, GWL_STYLE);
            EXPECT_TRUE((style & 3) == CBS_DROPDOWNLIST && (style & WS_TABSTOP) && !(style & CBS_SORT));
            EXPECT_TRUE(IsWindowEnabled(list));
            ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), SettingValueCount(row.recordByte));
            for (int p = 0; p < SettingValueCount(row.recordByte); ++p) {
                char text[64] = {};
                SendMessageA(list, CB_GETLBTEXT, p, reinterpret_cast<LPARAM>(text));
                EXPECT_STREQ(text, SettingDisplayText(row.recordByte, p));
            }
        }
        EXPECT_EQ(PageFirstControl(), GetDlgItem(window, PageRows(page)[0].listId));
        EXPECT_EQ(PageLastControl(), GetDlgItem(window, PageRows(page)[PageRowCount(page) - 1].listId));
    }
    EXPECT_EQ(Text(Label(PageOther, 104)), "POWER ON READY");
    Show(PageSheets);
    EXPECT_EQ(Text(Label(PageSheets, 53)), "ｲｰｼﾞｰｾｯﾄ機能有効時の\r\n左端余白量");
    Show(PageHardware);
    EXPECT_EQ(Text(Label(PageHardware, 0)), "改行量（手差し，前ASF，後ASF）");
}

// Aligned columns, nothing cut off or overlapping, rows inside their group
// box, the page inside the tab's display area, hardware rows 14 units apart.
// The row table pairs each label (and the list beside it) with an item; the
// label the page shows must be that item's: its text begins as the item's
// title does (at least three characters alike on every row). A label id
// that names a neighbour's label, or two rows' items swapped, show here.
TEST_F(Pages, EveryLabelShowsItsOwnItem) {
    for (int page = 0; page < PageCount; ++page) {
        Show(page);
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            wchar_t label[256] = L"", title[256] = L"";
            GetWindowTextW(GetDlgItem(SettingsPageWindow(), row.labelId), label, 256);
            MultiByteToWideChar(932, 0, SettingTitle(row.recordByte), -1, title, 256);
            EXPECT_EQ(std::wstring(label).substr(0, 3), std::wstring(title).substr(0, 3))
                << "label " << row.labelId << ", item " << row.recordByte;
        }
    }
}

TEST_F(Pages, TheLayoutFitsAndAligns) {
    for (int page = 0; page < PageCount; ++page) {
        Show(page);
        const HWND window = SettingsPageWindow();
        RECT client, display = RectIn(tab_, tabs_), pitch = {0, 0, 0, 14};
        GetClientRect(window, &client);
        SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        EXPECT_TRUE(Inside(RectIn(window, tabs_), display)) << "page " << page;
        MapDialogRect(window, &pitch);
        std::vector<HWND> groups;
        for (HWND c : Children(window))
            if (IsGroupBox(c)) groups.push_back(c);
        std::vector<RECT> placed;
        std::vector<LONG> lefts[4];  // label and list lefts of columns 1 and 2
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            const HWND label = GetDlgItem(window, row.labelId), list = GetDlgItem(window, row.listId);
            const RECT lr = RectIn(label, window), cr = RectIn(list, window);
            const std::string where = "page " + std::to_string(page) + " row " + std::to_string(i);
            EXPECT_TRUE(Inside(lr, client) && Inside(cr, client) && lr.right <= cr.left) << where;
            EXPECT_LE(std::abs((lr.top + lr.bottom) - (cr.top + cr.bottom)), 6) << where << ": label beside its list";
            const SIZE text = TextSize(label, Text(label));
            EXPECT_TRUE(WithSpare(text.cx) <= lr.right - lr.left && text.cy <= lr.bottom - lr.top)
                << where << ": label cut";
            int widest = 0;
            for (int p = 0; p < SettingValueCount(row.recordByte); ++p)
                widest = std::max<int>(widest, TextSize(list, SettingDisplayText(row.recordByte, p)).cx);
            EXPECT_LE(WithSpare(widest + GetSystemMetrics(SM_CXVSCROLL) + 8), cr.right - cr.left)
                << where << ": value cut";
            for (const RECT& other : placed) {
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &lr, &other) || IntersectRect(&overlap, &cr, &other)) << where;
            }
            placed.push_back(lr);
            placed.push_back(cr);
            lefts[2 * row.column - 2].push_back(lr.left);
            lefts[2 * row.column - 1].push_back(cr.left);
            if (row.group) {
                const RECT g = RectIn(groups.at(row.group - 1), window);
                EXPECT_TRUE(Inside(lr, g) && Inside(cr, g) && lr.top > g.top + text.cy / 2) << where << ": group";
            }
            if (page == PageHardware && i > 0 && row.column == PageRows(page)[i - 1].column) {
                const RECT above = RectIn(GetDlgItem(window, PageRows(page)[i - 1].listId), window);
                EXPECT_NEAR(cr.top - above.top, pitch.bottom, 1) << where;
            }
        }
        for (auto& column : lefts)
            EXPECT_EQ(std::count(column.begin(), column.end(), column.front()), column.size()) << "page " << page;
        EXPECT_LT(*std::max_element(lefts[1].begin(), lefts[1].end()), lefts[2].front());
    }
}

// Refresh selects the record's bytes with the page still drawn; collect
// stores the selections, 255 for none. A byte outside its list (a damaged
// file: 7 for "TEAROFF", which has three values) shows no selection.
TEST_F(Pages, RefreshSelectsTheRecordAndCollectStoresTheSelections) {
    for (int page = 0; page < PageCount; ++page) {
        Show(page);
        for (int b = 0; b < SettingCount; ++b) CurrentSettings->value[b] = (b * 7 + 3) % SettingValueCount(b);
        RefreshCurrentPage();
        EXPECT_TRUE(GetWindowLongA(SettingsPageWindow(), GWL_STYLE) & WS_VISIBLE) << "drawing stays on";
        for (int i = 0; i < PageRowCount(page); ++i) {
            const int b = PageRows(page)[i].recordByte;
            EXPECT_EQ(Selection(List(page, b)), CurrentSettings->value[b]) << b;
        }
    }
    SendMessageA(List(PageOther, 108), CB_SETCURSEL, 59, 0);
    SendMessageA(List(PageOther, 85), CB_SETCURSEL, -1, 0);
    SettingsRecord expected = *CurrentSettings;
    expected.value[108] = 59;
    expected.value[85] = 255;
    CollectCurrentPage();
    EXPECT_EQ(std::memcmp(&expected, CurrentSettings, sizeof expected), 0);

    Show(PageHardware);
    CurrentSettings->value[13] = 7;
    RefreshCurrentPage();
    EXPECT_EQ(Selection(List(PageHardware, 13)), -1);
    Show(PageForms);
    EXPECT_EQ(CurrentSettings->value[13], 255);
}

TEST_F(Pages, AChangeSurvivesLeavingThePageAndComingBack) {
    SendMessageA(List(PageHardware, 0), CB_SETCURSEL, 3, 0);
    EXPECT_EQ(CurrentSettings->value[0], 2);  // nothing collected yet
    Show(PageSheets);
    EXPECT_EQ(CurrentSettings->value[0], 3);
    // The other way of changing tabs: the selection, then the notification.
    SendMessageA(List(PageSheets, 53), CB_SETCURSEL, 160, 0);
    SendMessageA(tab_, TCM_SETCURSEL, PageHardware, 0);
    NMHDR header = {tab_, static_cast<UINT_PTR>(IDC_SETTINGS_TAB), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(tabs_, WM_NOTIFY, IDC_SETTINGS_TAB, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(CurrentPageIndex(), PageHardware);
    EXPECT_EQ(CurrentSettings->value[53], 160);
    EXPECT_EQ(Selection(List(PageHardware, 0)), 3);
    int pages = 0;
    for (HWND c : Children(tabs_)) pages += ClassOf(c) == "#32770";
    EXPECT_EQ(pages, 1) << "only the page on screen exists";
}

TEST_F(Pages, TheFormsPageGreysATrimWhenItsDetectionCloses) {
    Show(PageForms);
    const HWND front = List(PageForms, 64), frontTrim = List(PageForms, 69), rearTrim = List(PageForms, 81);
    SendMessageA(front, CB_SETCURSEL, 1, 0);  // "101mm" with the arrow keys: nothing yet
    EXPECT_TRUE(CurrentSettings->value[64] == 0 && IsWindowEnabled(frontTrim));
    DropAndClose(front);
    EXPECT_EQ(CurrentSettings->value[64], 1);
    EXPECT_FALSE(IsWindowEnabled(frontTrim) || IsWindowEnabled(Label(PageForms, 69)));
    EXPECT_TRUE(IsWindowEnabled(rearTrim));
    EXPECT_EQ(AdjustFocusTarget(frontTrim), SettingsReadButton());
    EXPECT_EQ(AdjustFocusTarget(rearTrim), rearTrim);
    // Closing any list of the page applies both detections.
    SendMessageA(List(PageForms, 76), CB_SETCURSEL, 1, 0);
    SendMessageA(front, CB_SETCURSEL, 0, 0);
    DropAndClose(List(PageForms, 61));
    EXPECT_TRUE(IsWindowEnabled(frontTrim) && IsWindowEnabled(Label(PageForms, 69)));
    EXPECT_FALSE(IsWindowEnabled(rearTrim) || IsWindowEnabled(Label(PageForms, 81)));
    EXPECT_EQ(AdjustFocusTarget(rearTrim), SettingsReadButton());
    EXPECT_EQ(AdjustFocusTarget(frontTrim), frontTrim);
    Show(PageOther);  // built again from the record
    Show(PageForms);
    EXPECT_FALSE(IsWindowEnabled(List(PageForms, 81)));
    // No rule elsewhere: the cut-sheet trim stays, the byte waits for a collect.
    Show(PageSheets);
    SendMessageA(List(PageSheets, 33), CB_SETCURSEL, 1, 0);
    DropAndClose(List(PageSheets, 33));
    EXPECT_TRUE(CurrentSettings->value[33] == 0 && IsWindowEnabled(List(PageSheets, 36)));
    EXPECT_EQ(AdjustFocusTarget(List(PageSheets, 36)), List(PageSheets, 36));
}

TEST_F(Pages, TheAccessorsForgetTheContainerWithItsWindow) {
    DestroyWindow(tabs_);
    EXPECT_TRUE(!SettingsTabsWindow() && !SettingsPageWindow() && !SettingsTabControl() && !PageFirstControl());
    EXPECT_EQ(CurrentPageIndex(), -1);
    EXPECT_EQ(AdjustFocusTarget(main_), main_);
    const SettingsRecord before = *CurrentSettings;
    CollectCurrentPage();
    RefreshCurrentPage();
    EXPECT_EQ(std::memcmp(&before, CurrentSettings, sizeof before), 0);
}

// A printer the checks accept: a USB port with bidirectional support and no
// jobs. Only its record is scripted; nothing reaches a port.
BOOL WINAPI OpenReadyPrinter(LPSTR, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
    *printer = reinterpret_cast<HANDLE>(0x5eed);
    return TRUE;
}
BOOL WINAPI GetReadyPrinter(HANDLE, DWORD, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const char port[] = "USB001";
    *needed = sizeof(PRINTER_INFO_2A) + sizeof port;
    if (!buffer || size < *needed) return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
    std::memset(buffer, 0, *needed);
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    info->pPortName = reinterpret_cast<char*>(std::memcpy(buffer + sizeof(PRINTER_INFO_2A), port, sizeof port));
    info->Attributes = PRINTER_ATTRIBUTE_ENABLE_BIDI;
    return TRUE;
}
BOOL WINAPI CloseReadyPrinter(HANDLE) { return TRUE; }

class PageButtons : public Pages {
protected:
    void SetUp() override {
        Pages::SetUp();
        calls_ = Spooler();
        calls_.openPrinter = OpenReadyPrinter;
        calls_.getPrinter = GetReadyPrinter;
        calls_.closePrinter = CloseReadyPrinter;
        TestSeam_UseSpoolerCalls(&calls_);
        saved_ = CurrentTarget;
    }
    void TearDown() override {
        TestSeam_UseSpoolerCalls(nullptr);
        CurrentTarget = saved_;
        Pages::TearDown();
    }
    // Presses `button` as its accelerator does: the focus stays where it is.
    // The boxes that come up, as "caption|text", each answered with Cancel.
    std::vector<std::string> Press(int button, HWND focus) {
        SendMessageA(tabs_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        BoxWatcher watcher(IDCANCEL);
        SendMessageA(tabs_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(tabs_, button)));
        std::vector<std::string> boxes;
        for (const BoxWatcher::Box& box : watcher.Boxes()) boxes.push_back(box.caption + "|" + box.text);
        return boxes;
    }
    SpoolerCalls calls_;
    PrinterTarget saved_;
};

TEST_F(PageButtons, EachButtonAsksItsQuestionAndACancelChangesNothing) {
    const std::string caption = "KOA koa2400Max-R/koa2600Max-R リモートパネル|";
    const HWND list = List(PageHardware, 5);
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(Press(IDC_COMMIT_BUTTON, list), std::vector<std::string>{caption + "設定値に変更しますか？"});
    EXPECT_EQ(CurrentSettings->value[5], 1) << "a cancelled commit collects nothing";
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(GetForegroundWindow(), main_);
    EXPECT_EQ(Press(IDC_READ_BUTTON, list),
              std::vector<std::string>{caption + "プリンターから設定内容を読み込みます。\n\nよろしいですか？"});
    EXPECT_EQ(GetFocus(), list);
    // A printer the check refuses: its own message, no question.
    TestSeam_UseSpoolerCalls(nullptr);
    CurrentTarget.PrinterName[0] = '\0';
    const std::vector<std::string> boxes = Press(IDC_COMMIT_BUTTON, list);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].find("設定値に変更しますか"), std::string::npos) << boxes[0];
    EXPECT_EQ(GetFocus(), list);
}

}  // namespace
