// The page procedure of the four setting pages. Each list shows the display
// texts of its item's values in position order, so the selected row is the
// record byte itself. Everything a page knows about its rows comes from the
// row table; the forms page differs only by its greying rules.
#include "panel/settings/setting_pages.h"

#include "panel/core/page_layout.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"

namespace {

int PageOf(HWND page) { return static_cast<int>(GetWindowLongPtrA(page, DWLP_USER)); }

HWND RowLabel(HWND page, const PageRow& row) { return GetDlgItem(page, row.labelId); }
HWND RowList(HWND page, const PageRow& row) { return GetDlgItem(page, row.listId); }

void FillList(HWND list, int item) {
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    const int count = SettingValueCount(item);
    for (int position = 0; position < count; ++position) {
        const char* text = SettingDisplayText(item, position);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    }
}

// The record byte a list shows now (255 for no selection).
unsigned char ListByte(HWND list) {
    return SelectionToRecordByte(static_cast<long>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
}

// Greys or enables each fine adjustment with its label from the record.
void ApplyGreying(HWND page, int index) {
    if (!CurrentSettings) return;
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(index, &count);
    for (int i = 0; i < count; ++i) {
        const PageRow* row = FindPageRow(index, rules[i].adjustmentByte);
        if (!row) continue;
        const BOOL enabled = PageRowEnabled(index, row->recordByte, *CurrentSettings);
        EnableWindow(RowLabel(page, *row), enabled);
        EnableWindow(RowList(page, *row), enabled);
    }
}

// The refresh request: every list selects its record byte; a byte outside
// the list (a damaged file) leaves the list without a selection.
void Refresh(HWND page, int index) {
    const PageRow* rows = PageRows(index);
    for (int i = 0; i < PageRowCount(index); ++i) {
        const int item = rows[i].recordByte;
        const unsigned char byte = CurrentSettings ? CurrentSettings->value[item] : 255;
        SendMessageA(RowList(page, rows[i]), CB_SETCURSEL, RecordByteToSelection(byte, SettingValueCount(item)), 0);
    }
    ApplyGreying(page, index);
}

INT_PTR OnInitDialog(HWND page, int index) {
    SetWindowLongPtrA(page, DWLP_USER, index);
    const PageRow* rows = PageRows(index);
    for (int i = 0; i < PageRowCount(index); ++i) FillList(RowList(page, rows[i]), rows[i].recordByte);
    Refresh(page, index);
    return TRUE;
}

// A closed drop-down on the forms page: the detection settings take effect
// at once, so that the greying follows what the user just chose. Changes
// made with the arrow keys on a closed list wait for the next close-up or
// the next collect, as the user has not finished choosing yet.
void OnListClosed(HWND page, int index) {
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(index, &count);
    if (!count || !CurrentSettings) return;
    for (int i = 0; i < count; ++i) {
        const PageRow* row = FindPageRow(index, rules[i].detectionByte);
        if (row) CurrentSettings->value[row->recordByte] = ListByte(RowList(page, *row));
    }
    ApplyGreying(page, index);
}

INT_PTR CALLBACK SettingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, static_cast<int>(lParam));
        case WM_SETREDRAW:
            // Both parameters 0 is the program's refresh request, not a request
            // to stop drawing: handled here and never passed on.
            if (wParam == 0 && lParam == 0) {
                Refresh(page, PageOf(page));
                return TRUE;
            }
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == CBN_CLOSEUP) OnListClosed(page, PageOf(page));
            break;
    }
    return FALSE;
}

}  // namespace

HWND CreateSettingPage(HINSTANCE instance, HWND container, int page) {
    if (page < 0 || page >= PageCount) return nullptr;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PAGE_HARDWARE + page), container, SettingPageProc, page);
}

HWND PageRowList(HWND pageWindow, int page, int row) {
    if (!pageWindow || row < 0 || row >= PageRowCount(page)) return nullptr;
    return RowList(pageWindow, PageRows(page)[row]);
}
