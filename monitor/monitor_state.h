// The status monitor's one state record, allocated zero-filled at start-up
// and freed at exit.
#pragma once

#include <windows.h>
#include <shellapi.h>

struct MonitorState {
    HINSTANCE instance;
    HKEY messageKey;            // "SOFTWARE\KOA\tzraMonitor-msg" while a cycle has it open
    HKEY slotKey;               // its subkey "1" while open
    UINT_PTR timerId;           // the record's own address
    char* text;                 // registry strings and the status text; grows
    DWORD textSize;
    BYTE singleByte;            // each one-byte REG_BINARY value read
    char printerName[512];      // last PRT_NAME
    char statusTitle[512];      // tray tooltip
    char host[512];             // PSV_HOST, read once
    char port[512];             // PSV_PORT, read once
    long jobId;                 // last JOB_ID
    short started;              // 0 until the first cycle has run
    short currentCode;
    short previousCode;
    bool iconShown;             // the tray icon exists
    int trayRetriesLeft;        // adds of the refused tray icon still to try; 0: none pending
    bool flashEnabled;          // TSK_MODE was "1" in the last cycle
    int displayMode;            // DSP_MODE read at start-up
    unsigned char flashState;   // FlashRequested / Flashing
    bool checkRunning;          // the re-entrancy guard of the printer checks
    HWND nextFocus;             // the control to focus when the window shows
    // Chosen from the Windows version at start-up.
    REGSAM messageKeyAccess;
    REGSAM slotKeyAccess;
    HKEY positionRoot;
    const char* instanceMutexName;
    const char* disposablesMutexName;
    bool nt4;

    // The window's two tab pages (dialogs 249 and 250).
    HWND statusPage;
    HWND suppliesPage;
    // The tray icon as the shell last got it: the structure of the oldest
    // shell (88 bytes in 32-bit programs, tip of 64 bytes).
    NOTIFYICONDATAA tray;
    // Sent by the shell when the taskbar is created again (Explorer restarted).
    UINT taskbarCreatedMessage;
    // What the controls were last compared against: a copy of a control's
    // text is read here before it is rewritten (grows like `text`).
    char* scratch;
    DWORD scratchSize;
};

// The record with its text buffer (1,024 bytes at first), zero-filled; null
// when an allocation fails.
MonitorState* CreateMonitorState(HINSTANCE instance);
void DestroyMonitorState(MonitorState* state);

// Makes `*buffer` at least `size` bytes, zero-filled when it is replaced.
// False when the memory cannot be had; the old buffer is then kept.
bool GrowBuffer(char** buffer, DWORD* bufferSize, DWORD size);

// The largest a registry string or a status text may make the buffers. A
// value written by another process is not followed beyond it: a status
// text is a few kilobytes, and no slot value is meant to come near.
enum { MaxMonitorBuffer = 1024 * 1024 };
