// The print spooler calls both programs make, behind one seam: the printer
// list, a printer's record and job list, the RAW jobs that signal the
// language monitor, and the default printer from the user's profile.
//
// Wine's spooler shows neither paused printers nor job lists, and hands a
// job's bytes to the port without its document name or data type, so tests
// put their own calls in place of some of these. Everything these calls
// return is the spooler's (or the profile's) and is treated as untrusted.
#pragma once

#include <windows.h>
#include <winspool.h>

struct SpoolerCalls {
    BOOL(WINAPI* enumPrinters)(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                               LPDWORD returned);
    BOOL(WINAPI* openPrinter)(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
    BOOL(WINAPI* getPrinter)(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
    BOOL(WINAPI* enumJobs)(HANDLE printer, DWORD firstJob, DWORD count, DWORD level, LPBYTE buffer, DWORD size,
                           LPDWORD needed, LPDWORD returned);
    DWORD(WINAPI* startDocPrinter)(HANDLE printer, DWORD level, LPBYTE docInfo);
    BOOL(WINAPI* writePrinter)(HANDLE printer, LPVOID bytes, DWORD count, LPDWORD written);
    BOOL(WINAPI* endDocPrinter)(HANDLE printer);
    BOOL(WINAPI* closePrinter)(HANDLE printer);
    // GetProfileStringA: the default printer is the "device" entry of the
    // "windows" section ("name,driver,port").
    DWORD(WINAPI* getProfileString)(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer, DWORD size);
};

// The calls in use: the system's own unless a test replaced them. May be
// called from any thread.
const SpoolerCalls& Spooler();

// TEST SEAM: every spooler call of both programs goes through `calls` from
// now on (the record must outlive its use, including connection jobs still
// running); null restores the system's calls. To replace only some calls,
// copy Spooler() first and change those members. For tests only.
void TestSeam_UseSpoolerCalls(const SpoolerCalls* calls);
