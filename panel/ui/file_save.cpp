#include "panel/ui/file_save.h"

#include <commctrl.h>
#include <commdlg.h>

#include "common/wait_cursor.h"
#include "panel/records/folders.h"
#include "panel/ui/show_message.h"

namespace {

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
bool MakeFreshFileBeside(const char* target, const char* prefix, char (&fresh)[PathBufferSize]) {
    char folder[PathBufferSize];
    if (!FolderOfPath(target, folder)) CopyPathWhole(folder, sizeof folder, ".");
    if (GetTempFileNameA(folder, prefix, 0, fresh)) return true;
    char shortFolder[PathBufferSize];
    const DWORD length = GetShortPathNameA(folder, shortFolder, sizeof shortFolder);
    return length > 0 && length < sizeof shortFolder && GetTempFileNameA(shortFolder, prefix, 0, fresh);
}

bool WriteWhole(HANDLE file, const void* bytes, DWORD size, FileWriteCall write) {
    unsigned long written = 0;
    return write(file, bytes, size, &written) && written == size;
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

bool SystemFileWrite(void* file, const void* bytes, unsigned long count, unsigned long* written) {
    DWORD done = 0;
    const BOOL ok = WriteFile(static_cast<HANDLE>(file), bytes, count, &done, nullptr);
    *written = done;
    return ok != FALSE;
}

int ShowFileMessage(HWND owner, UINT textId, UINT style) {
    char text[512];
    char caption[AppCaptionSize];
    return MessageBoxA(owner, LoadText(textId, text, sizeof text), LoadAppCaption(caption), style);
}

bool AskForFileName(FileDialogKind kind, const FileDialogRequest& request, char (&path)[PathBufferSize]) {
    InitCommonControls();
    path[0] = '\0';
    char title[128];
    LoadText(request.titleId, title, sizeof title);
    OPENFILENAMEA dialog = {};
    // The size of the oldest record that carries every field used here: the
    // dialogs of older systems refuse the longer one.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = DataDirectory[0] ? DataDirectory : nullptr;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | (kind == OpenFileDialog ? OFN_FILEMUSTEXIST : 0);
    const BOOL chosen = kind == OpenFileDialog ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    path[sizeof path - 1] = '\0';
    return chosen && path[0];
}

FileSaveResult ReplaceFileContents(const char* target, const void* bytes, DWORD size, const char* freshPrefix,
                                   FileWriteCall write) {
    if (!ExistingTargetTakesWrites(target)) return FileCannotCreate;
    char fresh[PathBufferSize];
    if (!MakeFreshFileBeside(target, freshPrefix, fresh)) return FileCannotCreate;
    HANDLE file = CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(fresh);
        return FileCannotCreate;
    }
    // The bytes must be on the disk before the name points at them.
    bool written = WriteWhole(file, bytes, size, write ? write : SystemFileWrite) && FlushFileBuffers(file);
    if (!CloseHandle(file)) written = false;
    if (!written) {
        DeleteFileA(fresh);
        return FileWriteFailed;
    }
    if (!MoveFileExA(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(fresh);
        return FileCannotCreate;
    }
    return FileSaved;
}

SaveAsResult RunSaveAs(const SaveAsRequest& request, const void* bytes, DWORD size) {
    char path[PathBufferSize];
    for (;;) {
        if (!AskForFileName(SaveFileDialog, request.dialog, path)) return SaveAsCancelled;
        SetWaitCursor(CursorHourglass);
        const NewTarget target = CreateNewTarget(path);
        if (target == TargetExists) {
            const int answer = ShowFileMessage(request.dialog.owner, request.existsQuestionId, MB_YESNO | MB_ICONQUESTION);
            if (answer != IDYES) {
                SetWaitCursor(CursorArrow);
                continue;  // the dialog again, empty
            }
        }
        FileSaveResult result = FileCannotCreate;
        if (target != TargetRefused) result = ReplaceFileContents(path, bytes, size, request.freshPrefix, request.write);
        // The empty file made to claim the name goes when nothing came of it.
        if (result != FileSaved && target == TargetCreated) DeleteFileA(path);
        if (result == FileCannotCreate)
            ShowFileMessage(request.dialog.owner, request.cannotCreateMessageId, MB_OK | MB_ICONERROR);
        if (result == FileWriteFailed)
            ShowFileMessage(request.dialog.owner, request.writeFailedMessageId, MB_OK | MB_ICONERROR);
        SetWaitCursor(CursorArrow);
        switch (result) {
            case FileSaved: return SaveAsDone;
            case FileWriteFailed: return SaveAsWriteFailed;
            default: return SaveAsRefused;
        }
    }
}
