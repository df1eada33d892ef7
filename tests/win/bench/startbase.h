// Resource ids of startbase.exe, the bench's minimal dialog program.
#pragma once

#define IDD_STARTBASE 100
#define IDC_STARTBASE_TEXT 1001  // what the bench waits for, as for the choice's list
