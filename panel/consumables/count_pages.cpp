#include "panel/consumables/count_pages.h"

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

// One count on a page: the control that shows it, its value, its colour.
struct CountField {
    int control;
    std::uint32_t count;
    bool red;
};

// What tells the two pages apart.
struct CountPageKind {
    int dialog;
    int accelerators;
    AcceleratorSlot slot;
    HWND ConsumablesWindowSet::*record;  // where the page is known while it exists
    COLORREF text;                      // the counts' text colour
    int fieldCount;
    CountField (*field)(int index);     // index 0 .. fieldCount - 1
    WriteKind (*resetOf)(int button);   // the reset a clear button sends; 0 for none
    bool closeRefreshesManagement;      // a reset made here shows in the ribbon gauge
};

// ---- the counters page: the core's counter table, row by row -----------------

CountField GeneralField(int index) {
    const CounterFieldRule& rule = CounterFieldRules()[index];
    const std::uint32_t count = Counters ? CounterFieldValue(*Counters, rule.field) : 0;
    return {rule.valueControl, count, CounterFieldRed(count, rule.divisor)};
}

WriteKind GeneralReset(int button) {
    const CounterFieldRule* rule = FindCounterRuleByButton(button);
    return rule ? rule->reset : WriteKind(0);
}

// ---- the head pin page: pin n in IDC_PIN_FIRST + n - 1 --------------------------

CountField PinField(int index) {
    const std::uint32_t count = Counters ? HeadPinValue(*Counters, index + 1) : 0;
    return {IDC_PIN_FIRST + index, count, HeadPinRed(count)};
}

WriteKind PinReset(int button) { return button == IDC_CLEAR_HEAD_PINS ? ResetHeadPinCounter : WriteKind(0); }

const CountPageKind kCountersPage = {
    IDD_COUNTERS_PAGE, IDA_COUNTERS_PAGE, AccelCountersPage, &ConsumablesWindowSet::countersPage,
    RGB(0, 0, 0),      CounterFieldCount, GeneralField,       GeneralReset,
    true,
};

// The pin counts' text is almost black, RGB(1, 0, 0).
const CountPageKind kHeadPinPage = {
    IDD_HEAD_PIN_PAGE, IDA_HEAD_PIN_PAGE, AccelHeadPinPage, &ConsumablesWindowSet::headPinPage,
    RGB(1, 0, 0),      HeadPinCount,      PinField,         PinReset,
    false,
};

struct CountPage {
    HINSTANCE instance;
    const CountPageKind* kind;
    CountBrushes brushes;

    INT_PTR OnInitDialog(HWND page) {
        ConsumablesWindows.*(kind->record) = page;
        brushes.Create();
        SetAcceleratorSlot(kind->slot, page, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kind->accelerators)));
        Refresh(page);
        return FALSE;  // the detail window places the focus
    }

    void Refresh(HWND page) {
        for (int i = 0; i < kind->fieldCount; ++i) {
            const CountField field = kind->field(i);
            ShowCount(page, field.control, field.count);
        }
    }

    INT_PTR OnColour(HDC dc, HWND control) {
        const int id = GetDlgCtrlID(control);
        for (int i = 0; i < kind->fieldCount; ++i) {
            const CountField field = kind->field(i);
            if (field.control == id) return brushes.Paint(dc, field.red, kind->text);
        }
        return FALSE;
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
        const WriteKind reset = kind->resetOf(id);
        if (!reset) return FALSE;
        RunCounterReset(reset, PageResetQuestion(reset), GetParent(page), page);
        return TRUE;
    }

    void OnClose() {
        // The detail window is closing: a reset made on the counters page
        // shows in the management window's ribbon gauge.
        if (kind->closeRefreshesManagement && ConsumablesWindows.window)
            SendMessageA(ConsumablesWindows.window, WM_SETREDRAW, 0, 0);
    }

    void OnDestroy(HWND page) {
        SetAcceleratorSlot(kind->slot, nullptr, nullptr);
        brushes.Release();
        if (ConsumablesWindows.*(kind->record) == page) ConsumablesWindows.*(kind->record) = nullptr;
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
                OnClose();
                return TRUE;  // the detail window destroys its pages itself
            case WM_DESTROY:
                OnDestroy(page);
                return FALSE;
        }
        return FALSE;
    }
};

HWND CreateCountPage(HINSTANCE instance, HWND detail, const CountPageKind& kind) {
    std::unique_ptr<CountPage> state(new (std::nothrow) CountPage());
    if (state) {
        state->instance = instance;
        state->kind = &kind;
    }
    return CreateStatefulDialog(instance, kind.dialog, detail, std::move(state));
}

}  // namespace

HWND CreateCountersPage(HINSTANCE instance, HWND detail) { return CreateCountPage(instance, detail, kCountersPage); }

HWND CreateHeadPinPage(HINSTANCE instance, HWND detail) { return CreateCountPage(instance, detail, kHeadPinPage); }
