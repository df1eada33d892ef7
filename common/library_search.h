// Where the program's run-time libraries may come from.
#pragma once

// Takes the current folder out of the search for libraries loaded by name,
// so that a library lying in whatever folder the program was started from
// cannot be loaded in place of an installed one. The application folder and
// the system folders still serve. Where the system cannot do this (before
// Windows XP SP1) nothing changes. True when the folder was taken out.
bool KeepCurrentFolderOutOfLibrarySearch();
