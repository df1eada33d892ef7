// Settings files (*.vd6) and the temporary settings file: the raw 109 bytes
// of CurrentSettings, loaded through the Open dialog or at start-up, saved
// through the Save As dialog or at exit.
//
// A save never leaves a cut file behind (panel/ui/file_save.h): the bytes go
// to a fresh file in the target's folder first, and only a complete, flushed
// file is moved over the target.
#include "panel/settings/settings_files.h"

#include <windows.h>

#include <cstddef>

#include "common/wait_cursor.h"
#include "panel/core/setting_items.h"
#include "panel/core/settings_file_rules.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/settings/current_page.h"
#include "panel/ui/file_save.h"

namespace {

// One description and its pattern; the literal's own NUL ends the list.
const char kFilter[] = "設定ﾌｧｲﾙ(*.vd6)\0*.vd6\0";
const char kDefaultExtension[] = "vd6";
const char kTempPrefix[] = "vd6";  // GetTempFileNameA uses the first three characters

// The path the Open dialog gives, emptied before each.
char g_dialogPath[PathBufferSize];

SettingsFileWrite g_write = SystemFileWrite;

bool AskForSettingsFile(FileDialogKind kind) {
    const UINT title = kind == OpenFileDialog ? IDS_OPEN_SETTINGS_TITLE : IDS_SAVE_SETTINGS_TITLE;
    const FileDialogRequest request = {MainWindow, title, kFilter, kDefaultExtension};
    return AskForFileName(kind, request, g_dialogPath);
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

}  // namespace

void TestSeam_UseSettingsFileWrite(SettingsFileWrite write) { g_write = write ? write : SystemFileWrite; }

void LoadSettingsFile() {
    if (!CurrentSettings || !AskForSettingsFile(OpenFileDialog)) return;
    SetWaitCursor(CursorHourglass);
    HANDLE file = OpenForReading(g_dialogPath);
    if (file == INVALID_HANDLE_VALUE) {
        ShowFileMessage(MainWindow, IDS_SETTINGS_FILE_MISSING, MB_OK | MB_ICONERROR);
        SetWaitCursor(CursorArrow);
        return;
    }
    // Only the first record's worth is read, however long the file is.
    unsigned char bytes[SettingCount];
    DWORD count = 0;
    const bool read = ReadFirstBytes(file, bytes, sizeof bytes, &count);
    CloseHandle(file);
    if (read && count == 0) {
        ShowFileMessage(MainWindow, IDS_SETTINGS_FILE_EMPTY, MB_OK | MB_ICONERROR);
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
    const SaveAsRequest request = {
        {MainWindow, IDS_SAVE_SETTINGS_TITLE, kFilter, kDefaultExtension},
        kTempPrefix,
        IDS_SETTINGS_FILE_EXISTS,
        IDS_SETTINGS_FILE_LOCKED,
        IDS_SETTINGS_FILE_UNWRITTEN,
        g_write,
    };
    RunSaveAs(request, saved.value, sizeof saved.value);
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
    const FileSaveResult result =
        havePath ? ReplaceFileContents(path, saved.value, sizeof saved.value, kTempPrefix, g_write) : FileCannotCreate;
    if (result == FileCannotCreate) ShowFileMessage(MainWindow, IDS_TEMP_FILE_OPEN_FAILED, MB_OK | MB_ICONERROR);
    if (result == FileWriteFailed) ShowFileMessage(MainWindow, IDS_TEMP_FILE_UNWRITTEN, MB_OK | MB_ICONERROR);
    SetWaitCursor(CursorArrow);
    return result == FileSaved;
}
