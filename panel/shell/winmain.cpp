// Entry point of the remote panel: the records, the kernel-object names,
// one copy only, the folders, the main window with its printer choice and
// first read, then the one message loop.
#include <windows.h>

#include <cstring>

#include "common/library_search.h"
#include "link/channel/object_names.h"
#include "panel/resources/resource.h"
#include "panel/shell/choice_ui.h"
#include "panel/shell/folders.h"
#include "panel/shell/main_window.h"
#include "panel/shell/message_loop.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/show_message.h"
#include "panel/shell/tab_hook.h"

namespace {

// The single-instance mutex, owned for the whole run.
class InstanceMutex {
public:
    explicit InstanceMutex(const char* name) : handle_(CreateMutexA(nullptr, FALSE, name)) {}
    ~InstanceMutex() {
        if (!handle_) return;
        if (owned_) ReleaseMutex(handle_);
        CloseHandle(handle_);
    }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    bool created() const { return handle_ != nullptr; }
    // An abandoned mutex means a copy died while holding it: with nothing
    // known of its state, it counts as running, as the message says.
    bool Take() {
        owned_ = WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
        return owned_;
    }

private:
    HANDLE handle_;
    bool owned_ = false;
};

void TellAlreadyRunning() {
    char caption[128], text[256];
    LoadText(IDS_APP_CAPTION, caption, sizeof caption);
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
