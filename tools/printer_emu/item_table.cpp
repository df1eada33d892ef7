#include "tools/printer_emu/item_table.h"

#include <cstddef>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace printer_emu {
namespace {

const std::size_t kFieldWidth = 8;
const std::size_t kMaxKeywords = 255;  // a settings record stores positions in one byte
// Generated ranges are bounded so that a typing slip cannot make the loader
// build millions of keywords before the length checks reject them.
const long kMaxRangeCount = 1000;

bool IsFieldText(const std::string& text) {
    if (text.empty() || text.size() > kFieldWidth) return false;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F) return false;
    }
    return true;
}

// Decimal integer with an optional sign; the whole text must be the number.
bool ParseInteger(const std::string& text, long* value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size()) return false;
    long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (result > 100000000L) return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = negative ? -result : result;
    return true;
}

// "a..b" into its two ends.
bool ParseSpan(const std::string& text, long* low, long* high) {
    std::size_t dots = text.find("..");
    if (dots == std::string::npos) return false;
    return ParseInteger(text.substr(0, dots), low) && ParseInteger(text.substr(dots + 2), high) &&
           *low <= *high && *high - *low < kMaxRangeCount;
}

// n/d inch in millimetres, rounded half up to one decimal: 25.4 mm is 254
// tenths, so the tenths are n*254/d; integer arithmetic keeps the rounding
// exact. Zero is written "0mm"; with `sign` the others carry "+" or "-".
std::string InchFractionToMillimetres(long numerator, long denominator, bool sign) {
    long magnitude = numerator < 0 ? -numerator : numerator;
    long tenths = (2 * magnitude * 254 + denominator) / (2 * denominator);
    if (tenths == 0) return "0mm";
    std::string text;
    if (numerator < 0) {
        text = "-";
    } else if (sign) {
        text = "+";
    }
    text += std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "mm";
    return text;
}

bool ExpandMillimetres(const std::string& body, bool sign, std::vector<std::string>* out, std::string* error) {
    // body: a..b/d
    std::size_t slash = body.rfind('/');
    long low = 0, high = 0, denominator = 0;
    if (slash == std::string::npos || !ParseSpan(body.substr(0, slash), &low, &high) ||
        !ParseInteger(body.substr(slash + 1), &denominator) || denominator <= 0) {
        *error = "millimetre form must be mm(a..b/d) or smm(a..b/d) with a <= b and d > 0";
        return false;
    }
    if (!sign && low < 0) {
        *error = "mm(...) takes no negative steps; use smm(...)";
        return false;
    }
    for (long n = low; n <= high; ++n) out->push_back(InchFractionToMillimetres(n, denominator, sign));
    return true;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

}  // namespace

bool ExpandKeywordToken(const std::string& token, std::vector<std::string>* out, std::string* error) {
    const std::string mm = "mm(";
    const std::string smm = "smm(";
    if (token.size() > smm.size() && token.compare(0, smm.size(), smm) == 0 && token.back() == ')') {
        return ExpandMillimetres(token.substr(smm.size(), token.size() - smm.size() - 1), true, out, error);
    }
    if (token.size() > mm.size() && token.compare(0, mm.size(), mm) == 0 && token.back() == ')') {
        return ExpandMillimetres(token.substr(mm.size(), token.size() - mm.size() - 1), false, out, error);
    }
    std::size_t open = token.find('{');
    if (open == std::string::npos) {
        out->push_back(token);
        return true;
    }
    std::size_t close = token.find('}', open);
    if (close == std::string::npos || token.find('{', open + 1) != std::string::npos) {
        *error = "a range form needs one {a..b} or {a..b:s}";
        return false;
    }
    std::string prefix = token.substr(0, open);
    std::string suffix = token.substr(close + 1);
    std::string body = token.substr(open + 1, close - open - 1);
    long step = 1;
    std::size_t colon = body.find(':');
    if (colon != std::string::npos) {
        if (!ParseInteger(body.substr(colon + 1), &step) || step <= 0) {
            *error = "the step of a range must be a positive number";
            return false;
        }
        body = body.substr(0, colon);
    }
    long low = 0, high = 0;
    if (!ParseSpan(body, &low, &high)) {
        *error = "a range must read {a..b} with a <= b";
        return false;
    }
    for (long n = low; n <= high; n += step) out->push_back(prefix + std::to_string(n) + suffix);
    return true;
}

bool ParseItemTable(const std::string& text, const std::string& origin,
                    std::vector<EmulatorItem>* items, std::string* error) {
    std::map<std::string, std::vector<std::string>> lists;
    std::vector<EmulatorItem> result;
    std::set<std::string> names;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    std::string problem;
    auto fail = [&](const std::string& what) {
        if (error) *error = origin + ":" + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        std::size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        const std::string& kind = words[0];
        std::size_t firstValue = 0;
        if (kind == "list") {
            if (words.size() < 3) return fail("a list needs a name and at least one keyword");
            firstValue = 2;
        } else if (kind == "item") {
            if (words.size() < 4) return fail("an item needs a name, a factory keyword and at least one keyword");
            firstValue = 3;
        } else {
            return fail("unknown line kind \"" + kind + "\" (expected list or item)");
        }
        std::vector<std::string> keywords;
        for (std::size_t w = firstValue; w < words.size(); ++w) {
            const std::string& token = words[w];
            if (token[0] == '@') {
                auto found = lists.find(token.substr(1));
                if (found == lists.end()) return fail("unknown list " + token);
                keywords.insert(keywords.end(), found->second.begin(), found->second.end());
            } else if (!ExpandKeywordToken(token, &keywords, &problem)) {
                return fail(token + ": " + problem);
            }
            if (keywords.size() > kMaxKeywords) return fail("more than 255 keywords");
        }
        std::set<std::string> seen;
        for (const std::string& keyword : keywords) {
            if (!IsFieldText(keyword)) return fail("keyword \"" + keyword + "\" is not 1 to 8 printable characters");
            if (!seen.insert(keyword).second) return fail("keyword " + keyword + " appears twice");
        }
        if (kind == "list") {
            if (!lists.emplace(words[1], keywords).second) return fail("list " + words[1] + " defined twice");
            continue;
        }
        EmulatorItem item;
        item.name = words[1];
        if (!IsFieldText(item.name)) return fail("item name \"" + item.name + "\" is not 1 to 8 printable characters");
        if (!names.insert(item.name).second) return fail("item " + item.name + " defined twice");
        item.keywords = keywords;
        std::size_t position = 0;
        while (position < keywords.size() && keywords[position] != words[2]) ++position;
        if (position == keywords.size()) return fail("factory keyword " + words[2] + " is not in the list of " + item.name);
        item.factory = position;
        result.push_back(item);
    }
    if (result.empty()) {
        if (error) *error = origin + ": no items";
        return false;
    }
    *items = result;
    return true;
}

bool LoadItemTable(const std::string& path, std::vector<EmulatorItem>* items, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error) *error = path + ": cannot be opened";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseItemTable(text.str(), path, items, error);
}

}  // namespace printer_emu
