#include "panel/records/folders.h"

#include <windows.h>

#include <cstring>

#include "panel/core/settings_file_rules.h"

char StartDirectory[256];
char DataDirectory[260];

static_assert(sizeof DataDirectory == PathBufferSize, "the data folder holds any whole Windows path");

namespace {

const int kAppDataFolderId = 26;  // CSIDL_APPDATA: the roaming per-user folder

typedef HRESULT(WINAPI* GetFolderPathCall)(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);

AppDataFolderLookup g_lookup = GetAppDataFolder;

}  // namespace

int GetAppDataFolder(int folderId, char* path) {
    path[0] = '\0';
    // Loaded by name at run time: the library is missing on some older
    // systems, and the program must start there all the same.
    HMODULE library = LoadLibraryA("shfolder.dll");
    if (!library) return 0;
    int found = 0;
    const auto call = reinterpret_cast<GetFolderPathCall>(
        reinterpret_cast<void*>(GetProcAddress(library, "SHGetFolderPathA")));
    if (call) {
        char folder[PathBufferSize] = {};
        // Taken only when terminated inside the buffer: an answer that
        // filled it would be a cut path.
        if (SUCCEEDED(call(nullptr, folderId, nullptr, 0, folder)) && std::memchr(folder, '\0', sizeof folder)) {
            std::memcpy(path, folder, PathBufferSize);
            found = 1;
        }
    }
    FreeLibrary(library);
    return found;
}

void TestSeam_UseAppDataFolderLookup(AppDataFolderLookup lookup) { g_lookup = lookup ? lookup : GetAppDataFolder; }

void FindStartDirectory() {
    StartDirectory[0] = '\0';
    // An ANSI current directory can be up to 258 bytes, more than the 255
    // that StartDirectory keeps; read it whole and shorten it, never cut it.
    char current[PathBufferSize + 1];
    const DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length == 0 || length >= sizeof current) return;
    if (length < sizeof StartDirectory) {
        std::memcpy(StartDirectory, current, length + 1);
        return;
    }
    char shortName[PathBufferSize];
    const DWORD shortLength = GetShortPathNameA(current, shortName, sizeof shortName);
    if (shortLength > 0 && shortLength < sizeof StartDirectory) std::memcpy(StartDirectory, shortName, shortLength + 1);
}

void FindDataDirectory(bool globalNames) {
    // Only the platforms with per-user profiles have a per-user folder;
    // elsewhere the user's files stay beside the program.
    char appData[PathBufferSize];
    const char* found = nullptr;
    if (globalNames && g_lookup(kAppDataFolderId, appData)) {
        // Whatever the lookup handed back counts only when it ends in the buffer.
        if (std::memchr(appData, '\0', sizeof appData)) found = appData;
    }
    std::size_t levelEnds[2] = {};
    if (ChooseDataDirectory(found, StartDirectory, DataDirectory, levelEnds)) {
        // Each level is made right after it is named; an existing folder is
        // fine, and any other failure shows later, when a file is written.
        for (std::size_t end : levelEnds) {
            char level[PathBufferSize];
            std::memcpy(level, DataDirectory, end);
            level[end] = '\0';
            CreateDirectoryA(level, nullptr);
        }
    }
    DataDirectory[sizeof DataDirectory - 1] = '\0';
}
