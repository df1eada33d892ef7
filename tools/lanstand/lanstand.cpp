// LAN printer stand-in: the network printer that the stand-in LAN library
// (SxJcp32.dll, tools/sxstand) talks to, with the printer emulator behind it.
//
//   lanstand --items FILE --port-file FILE [--config FILE] [--record FILE]
//            [--state FILE] [--parent PID] [--slow-ms N]
//
// It listens on 127.0.0.1 on a port the system picks and, once it listens,
// writes the port number to --port-file: that file appearing is the signal
// that it is ready. It serves one connection at a time with the frames of
// lan_frame.h: a write request goes to the emulator's Write, a read request
// gets the emulator's answer. After every request, before the reply goes
// out, it writes every byte the printer has received so far to --record and
// the emulator's state to --state.
//
// Nothing that comes over the socket is trusted: every read has a deadline,
// lengths are checked against what the kind of frame allows, and a malformed
// frame closes the connection. A new connection while one is open replaces
// it, so a client that went away without closing cannot block the next one.
//   --slow-ms N   every reply goes out N ms later (a slow printer).
//   --parent PID  ends as soon as that process ends, so that a test program
//                 that crashed leaves no stand-in behind.
// Without --parent it runs until it is killed.
#include <winsock2.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/channel/link_block.h"
#include "tools/lanstand/lan_frame.h"
#include "tools/lanstand/lan_socket.h"
#include "tools/standin/stand_process.h"
#include "tools/printer_emu/printer_emulator.h"

namespace {

static_assert(LanMaxAnswer == LinkDataSize, "one read hands over what one receive of the monitor would");

// The rest of a frame must follow its first byte within this time.
const DWORD kFrameMs = 5000;
// A connection that sends nothing for this long is closed.
const DWORD kIdleMs = 10 * 60 * 1000;
// How often the waits look at the parent process.
const DWORD kLookMs = 100;

struct Options {
    std::string items, config, portFile, record, state;
    long parent = 0;
    long slowMs = 0;
};

bool ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::string* text = a == "--items" ? &o->items
                            : a == "--config" ? &o->config
                            : a == "--port-file" ? &o->portFile
                            : a == "--record" ? &o->record
                            : a == "--state" ? &o->state
                            : nullptr;
        long* number = a == "--parent" ? &o->parent : a == "--slow-ms" ? &o->slowMs : nullptr;
        if ((!text && !number) || i + 1 >= argc) return false;
        ++i;
        if (text) {
            *text = argv[i];
        } else if (number == &o->slowMs) {
            if (!ParseNumber(argv[i], 0, 600000, number)) return false;  // up to ten minutes
        } else if (!ParseNumber(argv[i], 1, 0x7FFFFFFF, number)) {
            return false;
        }
    }
    return !o->items.empty() && !o->portFile.empty();
}

// Writes the port number under another name first and then renames it, so
// that whoever waits for the file never reads half a number.
bool PublishPort(const std::string& path, unsigned port) {
    const std::string text = std::to_string(port) + "\n";
    const std::string temporary = path + ".tmp";
    return WriteFileBytes(temporary, text.data(), text.size()) &&
           MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// True when the watched process has ended (never without one).
bool ParentEnded(HANDLE parent) { return parent && WaitForSingleObject(parent, 0) != WAIT_TIMEOUT; }

void CloseSocket(SOCKET* s) {
    if (*s != INVALID_SOCKET) closesocket(*s);
    *s = INVALID_SOCKET;
}

// A connection from the listening socket, not inherited by child processes.
SOCKET Accept(SOCKET listener) {
    const SOCKET s = accept(listener, nullptr, nullptr);
    if (s != INVALID_SOCKET) SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return s;
}

enum class Next { Request, Replaced, Closed, ParentEnded };

// Waits for the first byte of the next request, a new connection or the
// parent's end.
Next WaitForRequest(SOCKET connection, SOCKET listener, HANDLE parent) {
    const DWORD idleDeadline = GetTickCount() + kIdleMs;
    while (Remaining(idleDeadline) > 0) {
        if (ParentEnded(parent)) return Next::ParentEnded;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(connection, &set);
        FD_SET(listener, &set);
        timeval wait = {0, static_cast<long>(kLookMs * 1000)};
        const int ready = select(0, &set, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR) return Next::Closed;
        if (ready > 0 && FD_ISSET(connection, &set)) return Next::Request;
        if (ready > 0 && FD_ISSET(listener, &set)) return Next::Replaced;
    }
    return Next::Closed;
}

class Server {
public:
    Server(const Options& options, PrinterEmulator& printer, HANDLE parent)
        : options_(options), printer_(printer), parent_(parent), payload_(LanMaxWrite) {}

    // Serves connections until the parent ends (or forever without one).
    void Run(SOCKET listener) {
        SOCKET connection = INVALID_SOCKET;
        while (!ParentEnded(parent_)) {
            if (connection == INVALID_SOCKET) {
                if (WaitSocket(listener, false, kLookMs)) connection = Accept(listener);
                continue;
            }
            const Next next = WaitForRequest(connection, listener, parent_);
            if (next == Next::ParentEnded) break;
            if (next == Next::Request && ServeOne(connection)) continue;
            CloseSocket(&connection);
            if (next == Next::Replaced) connection = Accept(listener);
        }
        CloseSocket(&connection);
    }

private:
    // Reads one request, hands it to the printer and replies; false when the
    // connection is to be closed (malformed, too slow, gone).
    bool ServeOne(SOCKET connection) {
        std::uint8_t header[LanHeaderSize];
        const DWORD deadline = GetTickCount() + kFrameMs;
        if (!ReceiveExactly(connection, header, sizeof header, deadline) || !LanHeaderValid(header, true)) return false;
        const std::size_t length = LanHeaderLength(header);
        if (length > payload_.size() || !ReceiveExactly(connection, payload_.data(), length, deadline)) return false;

        std::vector<std::uint8_t> reply(LanHeaderSize);
        if (header[1] == LanWrite) {
            const bool taken = printer_.Write(payload_.data(), length);
            LanPutHeader(reply.data(), taken ? LanTaken : LanNotTaken, 0);
        } else {
            std::vector<std::uint8_t> answer;
            if (printer_.Read(&answer) && !answer.empty()) {
                if (answer.size() > LanMaxAnswer) answer.resize(LanMaxAnswer);
                LanPutHeader(reply.data(), LanAnswer, answer.size());
                reply.insert(reply.end(), answer.begin(), answer.end());
            } else {
                LanPutHeader(reply.data(), LanNoAnswer, 0);
            }
        }
        SaveRecord(printer_, options_.record, options_.state);
        if (options_.slowMs > 0 && PauseUnlessParentEnds(parent_, static_cast<DWORD>(options_.slowMs))) return false;
        return SendExactly(connection, reply.data(), reply.size(), GetTickCount() + kFrameMs);
    }

    const Options& options_;
    PrinterEmulator& printer_;
    HANDLE parent_;
    std::vector<std::uint8_t> payload_;
};

const char kUsage[] =
    "usage: lanstand --items FILE --port-file FILE [--config FILE] [--record FILE] [--state FILE]"
    " [--parent PID] [--slow-ms N]\n";

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    HANDLE parent = nullptr;
    if (!OpenParentProcess(options.parent, "lanstand", &parent)) return 1;
    PrinterEmulator printer;
    if (!LoadPrinter(&printer, options.items, options.config, "lanstand")) return 1;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        std::fprintf(stderr, "lanstand: no Winsock\n");
        return 1;
    }
    // Loopback only: the printer is reachable from this machine and nowhere else.
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int addressLength = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &addressLength) != 0) {
        std::fprintf(stderr, "lanstand: cannot listen on 127.0.0.1 (error %d)\n", WSAGetLastError());
        return 1;
    }
    SetHandleInformation(reinterpret_cast<HANDLE>(listener), HANDLE_FLAG_INHERIT, 0);
    // Non-blocking, so that accepting a connection that went away between
    // the select and the accept cannot hang; the connections inherit it, and
    // every receive and send waits in select first.
    u_long nonBlocking = 1;
    ioctlsocket(listener, FIONBIO, &nonBlocking);
    SaveRecord(printer, options.record, options.state);
    const unsigned port = ntohs(address.sin_port);
    if (!PublishPort(options.portFile, port)) {
        std::fprintf(stderr, "lanstand: cannot write %s\n", options.portFile.c_str());
        return 1;
    }
    std::printf("lanstand: listening on 127.0.0.1:%u\n", port);
    std::fflush(stdout);

    Server(options, printer, parent).Run(listener);
    closesocket(listener);
    WSACleanup();
    return 0;
}
