#include "tests/win/dialog_driver.h"

#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "panel/core/settings_file_rules.h"
#include "panel/records/folders.h"
#include "tests/win/box_watcher.h"
#include "tests/win/wait_until.h"

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(file.write(bytes.data(), bytes.size()).flush()) << path;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& folder) {
    for (const std::string& name : FolderEntries(folder)) {
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
        else DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

std::string FreshDataFolder(const char* root) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string base = std::string(temp) + root;
    CreateDirectoryA(base.c_str(), nullptr);
    const std::string folder = base + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(folder);
    if (!CreateDirectoryA(folder.c_str(), nullptr) || !CopyPathWhole(DataDirectory, sizeof DataDirectory, folder.c_str()))
        return std::string();
    return folder;
}

namespace {

std::string Text(HWND window) {
    char text[1024] = {};
    if (window) GetWindowTextA(window, text, sizeof text);
    return text;
}

// The file dialog's name box: a combo box with an edit (cmb13) on newer
// dialogs, which takes and gives the edit's text itself; edt1 on older ones.
HWND NameBox(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, 0x47C)) return combo;
    return GetDlgItem(dialog, 0x480);
}

struct DialogSearch {
    const std::string& title;
    const std::vector<HWND>& handled;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || std::strcmp(cls, "#32770") || !IsWindowVisible(window) ||
        std::find(s->handled.begin(), s->handled.end(), window) != s->handled.end() ||
        (!s->title.empty() && Text(window) != s->title))
        return TRUE;
    s->found = window;
    return FALSE;
}

// A visible dialog of this process not in `handled`, with `title` if given.
HWND FindDialog(const std::string& title, const std::vector<HWND>& handled) {
    DialogSearch search{title, handled, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Seen Describe(HWND window) {
    char folder[1024] = {}, filter[1024] = {};
    SendMessageA(window, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    const LRESULT length = SendDlgItemMessageA(window, 0x470, CB_GETLBTEXTLEN, 0, 0);
    if (length > 0 && length < static_cast<LRESULT>(sizeof filter))
        SendDlgItemMessageA(window, 0x470, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
    HWND readOnly = GetDlgItem(window, 0x410);
    return Seen{Text(GetDlgItem(window, 0xFFFF)),
                reinterpret_cast<HICON>(SendDlgItemMessageA(window, 0x0440, STM_GETICON, 0, 0)),
                folder,
                filter,
                Text(NameBox(window)),
                readOnly && IsWindowVisible(readOnly),
                Text(window),
                GetWindow(window, GW_OWNER)};
}

}  // namespace

// Runs `operation` on this thread while another answers the windows of
// `steps` in order; fails the test on a missing window or on one that is
// not in the script (closed by the watcher, or it would hold the test for
// ever).
std::vector<Seen> Drive(const std::vector<Step>& steps, const std::function<void()>& operation) {
    std::vector<Seen> seen;
    std::vector<BoxWatcher::Box> unexpected;
    std::string failure;
    std::atomic<bool> done{false};
    std::thread driver([&] {
        std::vector<HWND> handled;
        for (const Step& step : steps) {
            HWND window = nullptr;
            if (!WaitUntil([&] { return (window = FindDialog(step.title, handled)) != nullptr; }, 20000)) {
                failure = "no window \"" + step.title + "\" after " + std::to_string(seen.size()) + " steps";
                break;
            }
            seen.push_back(Describe(window));
            if (step.before) step.before();
            if (!step.fileName.empty()) SetWindowTextA(NameBox(window), step.fileName.c_str());
            handled.push_back(window);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, step.button)));
            WaitUntil([&] { return !IsWindowVisible(window); });
        }
        BoxWatcher watcher(IDCANCEL, BoxWatcher::CloseOtherDialogs);
        WaitUntil([&] { return done.load(); }, INFINITE);
        unexpected = watcher.Boxes();
    });
    operation();
    done = true;
    driver.join();
    EXPECT_EQ("", failure);
    EXPECT_TRUE(unexpected.empty()) << unexpected.front().caption << ": " << unexpected.front().text;
    return seen;
}
