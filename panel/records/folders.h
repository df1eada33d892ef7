// The program's folders: where it started (help file, fallback) and where
// the user's files go (temporary settings file, file dialogs).
#pragma once

// The current directory at start-up (255 bytes and a NUL at most).
extern char StartDirectory[256];
// The application-data folder + "\KOA\koa_verodorared", or StartDirectory
// when that cannot be had or does not fit whole.
extern char DataDirectory[260];

// A current directory longer than 255 bytes is taken in its short (8.3)
// form when that fits; when nothing fits StartDirectory is left empty, and
// the folders that depend on it treat it as "no folder" rather than use a
// cut path.
void FindStartDirectory();
// `globalNames`: the platform has per-user application-data folders (the
// "Global\" object-name platforms).
void FindDataDirectory(bool globalNames);

// SHGetFolderPathA of "shfolder.dll", loaded for this one call: `path`
// (260 bytes) is emptied first and holds the folder when the result is 1;
// 0 when the library, its entry point or the folder is missing.
int GetAppDataFolder(int folderId, char* path);

// TEST SEAM: FindDataDirectory asks `lookup` instead of GetAppDataFolder
// (same contract), so that tests can hand it folders of any length; null
// restores the system's lookup. For tests only.
typedef int (*AppDataFolderLookup)(int folderId, char* path);
void TestSeam_UseAppDataFolderLookup(AppDataFolderLookup lookup);
