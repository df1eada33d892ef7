#include "panel/core/settings_file_rules.h"

#include <cstring>

#include "common/cp932_text.h"

// A path is walked character by character: the byte after a lead byte is a
// trail byte and may be 0x5C ('\') or 0x2F ('/').

const char* const DataFolderLevels[2] = {"\\KOA", "\\koa_verodorared"};

namespace {

const char kTempFileName[] = "\\veldra6.ini";

}  // namespace

bool AppendPathWhole(char* path, std::size_t size, const char* tail) {
    if (!path || size == 0) return false;
    // The existing text is measured within the buffer only: an unterminated
    // buffer is never read past its end.
    const void* end = std::memchr(path, '\0', size);
    if (!end) return false;
    const std::size_t used = static_cast<std::size_t>(static_cast<const char*>(end) - path);
    const std::size_t add = tail ? std::strlen(tail) : 0;
    if (add >= size - used) return false;  // the NUL needs one byte more
    std::memcpy(path + used, tail, add);
    path[used + add] = '\0';
    return true;
}

bool CopyPathWhole(char* destination, std::size_t size, const char* source) {
    if (!destination || size == 0) return false;
    destination[0] = '\0';
    if (!source) return true;
    if (AppendPathWhole(destination, size, source)) return true;
    destination[0] = '\0';
    return false;
}

bool ChooseDataDirectory(const char* appData, const char* startDirectory, char (&result)[PathBufferSize],
                         std::size_t* levelEnds) {
    if (appData && appData[0] && CopyPathWhole(result, sizeof result, appData)) {
        std::size_t ends[2];
        bool whole = true;
        for (int level = 0; level < 2 && whole; ++level) {
            whole = AppendPathWhole(result, sizeof result, DataFolderLevels[level]);
            if (whole) ends[level] = std::strlen(result);
        }
        if (whole) {
            if (levelEnds) {
                levelEnds[0] = ends[0];
                levelEnds[1] = ends[1];
            }
            return true;
        }
    }
    CopyPathWhole(result, sizeof result, startDirectory);
    return false;
}

bool EndsWithSeparator(const char* path) {
    bool separator = false;
    for (std::size_t i = 0; path && path[i];) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        separator = c == '\\' || c == '/';
        i += IsCp932LeadByte(c) && path[i + 1] ? 2 : 1;
    }
    return separator;
}

bool TempSettingsPath(const char* dataDirectory, char (&path)[PathBufferSize]) {
    path[0] = '\0';
    if (!dataDirectory || !dataDirectory[0]) return false;
    // A root ("C:\") already ends in its separator.
    const char* name = EndsWithSeparator(dataDirectory) ? kTempFileName + 1 : kTempFileName;
    if (CopyPathWhole(path, sizeof path, dataDirectory) && AppendPathWhole(path, sizeof path, name)) return true;
    path[0] = '\0';
    return false;
}

bool FolderOfPath(const char* path, char (&folder)[PathBufferSize]) {
    folder[0] = '\0';
    if (!path) return false;
    // Walk character by character so that a trail byte 0x5C is not taken
    // for a separator ("表" is 0x95 0x5C).
    std::size_t last = 0;
    bool found = false;
    for (std::size_t i = 0; path[i];) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c == '\\' || c == '/') {
            last = i;
            found = true;
            ++i;
        } else if (IsCp932LeadByte(c) && path[i + 1]) {
            i += 2;
        } else {
            ++i;
        }
    }
    if (!found) return false;
    // "C:\file": keep the separator, "C:" alone would be the drive's current folder.
    std::size_t keep = last;
    if (last == 2 && path[1] == ':') keep = 3;
    if (keep == 0) keep = 1;  // "\file": the root of the current drive
    if (keep >= sizeof folder) return false;
    std::memcpy(folder, path, keep);
    folder[keep] = '\0';
    return true;
}

std::size_t ApplyLoadedBytes(SettingsRecord* record, const unsigned char* bytes, std::size_t count) {
    if (!record || !bytes) return 0;
    const std::size_t n = count < sizeof record->value ? count : sizeof record->value;
    std::memcpy(record->value, bytes, n);
    return n;
}

void TempSettingsFromBytes(SettingsRecord* record, const unsigned char* bytes, std::size_t count) {
    if (!record) return;
    CopyFactoryDefaults(record);
    ApplyLoadedBytes(record, bytes, count);
}
