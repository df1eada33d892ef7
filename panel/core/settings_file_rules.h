// The rules behind the settings files and the program's folders that need
// no platform: paths joined whole or not at all, the choice of the data
// folder, a loaded file's bytes laid over a record, the temporary file's
// path. The Win32 side only gathers inputs and applies what these answer.
//
// Portable: no platform headers. Paths are ANSI (code page 932) bytes; a
// backslash may be the second byte of a double-byte character and is then
// no separator.
#pragma once

#include <cstddef>

#include "panel/core/setting_items.h"

// The Windows ANSI path limit: 259 characters and a NUL.
enum { PathBufferSize = 260 };

// Appends `tail` to the NUL-terminated `path` held in `size` bytes when the
// whole result and its NUL fit; otherwise leaves `path` as it was and
// returns false. A path cut short names another folder or file, so the
// caller gets "does not fit" and decides what to do instead.
bool AppendPathWhole(char* path, std::size_t size, const char* tail);

// Copies `source` whole into `destination` (`size` bytes), or stores an
// empty string there and returns false when it does not fit.
bool CopyPathWhole(char* destination, std::size_t size, const char* source);

// The levels added under the application-data folder, each with its
// leading separator: "\KOA", then "\koa_verodorared".
extern const char* const DataFolderLevels[2];

// Where the user's files go. `appData` is the application-data folder, or
// null when the platform has none or it could not be found. The result is
// appData + "\KOA" + "\koa_verodorared" when that fits whole into
// PathBufferSize bytes (an empty appData counts as not found); then
// `levelEnds` (when given) receives the lengths of the two folders to create,
// in order. Otherwise the result is `startDirectory`, whole or empty, and
// the function returns false.
bool ChooseDataDirectory(const char* appData, const char* startDirectory, char (&result)[PathBufferSize],
                         std::size_t* levelEnds = nullptr);

// True when the last character of `path` is a separator ('\' or '/'; a
// trail byte is none).
bool EndsWithSeparator(const char* path);

// The temporary settings file: dataDirectory + "\veldra6.ini" into `path`
// (no second separator after a root such as "C:\") when it fits whole;
// false (and `path` empty) when it does not or when there is no data folder
// at all (an empty one), so that no cut or drive-relative path is opened.
bool TempSettingsPath(const char* dataDirectory, char (&path)[PathBufferSize]);

// The folder part of `path` (everything before its last separator, '\' or
// '/', not counting trail bytes of double-byte characters), into `folder`.
// False (and `folder` empty) when `path` has no separator. A path whose only
// separator follows a drive ("C:\x.vd6") gives "C:\", so that the folder
// names the root and not the drive's current folder.
bool FolderOfPath(const char* path, char (&folder)[PathBufferSize]);

// A settings file's first `count` bytes (any count, 0 included; the caller
// read at most SettingCount) laid over the start of `record`: bytes past
// SettingCount are ignored, bytes outside an item's list are taken as they
// are. Returns the number of record bytes replaced.
std::size_t ApplyLoadedBytes(SettingsRecord* record, const unsigned char* bytes, std::size_t count);

// The record the temporary settings file gives: the factory values with the
// file's first `count` bytes over them (count 0: the factory values alone).
void TempSettingsFromBytes(SettingsRecord* record, const unsigned char* bytes, std::size_t count);
