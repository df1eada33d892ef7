// The plumbing every dialog of the panel repeats, written once: a dialog's
// state is an object of its own class, handed to the window when it is made,
// hung on it (DWLP_USER) at WM_INITDIALOG and deleted with it.
//
// The state class has
//   INT_PTR OnInitDialog(HWND dialog);
//   INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// OnMessage sees every message after WM_INITDIALOG, WM_NCDESTROY last; the
// state is deleted right after that. A handler that destroys its own window
// must return at once: its state is gone when DestroyWindow returns.
#pragma once

#include <windows.h>

#include <memory>

template <typename State>
State* DialogStateOf(HWND dialog) {
    return dialog ? reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER)) : nullptr;
}

template <typename State>
INT_PTR CALLBACK StatefulDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The creator's holder hands the state over to the window.
        State* state = reinterpret_cast<std::unique_ptr<State>*>(lParam)->release();
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
        return state->OnInitDialog(dialog);
    }
    State* state = DialogStateOf<State>(dialog);
    if (!state) return FALSE;  // before WM_INITDIALOG (WM_SETFONT and the like)
    const INT_PTR result = state->OnMessage(dialog, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete state;
    }
    return result;
}

// Creates the modeless dialog `templateId` holding `state`. Null when the
// state or the window could not be made; the state is freed then.
template <typename State>
HWND CreateStatefulDialog(HINSTANCE instance, int templateId, HWND parent, std::unique_ptr<State> state) {
    if (!state) return nullptr;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, StatefulDialogProc<State>,
                              reinterpret_cast<LPARAM>(&state));
}

// One row of a dialog's command table: a command id (button, menu item or
// accelerator) and the state's handler for it. A table ends with id 0.
template <typename State>
struct DialogCommand {
    int id;
    void (State::*run)(HWND dialog);
};

// Runs the row of `table` for a WM_COMMAND from a button or menu (code 0) or
// an accelerator (1). True when one ran: the handler may have destroyed the
// window, so the caller returns at once.
template <typename State>
bool RunDialogCommand(State* state, const DialogCommand<State>* table, HWND dialog, int id, int code) {
    if (code != 0 && code != 1) return false;
    for (const DialogCommand<State>* row = table; row->id; ++row) {
        if (row->id == id) {
            (state->*row->run)(dialog);
            return true;
        }
    }
    return false;
}

// A dialog procedure's answer to a message whose result the sender reads
// (WM_SETREDRAW as the refresh request): `value` goes back to the sender.
inline INT_PTR DialogResult(HWND dialog, LRESULT value) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, value);
    return TRUE;
}

// Whether a message is the program's refresh request: WM_SETREDRAW with both
// parameters 0, never a request to stop drawing.
inline bool IsRefreshRequest(UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_SETREDRAW && wParam == 0 && lParam == 0;
}
