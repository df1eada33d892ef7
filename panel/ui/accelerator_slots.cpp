#include "panel/ui/accelerator_slots.h"

namespace {

struct Slot {
    HWND window;
    HACCEL table;
};
Slot g_slots[AccelSlotCount];

}  // namespace

void SetAcceleratorSlot(AcceleratorSlot slot, HWND window, HACCEL table) {
    if (slot < 0 || slot >= AccelSlotCount) return;
    Slot& s = g_slots[slot];
    if (s.table && s.table != table) DestroyAcceleratorTable(s.table);
    s.window = window;
    s.table = table;
}

bool TranslateSlotAccelerators(MSG* msg) {
    for (Slot& slot : g_slots) {
        if (slot.table && slot.window && IsWindow(slot.window) && TranslateAcceleratorA(slot.window, slot.table, msg))
            return true;
    }
    return false;
}
