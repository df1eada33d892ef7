// The counters page: one row per count of the core's counter table (its
// control, its clear button and reset, its divisor for the colour).
#include "panel/consumables/counters_page.h"

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

const COLORREF kCountText = RGB(0, 0, 0);

const CounterFieldRule* RuleOfControl(int id) {
    const CounterFieldRule* rules = CounterFieldRules();
    for (int i = 0; i < CounterFieldCount; ++i)
        if (rules[i].valueControl == id) return &rules[i];
    return nullptr;
}

struct CountersPage {
    HINSTANCE instance;
    CountBrushes brushes;

    INT_PTR OnInitDialog(HWND page) {
        ConsumablesWindows.countersPage = page;
        brushes.Create();
        SetAcceleratorSlot(AccelCountersPage, page,
                           LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_COUNTERS_PAGE)));
        Refresh(page);
        return FALSE;  // the detail window places the focus
    }

    void Refresh(HWND page) {
        const CounterFieldRule* rules = CounterFieldRules();
        for (int i = 0; i < CounterFieldCount; ++i)
            ShowCount(page, rules[i].valueControl, Counters ? CounterFieldValue(*Counters, rules[i].field) : 0);
    }

    INT_PTR OnColour(HDC dc, HWND control) {
        const CounterFieldRule* rule = RuleOfControl(GetDlgCtrlID(control));
        if (!rule) return FALSE;
        const bool red = Counters && CounterFieldRed(CounterFieldValue(*Counters, rule->field), rule->divisor);
        return brushes.Paint(dc, red, kCountText);
    }

    INT_PTR OnCommand(HWND page, int id, int code) {
        // Clicked, or reached through the page's accelerator table.
        if (code != BN_CLICKED && code != 1) return FALSE;
        if (id == IDM_DETAIL_CLOSE || id == IDCANCEL) {
            // Alt+X of the page's table (and Esc on the page) closes the
            // detail window, which takes this page with it: asked for after
            // this message is done.
            PostMessageA(GetParent(page), WM_COMMAND, MAKEWPARAM(IDM_DETAIL_CLOSE, 1), 0);
            return TRUE;
        }
        const CounterFieldRule* rule = FindCounterRuleByButton(id);
        if (!rule) return FALSE;
        RunCounterReset(rule->reset, PageResetQuestion(rule->reset), GetParent(page), page);
        return TRUE;
    }

    void OnDestroy(HWND page) {
        SetAcceleratorSlot(AccelCountersPage, nullptr, nullptr);
        brushes.Release();
        if (ConsumablesWindows.countersPage == page) ConsumablesWindows.countersPage = nullptr;
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
                // The detail window is closing: a reset made here shows in
                // the management window's ribbon gauge.
                if (ConsumablesWindows.window) SendMessageA(ConsumablesWindows.window, WM_SETREDRAW, 0, 0);
                return TRUE;
            case WM_DESTROY:
                OnDestroy(page);
                return FALSE;
        }
        return FALSE;
    }
};

}  // namespace

HWND CreateCountersPage(HINSTANCE instance, HWND detail) {
    std::unique_ptr<CountersPage> state(new (std::nothrow) CountersPage());
    if (state) state->instance = instance;
    return CreateStatefulDialog(instance, IDD_COUNTERS_PAGE, detail, std::move(state));
}
