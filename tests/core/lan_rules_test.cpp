// The LAN channel's portable rules: the binding order of the library's entry
// points, the printer's address in a port name, the answer count and the
// request codes that reach the library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/channel/link_block.h"
#include "link/lan/lan_rules.h"

namespace {

// A library that lacks one entry point, and notes every name asked for.
struct FakeLibrary {
    std::string missing;
    std::vector<std::string> asked;
    static void* LookUp(const char* name, void* context) {
        FakeLibrary& library = *static_cast<FakeLibrary*>(context);
        library.asked.push_back(name);
        return library.missing == name ? nullptr : &library;
    }
};

const std::vector<std::string> kOrder = {
    "SxStartup",   "SxCleanup",     "SxOpenPort",   "SxClosePort",  "SxReadPort",
    "SxWritePort", "SxOpenStatus",  "SxCloseStatus", "SxGetStatus", "SxGetDeviceID",
    "SxOpenSearch", "SxCloseSearch", "SxSendSearch", "SxGetError",
};

TEST(LanBinding, AllFourteenInTheirOrder) {
    FakeLibrary library;
    void* entries[LanEntryPointCount];
    EXPECT_EQ(BindLanEntryPoints(FakeLibrary::LookUp, &library, entries), 1);
    EXPECT_EQ(library.asked, kOrder);
    for (void* entry : entries) EXPECT_EQ(entry, &library);
}

TEST(LanBinding, StopsAtTheFirstMissingOneAndAsksForNoMore) {
    for (std::size_t missing = 0; missing < kOrder.size(); ++missing) {
        SCOPED_TRACE(kOrder[missing]);
        FakeLibrary library;
        library.missing = kOrder[missing];
        void* entries[LanEntryPointCount];
        EXPECT_EQ(BindLanEntryPoints(FakeLibrary::LookUp, &library, entries), 0);
        EXPECT_EQ(library.asked, std::vector<std::string>(kOrder.begin(), kOrder.begin() + missing + 1));
    }
    void* entries[LanEntryPointCount];
    EXPECT_EQ(BindLanEntryPoints(nullptr, nullptr, entries), 0);
}

TEST(LanAddress, FirstTokenAfterLeadingColons) {
    const struct {
        const char* port;
        const char* address;
    } cases[] = {
        {"192.168.1.20:lp", "192.168.1.20"},
        {"127.0.0.1:lp", "127.0.0.1"},
        {"::10.0.0.7:lp:more", "10.0.0.7"},
        {"printer-3", "printer-3"},
        {":::", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        char address[LanAddressSize] = "stale";
        DeriveLanAddress(c.port, address, sizeof address);
        EXPECT_STREQ(address, c.address) << c.port;
    }
    char address[8] = "stale";
    DeriveLanAddress(nullptr, address, sizeof address);
    EXPECT_STREQ(address, "");
}

TEST(LanAddress, BoundedByTheNameBufferAndTheDestination) {
    const std::string longPort = std::string(400, 'a') + ":lp";
    char address[LanAddressSize];
    DeriveLanAddress(longPort.c_str(), address, sizeof address);
    EXPECT_EQ(std::string(address), std::string(LanAddressSize - 1, 'a')) << "the port name counts up to 255 bytes";
    char small[6];
    DeriveLanAddress("192.168.1.20:lp", small, sizeof small);
    EXPECT_STREQ(small, "192.1");
}

TEST(LanAnswer, ACountAboveTheBufferIsTheBuffer) {
    EXPECT_EQ(BoundLanAnswerCount(0), 0u);
    EXPECT_EQ(BoundLanAnswerCount(10), 10u);
    EXPECT_EQ(BoundLanAnswerCount(4096), 4096u);
    EXPECT_EQ(BoundLanAnswerCount(4097), 4096u);
    EXPECT_EQ(BoundLanAnswerCount(0xFFFFFFFFu), 4096u);
}

TEST(LanRequest, OnlyReceiveAndSendReachTheLibrary) {
    EXPECT_EQ(LanRequestOf(LinkReceive), LanReceiveRequest);
    EXPECT_EQ(LanRequestOf(LinkSend), LanSendRequest);
    for (std::uint32_t code : {0u, 3u, 4u, 5u, 0xFFFFFFFFu}) EXPECT_EQ(LanRequestOf(code), LanNoRequest) << code;
}

}  // namespace
