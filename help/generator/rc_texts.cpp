#include "help/generator/rc_texts.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <regex>
#include <sstream>

namespace helpgen {

namespace {

bool ReadLines(const std::string& path, std::vector<std::string>* lines, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
    }
    return true;
}

// The contents of the string literal that starts at `quote` (a '"'): the
// resource compiler's escapes resolved, line breaks dropped (a label that
// breaks its line reads as one line in running text).
std::string Unquote(const std::string& line, std::size_t quote) {
    std::string text;
    for (std::size_t i = quote + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                text += '"';
                ++i;
                continue;
            }
            break;
        }
        if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            if (next == 't') text += ' ';
            else if (next != 'r' && next != 'n') text += next;
            continue;
        }
        text += c;
    }
    return text;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool Store(const std::string& utf8, const std::string& where, std::string* cp932, std::string* error) {
    if (Utf8ToCp932(utf8, cp932)) return true;
    *error = where + ": text not representable in code page 932";
    return false;
}

}  // namespace

bool Utf8ToCp932(const std::string& utf8, std::string* cp932) {
    iconv_t conversion = iconv_open("CP932", "UTF-8");
    if (conversion == reinterpret_cast<iconv_t>(-1)) return false;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outNext = &out[0];
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(conversion, &in, &inLeft, &outNext, &outLeft);
    iconv_close(conversion);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.resize(out.size() - outLeft);
    *cp932 = out;
    return true;
}

bool ReadResourceTexts(const std::string& pagesScript, const std::string& tooltipsScript, ResourceTexts* texts,
                       std::string* error) {
    std::vector<std::string> lines;
    if (!ReadLines(pagesScript, &lines, error)) return false;
    const std::regex dialogStart(R"re(^(IDD_\w+)\s+DIALOGEX\b)re");
    const std::regex groupBox(R"re(^\s*GROUPBOX\s+")re");
    const std::regex label(R"re(^\s*LTEXT\s+"((?:[^"]|"")*)"\s*,\s*(\d+)\s*,)re");
    const std::regex tab(R"re(^\s*IDS_TAB_(\w+)\s+")re");
    std::string dialog;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = pagesScript + ":" + std::to_string(n + 1);
        std::smatch match;
        if (std::regex_search(line, match, dialogStart)) {
            dialog = match[1];
        } else if (line == "END") {
            dialog.clear();
        } else if (!dialog.empty() && std::regex_search(line, match, groupBox)) {
            std::string text;
            if (!Store(Unquote(line, line.find('"')), where, &text, error)) return false;
            texts->groups[dialog].push_back(text);
        } else if (!dialog.empty() && std::regex_search(line, match, label)) {
            std::string text;
            if (!Store(Unquote(line, line.find('"')), where, &text, error)) return false;
            texts->labels[std::stoi(match[2])] = text;
        } else if (std::regex_search(line, match, tab)) {
            std::string text;
            if (!Store(Trim(Unquote(line, line.find('"'))), where, &text, error)) return false;
            texts->tabs[match[1]] = text;
        }
    }

    lines.clear();
    if (!ReadLines(tooltipsScript, &lines, error)) return false;
    const std::regex numbered(R"re(^\s*(\d+)\s+")re");
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        std::smatch match;
        if (!std::regex_search(line, match, numbered)) continue;
        std::string text;
        if (!Store(Unquote(line, line.find('"')), tooltipsScript + ":" + std::to_string(n + 1), &text, error))
            return false;
        texts->tooltips[std::stoi(match[1])] = text;
    }
    return true;
}

}  // namespace helpgen
