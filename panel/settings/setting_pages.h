// The four setting pages (dialogs 192..195): one dialog procedure for all of
// them, driven by the row table of page_layout.h.
#pragma once

#include <windows.h>

// Creates page `page` (0..3) as a hidden child of `container`, its lists
// filled and showing CurrentSettings; null when it cannot be created.
HWND CreateSettingPage(HINSTANCE instance, HWND container, int page);

// The drop-down list of `row` (an index into PageRows(page)) on a page window.
HWND PageRowList(HWND pageWindow, int page, int row);
