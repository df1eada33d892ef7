// The stand-in LAN library (bin/SxJcp32.dll) against the LAN printer
// stand-in, used the way the remote panel uses the library: loaded by name,
// bound by GetProcAddress, one conversation, unloaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/e2e/e2e_support.h"
#include "tools/sxstand/sx_api.h"

namespace {

std::string BinPath(const std::string& name) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string exe(path, n < sizeof path ? n : 0);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + name;
}

// An entry point as its own pointer type; through void (*)(void), the
// generic function pointer type, which the compiler accepts without a
// function-type warning.
template <typename Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

struct Library {
    HMODULE module = nullptr;
    SxStartupFn startup = nullptr;
    SxCleanupFn cleanup = nullptr;
    SxOpenPortFn openPort = nullptr;
    SxClosePortFn closePort = nullptr;
    SxReadPortFn readPort = nullptr;
    SxWritePortFn writePort = nullptr;
    SxGetErrorFn getError = nullptr;

    explicit Library(const std::string& path) {
        module = LoadLibraryA(path.c_str());
        if (!module) return;
        startup = Bind<SxStartupFn>(module, "SxStartup");
        cleanup = Bind<SxCleanupFn>(module, "SxCleanup");
        openPort = Bind<SxOpenPortFn>(module, "SxOpenPort");
        closePort = Bind<SxClosePortFn>(module, "SxClosePort");
        readPort = Bind<SxReadPortFn>(module, "SxReadPort");
        writePort = Bind<SxWritePortFn>(module, "SxWritePort");
        getError = Bind<SxGetErrorFn>(module, "SxGetError");
    }
    bool Bound() const { return startup && cleanup && openPort && closePort && readPort && writePort && getError; }
    void Unload() {
        if (module) FreeLibrary(module);
        module = nullptr;
    }
    ~Library() { Unload(); }
};

const char* const kAllEntryPoints[] = {"SxStartup",    "SxCleanup",     "SxOpenPort",  "SxClosePort", "SxReadPort",
                                       "SxWritePort",  "SxGetError",    "SxOpenStatus", "SxCloseStatus",
                                       "SxGetStatus",  "SxGetDeviceID", "SxOpenSearch", "SxCloseSearch",
                                       "SxSendSearch"};

TEST(LanLibrary, OneConversationThroughTheLibrary) {
    LanStandIn printer;
    ASSERT_TRUE(printer.Start("version 1.00A\n")) << "LAN printer stand-in did not start";
    Library sx(BinPath("SxJcp32.dll"));
    ASSERT_TRUE(sx.module);
    ASSERT_TRUE(sx.Bound());

    ASSERT_NE(sx.startup(GetModuleHandleA(nullptr)), 0);
    const INT_PTR port = sx.openPort("127.0.0.1");
    ASSERT_NE(port, SX_INVALID_PORT);
    const std::string query = std::string("\x1b" "eONLINE") + "?VER    \r";
    DWORD written = 0;
    EXPECT_NE(sx.writePort(port, query.data(), static_cast<WORD>(query.size()), &written), 0);
    EXPECT_EQ(written, query.size());
    char answer[4096];
    DWORD count = 0;
    ASSERT_NE(sx.readPort(port, answer, sizeof answer, &count), 0);
    ASSERT_LE(count, sizeof answer);
    EXPECT_EQ(std::string(answer, count).substr(0, 8), "?VER    ");
    EXPECT_NE(std::string(answer, count).find("1.00A"), std::string::npos);
    // Nothing asked since: no answer, and the error is asked for.
    EXPECT_EQ(sx.readPort(port, answer, sizeof answer, &count), 0);
    sx.getError(port);
    EXPECT_NE(sx.closePort(port), 0);
    EXPECT_NE(sx.cleanup(), 0);
    sx.Unload();

    EXPECT_EQ(printer.Received(), query);
    EXPECT_EQ(printer.SxLog(),
              "DLL_PROCESS_ATTACH\nSxStartup\nSxOpenPort 127.0.0.1\nSxWritePort 17\nSxReadPort 4096\n"
              "SxReadPort 4096\nSxGetError\nSxClosePort\nSxCleanup\nDLL_PROCESS_DETACH\n");
}

TEST(LanLibrary, OpenFailsFaultAndUnknownAddress) {
    LanStandIn printer;
    ASSERT_TRUE(printer.Start("", "fault open-fails\n"));
    {
        Library sx(BinPath("SxJcp32.dll"));
        ASSERT_TRUE(sx.Bound());
        ASSERT_NE(sx.startup(GetModuleHandleA(nullptr)), 0);
        EXPECT_EQ(sx.openPort("127.0.0.1"), SX_INVALID_PORT);
        EXPECT_NE(sx.cleanup(), 0);
    }
    ASSERT_TRUE(printer.Start(""));
    Library sx(BinPath("SxJcp32.dll"));
    ASSERT_TRUE(sx.Bound());
    ASSERT_NE(sx.startup(GetModuleHandleA(nullptr)), 0);
    EXPECT_EQ(sx.openPort("127.0.0.2"), SX_INVALID_PORT);  // not a printer the library serves
    EXPECT_NE(sx.cleanup(), 0);
    EXPECT_EQ(printer.Received(), "");
}

TEST(LanLibrary, CountOverWritesNoMoreThanTheBuffer) {
    LanStandIn printer;
    ASSERT_TRUE(printer.Start("", "fault count-over 5000\n"));
    Library sx(BinPath("SxJcp32.dll"));
    ASSERT_TRUE(sx.Bound());
    ASSERT_NE(sx.startup(GetModuleHandleA(nullptr)), 0);
    const INT_PTR port = sx.openPort("127.0.0.1");
    ASSERT_NE(port, SX_INVALID_PORT);
    const std::string query = std::string("\x1b" "eONLINE") + "?VER    \r";
    DWORD written = 0;
    ASSERT_NE(sx.writePort(port, query.data(), static_cast<WORD>(query.size()), &written), 0);
    char buffer[12];
    buffer[8] = '#';
    DWORD count = 0;
    ASSERT_NE(sx.readPort(port, buffer, 8, &count), 0);
    EXPECT_EQ(count, 5000u);
    EXPECT_EQ(std::string(buffer, 8), "?VER    ");
    EXPECT_EQ(buffer[8], '#');
    EXPECT_NE(sx.closePort(port), 0);
    EXPECT_NE(sx.cleanup(), 0);
}

TEST(LanLibrary, VariantsLackExactlyOneEntryPoint) {
    const struct {
        const char* missing;
        const char* folder;
    } variants[] = {{"SxSendSearch", "SxJcp32-nosendsearch"}, {"SxStartup", "SxJcp32-nostartup"}};
    for (const auto& variant : variants) {
        HMODULE module = LoadLibraryA(BinPath(std::string(variant.folder) + "\\SxJcp32.dll").c_str());
        ASSERT_TRUE(module) << variant.folder;
        for (const char* name : kAllEntryPoints)
            EXPECT_EQ(GetProcAddress(module, name) == nullptr, std::string(name) == variant.missing) << name;
        FreeLibrary(module);
    }
}

}  // namespace
