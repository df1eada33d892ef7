// The console tool's CSV import on any bytes: it either refuses with a
// problem and leaves the record alone, or gives a record whose every byte
// lies in its list and which exports and imports back unchanged.
#include "fuzz_common.h"

#include <string>

#include "console/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SettingsRecord record;
    std::memset(&record, 0xA5, sizeof record);
    std::string problem;
    const ConsoleLanguage language = size && (data[0] & 1) ? LanguageJapanese : LanguageEnglish;
    if (!ImportCsv(text, &record, language, &problem)) {
        FUZZ_CHECK(!problem.empty());
        for (unsigned char byte : record.value) FUZZ_CHECK(byte == 0xA5);
        return 0;
    }
    FUZZ_CHECK(FindOutOfListSetting(record) == -1);
    SettingsRecord again;
    FUZZ_CHECK(ImportCsv(ExportCsv(record), &again, language, &problem));
    FUZZ_CHECK(std::memcmp(&again, &record, sizeof record) == 0);
    return 0;
}
