// Operates a running remote panel (veldra6) from another process, as a
// person at the screen would: finds its windows by class, caption and
// control id, reads them, picks a printer, answers message boxes, switches
// setting pages, changes drop-down lists and sends menu commands.
//
// The program's one thread blocks while it talks to the printer, so nothing
// here waits on it without a bound: texts are read without messages where
// the window keeps them itself, every other question goes out with
// SendMessageTimeout, and every action that may open a modal window is
// posted. Each Wait... polls until its deadline.
//
// Texts are in the ANSI code page (932 for the remote panel), as the program
// and the tests hold them. The driver must have the program's bitness: list
// view rows are read through memory in the program's process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace paneldriver {

// The program's window ids.
enum : int {
    ChoiceDialogList = 1288,   // dialog 184: the printers (report list view)
    ChoiceDialogOk = 1286,
    ChoiceDialogCancel = 1287,
    SettingsTabControl = 1250, // in the settings container, dialog 166
    SettingsCommitButton = 1248,
    SettingsExitButton = 1249,
    SettingsReadButton = 1251,
    ConsumablesHeadGauge = 1199, // the consumables management window, dialog 168
    ConsumablesRibbonGauge = 1662,
    DetailTabControl = 1211,     // the consumables detail window, dialog 171
};
extern const char kMainWindowClass[];  // "veldra6"
extern const char kProgramCaption[];   // caption of its message boxes and dialog 184

struct ChoiceRow {
    std::string printer;
    std::string port;
    int image = -1;  // the row's index in the dialog's image list
};

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

class PanelDriver {
public:
    // processId 0: windows of any process, until Attach.
    explicit PanelDriver(DWORD processId = 0);
    ~PanelDriver();
    PanelDriver(const PanelDriver&) = delete;
    PanelDriver& operator=(const PanelDriver&) = delete;

    // The deadline of every wait (default 30 s).
    void SetTimeout(DWORD ms) { timeout_ = ms; }
    DWORD timeout() const { return timeout_; }
    // How often every wait looks again (default 50 ms); the bench looks
    // more often, for finer timings.
    void SetPollInterval(DWORD ms) { pollMs_ = ms ? ms : 1; }
    // What the last failure was, for the user.
    const std::string& error() const { return error_; }
    DWORD processId() const { return processId_; }

    // Waits for the main window (it may still be hidden) and from then on
    // looks only at windows of its process.
    bool Attach();
    // Waits until the main window is shown.
    HWND WaitMainWindow();
    // Waits for a shown top-level window; an empty class or caption matches
    // any. The caption must match exactly.
    HWND WaitWindow(const std::string& className, const std::string& caption);
    // Waits for a shown top-level dialog that holds a control with this id.
    HWND WaitDialogWithControl(int controlId);
    // Waits until the window no longer exists or is hidden.
    bool WaitGone(HWND window);
    // Waits until the attached process has ended.
    bool WaitExit();

    // Dialog 184.
    bool ChoiceRows(HWND dialog, std::vector<ChoiceRow>* rows);
    // Selects and focuses the row of `printer` and clicks OK.
    bool ChoosePrinter(HWND dialog, const std::string& printer);

    // Waits for the next message box of the program (its caption is the
    // program's), with its text.
    bool WaitMessageBox(MessageBoxSeen* seen);
    // Presses the button `buttonId` (IDOK, IDCANCEL, IDYES, ...) of the box
    // and waits until the box has gone. False when it has no such button.
    bool AnswerMessageBox(const MessageBoxSeen& box, int buttonId);

    // The settings container of the main window.
    bool SelectTab(int index);
    bool CurrentTab(int* index);
    // A drop-down list of the page on screen: its selected row (-1 for none)
    // and that row's text; waits until the list exists.
    bool ListSelection(int listId, int* row, std::string* text);
    // Selects `row` and tells the page as a closed drop-down would.
    bool SetListSelection(int listId, int row);
    // Clicks a button of the program's windows (the main window's tree first).
    bool ClickButton(int buttonId);
    // A menu command of the main window, posted (it may open modal windows).
    bool MenuCommand(int commandId);
    // Asks the main window to close (the exit sequence runs).
    bool CloseMainWindow();
    // A control of the main window's tree, or null; waits until it exists.
    HWND WaitControl(int controlId);

    // The program's other windows (the consumables windows and their pages)
    // as well: a shown control of the main window's tree, or else of any
    // shown top-level window of the program; waits until one exists.
    HWND WaitAnyControl(int controlId);
    // A control's text asked with WM_GETTEXT (edit controls keep theirs
    // themselves), bounded; false when the control did not answer.
    bool ControlText(HWND control, std::string* text);
    // Waits until control `controlId` shows `text`; its last text in *seen.
    bool WaitControlText(int controlId, const std::string& text, std::string* seen = nullptr);
    // The position of progress bar `controlId`.
    bool GaugePosition(int controlId, int* position);
    // Waits until progress bar `controlId` stands at `position`.
    bool WaitGaugePosition(int controlId, int position, int* seen = nullptr);
    // Posts command `commandId` (a menu item, an accelerator's command) to
    // the top-level window that holds control `controlId`, as the menu or
    // the keyboard would.
    bool WindowCommand(int controlId, int commandId);
    // The tab control `tabId` anywhere in the program (1250 the settings
    // container's, 1211 the consumables detail window's).
    bool SelectTabOf(int tabId, int index);
    bool CurrentTabOf(int tabId, int* index);

    // A window's own text without sending it a message.
    static std::string WindowText(HWND window);

    // Presses `key` with the modifiers asked for, as the keyboard would:
    // through the system's input queue with `front` in front, so that the
    // program's accelerator tables and keyboard hook see it.
    static void PressKey(HWND front, WORD key, bool ctrl = false, bool alt = false, bool shift = false);

private:
    bool Fail(const std::string& text);
    bool TimedOut(const std::string& what);
    bool Mine(HWND window) const;
    HWND FindMainWindow(bool shown) const;
    HWND FindControl(HWND root, int controlId) const;
    // Sends with a bound; false when the window did not answer in time.
    bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD ms = 5000) const;
    bool OpenProcessMemory();

    DWORD processId_;
    DWORD timeout_ = 30000;
    DWORD pollMs_ = 50;
    HANDLE process_ = nullptr;  // for list view memory, opened on first need
    std::string error_;
};

// Moves the calling thread to the desktop `name` (the one of Wine's
// `explorer /desktop=NAME`), where the program's windows are; must come
// before the thread owns a window. Waits up to `ms` for the desktop to be
// made; false when it is not.
bool UseDesktop(const wchar_t* name, DWORD ms);

// Button ids by name, as the script spells them: IDOK or ok, IDCANCEL or
// cancel, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE. 0 for an unknown name.
int ButtonIdByName(const std::string& name);

}  // namespace paneldriver
