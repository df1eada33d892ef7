// Resource ids of the status monitor (tzrawatch).
#pragma once

// Icons: the class and tray icon (the printer), and the status icons.
#define IDI_MONITOR          199   // printable, printing
#define IDI_STATUS_INFO      211   // information, wear warnings
#define IDI_STATUS_WARNING   212   // offline, paper, operator action
#define IDI_STATUS_ERROR     213   // errors
#define IDI_STATUS_ALARM     226   // hardware alarms

// The monitor window and its two tab pages.
#define IDD_MONITOR          197
#define IDD_STATUS_PAGE      249
#define IDD_SUPPLIES_PAGE    250
#define IDA_MONITOR          251   // Ctrl+Tab, Ctrl+Shift+Tab
#define IDM_TRAY             252   // the tray icon's menu

// Controls of the monitor window.
#define IDC_DOC_NAME         1031
#define IDC_TABS             1037
#define IDC_MINIMISE         1044  // "OK": to the tray
#define IDC_PRINT_CANCEL     1047
#define IDC_USER_NAME        1050
#define IDC_USER_LABEL       1051
#define IDC_DOC_LABEL        1052
// Status page.
#define IDC_STATUS_ICON      1026
#define IDC_STATUS_TEXT      1060
// Consumables page.
#define IDC_PREPARE_LIST     1039
#define IDC_REPLACE_LIST     1040
#define IDC_RIBBON_RESET     1041
#define IDC_PREPARE_LABEL    1042
#define IDC_REPLACE_LABEL    1043

// Commands: the accelerators and the tray menu.
#define IDM_PREVIOUS_TAB     40009
#define IDM_NEXT_TAB         40011
#define IDM_TRAY_RESTORE     200
#define IDM_TRAY_EXIT        300
#define IDM_TRAY_CANCEL      400

// Texts.
#define IDS_MONITOR_CAPTION  2001  // message boxes
#define IDS_WINDOW_CAPTION   2002  // the window, before the printer name
#define IDS_TAB_STATUS       2003
#define IDS_TAB_SUPPLIES     2004
// The printer checks' messages.
#define IDS_NO_PRINTER_DRIVER     2010
#define IDS_LIST_NO_MEMORY        2011
#define IDS_LIST_FAILED           2012
#define IDS_OPEN_FAILED           2013
#define IDS_START_DOC_FAILED      2014
#define IDS_JOBS_FAILED           2015
#define IDS_BIDI_OFF              2016
#define IDS_PAUSED                2017
#define IDS_OFFLINE               2018
#define IDS_WRONG_PORT            2019
#define IDS_NOT_DEFAULT           2020
#define IDS_RIBBON_QUESTION       2021
#define IDS_RIBBON_NO_ANSWER      2022
#define IDS_RIBBON_SPOOL_BUSY     2023
