// The printer choice, dialog 184: every printer the spooler knows, with an
// icon that says at a glance whether the panel can use it, and the chosen
// one kept as CurrentTarget.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include "common/cp932_text.h"
#include "common/memory.h"
#include "link/channel/spooler_printers.h"
#include "link/channel/supported_drivers.h"
#include "link/choice/choice_ids.h"
#include "link/choice/choice_internal.h"
#include "link/choice/printer_choice.h"

namespace {

// The list is read once: a spooler that fails shows an empty choice. It is
// read again while it outgrows its block (printers being added), 16 times
// at most, and not believed beyond 64 MB (thousands of printers would still
// fit).
const PrinterListRules kListRules = {16, 64 * 1024 * 1024, 0, 0};
// Rows shown at most; far more printers than any spooler holds, and it
// bounds the records kept beside the list.
const DWORD kMaxPrinters = 4096;

// Room beside a column's text: the header's and the cell's margins, and in
// the first column the row's icon.
const int kColumnMargin = 16;
const int kIconRoom = 20;

struct ChoiceState {
    HWND dialog;
    HWND list;
    HDC screen;  // for measuring the texts, held while the dialog is open
    HIMAGELIST images;
    PrinterTarget* printers;  // one per row, in the spooler's order
    DWORD count;
    int widths[2];
};

ChoiceState* StateOf(HWND dialog) { return reinterpret_cast<ChoiceState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

int TextWidth(ChoiceState& state, const char* text) {
    SIZE extent = {0, 0};
    if (state.screen) GetTextExtentPoint32A(state.screen, text, lstrlenA(text), &extent);
    return extent.cx;
}

void WidenColumn(ChoiceState& state, int column, const char* text) {
    const int width = TextWidth(state, text) + kColumnMargin + (column == 0 ? kIconRoom : 0);
    if (width <= state.widths[column]) return;
    state.widths[column] = width;
    SendMessageA(state.list, LVM_SETCOLUMNWIDTH, column, width);
}

void InsertColumn(ChoiceState& state, int column, const char* title) {
    LVCOLUMNA header = {};
    header.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    header.fmt = LVCFMT_LEFT;
    header.pszText = const_cast<char*>(title);
    header.iSubItem = column;
    header.cx = state.widths[column] = TextWidth(state, title) + kColumnMargin;
    SendMessageA(state.list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
}

// Rows, columns, image list and records of the last build, all gone.
void ClearList(ChoiceState& state) {
    SendMessageA(state.list, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(state.list, LVM_DELETECOLUMN, 0, 0)) {
    }
    HIMAGELIST old =
        reinterpret_cast<HIMAGELIST>(SendMessageA(state.list, LVM_SETIMAGELIST, LVSIL_SMALL, 0));
    if (old) ImageList_Destroy(old);
    state.images = nullptr;
    if (state.printers) FreeBlock(state.printers);
    state.printers = nullptr;
    state.count = 0;
}

int FocusedRow(const ChoiceState& state) {
    return static_cast<int>(SendMessageA(state.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

const PrinterTarget* RecordOfRow(const ChoiceState& state, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (row < 0 || !SendMessageA(state.list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    const DWORD index = static_cast<DWORD>(item.lParam);
    return index < state.count ? &state.printers[index] : nullptr;
}

void FocusRow(ChoiceState& state, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(state.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(state.list, LVM_ENSUREVISIBLE, row, FALSE);
}

// Adds printer `i` of `list` as record and row `i`. True for a supported model.
bool AddPrinter(ChoiceState& state, const SpoolerPrinterList& list, DWORD i) {
    const PRINTER_INFO_2A& info = list.At(i);
    PrinterTarget& target = state.printers[i];
    CopyCp932(target.PrinterName, sizeof target.PrinterName, list.Text(info.pPrinterName));
    CopyCp932(target.PortName, sizeof target.PortName, list.Text(info.pPortName));
    CopyCp932(target.DriverName, sizeof target.DriverName, list.Text(info.pDriverName));
    target.QueuedJobs = info.cJobs > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(info.cJobs);
    target.Model = ModelFromDriver(target.DriverName);
    const bool supported = target.Model != ModelUnsupported;
    target.ConnectionKind = 0;
    if (supported) target.ConnectionKind = ClassifyPort(target.PortName, info.Attributes, info.Status, list.Text(info.pSepFile));

    // Row i shows image i; a row whose icon could not be had shows none
    // rather than another row's.
    const HICON icon = ChoiceRowIcon(RowIcon(supported, target.ConnectionKind));
    const int image = icon ? ImageList_AddIcon(state.images, icon) : -1;
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = static_cast<int>(i);
    row.pszText = target.PrinterName;
    row.iImage = image >= 0 ? image : I_IMAGENONE;
    row.lParam = static_cast<LPARAM>(i);
    const int at = static_cast<int>(SendMessageA(state.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (at >= 0) {
        LVITEMA port = {};
        port.iSubItem = 1;
        port.pszText = target.PortName;
        SendMessageA(state.list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&port));
    }
    WidenColumn(state, 0, target.PrinterName);
    WidenColumn(state, 1, target.PortName);
    return supported;
}

// Fills the list from the spooler (again). False when no printer with a
// supported driver is there.
bool BuildList(ChoiceState& state) {
    // The printer the user had picked stays picked when the list is rebuilt.
    char picked[PrinterNameSize] = "";
    if (const PrinterTarget* before = RecordOfRow(state, FocusedRow(state)))
        CopyCp932(picked, sizeof picked, before->PrinterName);
    ClearList(state);

    InsertColumn(state, 0, PrinterColumnTitle);
    InsertColumn(state, 1, PortColumnTitle);

    SpoolerPrinterList list;
    list.Read(kListRules);
    const DWORD count = list.Count() < kMaxPrinters ? list.Count() : kMaxPrinters;
    bool anySupported = false;
    if (count > 0) {
        long error = 0;
        state.printers = static_cast<PrinterTarget*>(AllocBlock(count * sizeof(PrinterTarget), &error));
        state.images = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, static_cast<int>(count), 4);
        if (state.printers) state.count = count;
        if (state.images) SendMessageA(state.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(state.images));
    }
    for (DWORD i = 0; i < state.count; ++i)
        if (AddPrinter(state, list, i)) anySupported = true;

    SendMessageA(state.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (DWORD i = 0; picked[0] && i < state.count; ++i)
        if (lstrcmpA(state.printers[i].PrinterName, picked) == 0) {
            FocusRow(state, static_cast<int>(i));
            break;
        }
    SetFocus(state.list);
    SetWindowTextA(state.dialog, ChoiceCaption);
    return anySupported;
}

void Rebuild(ChoiceState& state) {
    if (!BuildList(state)) EndDialog(state.dialog, NoSupportedPrinter);
}

void OnOk(ChoiceState& state) {
    const PrinterTarget* chosen = RecordOfRow(state, FocusedRow(state));
    if (!chosen) {
        ShowChoiceMessage(state.dialog, NotSelectedMessage);
        SetFocus(state.list);
        return;
    }
    CurrentTarget = *chosen;
    CurrentTarget.Model = ModelFromDriver(CurrentTarget.DriverName);
    if (CurrentTarget.Model != ModelUnsupported) RefreshPrinterState();
    // The queue as it is now; a printer that cannot be read keeps what the
    // list said.
    PrinterRecord record;
    if (ReadPrinterRecord(CurrentTarget.PrinterName, &record) == RecordRead) CurrentTarget.QueuedJobs = record.jobs;
    EndDialog(state.dialog, PrinterChosen);
}

BOOL OnInitDialog(HWND dialog, ChoiceState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->dialog = dialog;
    state->list = GetDlgItem(dialog, IDC_PRINTER_LIST);
    state->screen = GetDC(nullptr);
    // Measured in the list's own font, so that the columns fit what it shows.
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(state->list, WM_GETFONT, 0, 0));
    if (state->screen && font) SelectObject(state->screen, font);
    Rebuild(*state);
    return FALSE;  // the focus is on the list already
}

void OnDestroy(ChoiceState& state) {
    ClearList(state);
    if (state.screen) {
        SelectObject(state.screen, GetStockObject(SYSTEM_FONT));
        ReleaseDC(nullptr, state.screen);
    }
    state.screen = nullptr;
}

// A double click on a row is OK. Other notifications keep their defaults.
BOOL OnNotify(ChoiceState& state, const NMHDR* header) {
    if (header->idFrom != IDC_PRINTER_LIST || header->code != NM_DBLCLK) return FALSE;
    if (reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem < 0) return TRUE;  // below the last row
    SendMessageA(state.dialog, WM_COMMAND, MAKEWPARAM(IDC_CHOICE_OK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(state.dialog, IDC_CHOICE_OK)));
    return TRUE;
}

void OnCommand(ChoiceState& state, int id) {
    switch (id) {
    case IDC_CHOICE_OK:
    case IDOK:  // Enter with the focus where no default button answers
        OnOk(state);
        break;
    case IDC_CHOICE_CANCEL:
    case IDCANCEL:  // Esc and the close box
        EndDialog(state.dialog, PrinterChoiceCancelled);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK PrinterChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog(dialog, reinterpret_cast<ChoiceState*>(lParam));
    ChoiceState* state = StateOf(dialog);
    if (!state) return FALSE;
    switch (message) {
    case WM_COMMAND:
        OnCommand(*state, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(*state, reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETTINGCHANGE:  // a printer added or removed meanwhile
        Rebuild(*state);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(*state);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

PrinterChoiceResult RunPrinterChoice(HINSTANCE instance, HWND owner) {
    // The dialog's list view is created with the dialog.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ChoiceState state = {};
    const INT_PTR ended = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PRINTER_CHOICE), owner, PrinterChoiceProc,
                                          reinterpret_cast<LPARAM>(&state));
    switch (ended) {
    case PrinterChosen:
    case PrinterChoiceCancelled:
    case NoSupportedPrinter:
        return static_cast<PrinterChoiceResult>(ended);
    default:
        return PrinterChoiceFailed;
    }
}
