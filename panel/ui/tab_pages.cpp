#include "panel/ui/tab_pages.h"

#include <commctrl.h>

#include "panel/ui/tooltips.h"

RECT TabPageArea(HWND container, HWND tabControl) {
    RECT display;
    GetWindowRect(tabControl, &display);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&display), 2);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return display;
}

void ShowTabPage(HWND page, const RECT& area) {
    CreateTooltips();
    RECT own;
    GetWindowRect(page, &own);
    // Never narrower or lower than the template made it.
    const int width = own.right - own.left > area.right - area.left ? own.right - own.left : area.right - area.left;
    const int height = own.bottom - own.top > area.bottom - area.top ? own.bottom - own.top : area.bottom - area.top;
    SetWindowPos(page, HWND_TOP, area.left, area.top, width, height, SWP_SHOWWINDOW);
}
