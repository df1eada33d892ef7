// Resource ids of the remote panel (veldra6). Shared by the resource script
// and the program; the numbers are fixed, other parts and tests rely on them.
#pragma once

// Icons of the printer and of the message boxes.
#define IDI_PRINTER          160
#define IDI_PRINTER_ERROR    181
#define IDI_PRINTER_INFO     182
#define IDI_PRINTER_WARNING  183

// Frames of the printing animation in the print-finished dialog.
#define IDI_PRINTING_1       187
#define IDI_PRINTING_2       188
#define IDI_PRINTING_3       189
#define IDI_PRINTING_4       190
#define IDI_PRINTING_5       191

// Windows shown while the printer works.
#define IDD_PROGRESS         177
#define IDC_PROGRESS_TEXT    1252
#define IDD_PRINT_FINISHED   186
#define IDC_PRINTING_ICON    1290
#define IDC_PRINTING_TEXT    1291

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
#define IDS_PROGRESS_READ    2010
#define IDS_PROGRESS_WRITE   2011
#define IDS_PROGRESS_PRINT   2012
#define IDS_NO_ANSWER        2020
#define IDS_READ_FAILED      2021
#define IDS_EXIT_NO_ANSWER   2022

// Main window and start-up.
#define IDS_ALREADY_RUNNING      2030
#define IDS_NO_SUPPORTED_PRINTER 2031
#define IDS_PRINTER_UNSUPPORTED  2032
#define IDS_IPP_PORT             2033
#define IDS_OTHER_MODEL          2034
#define IDS_FIRST_READ_FAILED    2035
#define IDS_CONFIRM_READ         2036
#define IDS_CONFIRM_COMMIT       2037
#define IDS_CONFIRM_FACTORY      2038
#define IDS_CONFIRM_PRINT_LIST   2039
#define IDS_EXIT_QUESTION        2040
#define IDS_RESOURCES_LOW        2041
#define IDS_VERSION_NUMBER       2042
#define IDS_VERSION_NOTICE       2043

// Settings files and the temporary settings file (files.rc).
#define IDS_OPEN_SETTINGS_TITLE    2050
#define IDS_SAVE_SETTINGS_TITLE    2051
#define IDS_SETTINGS_FILE_MISSING  2052
#define IDS_SETTINGS_FILE_EMPTY    2053
#define IDS_SETTINGS_FILE_EXISTS   2054
#define IDS_SETTINGS_FILE_LOCKED   2055
#define IDS_SETTINGS_FILE_UNWRITTEN 2056
#define IDS_TEMP_FILE_OPEN_FAILED  2057
#define IDS_TEMP_FILE_UNWRITTEN    2058

// The settings container (child of the main window), its controls and its
// four pages. A page's list of an item has the id of its label + 1000.
#define IDD_SETTINGS_TABS    166
#define IDD_CONSUMABLES      168
#define IDD_PAGE_HARDWARE    192
#define IDD_PAGE_SHEETS      193
#define IDD_PAGE_FORMS       194
#define IDD_PAGE_OTHER       195
#define IDC_COMMIT_BUTTON    1248
#define IDC_EXIT_BUTTON      1249
#define IDC_SETTINGS_TAB     1250
#define IDC_READ_BUTTON      1251

// The consumables management window 168 (menu 169, accelerators 176).
#define IDM_CONSUMABLES      169
#define IDA_CONSUMABLES      176
#define IDC_HEAD_GAUGE       1199
#define IDC_HEAD_TEXT        1200
#define IDC_CONSUMABLES_NOTE 1201   // the explanation at the top: a tool without a text
#define IDC_CONSUMABLES_UPDATE 1202
#define IDC_OPEN_DETAIL      1203   // never shown: reached with Ctrl+Alt+J only
#define IDC_CONSUMABLES_EXIT 1204
#define IDC_RIBBON_GAUGE     1662
#define IDC_RIBBON_TEXT      1663
#define IDM_CONSUMABLES_EXIT   40010
#define IDM_CONSUMABLES_HELP   40011
#define IDM_CONSUMABLES_UPDATE 40012
#define IDM_RIBBON_RESET       40021

// The consumables detail window 171 (menu 173, accelerators 178) and its two
// pages: the counters page 172 (accelerators 179) and the head pin page 174
// (accelerators 180).
#define IDD_DETAIL           171
#define IDD_COUNTERS_PAGE    172
#define IDM_DETAIL           173
#define IDD_HEAD_PIN_PAGE    174
#define IDA_DETAIL           178
#define IDA_COUNTERS_PAGE    179
#define IDA_HEAD_PIN_PAGE    180
#define IDC_DETAIL_CLOSE     1209
#define IDC_DETAIL_UPDATE    1210
#define IDC_DETAIL_TAB       1211
#define IDC_CLEAR_RIBBON     1217
#define IDC_CLEAR_POWER_ON   1218
#define IDC_CLEAR_THICKNESS  1219
#define IDC_CLEAR_PLATEN     1220
#define IDC_CLEAR_HEAD_PINS  1221
#define IDC_RIBBON_LIFE      1255
#define IDC_POWER_ON_TIME    1256
#define IDC_THICKNESS_COUNT  1257
#define IDC_PLATEN_FEEDS     1258
#define IDC_PRINTED_LINES    1259
#define IDC_PIN_FIRST        1260   // pin n in IDC_PIN_FIRST + n - 1, to 1283
#define IDC_ALARM_HISTORY    1284
#define IDM_DETAIL_CLOSE       40015
#define IDM_PRINT_CONSUMABLES  40017
#define IDM_PRINT_ERROR_LOG    40018
#define IDM_SAVE_REPORT        40019

// Texts of the consumables windows (consumables.rc).
#define IDS_DETAIL_TAB_COUNTERS     2090
#define IDS_DETAIL_TAB_HEAD_PINS    2091
#define IDS_CLEAR_RIBBON_QUESTION   2092
#define IDS_CLEAR_POWER_ON_QUESTION 2093
#define IDS_CLEAR_THICKNESS_QUESTION 2094
#define IDS_CLEAR_PLATEN_QUESTION   2095
#define IDS_CLEAR_HEAD_PINS_QUESTION 2096
#define IDS_RIBBON_RESET_QUESTION   2097

// Texts of the consumables reports and their text file (reports.rc).
#define IDS_PRINT_REPORT_TITLE      2110
#define IDS_REPORT_DOCUMENT         2111
#define IDS_PRINT_ERROR_LOG_TITLE   2112
#define IDS_ERROR_LOG_DOCUMENT      2113
#define IDS_SAVE_REPORT_TITLE       2114
#define IDS_REPORT_FILE_EXISTS      2115
#define IDS_REPORT_FILE_UNWRITTEN   2116

// The printer choice dialog 184 and its controls.
#include "link/choice/choice_ids.h"

// Tooltip texts: string ids equal the control ids (1202-1659).
// String ids by owner: main window and start-up 2030-2049, settings files
// 2050-2069, settings container and pages 2070-2089, consumables windows
// 2090-2109, consumables reports and text file 2110-2129.

// Settings container and pages (pages.rc): the tab captions.
#define IDS_TAB_HARDWARE     2070
#define IDS_TAB_SHEETS       2071
#define IDS_TAB_FORMS        2072
#define IDS_TAB_OTHER        2073
