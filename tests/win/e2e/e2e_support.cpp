#include "tests/win/e2e/e2e_support.h"

#include <algorithm>

#include "tools/lmstand/test_printers.h"

const char kLptPrinter[] = "KOA Test LPT";
const char kUsbPrinter[] = "KOA Test USB";

namespace {

const char kDriver[] = "KOA koa2400Max-R";

std::string WindowsPathOfUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

std::string ProgramDirectory() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n < sizeof path ? n : 0);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string ScratchUnixPath(const std::string& name) { return std::string(KOA_E2E_DIR) + "/" + name; }
std::string ScratchPath(const std::string& name) { return WindowsPathOfUnix(ScratchUnixPath(name)); }

std::string ReadWholeFile(const std::string& windowsPath) {
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WriteWholeFile(const std::string& windowsPath, const std::string& bytes) {
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool InstallTestPrinters(std::string* error) {
    CreateDirectoryA(WindowsPathOfUnix(KOA_E2E_DIR).c_str(), nullptr);
    return AddTestPrinter(kLptPrinter, kDriver, "LPT1:", 0x800, error) &&
           AddTestPrinter(kUsbPrinter, kDriver, "USB001", 0x800, error) &&
           SetPortCommand("LPT1:", "|cat >> " + ScratchUnixPath("jobs-lpt.bin"), error) &&
           SetPortCommand("USB001", "|cat >> " + ScratchUnixPath("jobs-usb.bin"), error);
}

bool ChildProcess::Start(const std::string& command) {
    Stop();
    std::string line = command + " --parent " + std::to_string(GetCurrentProcessId());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    running_ = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_) != 0;
    return running_;
}

void ChildProcess::Stop() {
    if (!running_) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    running_ = false;
}

bool ChildProcess::Ended(DWORD ms) const {
    return !running_ || WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

bool StandIn::Start(const std::string& config, const std::string& jobs, const std::string& options) {
    Stop();
    DeleteFileA(ScratchPath("received.bin").c_str());
    if (!WriteWholeFile(ScratchPath("emulator.cfg"), config)) return false;
    std::string command = "\"" + ProgramDirectory() + "lmstand.exe\" --jobs \"" + ScratchPath(jobs) + "\" --items \"" +
                          WindowsPathOfUnix(KOA_EMU_ITEMS) + "\" --config \"" + ScratchPath("emulator.cfg") +
                          "\" --record \"" + ScratchPath("received.bin") + "\" --state \"" +
                          ScratchPath("state.cfg") + "\" " + options;
    if (!child_.Start(command)) return false;
    // Ready once it has written its (empty) record.
    if (child_.WaitUntilReady(
            [] { return GetFileAttributesA(ScratchPath("received.bin").c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000))
        return true;
    Stop();
    return false;
}

void StandIn::Stop() { child_.Stop(); }

std::string StandIn::Received() const { return ReadWholeFile(ScratchPath("received.bin")); }
std::string StandIn::State() const { return ReadWholeFile(ScratchPath("state.cfg")); }

bool LanStandIn::Start(const std::string& emulatorConfig, const std::string& sxConfigExtra) {
    Stop();
    DeleteFileA(ScratchPath("lan-received.bin").c_str());
    DeleteFileA(ScratchPath("lan-port.txt").c_str());
    DeleteFileA(ScratchPath("sx.log").c_str());
    CreateDirectoryA(WindowsPathOfUnix(KOA_E2E_DIR).c_str(), nullptr);
    if (!WriteWholeFile(ScratchPath("lan-emulator.cfg"), emulatorConfig)) return false;
    std::string command = "\"" + ProgramDirectory() + "lanstand.exe\" --items \"" + WindowsPathOfUnix(KOA_EMU_ITEMS) +
                          "\" --config \"" + ScratchPath("lan-emulator.cfg") + "\" --port-file \"" +
                          ScratchPath("lan-port.txt") + "\" --record \"" + ScratchPath("lan-received.bin") +
                          "\" --state \"" + ScratchPath("lan-state.cfg") + "\"";
    if (!child_.Start(command)) return false;
    // Ready once the port file is there (it is written whole, by a rename).
    const bool listening = child_.WaitUntilReady(
        [] { return GetFileAttributesA(ScratchPath("lan-port.txt").c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
    std::string sx = "printer 127.0.0.1 " + ScratchPath("lan-port.txt") + "\nlog " + ScratchPath("sx.log") + "\n" +
                     sxConfigExtra;
    if (!sx.empty() && sx.back() != '\n') sx += '\n';
    if (!listening || !WriteWholeFile(ScratchPath("sx.cfg"), sx) ||
        !SetEnvironmentVariableA("KOA_SXSTAND_CONFIG", ScratchPath("sx.cfg").c_str())) {
        Stop();
        return false;
    }
    return true;
}

void LanStandIn::Stop() { child_.Stop(); }

std::string LanStandIn::Received() const { return ReadWholeFile(ScratchPath("lan-received.bin")); }
std::string LanStandIn::State() const { return ReadWholeFile(ScratchPath("lan-state.cfg")); }
std::string LanStandIn::SxLog() const { return ReadWholeFile(ScratchPath("sx.log")); }
void LanStandIn::ClearSxLog() { DeleteFileA(ScratchPath("sx.log").c_str()); }
