// The console tool's system side on Windows: files through the ANSI file
// calls, the console's code page, and the printers: the spooler's records
// and pre-flight checks (link/choice), the channel a printer's port names
// (the language monitor's block or the LAN library) and the conversations'
// fixed waits and answer log, all as the remote panel has them.
#include "console/console_platform.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/cp932_text.h"
#include "common/timing.h"
#include "console/printer_fleet.h"
#include "link/channel/printer_link.h"
#include "link/choice/printer_readiness.h"
#include "link/choice/target_channel.h"
#include "link/lan/lan_link.h"

namespace {

// Whether the last character of `text` (code page 932) is the single-byte
// `c`: the second byte of a double-byte character may be a backslash too.
bool EndsWithCharacter(const std::string& text, char c) {
    std::size_t at = 0, last = std::string::npos;
    while (at < text.size()) {
        last = at;
        const std::size_t length = Cp932CharLength(text.c_str() + at);
        at += length ? length : 1;
    }
    return last != std::string::npos && last + 1 == text.size() && text[last] == c;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Close() {
        const bool closed = handle_ == INVALID_HANDLE_VALUE || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// The LAN channel's failures while a printer is talked to, as bits.
unsigned g_lanFailures = 0;

void NoteLanFailure(LanFailure failure, const char*) { g_lanFailures |= 1u << failure; }

class WindowsPrinters : public PrinterSystem {
public:
    ~WindowsPrinters() override { ClosePrinterLink(); }

    int Find(const std::string& name, PrinterTarget* target) override {
        // A NUL inside the name would make it another name.
        if (name.find('\0') != std::string::npos) return RecordNoPrinter;
        return ReadPrinterTarget(name.c_str(), target);
    }

    int Check(PrinterTarget* target) override { return JudgePrinterReady(target); }

    bool Talk(PrinterTarget* target, const std::function<void(PrinterChannel&)>& talk) override {
        SetLanMessageHandler(NoteLanFailure);
        PrinterTargetChannel channel(*target);
        if (!channel.get()) return false;
        talk(*channel.get());
        return true;
    }

    unsigned TakeLanFailures() override {
        const unsigned failures = g_lanFailures;
        g_lanFailures = 0;
        return failures;
    }

    void Wait(unsigned milliseconds) override { FixedWait(milliseconds); }

    void LogAnswer(const unsigned char* bytes, int length) override {
        if (length > 0) AppendToLog(bytes, static_cast<std::size_t>(length));
    }

    bool IsFolder(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        return ReplaceFileWhole(path, bytes);
    }

    std::string PathInFolder(const std::string& folder, const std::string& file) override {
        if (folder.empty()) return file;
        if (EndsWithCharacter(folder, '\\') || EndsWithCharacter(folder, '/') || EndsWithCharacter(folder, ':'))
            return folder + file;
        return folder + "\\" + file;
    }
};

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    bytes->clear();
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes->append(buffer, got);
        if (bytes->size() > static_cast<std::size_t>(ConsoleFileLimit)) return false;
    }
}

bool ReplaceFileWhole(const std::string& path, const std::string& bytes) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%lu.tmp", static_cast<unsigned long>(GetCurrentProcessId()));
    const std::string temporary = path + suffix;
    if (temporary.size() >= MAX_PATH) return false;
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.valid()) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD n = 0;
        const std::size_t left = bytes.size() - written;
        const DWORD chunk = left > 65536 ? 65536 : static_cast<DWORD>(left);
        if (!WriteFile(file.get(), bytes.data() + written, chunk, &n, nullptr) || n == 0) break;
        written += n;
    }
    const bool whole = written == bytes.size() && FlushFileBuffers(file.get());
    const bool closed = file.Close();
    if (whole && closed &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

ConsoleLanguage OutputLanguage() { return GetConsoleOutputCP() == 932 ? LanguageJapanese : LanguageEnglish; }

void WriteOutput(std::FILE* stream, const std::string& text) {
    // The texts are code page 932. A console of another code page gets them
    // converted (what it cannot show becomes its default character); with
    // no console at all the bytes go out as they are.
    const UINT codePage = GetConsoleOutputCP();
    if (codePage == 0 || codePage == 932 || text.empty() || text.size() > 0x3FFFFFFF) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    const int length = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(932, 0, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::wstring units(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, text.data(), length, &units[0], wide);
    const int narrow = WideCharToMultiByte(codePage, 0, units.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(codePage, 0, units.data(), wide, &out[0], narrow, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stream);
}

bool Cp932ToUtf16(const std::string& text, std::u16string* units) {
    units->clear();
    if (text.empty()) return true;
    if (text.size() > 0x3FFFFFFF) return false;
    const int length = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(932, 0, text.data(), length, nullptr, 0);
    if (wide <= 0) return false;
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    if (MultiByteToWideChar(932, 0, text.data(), length, &converted[0], wide) != wide) return false;
    units->assign(converted.begin(), converted.end());
    return true;
}

PrinterSystem* SystemPrinters() {
    static WindowsPrinters printers;
    return &printers;
}
