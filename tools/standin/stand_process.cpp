#include "tools/standin/stand_process.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

// A whole decimal number in [low, high]; false for anything else.
bool ParseNumber(const char* text, long low, long high, long* value) {
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || n < low || n > high) return false;
    *value = n;
    return true;
}

bool OpenParentProcess(long pid, const char* program, HANDLE* parent) {
    *parent = nullptr;
    if (!pid) return true;
    *parent = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (*parent) return true;
    std::fprintf(stderr, "%s: no process %ld to watch (error %lu)\n", program, pid, GetLastError());
    return false;
}

bool PauseUnlessParentEnds(HANDLE parent, DWORD ms) {
    if (!parent) {
        Sleep(ms);
        return false;
    }
    return WaitForSingleObject(parent, ms) != WAIT_TIMEOUT;
}

bool LoadPrinter(PrinterEmulator* printer, const std::string& items, const std::string& config, const char* program) {
    std::string error;
    if (printer->LoadItems(items, &error) && (config.empty() || printer->LoadConfig(config, &error))) return true;
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return false;
}

bool WriteFileBytes(const std::string& path, const void* bytes, std::size_t length) {
    if (path.empty()) return true;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = length == 0 || (WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) &&
                                    written == length);
    CloseHandle(file);
    return ok;
}

void SaveRecord(const PrinterEmulator& printer, const std::string& record, const std::string& state) {
    const std::vector<std::uint8_t>& received = printer.Received();
    WriteFileBytes(record, received.data(), received.size());
    if (!state.empty()) printer.SaveState(state);
}
