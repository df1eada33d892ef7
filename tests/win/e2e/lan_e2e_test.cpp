// Network printers end to end: the remote panel's reading and writing code
// in this process, the stand-in LAN library loaded by name for each
// conversation, Wine's Winsock, and the printer emulator behind a TCP server
// on the loopback interface.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/library_search.h"
#include "common/timing.h"
#include "link/channel/link_block.h"
#include "link/channel/printer_link.h"
#include "link/lan/lan_link.h"
#include "link/lan/lan_rules.h"
#include "panel/exchange/exchange_support.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/records/panel_records.h"
#include "tests/win/e2e/e2e_support.h"

namespace {

const unsigned kDivisor = 20;

const std::string kOnline = std::string("\x1b" "eONLINE");
const std::string kCancel = "CANCEL  \r";
const std::string kRecovery = std::string(9, '\r') + "CANCEL  \r";
const std::string kReadFailed = "プリンターから設定内容の読み込みに失敗しました。";

bool LibraryLoaded() { return GetModuleHandleA("SxJcp32.dll") != nullptr; }

// Puts a build variant of the library (one entry point left out) in place of
// the library next to the program, and the real one back afterwards.
class LibraryVariant {
public:
    explicit LibraryVariant(const char* variant) {
        const std::string folder = ProgramDirectory();
        live_ = folder + "SxJcp32.dll";
        saved_ = folder + "SxJcp32.dll.saved";
        in_place_ = CopyFileA(live_.c_str(), saved_.c_str(), FALSE) &&
                    CopyFileA((folder + variant + "\\SxJcp32.dll").c_str(), live_.c_str(), FALSE);
    }
    ~LibraryVariant() {
        CopyFileA(saved_.c_str(), live_.c_str(), FALSE);
        DeleteFileA(saved_.c_str());
    }
    bool in_place() const { return in_place_; }

private:
    std::string live_, saved_;
    bool in_place_ = false;
};

class LanEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AllocateGlobals());
        TestSeam_ShortenFixedWaits(kDivisor);
        CancelPending = false;
        std::memset(&CurrentTarget, 0, sizeof CurrentTarget);
        std::strcpy(CurrentTarget.PrinterName, "KOA LAN");
        std::strcpy(CurrentTarget.PortName, "127.0.0.1:lp");
        CurrentTarget.ConnectionKind = ConnectLan;
        CurrentTarget.Model = ModelKoa2400MaxR;
    }

    void TearDown() override {
        standIn_.Stop();
        EXPECT_FALSE(LibraryLoaded()) << "nothing stays loaded between conversations";
        ReleaseGlobals();
        TestSeam_ShortenFixedWaits(1);
    }

    void Serve(const std::string& config, const std::string& faults = "") {
        ASSERT_TRUE(standIn_.Start(config, faults)) << "the LAN printer stand-in did not start";
    }

    LanStandIn standIn_;
};

TEST_F(LanEndToEnd, ReadAndWriteGoThroughTheLibraryAndItIsUnloadedAfterEach) {
    Serve("model koa240MR\nvalue STANDBY 15min\nvalue FRC-LFVA 8LPI\n");
    BoxWatcher watcher;
    EXPECT_EQ(ReadFromPrinter(ReadModelAndSettings, nullptr), 1);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("FRC-LFVA")], 3);
    EXPECT_STREQ(CurrentTarget.LanAddress, "127.0.0.1");
    EXPECT_EQ(standIn_.Received(), kOnline + "?MODEL  \r?VER    \r?NVRAM  \r" + kCancel);
    EXPECT_FALSE(LibraryLoaded());

    const std::string log = standIn_.SxLog();
    EXPECT_EQ(log.find("DLL_PROCESS_ATTACH"), 0u) << log;
    EXPECT_NE(log.find("SxOpenPort 127.0.0.1"), std::string::npos) << log;
    EXPECT_LT(log.find("SxClosePort"), log.find("SxCleanup")) << log;
    EXPECT_NE(log.find("DLL_PROCESS_DETACH"), std::string::npos) << log;

    LoadFactoryDefaults();
    EXPECT_EQ(WriteToPrinter(WriteSettings, nullptr), 1);
    EXPECT_NE(standIn_.State().find("value STANDBY 1min"), std::string::npos) << standIn_.State();
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(LanEndToEnd, AReadRepairsWhateverThePortAndAWriteOnlyClearsTheFlag) {
    std::strcpy(CurrentTarget.PortName, "127.0.0.1:lp-USB");
    Serve("model koa240MR\n");
    CancelPending = true;
    const DWORD start = GetTickCount();
    EXPECT_EQ(ReadFromPrinter(ReadVersion, nullptr), 1);
    EXPECT_GE(GetTickCount() - start, 5000 / kDivisor);
    EXPECT_EQ(standIn_.Received(), kRecovery + kOnline + "?VER    \r" + kCancel);
    EXPECT_FALSE(CancelPending);

    Serve("model koa240MR\n");
    CancelPending = true;
    EXPECT_EQ(WriteToPrinter(ResetRibbonLife, nullptr), 1);
    EXPECT_EQ(standIn_.Received(), std::string("\x1b" "eR6"));
    EXPECT_FALSE(CancelPending);
}

TEST_F(LanEndToEnd, EachLibraryFailureShowsItsText) {
    const struct {
        const char* faults;
        int kind;  // 0 read settings, 1 write settings
        const char* first;   // the library's message
        const char* second;  // the read's own message, or null
    } cases[] = {
        {"fault start-refused\n", 0, LanInitFailedText, nullptr},
        {"fault open-fails\n", 0, LanNoAnswerText, nullptr},
        {"fault open-fails\n", 1, LanNoAnswerText, nullptr},
        {"fault read-fails\n", 0, LanReceiveFailedText, kReadFailed.c_str()},
        {"fault write-fails 2\n", 1, LanSendFailedText, nullptr},
        {"fault close-fails\n", 0, LanCloseFailedText, nullptr},
        {"fault cleanup-fails\n", 1, LanCloseFailedText, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.faults);
        Serve("model koa240MR\n", c.faults);
        BoxWatcher watcher;
        if (c.kind == 0)
            ReadFromPrinter(ReadSettings, nullptr);
        else
            WriteToPrinter(WriteSettings, nullptr);
        const auto messages = watcher.Boxes();
        ASSERT_EQ(messages.size(), c.second ? 2u : 1u);
        EXPECT_EQ(messages[0].text, c.first);
        EXPECT_EQ(messages[0].icon, 181);
        if (c.second) {
            EXPECT_EQ(messages[1].text, c.second);
        }
        EXPECT_FALSE(LibraryLoaded());
    }
}

TEST_F(LanEndToEnd, ALibraryWithoutOneEntryPointDoesNotOpen) {
    for (const char* variant : {"SxJcp32-nosendsearch", "SxJcp32-nostartup"}) {
        SCOPED_TRACE(variant);
        LibraryVariant library(variant);
        ASSERT_TRUE(library.in_place());
        Serve("model koa240MR\n");
        BoxWatcher watcher;
        EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].text, LanInitFailedText);
        EXPECT_EQ(standIn_.Received(), "");
        EXPECT_EQ(standIn_.SxLog().find("SxStartup"), std::string::npos) << "nothing is called";
    }
}

TEST_F(LanEndToEnd, ACountAboveTheBufferIsBoundedByIt) {
    Serve("model koa240MR\nvalue STANDBY 15min\n", "fault count-over 70000\n");
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    EXPECT_EQ(LinkCopy()->length, 4096u);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
}

// Milliseconds since `start` (QueryPerformanceCounter): GetTickCount follows
// a coarser clock under Wine and may show a 1000 ms sleep as 995 ms.
double MsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The printer is paced by the channel itself: a send holds the line for
// 1000 ms before and after the library call, a receive for 1000 ms after it.
TEST_F(LanEndToEnd, EachSendTakesTwoSecondsAndEachReceiveOne) {
    Serve("model koa240MR\n");
    ASSERT_EQ(OpenPrinterLink(), 1);
    char address[LanAddressSize];
    const char* error = nullptr;
    ASSERT_EQ(OpenLanLink(CurrentTarget.PortName, address, sizeof address, &error), 1) << error;
    TestSeam_ShortenFixedWaits(1);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    EXPECT_NE(LanExchange(LinkSend, const_cast<char*>(kOnline.data()), static_cast<unsigned>(kOnline.size())), 0);
    EXPECT_GE(MsSince(start), 2000.0);
    TestSeam_ShortenFixedWaits(kDivisor);
    const std::string version = "?VER    \r";
    EXPECT_NE(LanExchange(LinkSend, const_cast<char*>(version.data()), static_cast<unsigned>(version.size())), 0);
    TestSeam_ShortenFixedWaits(1);
    unsigned char answer[4096];
    QueryPerformanceCounter(&start);
    EXPECT_NE(LanExchange(LinkReceive, answer, 0), 0);
    EXPECT_GE(MsSince(start), 1000.0);
    TestSeam_ShortenFixedWaits(kDivisor);
    CloseLanLink();
}

// A short answer fills the caller's whole buffer: its bytes, then zeros over
// whatever the buffer held before, and its own length in the shared copy.
TEST_F(LanEndToEnd, ATenByteAnswerIsFollowedByZerosAndGivesItsLength) {
    Serve("model koa240MR\nversion 1.23\n", "fault answer-cut 10\n");
    ASSERT_EQ(OpenPrinterLink(), 1);
    char address[LanAddressSize];
    const char* error = nullptr;
    ASSERT_EQ(OpenLanLink(CurrentTarget.PortName, address, sizeof address, &error), 1) << error;
    const std::string ask = kOnline + "?VER    \r";
    ASSERT_NE(LanExchange(LinkSend, const_cast<char*>(ask.data()), static_cast<unsigned>(ask.size())), 0);
    LinkCopy()->length = 0xFFFF;
    std::string answer(4096, '\xAA');
    ASSERT_NE(LanExchange(LinkReceive, &answer[0], 0), 0);
    CloseLanLink();
    EXPECT_EQ(answer.substr(0, 10), "?VER    \r1");
    EXPECT_EQ(answer.substr(10), std::string(4086, '\0'));
    EXPECT_EQ(LinkCopy()->length, 10u);
}

// A port that cannot be closed is not followed by a stop of the library:
// the library is unloaded at once and the user told to restart.
TEST_F(LanEndToEnd, NoCleanupAfterAFailedClose) {
    Serve("model koa240MR\n", "fault close-fails\n");
    TargetChannel channel;  // gives the channel the panel's message box, as every conversation does
    ASSERT_EQ(OpenPrinterLink(), 1);
    char address[LanAddressSize];
    const char* error = nullptr;
    ASSERT_EQ(OpenLanLink(CurrentTarget.PortName, address, sizeof address, &error), 1) << error;
    standIn_.ClearSxLog();
    BoxWatcher watcher;
    CloseLanLink();
    const std::string log = standIn_.SxLog();
    EXPECT_NE(log.find("SxClosePort"), std::string::npos) << log;
    EXPECT_EQ(log.find("SxCleanup"), std::string::npos) << log;
    EXPECT_FALSE(LibraryLoaded());
    ASSERT_TRUE(WaitUntil([&] { return watcher.Boxes().size() == 1; }));
    EXPECT_EQ(watcher.Boxes()[0].text, LanCloseFailedText);
}

TEST_F(LanEndToEnd, TheExitRepairsAnOpenConversationOverTheLibrary) {
    Serve("model koa240MR\n");
    ASSERT_EQ(OpenPrinterLink(), 1);
    CancelOpenConversationAtExit(nullptr);
    EXPECT_EQ(standIn_.Received(), "") << "nothing was left open";

    CancelPending = true;
    BoxWatcher watcher;
    CancelOpenConversationAtExit(nullptr);
    EXPECT_EQ(standIn_.Received(), kRecovery);
    EXPECT_TRUE(watcher.Boxes().empty());

    Serve("model koa240MR\n", "fault open-fails\n");
    CancelOpenConversationAtExit(nullptr);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, LanNoAnswerText);
}

// A library is looked for in the application folder and the system folders,
// never in the folder the program happened to be started from. Wine (8.0)
// keeps searching the current folder whatever SetDllDirectoryA says, so
// there only the call and the application folder can be checked.
TEST(LibrarySearch, TheCurrentFolderIsNotSearched) {
    const std::string folder = ScratchPath("current");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string probe = folder + "\\koaprobe.dll";
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "SxJcp32.dll").c_str(), probe.c_str(), FALSE));
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));

    HMODULE found = LoadLibraryA("koaprobe.dll");
    EXPECT_NE(found, nullptr) << "found in the current folder before";
    if (found) FreeLibrary(found);
    EXPECT_TRUE(KeepCurrentFolderOutOfLibrarySearch());
    found = LoadLibraryA("koaprobe.dll");
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine) {
        EXPECT_EQ(found, nullptr) << "not found there after";
    }
    if (found) FreeLibrary(found);
    HMODULE installed = LoadLibraryA("SxJcp32.dll");
    EXPECT_NE(installed, nullptr) << "the application folder still serves";
    if (installed) FreeLibrary(installed);

    SetCurrentDirectoryA(before);
    DeleteFileA(probe.c_str());
}

}  // namespace
