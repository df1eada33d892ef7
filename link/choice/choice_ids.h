// Resource ids of the printer choice dialog. The remote panel's resource
// header includes this file; the dialog's code in link/choice uses it alone.
#pragma once

#define IDD_PRINTER_CHOICE   184
#define IDC_CHOICE_OK        1286
#define IDC_CHOICE_CANCEL    1287
#define IDC_PRINTER_LIST     1288
