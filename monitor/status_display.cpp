#include "monitor/status_display.h"

#include <cstdlib>
#include <cstring>

#include "common/cp932_text.h"
#include "monitor/control_text.h"
#include "monitor/core/status_rules.h"
#include "monitor/registry_slot.h"
#include "monitor/resources/resource.h"
#include "monitor/status_tabs.h"

namespace {

// The number in a string value, by the leading-digits rule ("" and "abc"
// are 0). The text buffer always ends in a zero.
long TextNumber(const MonitorState* state) { return std::strtol(state->text, nullptr, 10); }

// The one-byte values, read in this order; CSF_FRONT and CSF_REAR must be
// readable although they change nothing on the screen.
struct LifeValues {
    int head;
    int ribbon;
};

bool ReadLifeValues(MonitorState* state, LifeValues* life) {
    const char* const names[] = {"CSF_FRONT", "CSF_REAR", "HEAD_SPAN", "RIBBON_SPAN"};
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (!ReadByteValue(names[i], state)) return false;
        values[i] = state->singleByte;
    }
    life->head = values[2];
    life->ribbon = values[3];
    return true;
}

// The status text into the text buffer, which grows while the text would
// not fit whole (the writer stops a byte or two short of the end when it
// has to cut).
void BuildStatusTextInBuffer(MonitorState* state, int code, const LifeValues& life) {
    for (;;) {
        const std::size_t length = BuildStatusText(code, life.head, life.ribbon, state->text, state->textSize);
        if (length + 2 < state->textSize) return;
        if (!GrowBuffer(&state->text, &state->textSize, state->textSize * 2)) return;
    }
}

void ShowIcon(HWND control, HICON icon) {
    if (control && reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0)) != icon)
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void ShowCaption(HWND window, MonitorState* state) {
    char prefix[64];
    if (!LoadStringA(state->instance, IDS_WINDOW_CAPTION, prefix, sizeof prefix)) prefix[0] = '\0';
    char caption[sizeof prefix + sizeof state->printerName];
    std::size_t n = CopyCp932(caption, sizeof caption, prefix);
    CopyCp932(caption + n, sizeof caption - n, state->printerName);
    SetTextIfChanged(window, caption, state);
}

// A string value into a control of the window.
bool ShowValue(HWND window, MonitorState* state, const char* name, int control) {
    if (!ReadStringValue(name, state)) return false;
    SetTextIfChanged(GetDlgItem(window, control), state->text, state);
    return true;
}

// Steps 2 to 8 of a cycle; the caller opens and closes the slot.
int ReadCycle(HWND window, MonitorState* state) {
    if (!ReadStringValue("CAL_MODE", state)) return CycleFailed;
    if (TextNumber(state) == 1) return CycleEnd;
    if (!ReadStringValue("PRT_HALT", state)) return CycleFailed;
    if (!state->started) {
        if (!ReadStringValue("PSV_HOST", state)) return CycleFailed;
        CopyCp932(state->host, sizeof state->host, state->text);
        if (!ReadStringValue("PSV_PORT", state)) return CycleFailed;
        CopyCp932(state->port, sizeof state->port, state->text);
    }
    if (!ReadStringValue("PRT_NAME", state)) return CycleFailed;
    CopyCp932(state->printerName, sizeof state->printerName, state->text);
    if (!ReadStringValue("ERR_CODE", state)) return CycleFailed;
    state->previousCode = state->currentCode;
    state->currentCode = static_cast<short>(ParseStatusCode(state->text, state->textSize));
    // TSK_MODE is optional: missing means no flashing.
    state->flashEnabled = ReadStringValue("TSK_MODE", state) && std::strcmp(state->text, "1") == 0;
    if (!ShowStatus(window, state, state->currentCode)) return CycleFailed;
    ShowCaption(window, state);
    if (!ShowValue(window, state, "USR_NAME", IDC_USER_NAME)) return CycleFailed;
    if (!ShowValue(window, state, "DOC_NAME", IDC_DOC_NAME)) return CycleFailed;
    if (!ReadStringValue("JOB_ID", state)) return CycleFailed;
    state->jobId = TextNumber(state);
    return CycleDone;
}

}  // namespace

int PollStatus(HWND window, MonitorState* state) {
    const int opened = OpenSlot(state);
    if (opened != 1) {
        CloseSlot(state);
        return opened == 2 ? CycleEnd : CycleFailed;
    }
    const int result = ReadCycle(window, state);
    CloseSlot(state);
    return result;
}

int ShowStatus(HWND window, MonitorState* state, int code) {
    const StatusEntry& entry = FindStatusEntry(code);
    if (entry.ignored) {
        state->currentCode = state->previousCode;
        return 1;
    }
    HICON icon = LoadIconA(state->instance, MAKEINTRESOURCEA(entry.icon));
    LifeValues life;
    if (!ReadLifeValues(state, &life)) {
        CloseSlot(state);
        return 0;
    }
    char list[64];
    BuildPrepareList(life.head, life.ribbon, list, sizeof list);
    SetTextIfChanged(PageItem(state, IDC_PREPARE_LIST), list, state);
    BuildReplaceList(life.head, life.ribbon, list, sizeof list);
    SetTextIfChanged(PageItem(state, IDC_REPLACE_LIST), list, state);

    BuildStatusTextInBuffer(state, code, life);
    ShowIcon(PageItem(state, IDC_STATUS_ICON), icon);
    // Any new status text brings the status tab to the front.
    if (SetTextIfChanged(PageItem(state, IDC_STATUS_TEXT), state->text, state)) SelectStatusTab(window, state);

    BuildStatusTitle(code, state->statusTitle, sizeof state->statusTitle);
    EnableWindow(GetDlgItem(window, IDC_MINIMISE), !IsSevereCode(code));
    EnableWindow(PageItem(state, IDC_RIBBON_RESET), RibbonResetAllowed(code));
    return 1;
}
