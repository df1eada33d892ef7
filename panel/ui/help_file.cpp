#include "panel/ui/help_file.h"

#include <cstdio>
#include <cstring>

#include "panel/records/folders.h"

namespace {

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

const char kHelpFileName[] = "VELDRA6.CHM";
const UINT kHelpDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
const UINT kHelpCloseAll = 0x0012;      // HH_CLOSE_ALL

// Loaded on the first use and kept to the end: the help windows live in it.
HMODULE g_helpLibrary;
HtmlHelpFunction g_htmlHelp;

// The help system is looked up at run time: the program must start where it
// is not installed.
HtmlHelpFunction HtmlHelpEntry() {
    if (g_htmlHelp) return g_htmlHelp;
    if (!g_helpLibrary) g_helpLibrary = LoadLibraryA("hhctrl.ocx");
    if (!g_helpLibrary) return nullptr;
    g_htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(g_helpLibrary, "HtmlHelpA")));
    return g_htmlHelp;
}

// A drive root ("C:\") already ends in the separator. Stepped by characters:
// the last byte of a double-byte character may be 5Ch too.
bool EndsWithSeparator(const char* path, size_t length) {
    if (length == 0) return false;
    const char* end = path + length;
    const char* last = CharPrevA(path, end);
    return last == end - 1 && *last == '\\';
}

// StartDirectory\VELDRA6.CHM; false when the start directory is unknown or
// the path does not fit whole.
bool BuildHelpPath(char* path, size_t size) {
    const void* end = std::memchr(StartDirectory, '\0', sizeof StartDirectory);
    if (!end) return false;
    const size_t length = static_cast<size_t>(static_cast<const char*>(end) - StartDirectory);
    if (length == 0) return false;
    const char* separator = EndsWithSeparator(StartDirectory, length) ? "" : "\\";
    const int n = std::snprintf(path, size, "%.*s%s%s", static_cast<int>(length), StartDirectory, separator,
                                kHelpFileName);
    return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace

void OpenHelpFile(HWND owner) {
    char path[sizeof StartDirectory + sizeof kHelpFileName];
    if (!BuildHelpPath(path, sizeof path)) return;
    SetCurrentDirectoryA(StartDirectory);
    // A missing help file shows nothing: the help system is not even asked,
    // so that it cannot put up a complaint of its own.
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (htmlHelp) htmlHelp(owner, path, kHelpDisplayTopic, 0);
}

void CloseAllHelp() {
    // Only a loaded help system can have windows open.
    if (g_htmlHelp) g_htmlHelp(nullptr, nullptr, kHelpCloseAll, 0);
}
