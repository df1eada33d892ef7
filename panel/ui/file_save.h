// Files the user names in a common dialog: the Open and Save As dialogs, and
// a save that never leaves a cut file behind. The settings files and the
// consumables report file both go through here.
//
// A save writes the bytes to a fresh file in the target's folder first and
// moves only a complete, flushed file over the target. Any failure removes
// the fresh file, so the target keeps what it held (or does not appear).
#pragma once

#include <windows.h>

#include "panel/core/settings_file_rules.h"  // PathBufferSize

// WriteFile's contract: true when the call succeeded, *written the bytes
// that went out. The savers take one, so that tests can make a write fail
// part-way as a full disk or a lost network share would.
typedef bool (*FileWriteCall)(void* file, const void* bytes, unsigned long count, unsigned long* written);
bool SystemFileWrite(void* file, const void* bytes, unsigned long count, unsigned long* written);

struct FileDialogRequest {
    HWND owner;
    UINT titleId;                  // string table
    const char* filter;            // description and pattern pairs, ended by an empty string
    const char* defaultExtension;  // added to a name typed without one
};

enum FileDialogKind { OpenFileDialog, SaveFileDialog };

// The Open (the file must exist) or Save As dialog, starting in
// DataDirectory, the read-only box hidden, into `path` (emptied first).
// False on Cancel or a dialog error (a name longer than the path among them).
bool AskForFileName(FileDialogKind kind, const FileDialogRequest& request, char (&path)[PathBufferSize]);

enum FileSaveResult {
    FileSaved,
    FileCannotCreate,  // the target or its fresh file could not be made or put in place
    FileWriteFailed,   // a write, flush or close failed after the create
};

// Puts `size` bytes in place of `target`'s contents, or leaves `target` as
// it was. The fresh file's name starts with `freshPrefix` (three characters
// are used). An existing target must take writes: a read-only one, one
// without access or one another program holds open is refused.
FileSaveResult ReplaceFileContents(const char* target, const void* bytes, DWORD size, const char* freshPrefix,
                                   FileWriteCall write);

// The whole Save As conversation: the dialog; for a name that exists, the
// question (Yes/No, question icon), No showing the dialog again; the save;
// a refused target or a failed write reported (error icon). Boxes carry the
// program caption and are owned by the dialog's owner; the wait cursor
// shows from the dialog's OK to the end.
struct SaveAsRequest {
    FileDialogRequest dialog;
    const char* freshPrefix;
    UINT existsQuestionId;
    UINT cannotCreateMessageId;
    UINT writeFailedMessageId;
    FileWriteCall write;
};

enum SaveAsResult { SaveAsCancelled, SaveAsDone, SaveAsRefused, SaveAsWriteFailed };

SaveAsResult RunSaveAs(const SaveAsRequest& request, const void* bytes, DWORD size);

// A message box with the program caption and a text of the string table.
int ShowFileMessage(HWND owner, UINT textId, UINT style);
