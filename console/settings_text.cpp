#include "console/settings_text.h"

#include <cstdio>
#include <cstring>

namespace {

// printf into a std::string, length-checked; a text without arguments is
// taken as it stands.
std::string Format(const char* text) { return text; }

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0) return std::string();
    return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n)
                                                                             : sizeof buffer - 1);
}

template <typename... Args>
std::string Say(ConsoleLanguage language, ConsoleText text, Args... args) {
    return Format(ConsoleFormat(text, language), args...);
}

// An 8-byte field without its trailing blanks.
std::string Unpadded(const char* field) {
    std::size_t n = field ? std::strlen(field) : 0;
    if (n > FieldWidth) n = FieldWidth;
    while (n > 0 && field[n - 1] == ' ') --n;
    return std::string(field ? field : "", n);
}

// An unpadded keyword as the 8-byte blank-padded field; false when it
// cannot be one (longer than 8 bytes, empty, or holding a blank or a NUL).
bool Padded(const std::string& keyword, char (&field)[FieldWidth + 1]) {
    if (keyword.empty() || keyword.size() > FieldWidth) return false;
    for (char c : keyword)
        if (c == ' ' || c == '\0') return false;
    std::memset(field, ' ', FieldWidth);
    std::memcpy(field, keyword.data(), keyword.size());
    field[FieldWidth] = '\0';
    return true;
}

std::string ValueText(int item, int position, ConsoleLanguage language) {
    const char* text = SettingDisplayText(item, position);
    return text ? std::string(text) : Say(language, TextNotInList, position);
}

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Splits one CSV record starting at text[*at]; moves *at past its line end.
// False for an unterminated quote or text after a closing quote.
bool NextRecord(const std::string& text, std::size_t* at, std::vector<std::string>* fields) {
    fields->assign(1, std::string());
    std::size_t i = *at;
    bool quoted = false, afterQuote = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                fields->back() += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                fields->back() += '"';
                ++i;
            } else {
                quoted = false;
                afterQuote = true;
            }
        } else if (c == ',') {
            fields->push_back(std::string());
            afterQuote = false;
        } else if (c == '\n' || c == '\r') {
            break;
        } else if (c == '"' && fields->back().empty() && !afterQuote) {
            quoted = true;
        } else if (afterQuote) {
            return false;
        } else {
            fields->back() += c;
        }
    }
    if (quoted) return false;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    *at = i;
    return true;
}

}  // namespace

const char CsvHeader[] = "item,value,title,text";

bool RecordFromFile(const std::string& name, const std::string& bytes, SettingsRecord* record,
                    ConsoleLanguage language, std::string* problem) {
    if (bytes.size() != SettingCount) {
        *problem = Say(language, bytes.size() < SettingCount ? TextFileShort : TextFileLong, name.c_str(),
                       static_cast<int>(bytes.size() > 0x7FFFFFFF ? 0x7FFFFFFF : bytes.size()));
        return false;
    }
    std::memcpy(record->value, bytes.data(), SettingCount);
    return true;
}

std::string ShowSettings(const SettingsRecord& record, ConsoleLanguage language) {
    std::string out;
    for (int i = 0; i < SettingCount; ++i)
        out += Format("%-8s  %s = %s\n", Unpadded(SettingItems[i].name).c_str(), SettingTitle(i),
                      ValueText(i, record.value[i], language).c_str());
    return out;
}

std::string DiffSettings(const SettingsRecord& a, const SettingsRecord& b, ConsoleLanguage language,
                         int* differing) {
    std::string out;
    int count = 0;
    for (int i = 0; i < SettingCount; ++i) {
        if (a.value[i] == b.value[i]) continue;
        ++count;
        out += Format("%-8s  %s: %s -> %s\n", Unpadded(SettingItems[i].name).c_str(), SettingTitle(i),
                      ValueText(i, a.value[i], language).c_str(), ValueText(i, b.value[i], language).c_str());
    }
    out += count ? Say(language, TextDiffers, count) : Say(language, TextSame);
    if (differing) *differing = count;
    return out;
}

std::vector<std::string> CheckSettingsFile(const std::string& bytes, ConsoleLanguage language) {
    std::vector<std::string> problems;
    if (bytes.size() != SettingCount) {
        std::string problem;
        SettingsRecord unused;
        RecordFromFile("", bytes, &unused, language, &problem);
        problems.push_back(problem.substr(2));  // without the empty name's ": "
    }
    const std::size_t count = SettingCount;
    const std::size_t present = bytes.size() < count ? bytes.size() : count;
    for (std::size_t i = 0; i < present; ++i) {
        const int item = static_cast<int>(i);
        const int position = static_cast<unsigned char>(bytes[i]);
        if (position < SettingValueCount(item)) continue;
        problems.push_back(Format("%-8s  %s %s\n", Unpadded(SettingItems[item].name).c_str(), SettingTitle(item),
                                  Say(language, TextNotInList, position).c_str()));
    }
    return problems;
}

std::string ExportCsv(const SettingsRecord& record) {
    std::string out = std::string(CsvHeader) + "\n";
    for (int i = 0; i < SettingCount; ++i) {
        const char* keyword = SettingKeyword(i, record.value[i]);
        const char* text = SettingDisplayText(i, record.value[i]);
        out += Quoted(Unpadded(SettingItems[i].name)) + "," + Quoted(keyword ? Unpadded(keyword) : "") + "," +
               Quoted(SettingTitle(i)) + "," + Quoted(text ? text : "") + "\n";
    }
    return out;
}

bool ImportCsv(const std::string& text, SettingsRecord* record, ConsoleLanguage language, std::string* problem) {
    std::size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int firstLine[SettingCount] = {};
    SettingsRecord read = {};
    std::vector<std::string> fields;
    for (int line = 1; at < text.size(); ++line) {
        if (!NextRecord(text, &at, &fields)) {
            *problem = Say(language, TextCsvMalformed, line);
            return false;
        }
        if (line == 1) {
            if (fields.size() < 2 || fields[0] != "item" || fields[1] != "value") {
                *problem = Say(language, TextCsvHeader, line);
                return false;
            }
            continue;
        }
        if (fields.size() == 1 && fields[0].empty()) continue;  // a blank line
        if (fields.size() < 2 || fields.size() > 4) {
            *problem = Say(language, TextCsvMalformed, line);
            return false;
        }
        char name[FieldWidth + 1], value[FieldWidth + 1];
        const int item = Padded(fields[0], name) ? FindSettingItem(name) : -1;
        if (item < 0) {
            *problem = Say(language, TextCsvUnknownItem, line, fields[0].substr(0, 64).c_str());
            return false;
        }
        const int position = Padded(fields[1], value) ? FindSettingValue(item, value) : -1;
        if (position < 0) {
            *problem = Say(language, TextCsvUnknownValue, line, fields[1].substr(0, 64).c_str(),
                           Unpadded(SettingItems[item].name).c_str());
            return false;
        }
        if (firstLine[item]) {
            *problem = Say(language, TextCsvDuplicate, line, Unpadded(SettingItems[item].name).c_str(),
                           firstLine[item]);
            return false;
        }
        firstLine[item] = line;
        read.value[item] = static_cast<unsigned char>(position);
    }
    int missing = 0, first = -1;
    for (int i = 0; i < SettingCount; ++i)
        if (!firstLine[i]) {
            if (first < 0) first = i;
            ++missing;
        }
    if (missing) {
        *problem = Say(language, TextCsvMissing, missing, Unpadded(SettingItems[first].name).c_str());
        return false;
    }
    *record = read;
    return true;
}
