#include "tests/win/box_watcher.h"

#include <algorithm>
#include <cstring>

namespace {

// The progress window's text line and the print-finished dialog's icon, as
// the panel's resources number them.
const int kProgressText = 1252;
const int kPrintingIcon = 1290;
const char kPrintFinishedCaption[] = "設定一覧印刷";

// Three frames take two 600 ms ticks; a loaded machine gets some slack.
const DWORD kAnimationWatchMs = 5000;

bool IsOurIcon(HICON shown, int id) {
    return shown == LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

int IconOf(HWND box) {
    const HICON shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
    if (!shown) return 0;
    for (int id : {160, 181, 182, 183, 211, 212, 213, 226})
        if (IsOurIcon(shown, id)) return id;
    if (shown == LoadIconA(nullptr, IDI_HAND)) return BoxWatcher::IconError;
    if (shown == LoadIconA(nullptr, IDI_QUESTION)) return BoxWatcher::IconQuestion;
    return 0;
}

// The printing frame (187..191) the print-finished dialog shows, 0 if none.
int PrintingFrame(HWND dialog) {
    const HICON shown = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, kPrintingIcon, STM_GETICON, 0, 0));
    for (int id = 187; id <= 191; ++id)
        if (shown && IsOurIcon(shown, id)) return id;
    return 0;
}

BOOL CALLBACK LookAtWindow(HWND window, LPARAM self) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = "";
    if (pid == GetCurrentProcessId() && GetClassNameA(window, cls, sizeof cls) && std::strcmp(cls, "#32770") == 0 &&
        IsWindowVisible(window))
        reinterpret_cast<BoxWatcher*>(self)->Look(window);
    return TRUE;
}

}  // namespace

BoxWatcher::BoxWatcher(int answer, OtherDialogs others)
    : answer_(answer), others_(others), thread_([this] {
          while (!stop_) {
              EnumWindows(LookAtWindow, reinterpret_cast<LPARAM>(this));
              Sleep(5);
          }
      }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<BoxWatcher::Box> BoxWatcher::Boxes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_;
}

std::vector<std::string> BoxWatcher::ProgressTexts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return progress_;
}

int BoxWatcher::PrintFinishedDialogs() const {
    std::lock_guard<std::mutex> guard(lock_);
    return printFinished_;
}

std::vector<int> BoxWatcher::PrintingFrames() const {
    std::lock_guard<std::mutex> guard(lock_);
    return printingFrames_;
}

// Notes the frame at the first look and then every change, one look per round
// of the watcher, so that nothing here waits for the dialog's timer. True once
// the first three frames are in or the time is up: the dialog may go.
bool BoxWatcher::WatchAnimation(HWND window) {
    const int frame = PrintingFrame(window);
    if (animating_ != window) {
        animating_ = window;
        animationStart_ = GetTickCount();
        printingFrames_.assign(1, frame);
    } else if (frame != printingFrames_.back()) {
        printingFrames_.push_back(frame);
    }
    if (printingFrames_.size() < 3 && GetTickCount() - animationStart_ < kAnimationWatchMs) return false;
    animating_ = nullptr;
    return true;
}

void BoxWatcher::Look(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    if (std::find(handled_.begin(), handled_.end(), window) != handled_.end()) return;
    const std::string caption = WindowText(window);
    if (HWND text = GetDlgItem(window, 0xFFFF)) {  // the text of a message box
        boxes_.push_back(Box{caption, WindowText(text), GetWindow(window, GW_OWNER), IconOf(window)});
        handled_.push_back(window);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
    } else if (caption.find(kPrintFinishedCaption) != std::string::npos) {
        if (printFinished_ == 0 && !WatchAnimation(window)) return;  // looked at again on the next round
        ++printFinished_;
        handled_.push_back(window);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    } else if (HWND line = GetDlgItem(window, kProgressText)) {  // the progress window, once it has its text
        const std::string text = WindowText(line);
        if (!text.empty()) {
            progress_.push_back(text);
            handled_.push_back(window);
        }
    } else if (others_ == CloseOtherDialogs) {
        boxes_.push_back(Box{caption, "", GetWindow(window, GW_OWNER), 0});
        handled_.push_back(window);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
    }
}

std::string WindowText(HWND window) {
    wchar_t wide[2048];
    const int n = InternalGetWindowText(window, wide, 2048);
    if (n <= 0) return std::string();
    char text[4096];
    const int m = WideCharToMultiByte(CP_ACP, 0, wide, n, text, sizeof text, nullptr, nullptr);
    return std::string(text, m > 0 ? m : 0);
}
