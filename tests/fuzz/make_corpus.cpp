// Writes the seed corpus of the fuzz targets: a few realistic answers and
// records per target. Run by hand after a change of the answer layouts:
//   build/fuzz/tests/fuzz/fuzz_make_corpus tests/fuzz/corpus
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "panel/core/counters.h"
#include "panel/core/setting_items.h"

namespace {

std::string Field(const std::string& text, char separator = '\r') {
    std::string field = text.substr(0, 8);
    field.resize(8, ' ');
    return field + separator;
}

std::string Entry(int item, int position, char separator = '\r') {
    const char* keyword = SettingKeyword(item, position);
    return std::string(SettingItems[item].name, 8) + separator + std::string(keyword ? keyword : "?", keyword ? 8 : 1) +
           separator;
}

// Entries for every item in exchange order; `position` picks the value.
template <typename Pick>
std::string Entries(Pick position) {
    std::string text;
    for (unsigned char item : SettingExchangeOrder) text += Entry(item, position(item));
    return text;
}

std::string Block(int length, int id, const std::string& data) {
    std::string block;
    block += '\x1b';
    block += static_cast<char>(length);
    block += static_cast<char>(id);
    block += '\0';
    block += data;
    block.resize(static_cast<size_t>(length), '\0');
    return block;
}

std::string BigEndian(unsigned value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::vector<std::string> CounterBlocks() {
    std::string pins;
    for (unsigned pin = 0; pin < 24; ++pin) pins += BigEndian(1000000 + pin * 3517);
    return {
        Block(8, 1, std::string("\x01\x02", 2)),
        Block(8, 3, BigEndian(12345)),
        Block(8, 4, BigEndian(987654)),
        Block(8, 5, BigEndian(55555)),
        Block(8, 6, BigEndian(3000000)),
        Block(8, 7, BigEndian(42)),
        Block(100, 8, pins),
        Block(11, 9, std::string("\x10\x21\x00\x33\x00\x00\x00", 7)),
    };
}

bool Write(const std::string& folder, const std::string& name, const std::string& bytes) {
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    bool ok = true;

    // Start-up read: model, version and a few settings.
    std::string few;
    for (int item : {0, 1, 2, 14, 17, 31, 63, 108}) few += Entry(item, FactoryDefaults.value[item]);
    ok &= Write(root + "/model", "koa240MR",
                Field("?MODEL") + Field("koa240MR") + Field("?VER") + Field("1.05A") + Field("?NVRAM") + few);
    ok &= Write(root + "/model", "koa260MR-garbage",
                std::string("\r\n\x1b") + Field("?MODEL", '\0') + Field("koa260MR", '\0') + "junk" + Field("?NVRAM") +
                    Entry(0, 9) + few.substr(0, 54));
    ok &= Write(root + "/model", "unknown-model", Field("?MODEL") + Field("koa999ZZ") + Field("?NVRAM"));
    ok &= Write(root + "/model", "no-model-echo", Field("?VER") + Field("1.05A") + Field("?NVRAM") + few.substr(0, 36));

    // Settings: every item with its factory value, and a short damaged answer.
    ok &= Write(root + "/settings", "factory",
                Field("?VER") + Field("1.05A") + Field("?NVRAM") +
                    Entries([](int item) { return FactoryDefaults.value[item]; }));
    ok &= Write(root + "/settings", "damaged",
                Field("?NVRAM") + Field("FRC-LFVA") + Field("5LPI") + "##" + Entry(1, 0, ':') + Field("PATH-MD") +
                    Field("FRC-MODE"));
    ok &= Write(root + "/settings", "empty-section", Field("?NVRAM"));

    ok &= Write(root + "/version", "version", Field("?VER") + "1.05A  \r");
    ok &= Write(root + "/version", "twice", "\r\r" + Field("?VER", ' ') + "2.00B01" + Field("?VER") + "0.00");

    // Counters: the complete answer, shuffled with garbage, one block eight
    // times, and an answer that starts at a length byte.
    const std::vector<std::string> blocks = CounterBlocks();
    std::string all, shuffled, same, first;
    for (const std::string& block : blocks) all += block;
    for (int i : {7, 2, 6, 0, 5, 1, 4, 3}) shuffled += std::string("\x08\x0b\x64", 1 + i % 3) + blocks[i];
    for (int i = 0; i < 8; ++i) same += blocks[4];
    for (size_t i = 0; i < 7; ++i) first += blocks[i];
    ok &= Write(root + "/counters", "complete", all);
    ok &= Write(root + "/counters", "shuffled", shuffled);
    ok &= Write(root + "/counters", "same-block", same);
    ok &= Write(root + "/counters", "seven-at-zero", first.substr(1));

    // Reports: the complete answer's counters with a name and version as a
    // printer gives them, and every count at its largest with a name longer
    // than is read and a version with control bytes.
    ConsumablesCounters counters = {};
    ParseCountersAnswer(reinterpret_cast<const unsigned char*>(all.data()), static_cast<int>(all.size()), &counters);
    const std::string counted(reinterpret_cast<const char*>(&counters), sizeof counters);
    ok &= Write(root + "/consumables_report", "answered",
                counted + std::string("1.05A  \0\0\0\0\0", 12) + "\x8c\x6f\x97\x9d\x95\x94 KOA koa2400Max-R");
    ok &= Write(root + "/consumables_report", "largest-long-name",
                std::string(sizeof counters, '\xff') + std::string("V\r\n1\x83\x01\x83\x41\0\0\0\0", 12) +
                    std::string(255, 'N') + "\x8c\x6f" + std::string(40, '\x82'));

    // Setting block records: factory values, last positions, empty selections.
    std::string factory(reinterpret_cast<const char*>(FactoryDefaults.value), SettingCount), last, empty(SettingCount, '\xff');
    for (int item = 0; item < SettingCount; ++item) last += static_cast<char>(SettingValueCount(item) - 1);
    ok &= Write(root + "/setting_block", "factory", factory);
    ok &= Write(root + "/setting_block", "last-positions", last);
    ok &= Write(root + "/setting_block", "empty-selections", empty);

    if (!ok) std::fprintf(stderr, "could not write the corpus under %s\n", root.c_str());
    return ok ? 0 : 1;
}
