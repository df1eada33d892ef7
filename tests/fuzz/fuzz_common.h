// Shared pieces of the fuzz targets: the answer buffer as the program holds
// it, and a check that turns a broken promise into a crash libFuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "panel/core/answer_parse.h"

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// The answer buffers: exactly 4096 bytes each on the heap, so that the
// address sanitizer catches any read past them; zero-filled like the
// program's. The input is tried three ways:
//   - at the start of the buffer, with its own size as the answer length;
//   - at the start, with a length field taken from its first two bytes
//     (possibly negative or above 4096, which the parsers must survive);
//   - ending on the buffer's last byte, with length 4096, so that short
//     inputs reach the end of the buffer, where fields and blocks run out.
class FuzzAnswer {
public:
    struct Case {
        const unsigned char* bytes;
        int length;
    };

    FuzzAnswer(const std::uint8_t* data, std::size_t size)
        : front_(new unsigned char[AnswerBufferSize]()), back_(new unsigned char[AnswerBufferSize]()) {
        const std::size_t fits = size < AnswerBufferSize ? size : AnswerBufferSize;
        std::memcpy(front_.get(), data, fits);
        std::memcpy(back_.get() + (AnswerBufferSize - fits), data + (size - fits), fits);
        cases_.push_back({front_.get(), size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size)});
        if (size >= 2) cases_.push_back({front_.get(), static_cast<std::int16_t>(data[0] | (data[1] << 8))});
        cases_.push_back({back_.get(), AnswerBufferSize});
    }

    const std::vector<Case>& cases() const { return cases_; }

    // How far a scan with this length field may go.
    static int Effective(int length) {
        return length < 0 ? 0 : length > AnswerBufferSize ? static_cast<int>(AnswerBufferSize) : length;
    }

private:
    std::unique_ptr<unsigned char[]> front_;
    std::unique_ptr<unsigned char[]> back_;
    std::vector<Case> cases_;
};

// Checks a record the settings parse filled: every byte inside its list.
inline void CheckRecordInLists(const SettingsRecord& record) {
    for (int item = 0; item < SettingCount; ++item) FUZZ_CHECK(record.value[item] < SettingValueCount(item));
}

struct ValueErrorLog {
    int calls = 0;
    static void Record(int item, void* context) {
        FUZZ_CHECK(item >= 0 && item < SettingCount);
        ++static_cast<ValueErrorLog*>(context)->calls;
    }
};
