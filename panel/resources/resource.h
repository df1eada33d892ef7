// Resource ids of the remote panel (veldra6). Shared by the resource script
// and the program; the numbers are fixed, other parts and tests rely on them.
#pragma once

// Icons of the printer and of the message boxes.
#define IDI_PRINTER          160
#define IDI_PRINTER_ERROR    181
#define IDI_PRINTER_INFO     182
#define IDI_PRINTER_WARNING  183

// Main window menu and its accelerators.
#define IDM_MAIN             167
#define IDA_MAIN             175

#define IDM_FILE_EXIT        40001
#define IDM_SETTINGS_READ    40002
#define IDM_FILE_OPEN        40003
#define IDM_FILE_SAVE        40004
#define IDM_SETTINGS_COMMIT  40005
#define IDM_FILE_FACTORY     40006
#define IDM_TOOLS_SUPPLIES   40007
#define IDM_HELP_CONTENTS    40008
#define IDM_HELP_VERSION     40009
#define IDM_FILE_PRINT_LIST  40020

// Texts of the program itself.
#define IDS_APP_CAPTION      2001
#define IDS_MAIN_PLACEHOLDER 2002

// Control ids of the main window's own children.
#define IDC_MAIN_PLACEHOLDER 2101
