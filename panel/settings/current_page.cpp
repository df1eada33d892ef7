#include "panel/settings/current_page.h"

#include <windows.h>

#include "panel/core/page_layout.h"
#include "panel/records/panel_records.h"
#include "panel/settings/setting_pages.h"
#include "panel/settings/settings_tabs.h"

// Only the page on screen holds selections that CurrentSettings may lack:
// the other pages are built from CurrentSettings when they open.
void CollectCurrentPage() {
    const HWND page = SettingsPageWindow();
    const int index = CurrentPageIndex();
    if (!page || !CurrentSettings || index < 0 || index >= PageCount) return;
    const PageRow* rows = PageRows(index);
    for (int i = 0; i < PageRowCount(index); ++i) {
        const HWND list = PageRowList(page, index, i);
        if (!list) continue;
        const long selected = static_cast<long>(SendMessageA(list, CB_GETCURSEL, 0, 0));
        CurrentSettings->value[rows[i].recordByte] = SelectionToRecordByte(selected);
    }
}

void RefreshCurrentPage() {
    const HWND page = SettingsPageWindow();
    if (page) SendMessageA(page, WM_SETREDRAW, 0, 0);
}
