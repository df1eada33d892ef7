// The program's folders: where it started (help file, fallback) and where
// the user's files go (temporary settings file, file dialogs).
#pragma once

// The current directory at start-up (255 bytes and a NUL at most).
extern char StartDirectory[256];
// The application-data folder + "\KOA\koa_verodorared", or StartDirectory
// when that cannot be had or does not fit whole.
extern char DataDirectory[260];

void FindStartDirectory();
// `globalNames`: the platform has per-user application-data folders (the
// "Global\" object-name platforms).
void FindDataDirectory(bool globalNames);
