#include "panel/exchange/print_finished.h"

#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"

namespace {

// Paper goes out and comes back: each tick shows the next frame, then the
// sequence starts again.
const int kFrames[] = {IDI_PRINTING_1, IDI_PRINTING_2, IDI_PRINTING_3, IDI_PRINTING_4, IDI_PRINTING_5,
                       IDI_PRINTING_4, IDI_PRINTING_3, IDI_PRINTING_2, IDI_PRINTING_1};
const UINT_PTR kAnimationTimer = 1;
const UINT kFrameMs = 600;

struct Animation {
    int next;
};

void ShowFrame(HWND dialog, int icon) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    SendDlgItemMessageA(dialog, IDC_PRINTING_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(icon))), 0);
}

void OnTick(HWND dialog, Animation* animation) {
    ShowFrame(dialog, kFrames[animation->next]);
    animation->next = (animation->next + 1) % static_cast<int>(sizeof kFrames / sizeof kFrames[0]);
}

INT_PTR CALLBACK PrintFinishedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Animation* animation = reinterpret_cast<Animation*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<Animation*>(lParam)->next = 0;
        ShowFrame(dialog, IDI_PRINTING_2);
        SetTimer(dialog, kAnimationTimer, kFrameMs, nullptr);
        return TRUE;
    case WM_TIMER:
        if (wParam == kAnimationTimer && animation) OnTick(dialog, animation);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            KillTimer(dialog, kAnimationTimer);
            EndDialog(dialog, IDOK);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowPrintFinishedDialog(HWND owner) {
    Animation animation = {0};
    HINSTANCE instance = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE))
                               : GetModuleHandleA(nullptr);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PRINT_FINISHED), owner, PrintFinishedProc,
                    reinterpret_cast<LPARAM>(&animation));
}
