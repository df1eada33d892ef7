// The remote panel started as a user would, its window found and read from
// this process, and closed again. (The status monitor's whole-program tests
// are in monitortests.)
#include "tests/win/test_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A program under test; killed on the way out if it did not end by itself.
class Program {
public:
    explicit Program(const char* exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string command = "\"" + ProgramPath(exe) + "\"";
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &info_) != 0;
        if (started_) WaitForInputIdle(info_.hProcess, 10000);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return started_; }

    // The top-level window of this process with the given class, waiting up
    // to 10 s for it to appear.
    HWND WaitForWindow(const char* windowClass) const {
        const DWORD deadline = GetTickCount() + 10000;
        for (;;) {
            for (HWND w = FindWindowExA(nullptr, nullptr, windowClass, nullptr); w;
                 w = FindWindowExA(nullptr, w, windowClass, nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == info_.dwProcessId && IsWindowVisible(w)) return w;
            }
            if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return nullptr;
            // The program may also have ended without showing a window.
            if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
        }
    }

    // Exit code, or -1 when the program is still running after 10 s.
    long WaitForExit() const {
        if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

std::string WindowText(HWND window) {
    char text[512];
    const int n = GetWindowTextA(window, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

TEST(SkeletonWindows, RemotePanelShowsItsJapaneseTextsAndEndsOnExit) {
    Program panel("veldra6.exe");
    ASSERT_TRUE(panel.started());
    HWND main = panel.WaitForWindow("veldra6");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "KOA koa2400Max-R/koa2600Max-R リモートパネル");
    EXPECT_EQ(WindowText(GetDlgItem(main, 2101)), "ﾊｰﾄﾞｳｪｱ設定・単票設定・連帳設定・その他の設定一覧表");

    // Fixed size, centred on the screen.
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT frame;
    ASSERT_TRUE(GetWindowRect(main, &frame));
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    PostMessageA(main, WM_COMMAND, 40001, 0);  // ファイル → 終了
    EXPECT_EQ(panel.WaitForExit(), 0);
}

}  // namespace
