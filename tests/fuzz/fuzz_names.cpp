// What the remote panel takes from the spooler, the file system and the
// keyboard before it decides anything: printer, port, driver and folder
// names of any bytes and length, settings files of any length and content,
// and the Tab key's inputs. Every rule must terminate its output inside the
// buffer (each on the heap at exactly its size), never cut a double-byte
// character, and answer within its range.
//
// Input: one byte of flags and buffer size, then NUL-separated fields:
// port name, separator file, driver name, a path, a folder, a file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "common/cp932_text.h"
#include "link/channel/supported_drivers.h"
#include "link/choice/port_rules.h"
#include "panel/core/settings_file_rules.h"
#include "panel/core/message_text.h"
#include "panel/core/tab_key_rules.h"

namespace {


// The fields of the input; a missing one is empty.
std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> fields(count);
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < count; ++i) {
        if (data[i] == 0) {
            ++field;
        } else {
            fields[field].push_back(static_cast<char>(data[i]));
        }
    }
    return fields;
}

void CheckCp932Copy(const std::string& name, std::size_t size) {
    std::unique_ptr<char[]> out(new char[size]);
    const std::size_t n = CopyCp932(out.get(), size, name.c_str());
    FUZZ_CHECK(n < size && out[n] == '\0' && std::strlen(out.get()) == n);
    FUZZ_CHECK(std::memcmp(out.get(), name.data(), n) == 0);
    // The copy ends between whole characters, and the next one either did
    // not fit or was no whole character (the end, or a lone lead byte).
    std::size_t at = 0;
    while (at < n) {
        const std::size_t step = Cp932CharLength(name.c_str() + at);
        FUZZ_CHECK(step > 0);
        at += step;
    }
    FUZZ_CHECK(at == n);
    const std::size_t next = Cp932CharLength(name.c_str() + n);
    FUZZ_CHECK(next == 0 || n + next > size - 1);
}

void CheckPaths(const std::string& path, const std::string& folder) {
    char data[PathBufferSize];
    std::size_t levels[2] = {};
    const bool chosen = ChooseDataDirectory(folder.c_str(), path.c_str(), data, levels);
    FUZZ_CHECK(std::memchr(data, '\0', sizeof data) != nullptr);
    if (chosen) {
        FUZZ_CHECK(std::strncmp(data, folder.c_str(), folder.size()) == 0);
        FUZZ_CHECK(levels[0] <= levels[1] && levels[1] == std::strlen(data));
    }
    char temp[PathBufferSize];
    if (TempSettingsPath(data, temp)) FUZZ_CHECK(std::strlen(temp) < sizeof temp);
    else FUZZ_CHECK(temp[0] == '\0');
    char parent[PathBufferSize];
    if (FolderOfPath(path.c_str(), parent)) FUZZ_CHECK(std::strlen(parent) <= path.size());
    EndsWithSeparator(path.c_str());

    char joined[PathBufferSize];
    if (CopyPathWhole(joined, sizeof joined, folder.c_str())) {
        const std::size_t before = std::strlen(joined);
        const bool whole = AppendPathWhole(joined, sizeof joined, path.c_str());
        FUZZ_CHECK(std::strlen(joined) == (whole ? before + path.size() : before));
    } else {
        FUZZ_CHECK(joined[0] == '\0');
    }
}

void CheckSettingsFile(const std::string& bytes) {
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    const std::size_t n =
        ApplyLoadedBytes(&record, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    FUZZ_CHECK(n <= SettingCount && n <= bytes.size());
    FUZZ_CHECK(std::memcmp(record.value, bytes.data(), n) == 0);
    const int item = FindOutOfListSetting(record);
    FUZZ_CHECK(item >= -1 && item < SettingCount);
    if (item >= 0) {
        FUZZ_CHECK(record.value[item] >= SettingValueCount(item));
        char text[64];
        FUZZ_CHECK(BuildOutOfListText(item, text, sizeof text) < sizeof text);
    }
    TempSettingsFromBytes(&record, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void CheckTabKey(const std::uint8_t* data, std::size_t size) {
    TabKeyInput in = {};
    auto bit = [&](std::size_t i) { return i / 8 < size && (data[i / 8] >> (i % 8)) & 1; };
    in.hookCode = bit(0) ? -1 : 0;
    in.virtualKey = bit(1) ? 9 : (size > 1 ? data[1] : 0);
    in.keyReleased = bit(2);
    in.consumablesOpen = bit(3);
    in.detailOpen = bit(4);
    in.active = static_cast<TabWindow>(size > 2 ? data[2] % 3 : 0);
    in.ctrl = bit(5);
    in.shift = bit(6);
    in.focus = {bit(7), bit(8), bit(9), bit(10), bit(11), bit(12)};
    in.tabIndex = size > 3 ? static_cast<std::int8_t>(data[3]) : 0;
    const TabKeyDecision d = DecideTabKey(in);
    const int tabs = in.detailOpen ? DetailTabCount : SettingsTabCount;
    FUZZ_CHECK(d.selectTab >= -1 && d.selectTab < tabs);
    if (d.outcome != TabSwallow) FUZZ_CHECK(d.selectTab == -1 && d.focus == TargetNone);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const std::vector<std::string> f = Fields(data + 1, size - 1, 6);
    const std::uint32_t attributes = (flags & 1 ? PortAttributeEnableBidi : 0) | (flags & 2 ? PortAttributeWorkOffline : 0);
    const int kind = ClassifyPort(f[0].c_str(), attributes, flags & 4 ? PortStatusPaused : 0, f[1].c_str());
    FUZZ_CHECK(kind == 0 || kind == 1 || (kind >= 2 && kind <= 6) || kind == 16);
    const ModelCode model = ModelFromDriver(f[2].c_str());
    FUZZ_CHECK(model == ModelKoa2400MaxR || model == ModelKoa2600MaxR || model == ModelUnsupported);
    CheckCp932Copy(f[0], 1 + (flags >> 3));
    CheckCp932Copy(f[2], PrinterNameSize);
    CheckPaths(f[3], f[4]);
    CheckSettingsFile(f[5]);
    CheckTabKey(data, size);
    return 0;
}
