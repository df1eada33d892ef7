// The file tests' driver of this process's own dialogs: the common file
// dialogs and message boxes that the program's code shows on the test's
// thread, answered from a second thread in the order a test scripts them
// (a file name typed into the dialog, a button pressed, the texts read
// back); and the small file helpers those tests share.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// ---- files ------------------------------------------------------------------

// The whole file, or "<missing>".
std::string ReadFileBytes(const std::string& path);
// Replaces the file with `bytes` (a failed write fails the test).
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The names in `folder`, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder);
// Removes `folder` and everything in it, read-only files included.
void RemoveTree(const std::string& folder);
// An empty folder of the running test's own under %TEMP%\`root`: made anew,
// and made the program's data folder (where its file dialogs start).
// Empty when it could not be made.
std::string FreshDataFolder(const char* root);

// ---- the dialog driver ------------------------------------------------------

struct Step {
    std::string title;                  // caption of the window to wait for
    int button;                         // what to press
    std::string fileName = "";          // typed into a file dialog's name box first
    std::function<void()> before = {};  // run once the window is there
};

struct Seen {
    std::string text;      // a message box's text
    HICON icon;            // a message box's icon
    std::string folder;    // a file dialog's folder, first filter and name box
    std::string filter;
    std::string name;
    bool readOnlyBox;
    std::string title;     // the window's caption
    HWND owner;            // the window's owner
};

// Runs `operation` on this thread while another answers the windows of
// `steps` in order; fails the test on a missing window or on one that is
// not in the script (closed by the watcher, or it would hold the test for
// ever). Returns what each window of the script showed.
std::vector<Seen> Drive(const std::vector<Step>& steps, const std::function<void()>& operation);
