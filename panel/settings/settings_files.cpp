// Settings files (*.vd6) and the temporary settings file: the raw 109 bytes
// of CurrentSettings, loaded through the Open dialog or at start-up, saved
// through the Save As dialog or at exit.
//
// A save never leaves a cut file behind: the bytes go to a fresh file in the
// target's folder first, and only a complete, flushed file is moved over the
// target. Any failure removes the fresh file, so the target keeps what it
// held (or does not appear at all).
#include "panel/settings/settings_files.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>

#include "common/wait_cursor.h"
#include "panel/core/setting_items.h"
#include "panel/core/settings_file_rules.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/settings/current_page.h"
#include "panel/ui/show_message.h"

namespace {

// One description and its pattern; the literal's own NUL ends the list.
const char kFilter[] = "設定ﾌｧｲﾙ(*.vd6)\0*.vd6\0";
const char kDefaultExtension[] = "vd6";
const char kTempPrefix[] = "vd6";  // GetTempFileNameA uses the first three characters

// The path of the last file dialog, one buffer for both, emptied before each.
char g_dialogPath[PathBufferSize];

bool SystemWrite(void* file, const void* bytes, unsigned long count, unsigned long* written) {
    DWORD done = 0;
    const BOOL ok = WriteFile(static_cast<HANDLE>(file), bytes, count, &done, nullptr);
    *written = done;
    return ok != FALSE;
}

SettingsFileWrite g_write = SystemWrite;

enum FileDialog { OpenDialog, SaveDialog };

enum SaveResult {
    SaveDone,
    SaveCannotCreate,  // the target or its fresh file could not be made or put in place
    SaveWriteFailed,   // a write, flush or close failed after the create
};

int ShowFileMessage(UINT textId, UINT style) {
    char text[512];
    char caption[AppCaptionSize];
    return MessageBoxA(MainWindow, LoadText(textId, text, sizeof text), LoadAppCaption(caption), style);
}

// The Open or Save As dialog into g_dialogPath; false on Cancel or a
// dialog error (a name longer than the buffer among them).
bool AskForFile(FileDialog kind) {
    InitCommonControls();
    g_dialogPath[0] = '\0';
    char title[128];
    LoadText(kind == OpenDialog ? IDS_OPEN_SETTINGS_TITLE : IDS_SAVE_SETTINGS_TITLE, title, sizeof title);
    OPENFILENAMEA dialog = {};
    // The size of the oldest record that carries every field used here: the
    // dialogs of older systems refuse the longer one.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = MainWindow;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = g_dialogPath;
    dialog.nMaxFile = sizeof g_dialogPath;
    dialog.lpstrInitialDir = DataDirectory[0] ? DataDirectory : nullptr;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = kDefaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | (kind == OpenDialog ? OFN_FILEMUSTEXIST : 0);
    const BOOL chosen = kind == OpenDialog ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    g_dialogPath[sizeof g_dialogPath - 1] = '\0';
    return chosen && g_dialogPath[0];
}

// Reads from offset 0 until `size` bytes are in or the file ends. False
// when a read fails: what came before it is not used either.
bool ReadFirstBytes(HANDLE file, unsigned char* bytes, DWORD size, DWORD* count) {
    *count = 0;
    while (*count < size) {
        DWORD got = 0;
        if (!ReadFile(file, bytes + *count, size - *count, &got, nullptr)) return false;
        if (got == 0) break;
        *count += got;
    }
    return true;
}

HANDLE OpenForReading(const char* path) {
    return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// An existing target must take a write before anything replaces it: a
// read-only file, one without access for this user or one another program
// holds open stays as it is. Opening it changes nothing in it. The
// read-only mark is looked at first: not every file system refuses the
// open for it (Wine running as root does not), and a replace by rename
// would pass over it anyway.
bool ExistingTargetTakesWrites(const char* target) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    HANDLE file = CreateFileA(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// A fresh, empty file in `target`'s folder, named in `fresh`. A folder too
// long for a fresh name beside it is tried again in its short form.
bool MakeFreshFileBeside(const char* target, char (&fresh)[PathBufferSize]) {
    char folder[PathBufferSize];
    if (!FolderOfPath(target, folder)) CopyPathWhole(folder, sizeof folder, ".");
    if (GetTempFileNameA(folder, kTempPrefix, 0, fresh)) return true;
    char shortFolder[PathBufferSize];
    const DWORD length = GetShortPathNameA(folder, shortFolder, sizeof shortFolder);
    return length > 0 && length < sizeof shortFolder && GetTempFileNameA(shortFolder, kTempPrefix, 0, fresh);
}

bool WriteWhole(HANDLE file, const unsigned char* bytes, DWORD size) {
    unsigned long written = 0;
    return g_write(file, bytes, size, &written) && written == size;
}

// Puts `size` bytes in place of `target`'s contents, or leaves `target` as
// it was.
SaveResult ReplaceFileContents(const char* target, const unsigned char* bytes, DWORD size) {
    if (!ExistingTargetTakesWrites(target)) return SaveCannotCreate;
    char fresh[PathBufferSize];
    if (!MakeFreshFileBeside(target, fresh)) return SaveCannotCreate;
    HANDLE file = CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(fresh);
        return SaveCannotCreate;
    }
    // The bytes must be on the disk before the name points at them.
    bool written = WriteWhole(file, bytes, size) && FlushFileBuffers(file);
    if (!CloseHandle(file)) written = false;
    if (!written) {
        DeleteFileA(fresh);
        return SaveWriteFailed;
    }
    if (!MoveFileExA(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(fresh);
        return SaveCannotCreate;
    }
    return SaveDone;
}

enum NewTarget { TargetCreated, TargetExists, TargetRefused };

// Makes `target` as a new, empty file only when nothing has that name yet.
NewTarget CreateNewTarget(const char* target) {
    HANDLE file = CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return TargetCreated;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? TargetExists : TargetRefused;
}

}  // namespace

void TestSeam_UseSettingsFileWrite(SettingsFileWrite write) { g_write = write ? write : SystemWrite; }

void LoadSettingsFile() {
    if (!CurrentSettings || !AskForFile(OpenDialog)) return;
    SetWaitCursor(CursorHourglass);
    HANDLE file = OpenForReading(g_dialogPath);
    if (file == INVALID_HANDLE_VALUE) {
        ShowFileMessage(IDS_SETTINGS_FILE_MISSING, MB_OK | MB_ICONERROR);
        SetWaitCursor(CursorArrow);
        return;
    }
    // Only the first record's worth is read, however long the file is.
    unsigned char bytes[SettingCount];
    DWORD count = 0;
    const bool read = ReadFirstBytes(file, bytes, sizeof bytes, &count);
    CloseHandle(file);
    if (read && count == 0) {
        ShowFileMessage(IDS_SETTINGS_FILE_EMPTY, MB_OK | MB_ICONERROR);
        RefreshCurrentPage();
    } else if (read) {
        // The page on screen first, so that a short file keeps its edits for
        // the bytes it does not bring.
        CollectCurrentPage();
        ApplyLoadedBytes(CurrentSettings, bytes, count);
        RefreshCurrentPage();
    }
    SetWaitCursor(CursorArrow);
}

void SaveSettingsFile() {
    if (!CurrentSettings) return;
    CollectCurrentPage();
    // What is saved is the record as it was when the command began.
    const SettingsRecord saved = *CurrentSettings;
    for (;;) {
        if (!AskForFile(SaveDialog)) return;
        SetWaitCursor(CursorHourglass);
        const NewTarget target = CreateNewTarget(g_dialogPath);
        if (target == TargetExists) {
            const int answer =
                ShowFileMessage(IDS_SETTINGS_FILE_EXISTS, MB_YESNO | MB_ICONQUESTION);
            if (answer != IDYES) {
                SetWaitCursor(CursorArrow);
                continue;  // the dialog again, empty
            }
        }
        SaveResult result = SaveCannotCreate;
        if (target != TargetRefused) result = ReplaceFileContents(g_dialogPath, saved.value, sizeof saved.value);
        // The empty file made to claim the name goes when nothing came of it.
        if (result != SaveDone && target == TargetCreated) DeleteFileA(g_dialogPath);
        if (result == SaveCannotCreate) ShowFileMessage(IDS_SETTINGS_FILE_LOCKED, MB_OK | MB_ICONERROR);
        if (result == SaveWriteFailed) ShowFileMessage(IDS_SETTINGS_FILE_UNWRITTEN, MB_OK | MB_ICONERROR);
        SetWaitCursor(CursorArrow);
        return;
    }
}

void LoadTempSettings() {
    if (!CurrentSettings) return;
    // No whole path, no file: a cut path could name somebody else's file.
    char path[PathBufferSize];
    const bool havePath = TempSettingsPath(DataDirectory, path);
    SetWaitCursor(CursorHourglass);
    CopyFactoryDefaults(CurrentSettings);
    HANDLE file = havePath ? OpenForReading(path) : INVALID_HANDLE_VALUE;
    if (file != INVALID_HANDLE_VALUE) {
        unsigned char bytes[SettingCount];
        DWORD count = 0;
        if (ReadFirstBytes(file, bytes, sizeof bytes, &count)) TempSettingsFromBytes(CurrentSettings, bytes, count);
        CloseHandle(file);
    }
    RefreshCurrentPage();
    SetWaitCursor(CursorArrow);
}

bool SaveTempSettings() {
    if (!CurrentSettings) return false;
    SetWaitCursor(CursorHourglass);
    CollectCurrentPage();
    char path[PathBufferSize];
    const bool havePath = TempSettingsPath(DataDirectory, path);
    const SettingsRecord saved = *CurrentSettings;
    const SaveResult result =
        havePath ? ReplaceFileContents(path, saved.value, sizeof saved.value) : SaveCannotCreate;
    if (result == SaveCannotCreate) ShowFileMessage(IDS_TEMP_FILE_OPEN_FAILED, MB_OK | MB_ICONERROR);
    if (result == SaveWriteFailed) ShowFileMessage(IDS_TEMP_FILE_UNWRITTEN, MB_OK | MB_ICONERROR);
    SetWaitCursor(CursorArrow);
    return result == SaveDone;
}
