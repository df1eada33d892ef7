// The one watcher of the dialogs that this process shows while a test runs
// the program's code on its own thread: a thread of the watcher reads each
// message box (caption, text, owner, icon) and answers it with one button,
// lets the print-finished dialog show its first frames and closes it, notes
// the progress windows, and, when asked, closes every other dialog.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A window's text without sending it a message: the thread that owns it may
// be busy with the printer and not answer messages meanwhile.
std::string WindowText(HWND window);

class BoxWatcher {
public:
    struct Box {
        std::string caption;
        std::string text;  // empty for a dialog that is no message box
        HWND owner;
        // The resource id of a user icon of this module (the panel's 160,
        // 181 .. 183, the monitor's 211 .. 213 and 226), IconError or
        // IconQuestion for the system's icons, 0 for none or another.
        int icon;
    };
    enum { IconError = 1, IconQuestion = 2 };
    enum OtherDialogs { LeaveOtherDialogs, CloseOtherDialogs };

    // Answers each message box with `answer` (IDOK, IDCANCEL, IDYES, IDNO).
    // With CloseOtherDialogs a dialog that is no message box, progress
    // window or print-finished dialog is noted as a box without text and
    // closed with the same answer.
    explicit BoxWatcher(int answer = IDOK, OtherDialogs others = LeaveOtherDialogs);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<Box> Boxes() const;  // in the order they showed
    std::size_t Count() const { return Boxes().size(); }
    std::vector<std::string> ProgressTexts() const;
    int PrintFinishedDialogs() const;
    // Icons the first print-finished dialog showed: at once, after one
    // 600 ms tick and after two (fewer if it did not change within 5 s).
    std::vector<int> PrintingFrames() const;

    void Look(HWND window);  // for the window enumeration

private:
    bool WatchAnimation(HWND window);

    mutable std::mutex lock_;
    std::vector<Box> boxes_;
    std::vector<std::string> progress_;
    std::vector<HWND> handled_;
    int printFinished_ = 0;
    std::vector<int> printingFrames_;
    HWND animating_ = nullptr;  // the print-finished dialog being watched
    DWORD animationStart_ = 0;
    const int answer_;
    const OtherDialogs others_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
