// Stand-in LAN library "SxJcp32.dll": the 14 entry points of sx_api.h, with
// the network printer played by lanstand.exe on 127.0.0.1 (frames in
// tools/lanstand/lan_frame.h).
//
// SxStartup reads the configuration from the file that the environment
// variable KOA_SXSTAND_CONFIG names (format in tools/README.md): the printer
// addresses it serves and where each one's TCP port is written, injected
// faults, delays, and a log of every call so that tests can see the load,
// the unload and the order of the calls.
//
// One port at a time, called from one thread: the programs hold one
// conversation at a time. Everything that comes over the socket is checked
// against the frame rules and the caller's buffer; every wait has a deadline.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/lanstand/lan_frame.h"
#include "tools/lanstand/lan_socket.h"
#include "tools/sxstand/sx_api.h"

namespace {

const char kConfigVariable[] = "KOA_SXSTAND_CONFIG";
const DWORD kConnectMs = 5000;
const DWORD kDefaultTimeoutMs = 10000;
const std::size_t kMaxConfigBytes = 64 * 1024;
const std::size_t kMaxPrinters = 16;

// What SxGetError reports (the program does not look at it).
enum SxError { ErrorNone = 0, ErrorNotOpen = 1, ErrorInjected = 2, ErrorNotTaken = 3, ErrorNoAnswer = 4,
               ErrorConnection = 5 };

struct Printer {
    std::string address;
    std::string portFile;
};

struct Config {
    std::vector<Printer> printers;
    std::string log;
    bool startRefused = false;
    bool openFails = false;
    bool closeFails = false;
    bool cleanupFails = false;
    long readFails = -1;   // -1: never; 0: every read; N: the Nth read of this load
    long writeFails = -1;  // the same for writes
    long countOver = 0;    // non-zero: successful reads report this length
    long answerCut = 0;    // non-zero: successful reads give only this many bytes of the answer
    DWORD slowMs = 0;
    DWORD timeoutMs = kDefaultTimeoutMs;
    std::string error;     // the first bad line, empty when all were understood
};

// The library's state; fresh for every load of the DLL.
Config g_config;
std::string g_logPath;
bool g_started = false;
SOCKET g_socket = INVALID_SOCKET;
INT_PTR g_port = 0;        // the open port's handle, 0 when none is open
INT_PTR g_lastPort = 0;
long g_reads = 0;
long g_writes = 0;
int g_lastError = ErrorNone;

// ---- log --------------------------------------------------------------------

void Log(const std::string& line) {
    if (g_logPath.empty()) return;
    HANDLE file = CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line.substr(0, 256) + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Text from the caller for the log: at most 64 bytes, control bytes shown as '?'.
std::string Printable(const char* text) {
    std::string out;
    if (!text) return "(null)";
    for (std::size_t i = 0; i < 64 && text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    }
    return out;
}

// ---- configuration ------------------------------------------------------------

// A whole decimal number in [low, high].
bool ParseNumber(const std::string& text, long low, long high, long* value) {
    if (text.empty() || text.size() > 10) return false;
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || n < low || n > high) return false;
    *value = n;
    return true;
}

// Words of a line, separated by blanks and tabs.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        const std::size_t stop = line.find_first_of(" \t", start);
        words.push_back(line.substr(start, stop == std::string::npos ? std::string::npos : stop - start));
        at = stop == std::string::npos ? line.size() : stop;
    }
    return words;
}

// The line after its first `skip` words, without the blanks around it
// (a path may hold blanks).
std::string Rest(const std::string& line, int skip) {
    std::size_t at = 0;
    for (int i = 0; i < skip; ++i) {
        at = line.find_first_not_of(" \t", at);
        at = at == std::string::npos ? line.size() : line.find_first_of(" \t", at);
        if (at == std::string::npos) return std::string();
    }
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string::npos) return std::string();
    return line.substr(start, line.find_last_not_of(" \t") + 1 - start);
}

// Applies one line; false when it is not understood.
bool ApplyLine(const std::string& line, Config* c) {
    const std::vector<std::string> w = Words(line);
    if (w.empty() || w[0][0] == '#') return true;
    long n = 0;
    if (w[0] == "printer" && w.size() >= 3) {
        if (c->printers.size() >= kMaxPrinters) return false;
        c->printers.push_back(Printer{w[1], Rest(line, 2)});
        return true;
    }
    if (w[0] == "log" && w.size() >= 2) {
        c->log = Rest(line, 1);
        return true;
    }
    if (w[0] == "slow" && w.size() == 2 && ParseNumber(w[1], 0, 600000, &n)) {
        c->slowMs = static_cast<DWORD>(n);
        return true;
    }
    if (w[0] == "timeout" && w.size() == 2 && ParseNumber(w[1], 1, 600000, &n)) {
        c->timeoutMs = static_cast<DWORD>(n);
        return true;
    }
    if (w[0] != "fault" || w.size() < 2 || w.size() > 3) return false;
    const std::string& f = w[1];
    if (w.size() == 2) {
        if (f == "start-refused") c->startRefused = true;
        else if (f == "open-fails") c->openFails = true;
        else if (f == "close-fails") c->closeFails = true;
        else if (f == "cleanup-fails") c->cleanupFails = true;
        else if (f == "read-fails") c->readFails = 0;
        else if (f == "write-fails") c->writeFails = 0;
        else return false;
        return true;
    }
    if (!ParseNumber(w[2], 1, 0x7FFFFFFF, &n)) return false;
    if (f == "read-fails") c->readFails = n;
    else if (f == "write-fails") c->writeFails = n;
    else if (f == "count-over") c->countOver = n;
    else if (f == "answer-cut") c->answerCut = n;
    else return false;
    return true;
}

// Reads the file that KOA_SXSTAND_CONFIG names; false when there is none or
// it cannot be read. Bad lines are noted in c->error (the first one) and
// skipped, so that the log line is still found.
bool LoadConfig(Config* c) {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kConfigVariable, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> bytes(kMaxConfigBytes + 1);
    DWORD got = 0;
    const bool read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) != 0;
    CloseHandle(file);
    if (!read) return false;
    if (got > kMaxConfigBytes) {
        c->error = "configuration longer than 64 KiB";
        return true;
    }
    const std::string text(bytes.data(), got);
    std::size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!ApplyLine(line, c) && c->error.empty())
            c->error =
                std::string(path) + ":" + std::to_string(number) + ": not understood: " + Printable(line.c_str());
        at = end + 1;
    }
    return true;
}

// ---- the connection -----------------------------------------------------------

void CloseConnection() {
    if (g_socket != INVALID_SOCKET) closesocket(g_socket);
    g_socket = INVALID_SOCKET;
}

// The TCP port in the printer's port file (a decimal number, 1 to 65535).
bool ReadPortFile(const std::string& path, unsigned short* port) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char text[16];
    DWORD got = 0;
    const bool read = ReadFile(file, text, sizeof text - 1, &got, nullptr) != 0;
    CloseHandle(file);
    if (!read || got == 0 || got >= sizeof text) return false;
    text[got] = '\0';
    std::string digits(text);
    while (!digits.empty() && (digits.back() == '\n' || digits.back() == '\r' || digits.back() == ' '))
        digits.pop_back();
    long n = 0;
    if (!ParseNumber(digits, 1, 65535, &n)) return false;
    *port = static_cast<unsigned short>(n);
    return true;
}

// Connects to 127.0.0.1:port within kConnectMs; INVALID_SOCKET otherwise.
SOCKET Connect(unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    // Non-blocking for the rest of its life: every receive and send waits in
    // select first, so no call can hang past its deadline.
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            closesocket(s);
            return INVALID_SOCKET;
        }
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval wait = {static_cast<long>(kConnectMs / 1000), static_cast<long>((kConnectMs % 1000) * 1000)};
        int error = 0;
        int errorLength = sizeof error;
        if (select(0, nullptr, &writable, &failed, &wait) != 1 || !FD_ISSET(s, &writable) ||
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &errorLength) != 0 || error != 0) {
            closesocket(s);
            return INVALID_SOCKET;
        }
    }
    return s;
}

// Sends a request and takes the reply's header and payload (`answer` holds
// LanMaxAnswer bytes). A broken, late or malformed exchange closes the
// connection: the port stays unusable until it is closed.
bool Exchange(LanFrameKind kind, const void* bytes, std::size_t length, std::uint8_t* replyKind,
              std::uint8_t* answer, std::size_t* answerLength) {
    std::vector<std::uint8_t> request(LanHeaderSize + length);
    LanPutHeader(request.data(), kind, length);
    if (length) std::memcpy(request.data() + LanHeaderSize, bytes, length);
    const DWORD deadline = GetTickCount() + g_config.timeoutMs;
    std::uint8_t header[LanHeaderSize];
    if (!SendExactly(g_socket, request.data(), request.size(), deadline) ||
        !ReceiveExactly(g_socket, header, sizeof header, deadline) || !LanHeaderValid(header, false)) {
        CloseConnection();
        return false;
    }
    const std::size_t size = LanHeaderLength(header);  // at most LanMaxAnswer: checked above
    const bool fits = kind == LanWrite ? (header[1] == LanTaken || header[1] == LanNotTaken)
                                       : (header[1] == LanAnswer || header[1] == LanNoAnswer);
    if (!fits || size > LanMaxAnswer || !ReceiveExactly(g_socket, answer, size, deadline)) {
        CloseConnection();
        return false;
    }
    *replyKind = header[1];
    *answerLength = size;
    return true;
}

// True when `port` is the open port with a live connection.
bool Usable(INT_PTR port) {
    if (port == 0 || port != g_port || g_socket == INVALID_SOCKET) {
        g_lastError = g_port != 0 && port == g_port ? ErrorConnection : ErrorNotOpen;
        return false;
    }
    return true;
}

// The Nth call (counted in *calls) fails when the fault says so.
bool Injected(long fault, long* calls) {
    ++*calls;
    return fault == 0 || fault == *calls;
}

int Unused(const char* name) {
    Log(name);
    return 0;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        // Only kernel32 here: the log path, so that the load itself is logged.
        Config config;
        if (LoadConfig(&config)) g_logPath = config.log;
        Log("DLL_PROCESS_ATTACH");
    } else if (reason == DLL_PROCESS_DETACH) {
        Log("DLL_PROCESS_DETACH");
    }
    return TRUE;
}

extern "C" {

int WINAPI SxStartup(HINSTANCE) {
    Config config;
    const bool loaded = LoadConfig(&config);
    if (loaded) g_logPath = config.log;
    Log("SxStartup");
    if (!loaded) return 0;
    if (!config.error.empty()) {
        Log("# " + config.error);
        return 0;
    }
    g_config = config;
    if (g_config.startRefused) return 0;
    if (!g_started) {
        WSADATA wsa;
        if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 0;
        g_started = true;
    }
    return 1;
}

int WINAPI SxCleanup(void) {
    Log("SxCleanup");
    if (g_config.cleanupFails) return 0;
    CloseConnection();
    g_port = 0;
    if (g_started) WSACleanup();
    g_started = false;
    return 1;
}

INT_PTR WINAPI SxOpenPort(const char* address) {
    Log("SxOpenPort " + Printable(address));
    if (!g_started || !address || g_config.openFails || g_port != 0) return SX_INVALID_PORT;
    std::size_t length = 0;
    while (length < 256 && address[length] != '\0') ++length;
    const std::string wanted(address, length);
    for (const Printer& printer : g_config.printers) {
        unsigned short tcpPort = 0;
        if (printer.address != wanted || !ReadPortFile(printer.portFile, &tcpPort)) continue;
        g_socket = Connect(tcpPort);
        if (g_socket == INVALID_SOCKET) return SX_INVALID_PORT;
        g_port = ++g_lastPort;
        g_lastError = ErrorNone;
        return g_port;
    }
    return SX_INVALID_PORT;
}

int WINAPI SxClosePort(INT_PTR port) {
    Log("SxClosePort");
    if (port == 0 || port != g_port) return 0;
    // The connection goes either way; the fault only changes the answer.
    CloseConnection();
    g_port = 0;
    return g_config.closeFails ? 0 : 1;
}

int WINAPI SxWritePort(INT_PTR port, const void* bytes, WORD count, DWORD* written) {
    Log("SxWritePort " + std::to_string(count));
    if (written) *written = 0;
    if (!Usable(port)) return 0;
    if (!bytes && count != 0) {
        g_lastError = ErrorNotTaken;
        return 0;
    }
    if (Injected(g_config.writeFails, &g_writes)) {
        g_lastError = ErrorInjected;
        return 0;
    }
    if (g_config.slowMs) Sleep(g_config.slowMs);
    std::uint8_t kind = 0;
    static std::uint8_t unused[LanMaxAnswer];
    std::size_t length = 0;
    if (!Exchange(LanWrite, bytes, count, &kind, unused, &length)) {
        g_lastError = ErrorConnection;
        return 0;
    }
    if (kind != LanTaken) {
        g_lastError = ErrorNotTaken;
        return 0;
    }
    if (written) *written = count;
    return 1;
}

int WINAPI SxReadPort(INT_PTR port, void* buffer, DWORD size, DWORD* count) {
    Log("SxReadPort " + std::to_string(size));
    if (count) *count = 0;
    if (!Usable(port)) return 0;
    if (!buffer || !count) {
        g_lastError = ErrorNoAnswer;
        return 0;
    }
    if (Injected(g_config.readFails, &g_reads)) {
        g_lastError = ErrorInjected;
        return 0;
    }
    if (g_config.slowMs) Sleep(g_config.slowMs);
    std::uint8_t kind = 0;
    static std::uint8_t answer[LanMaxAnswer];
    std::size_t length = 0;
    if (!Exchange(LanRead, nullptr, 0, &kind, answer, &length)) {
        g_lastError = ErrorConnection;
        return 0;
    }
    if (kind != LanAnswer) {
        g_lastError = ErrorNoAnswer;
        return 0;
    }
    // Never more than the caller's buffer holds; the count-over fault only
    // lies about the length.
    if (g_config.answerCut && static_cast<std::size_t>(g_config.answerCut) < length)
        length = static_cast<std::size_t>(g_config.answerCut);
    const std::size_t copied = length < size ? length : size;
    if (copied) std::memcpy(buffer, answer, copied);
    *count = g_config.countOver ? static_cast<DWORD>(g_config.countOver) : static_cast<DWORD>(copied);
    return 1;
}

int WINAPI SxGetError(INT_PTR) {
    Log("SxGetError");
    return g_lastError;
}

int WINAPI SxOpenStatus(INT_PTR) { return Unused("SxOpenStatus"); }
int WINAPI SxCloseStatus(INT_PTR) { return Unused("SxCloseStatus"); }
int WINAPI SxGetStatus(INT_PTR, void*, DWORD) { return Unused("SxGetStatus"); }
int WINAPI SxGetDeviceID(INT_PTR, void*, DWORD) { return Unused("SxGetDeviceID"); }
int WINAPI SxOpenSearch(void) { return Unused("SxOpenSearch"); }
int WINAPI SxCloseSearch(INT_PTR) { return Unused("SxCloseSearch"); }
int WINAPI SxSendSearch(INT_PTR) { return Unused("SxSendSearch"); }

}  // extern "C"
