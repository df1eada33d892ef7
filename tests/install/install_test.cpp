// The installer in a fresh Wine prefix, as an administrator would use it:
// a silent install, the files, shortcuts and Add/Remove Programs entry it
// leaves, the remote panel started from its shortcut, and a silent
// uninstall through the registered uninstall command. Run by
// run_install_test.sh, which makes the prefix and passes
//   KOA_SETUP    the installer (Windows path)
//   KOA_STAGE    the folder of the files it must install (Windows path)
//   KOA_VERSION  the version it must register
// The steps run in order in one process and build on each other.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KOA_koa_verodorared";
const wchar_t kMenuFolder[] = L"KOA リモートパネル";
const char kPrinter[] = "KOA Installed LPT";

struct Shortcut {
    const wchar_t* name;
    const wchar_t* file;  // in the program folder
};
const Shortcut kShortcuts[] = {
    {L"リモートパネル.lnk", L"veldra6.exe"},
    {L"ステータスモニター.lnk", L"tzrawatch.exe"},
    {L"リモートパネル ヘルプ.lnk", L"VELDRA6.CHM"},
    {L"アンインストール.lnk", L"uninst.exe"},
};

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return "";
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize(n - 1);
    return text;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? value : L"";
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Every file and folder on the system drive (lower case), but the temporary
// folders, where Windows and Wine come and go on their own (and where the
// uninstaller runs a copy of itself, as every such uninstaller does).
void Walk(const std::wstring& folder, std::set<std::wstring>* paths) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        const std::wstring lower = Lower(path);
        if (lower.size() >= 5 && lower.compare(lower.size() - 5, 5, L"\\temp") == 0) continue;
        paths->insert(lower);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Walk(path, paths);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::set<std::wstring> Snapshot() {
    std::set<std::wstring> paths;
    Walk(Environment(L"SystemDrive"), &paths);
    return paths;
}

std::vector<std::wstring> Minus(const std::set<std::wstring>& a, const std::set<std::wstring>& b) {
    std::vector<std::wstring> rest;
    for (const std::wstring& path : a)
        if (!b.count(path)) rest.push_back(path);
    return rest;
}

std::string Listed(const std::vector<std::wstring>& paths) {
    std::string text;
    for (const std::wstring& path : paths) text += "\n  " + Narrow(path);
    return text.empty() ? " (none)" : text;
}

bool RunAndWait(const std::wstring& commandLine, DWORD* exitCode, const std::wstring& folder = L"") {
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    const bool ended = WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

bool RegistryText(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring* text) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (SHGetValueW(root, key, value, nullptr, data, &size) != ERROR_SUCCESS) return false;
    *text = data;
    return true;
}

bool KeyExists(HKEY root, const wchar_t* key) {
    HKEY handle;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

DWORD PrinterDriverCount() {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversW(nullptr, nullptr, 1, buffer.data(), needed, &needed, &count)) return 0;
    return count;
}

// The registered uninstaller hands the work to a copy of itself in the
// temporary folder ("Un.exe") and returns at once; this waits for the copy.
bool WaitUninstallerCopy(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        bool running = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32W entry = {};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
                running = running || lstrcmpiW(entry.szExeFile, L"Un.exe") == 0;
            CloseHandle(snapshot);
        }
        if (!running) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(100);
    }
}

struct Resolved {
    std::wstring target, folder;
};

bool ResolveShortcut(const std::wstring& path, Resolved* resolved) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(path.c_str(), STGM_READ));
    wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    ok = ok && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
         SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
    if (file) file->Release();
    link->Release();
    resolved->target = target;
    resolved->folder = folder;
    return ok;
}

// What the steps hand on to each other.
struct State {
    bool installed = false;
    std::wstring programFolder;
    std::set<std::wstring> beforeInstall;
    std::vector<std::wstring> installedPaths;  // what the install added
    std::wstring panelTarget, panelFolder;
    bool panelRan = false;
};
State g_state;

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(Installer, SilentInstallPutsFilesShortcutsAndItsUninstallEntryInPlace) {
    const std::wstring setup = Environment(L"KOA_SETUP");
    const std::wstring stage = Environment(L"KOA_STAGE");
    const std::wstring version = Environment(L"KOA_VERSION");
    ASSERT_FALSE(setup.empty() || stage.empty() || version.empty()) << "KOA_SETUP, KOA_STAGE, KOA_VERSION";
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "the prefix is not fresh";
    const DWORD drivers = PrinterDriverCount();
    g_state.beforeInstall = Snapshot();

    DWORD exitCode = 1;
    ASSERT_TRUE(RunAndWait(L"\"" + setup + L"\" /S", &exitCode)) << "the installer did not end";
    EXPECT_EQ(exitCode, 0u);

    // The three files (four with the console tool) as built, and the uninstaller.
    g_state.programFolder = Folder(CSIDL_PROGRAM_FILES) + L"\\KOA\\RemotePanel";
    std::vector<std::wstring> files = {L"veldra6.exe", L"tzrawatch.exe", L"VELDRA6.CHM"};
    if (Exists(stage + L"\\veldra6c.exe")) files.push_back(L"veldra6c.exe");
    for (const std::wstring& file : files) {
        const std::string built = ReadBytes(stage + L"\\" + file);
        ASSERT_NE(built, "(missing)") << Narrow(file) << " missing in the stage";
        EXPECT_TRUE(ReadBytes(g_state.programFolder + L"\\" + file) == built)
            << Narrow(file) << " not installed as built";
    }
    EXPECT_TRUE(Exists(g_state.programFolder + L"\\uninst.exe"));

    // The shortcuts: Japanese names, each to its file, started in the program folder.
    const std::wstring menu = Folder(CSIDL_COMMON_PROGRAMS) + L"\\" + kMenuFolder;
    for (const Shortcut& shortcut : kShortcuts) {
        Resolved resolved;
        ASSERT_TRUE(ResolveShortcut(menu + L"\\" + shortcut.name, &resolved)) << Narrow(shortcut.name);
        EXPECT_EQ(Lower(resolved.target), Lower(g_state.programFolder + L"\\" + shortcut.file))
            << Narrow(shortcut.name) << " -> " << Narrow(resolved.target);
        EXPECT_EQ(Lower(resolved.folder), Lower(g_state.programFolder)) << Narrow(shortcut.name);
        if (std::wstring(shortcut.file) == L"veldra6.exe") {
            g_state.panelTarget = resolved.target;
            g_state.panelFolder = resolved.folder;
        }
    }

    // Add/Remove Programs: name, version, publisher, uninstall command, size.
    std::wstring text;
    EXPECT_TRUE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", &text));
    EXPECT_TRUE(text == L"KOA koa2400Max-R/koa2600Max-R リモートパネル") << Narrow(text);
    EXPECT_TRUE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion", &text));
    EXPECT_TRUE(text == version) << Narrow(text) << " registered, " << Narrow(version) << " built";
    EXPECT_TRUE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString", &text));
    EXPECT_EQ(Lower(text), Lower(L"\"" + g_state.programFolder + L"\\uninst.exe\""));
    DWORD size = 0, sizeBytes = sizeof size;
    EXPECT_EQ(SHGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", nullptr, &size, &sizeBytes),
              static_cast<LONG>(ERROR_SUCCESS));
    DWORD bytes = 0;
    for (const std::wstring& file : files) bytes += static_cast<DWORD>(ReadBytes(stage + L"\\" + file).size());
    EXPECT_GE(size, bytes / 1024) << "EstimatedSize in KB";
    EXPECT_LE(size, bytes / 1024 + 1024) << "EstimatedSize in KB";

    // What belongs to the driver's installer is left alone.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KOA")) << "the status monitor's slot was created";
    EXPECT_EQ(PrinterDriverCount(), drivers) << "a printer driver was installed";

    // And nothing else was added or taken away on the disk.
    const std::set<std::wstring> after = Snapshot();
    EXPECT_TRUE(Minus(g_state.beforeInstall, after).empty())
        << "removed by the install:" << Listed(Minus(g_state.beforeInstall, after));
    g_state.installedPaths = Minus(after, g_state.beforeInstall);
    std::set<std::wstring> expected = {Lower(menu)};
    for (const Shortcut& shortcut : kShortcuts) expected.insert(Lower(menu + L"\\" + shortcut.name));
    for (const std::wstring& file : files) expected.insert(Lower(g_state.programFolder + L"\\" + file));
    expected.insert(Lower(g_state.programFolder + L"\\uninst.exe"));
    for (std::wstring folder = g_state.programFolder; Lower(folder) != Lower(Folder(CSIDL_PROGRAM_FILES));
         folder = folder.substr(0, folder.find_last_of(L'\\')))
        expected.insert(Lower(folder));
    const std::set<std::wstring> added(g_state.installedPaths.begin(), g_state.installedPaths.end());
    EXPECT_TRUE(added == expected) << "added by the install:" << Listed(g_state.installedPaths);
    g_state.installed = !HasFailure();
}

TEST_F(Installer, TheInstalledPanelStartsFromItsShortcutAndShowsItsPrinterChoice) {
    ASSERT_TRUE(g_state.installed) << "the install failed";
    // The printer driver's installer would have put a printer in place.
    std::string error;
    ASSERT_TRUE(AddTestPrinter(kPrinter, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) << error;

    // Started as the shell starts a shortcut: its target in its folder.
    std::wstring line = L"\"" + g_state.panelTarget + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, g_state.panelFolder.c_str(),
                               &startup, &process));
    paneldriver::PanelDriver driver(process.dwProcessId);
    HWND choice = driver.WaitDialogWithControl(paneldriver::ChoiceDialogList);
    EXPECT_TRUE(choice) << driver.error();
    if (choice) {
        EXPECT_EQ(paneldriver::PanelDriver::WindowText(choice), paneldriver::kProgramCaption);
        std::vector<paneldriver::ChoiceRow> rows;
        EXPECT_TRUE(driver.ChoiceRows(choice, &rows)) << driver.error();
        bool listed = false;
        for (const auto& row : rows) listed = listed || (row.printer == kPrinter && row.port == "LPT1:");
        EXPECT_TRUE(listed) << "the choice does not list " << kPrinter;
        // While it runs, the uninstaller refuses (silently: it would ask to
        // close it) and leaves everything in place.
        std::wstring command;
        DWORD exitCode = 0;
        EXPECT_TRUE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString", &command));
        EXPECT_TRUE(RunAndWait(command + L" /S", &exitCode));
        EXPECT_TRUE(WaitUninstallerCopy(60000)) << "the uninstaller's copy did not end";
        EXPECT_TRUE(Exists(g_state.programFolder + L"\\veldra6.exe")) << "uninstalled under a running panel";
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        // Cancel ends the program without a message.
        PostMessageA(choice, WM_COMMAND, MAKEWPARAM(paneldriver::ChoiceDialogCancel, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(choice, paneldriver::ChoiceDialogCancel)));
    }
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    EXPECT_TRUE(ended) << "the panel did not end after Cancel";
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    g_state.panelRan = choice != nullptr;
}

TEST_F(Installer, SilentUninstallRemovesWhatItInstalledAndKeepsTheUsersSettings) {
    ASSERT_TRUE(g_state.installed) << "the install failed";
    // The user's settings, in the folder the panel made for them.
    const std::wstring data = Folder(CSIDL_APPDATA) + L"\\KOA\\koa_verodorared";
    if (!g_state.panelRan) {
        CreateDirectoryW((Folder(CSIDL_APPDATA) + L"\\KOA").c_str(), nullptr);
        CreateDirectoryW(data.c_str(), nullptr);
    }
    ASSERT_TRUE(Exists(data)) << "the panel made no data folder";
    std::string settings(109, '\0');
    for (std::size_t i = 0; i < settings.size(); ++i) settings[i] = static_cast<char>(i % 3);
    ASSERT_TRUE(WriteBytes(data + L"\\veldra6.ini", settings));
    ASSERT_TRUE(WriteBytes(data + L"\\office.vd6", settings));
    const std::set<std::wstring> beforeUninstall = Snapshot();

    std::wstring command;
    ASSERT_TRUE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString", &command));
    DWORD exitCode = 1;
    ASSERT_TRUE(RunAndWait(command + L" /S", &exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUninstallerCopy(60000)) << "the uninstaller's copy did not end";

    EXPECT_FALSE(Exists(g_state.programFolder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(Exists(Folder(CSIDL_COMMON_PROGRAMS) + L"\\" + kMenuFolder));
    EXPECT_TRUE(ReadBytes(data + L"\\veldra6.ini") == settings) << "the temporary settings file went";
    EXPECT_TRUE(ReadBytes(data + L"\\office.vd6") == settings) << "the settings file went";

    // Exactly what the install had added is gone; everything else stays.
    const std::set<std::wstring> after = Snapshot();
    std::set<std::wstring> expected = beforeUninstall;
    for (const std::wstring& path : g_state.installedPaths) expected.erase(path);
    EXPECT_TRUE(Minus(expected, after).empty()) << "removed but not installed:" << Listed(Minus(expected, after));
    EXPECT_TRUE(Minus(after, expected).empty()) << "left behind:" << Listed(Minus(after, expected));
}

}  // namespace
