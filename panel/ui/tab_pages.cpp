#include "panel/ui/tab_pages.h"

#include <commctrl.h>

#include "panel/ui/tooltips.h"

POINT TabPageOrigin(HWND container, HWND tabControl) {
    RECT display;
    GetWindowRect(tabControl, &display);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&display), 2);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    POINT origin = {display.left, display.top};
    return origin;
}

void ShowTabPage(HWND page, POINT origin) {
    CreateTooltips();
    SetWindowPos(page, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}
