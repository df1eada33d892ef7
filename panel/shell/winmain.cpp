// Entry point of the remote panel: the records, the kernel-object names,
// one copy only, the folders, the main window with its printer choice and
// first read, then the one message loop.
#include <windows.h>

#include <cstring>

#include "common/library_search.h"
#include "link/channel/object_names.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/shell/choice_ui.h"
#include "panel/shell/main_window.h"
#include "panel/shell/message_loop.h"
#include "panel/shell/tab_hook.h"
#include "panel/ui/show_message.h"

namespace {

// The single-instance mutex, owned for the whole run.
class InstanceMutex {
public:
    explicit InstanceMutex(const char* name) : handle_(CreateMutexA(nullptr, FALSE, name)) {}
    ~InstanceMutex() { Close(); }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    bool created() const { return handle_ != nullptr; }
    // An abandoned mutex means a copy died while holding it. Everything that
    // copy held lived in its own process and went with it, so this copy
    // takes the mutex over; refusing would lock every later copy out until
    // the last handle to the dead copy's mutex is closed.
    bool Take() {
        const DWORD wait = WaitForSingleObject(handle_, 0);
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        return owned_;
    }
    // Lets go of the mutex at once. A refused copy calls it before its
    // message: while the message waits for the user, its handle would
    // otherwise keep a dead running copy's mutex alive.
    void Close() {
        if (!handle_) return;
        if (owned_) ReleaseMutex(handle_);
        CloseHandle(handle_);
        handle_ = nullptr;
        owned_ = false;
    }

private:
    HANDLE handle_;
    bool owned_ = false;
};

void TellAlreadyRunning() {
    char caption[AppCaptionSize], text[256];
    LoadAppCaption(caption);
    LoadText(IDS_ALREADY_RUNNING, text, sizeof text);
    MessageBoxA(nullptr, text, caption, MB_ICONINFORMATION | MB_SETFOREGROUND);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand) {
    // Before any library is loaded by name (the LAN library among them).
    KeepCurrentFolderOutOfLibrarySearch();
    if (!AllocateGlobals()) return 0;
    const KernelObjectNames* names = nullptr;
    if (!QueryKernelObjectNames(&names)) {
        ReleaseGlobals();
        return 0;
    }
    FindStartDirectory();
    if (!previous && !RegisterMainWindowClass(instance)) {
        ReleaseGlobals();
        return 0;
    }
    int exitCode = 0;
    {
        InstanceMutex mutex(names->instanceMutex);
        if (!mutex.created()) {
            ReleaseGlobals();
            return 0;
        }
        if (!mutex.Take()) {
            mutex.Close();
            TellAlreadyRunning();
            ReleaseGlobals();
            return 0;
        }
        // Per-user application-data folders exist where the "Global\" names do.
        FindDataDirectory(std::strncmp(names->instanceMutex, "Global\\", 7) == 0);
        ConnectPrinterChoice();
        if (CreateMainWindow(instance, showCommand)) {
            InstallTabHook();
            exitCode = RunMessageLoop();
            RemoveTabHook();
        }
        ReleaseGlobals();
    }
    return exitCode;
}
