// Placeholder until the folders are built.
#include "panel/shell/folders.h"

char StartDirectory[256];
char DataDirectory[260];
void FindStartDirectory() {}
void FindDataDirectory(bool) {}
