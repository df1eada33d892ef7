// The monitor window's tab control with its two pages: tab 0
// "ﾌﾟﾘﾝﾀｰｽﾃｰﾀｽ" (dialog 249, the status) and tab 1 "消耗品情報" (dialog 250,
// the consumables and the ribbon reset).
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

enum { StatusTab = 0, SuppliesTab = 1 };

// Inserts the tabs, creates both pages and places them in the window's
// client area at x = 14 and 9 pixels below the first tab's item. False
// when a page cannot be created.
bool CreateStatusTabs(HWND window, MonitorState* state, DLGPROC suppliesProc);

// Selects tab 0 and shows its page as a click on it would.
void SelectStatusTab(HWND window, MonitorState* state);

// Shows the page of the tab now selected (after a click) and hides the
// other one.
void ShowSelectedPage(HWND window, MonitorState* state);

// Ctrl+Tab and Ctrl+Shift+Tab: with two tabs, either goes to the other one.
void SwitchToOtherTab(HWND window, MonitorState* state);

// WM_CTLCOLORSTATIC of a page: its read-only edits (the status text and the
// two lists) are read like documents, black on the window colour rather
// than greyed like a disabled field. FALSE for other controls.
INT_PTR PaintReadOnlyEditWhite(WPARAM deviceContext, LPARAM control);

// A control of either page.
HWND PageItem(const MonitorState* state, int id);
