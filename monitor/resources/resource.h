// Resource ids of the status monitor (tzrawatch).
#pragma once

#define IDI_MONITOR          199   // class and tray icon: the printer
#define IDD_MONITOR          197   // the monitor window

#define IDS_MONITOR_CAPTION  2001
#define IDC_MONITOR_STATUS   1030
