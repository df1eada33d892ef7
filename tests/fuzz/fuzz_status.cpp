// The status monitor's texts: ERR_CODE read from arbitrary bytes, then the
// status text, the title and the life lists built for that code into
// buffers of every size, each on the heap at exactly its size so that the
// address sanitizer catches a write past it. Every result must be
// terminated, fit in size - 1, be a prefix of the whole text and end
// between two code page 932 characters.
//
// Input: HEAD_SPAN, RIBBON_SPAN, two bytes of buffer size (little endian,
// below 2048), then the ERR_CODE text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "monitor/core/status_rules.h"

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool WholeCharacters(const char* text, std::size_t length) {
    std::size_t at = 0;
    while (at < length) at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    return at == length;
}

// Builds into a buffer of exactly `size` bytes and holds the result to the
// whole text built into a large buffer.
template <typename Build>
void CheckBounded(Build build, std::size_t size) {
    char whole[4096];
    const std::size_t wholeLength = build(whole, sizeof whole);
    FUZZ_CHECK(wholeLength < sizeof whole && whole[wholeLength] == '\0');
    FUZZ_CHECK(std::strlen(whole) == wholeLength);
    FUZZ_CHECK(WholeCharacters(whole, wholeLength));

    std::unique_ptr<char[]> buffer(new char[size]);
    std::memset(buffer.get(), 'X', size);
    const std::size_t n = build(buffer.get(), size);
    if (size == 0) {
        FUZZ_CHECK(n == 0);
        return;
    }
    FUZZ_CHECK(n <= size - 1);
    FUZZ_CHECK(buffer[n] == '\0');
    FUZZ_CHECK(std::strlen(buffer.get()) == n);
    FUZZ_CHECK(n <= wholeLength && std::memcmp(buffer.get(), whole, n) == 0);
    FUZZ_CHECK(WholeCharacters(buffer.get(), n));
    // At most one byte of room is lost, to a character that did not fit.
    const std::size_t room = size - 1 < wholeLength ? size - 1 : wholeLength;
    FUZZ_CHECK(n + 1 >= room);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // ERR_CODE over the whole input, exactly as large as it is, and over
    // every shorter view of its start.
    {
        std::unique_ptr<char[]> text(new char[size ? size : 1]);
        if (size) std::memcpy(text.get(), data, size);
        for (std::size_t view = 0; view <= size && view <= 64; ++view) {
            const int code = ParseStatusCode(text.get(), view);
            FUZZ_CHECK(code >= -32768 && code <= 32767);
        }
        const int code = ParseStatusCode(text.get(), size);
        FUZZ_CHECK(code >= -32768 && code <= 32767);
    }
    if (size < 4) return 0;

    const int headSpan = data[0];
    const int ribbonSpan = data[1];
    const std::size_t bufferSize = static_cast<std::size_t>(data[2] | (data[3] << 8)) % 2048;
    const std::size_t textSize = size - 4;
    std::unique_ptr<char[]> text(new char[textSize ? textSize : 1]);
    if (textSize) std::memcpy(text.get(), data + 4, textSize);
    const int code = ParseStatusCode(text.get(), textSize);

    const StatusEntry& entry = FindStatusEntry(code);
    FUZZ_CHECK(entry.text != nullptr);
    FUZZ_CHECK(entry.code == code || entry.code == 9999);
    const int icon = TrayIconFor(code);
    FUZZ_CHECK(icon == StatusIconReady || icon == StatusIconInfo || icon == StatusIconWarning ||
               icon == StatusIconError || icon == StatusIconAlarm);
    (void)IsSevereCode(code);
    (void)RibbonResetAllowed(code);

    CheckBounded([&](char* buffer, std::size_t n) { return BuildStatusText(code, headSpan, ribbonSpan, buffer, n); },
                 bufferSize);
    CheckBounded([&](char* buffer, std::size_t n) { return BuildStatusTitle(code, buffer, n); }, bufferSize);
    CheckBounded([&](char* buffer, std::size_t n) { return BuildStatusTitle(code, buffer, n); }, 64);
    CheckBounded([&](char* buffer, std::size_t n) { return BuildPrepareList(headSpan, ribbonSpan, buffer, n); },
                 bufferSize);
    CheckBounded([&](char* buffer, std::size_t n) { return BuildReplaceList(headSpan, ribbonSpan, buffer, n); },
                 bufferSize);

    // The tick's decisions for this code after the one the spans spell.
    const int previous = headSpan * 8 - 300;
    const PopUpDecision decision = DecidePopUp(ribbonSpan % 4, code, previous);
    FUZZ_CHECK(!(decision.popUp && decision.minimise));
    FlashAction action = FlashNothing;
    const unsigned char state = NextFlashState(static_cast<unsigned char>(bufferSize), (headSpan & 1) != 0, code,
                                               previous, (ribbonSpan & 1) != 0, &action);
    FUZZ_CHECK(action != FlashOnce || state == 0x11);
    FUZZ_CHECK(action != FlashStop || state == 0);
    return 0;
}
