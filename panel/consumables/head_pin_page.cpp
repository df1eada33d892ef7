#include "panel/consumables/head_pin_page.h"

#include <memory>
#include <new>

#include "panel/consumables/count_fields.h"
#include "panel/consumables/counter_reset.h"
#include "panel/core/consumables_rules.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/accelerator_slots.h"
#include "panel/ui/dialog_state.h"

namespace {

// Almost black: the pin counts' own text colour.
const COLORREF kPinText = RGB(1, 0, 0);

// The pin a control shows (1-24), or 0.
int PinOfControl(int id) {
    const int pin = id - IDC_PIN_FIRST + 1;
    return pin >= 1 && pin <= HeadPinCount ? pin : 0;
}

std::uint32_t PinCount(int pin) { return Counters ? HeadPinValue(*Counters, pin) : 0; }

struct HeadPinPage {
    HINSTANCE instance;
    CountBrushes brushes;

    INT_PTR OnInitDialog(HWND page) {
        ConsumablesWindows.headPinPage = page;
        brushes.Create();
        SetAcceleratorSlot(AccelHeadPinPage, page, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_HEAD_PIN_PAGE)));
        Refresh(page);
        return FALSE;  // the detail window places the focus
    }

    void Refresh(HWND page) {
        for (int pin = 1; pin <= HeadPinCount; ++pin) ShowCount(page, IDC_PIN_FIRST + pin - 1, PinCount(pin));
    }

    INT_PTR OnColour(HDC dc, HWND control) {
        const int pin = PinOfControl(GetDlgCtrlID(control));
        if (!pin) return FALSE;
        return brushes.Paint(dc, HeadPinRed(PinCount(pin)), kPinText);
    }

    INT_PTR OnCommand(HWND page, int id, int code) {
        if (code != BN_CLICKED && code != 1) return FALSE;
        if (id == IDM_DETAIL_CLOSE || id == IDCANCEL) {
            // Alt+X or Esc: the detail window goes with this page, asked for
            // afterwards.
            PostMessageA(GetParent(page), WM_COMMAND, MAKEWPARAM(IDM_DETAIL_CLOSE, 1), 0);
            return TRUE;
        }
        if (id != IDC_CLEAR_HEAD_PINS) return FALSE;
        RunCounterReset(ResetHeadPinCounter, PageResetQuestion(ResetHeadPinCounter), GetParent(page), page);
        return TRUE;
    }

    void OnDestroy(HWND page) {
        SetAcceleratorSlot(AccelHeadPinPage, nullptr, nullptr);
        brushes.Release();
        if (ConsumablesWindows.headPinPage == page) ConsumablesWindows.headPinPage = nullptr;
    }

    INT_PTR OnMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsRefreshRequest(message, wParam, lParam)) {
            Refresh(page);
            return DialogResult(page, TRUE);
        }
        switch (message) {
            case WM_CTLCOLORSTATIC:
                return OnColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_COMMAND:
                return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
            case WM_CLOSE:
                return TRUE;  // the detail window destroys its pages itself
            case WM_DESTROY:
                OnDestroy(page);
                return FALSE;
        }
        return FALSE;
    }
};

}  // namespace

HWND CreateHeadPinPage(HINSTANCE instance, HWND detail) {
    std::unique_ptr<HeadPinPage> state(new (std::nothrow) HeadPinPage());
    if (state) state->instance = instance;
    return CreateStatefulDialog(instance, IDD_HEAD_PIN_PAGE, detail, std::move(state));
}
