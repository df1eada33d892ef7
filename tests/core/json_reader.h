// A small JSON reader for tests that check what a program printed as JSON:
// objects, arrays, strings (escapes decoded to UTF-8, surrogate pairs
// joined), numbers, true, false, null. Strict: anything else, or text after
// the value, fails the parse. Header-only; for tests.
#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // UTF-8
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool Has(const std::string& key) const { return kind == Object && members.count(key) != 0; }
    // The member `key`, or a null value when there is none.
    const JsonValue& operator[](const std::string& key) const {
        static const JsonValue none;
        const auto found = members.find(key);
        return kind == Object && found != members.end() ? found->second : none;
    }
};

class JsonReader {
public:
    // Parses `text` whole into *value; false (with *error) on the first fault.
    static bool Parse(const std::string& text, JsonValue* value, std::string* error) {
        JsonReader reader(text);
        if (!reader.Value(value, 0)) {
            *error = reader.error_;
            return false;
        }
        reader.Blanks();
        if (reader.at_ != text.size()) {
            *error = "text after the value at " + std::to_string(reader.at_);
            return false;
        }
        return true;
    }

private:
    explicit JsonReader(const std::string& text) : text_(text) {}

    bool Fail(const std::string& why) {
        error_ = why + " at " + std::to_string(at_);
        return false;
    }
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool Literal(const char* word) {
        const std::string w = word;
        if (text_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }

    bool Value(JsonValue* value, int depth) {
        if (depth > 64) return Fail("nested too deep");
        Blanks();
        if (at_ >= text_.size()) return Fail("value missing");
        const char c = text_[at_];
        if (c == '{') return ObjectValue(value, depth);
        if (c == '[') return ArrayValue(value, depth);
        if (c == '"') {
            value->kind = JsonValue::String;
            return StringValue(&value->text);
        }
        if (Literal("true")) {
            value->kind = JsonValue::Bool;
            value->boolean = true;
            return true;
        }
        if (Literal("false")) {
            value->kind = JsonValue::Bool;
            return true;
        }
        if (Literal("null")) return true;
        if (c == '-' || (c >= '0' && c <= '9')) {
            const char* start = text_.c_str() + at_;
            char* end = nullptr;
            value->kind = JsonValue::Number;
            value->number = std::strtod(start, &end);
            if (end == start) return Fail("bad number");
            at_ += static_cast<std::size_t>(end - start);
            return true;
        }
        return Fail("unexpected character");
    }

    bool ObjectValue(JsonValue* value, int depth) {
        value->kind = JsonValue::Object;
        ++at_;
        Blanks();
        if (at_ < text_.size() && text_[at_] == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            Blanks();
            std::string key;
            if (at_ >= text_.size() || text_[at_] != '"' || !StringValue(&key)) return Fail("key missing");
            Blanks();
            if (at_ >= text_.size() || text_[at_] != ':') return Fail("colon missing");
            ++at_;
            JsonValue member;
            if (!Value(&member, depth + 1)) return false;
            if (value->members.count(key)) return Fail("key repeated: " + key);
            value->members[key] = member;
            Blanks();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == '}') {
                ++at_;
                return true;
            }
            return Fail("comma or brace missing");
        }
    }

    bool ArrayValue(JsonValue* value, int depth) {
        value->kind = JsonValue::Array;
        ++at_;
        Blanks();
        if (at_ < text_.size() && text_[at_] == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            JsonValue item;
            if (!Value(&item, depth + 1)) return false;
            value->items.push_back(item);
            Blanks();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == ']') {
                ++at_;
                return true;
            }
            return Fail("comma or bracket missing");
        }
    }

    static void AppendUtf8(unsigned long code, std::string* out) {
        if (code < 0x80) {
            *out += static_cast<char>(code);
        } else if (code < 0x800) {
            *out += static_cast<char>(0xC0 | (code >> 6));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            *out += static_cast<char>(0xE0 | (code >> 12));
            *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            *out += static_cast<char>(0xF0 | (code >> 18));
            *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool Hex4(unsigned long* code) {
        if (at_ + 4 > text_.size()) return Fail("short \\u escape");
        *code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            *code <<= 4;
            if (c >= '0' && c <= '9')
                *code |= static_cast<unsigned long>(c - '0');
            else if (c >= 'a' && c <= 'f')
                *code |= static_cast<unsigned long>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                *code |= static_cast<unsigned long>(c - 'A' + 10);
            else
                return Fail("bad \\u escape");
        }
        return true;
    }

    bool StringValue(std::string* out) {
        ++at_;  // the opening quote
        for (;;) {
            if (at_ >= text_.size()) return Fail("unterminated string");
            const unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                *out += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) return Fail("unterminated escape");
            const char e = text_[at_++];
            switch (e) {
            case '"': *out += '"'; break;
            case '\\': *out += '\\'; break;
            case '/': *out += '/'; break;
            case 'b': *out += '\b'; break;
            case 'f': *out += '\f'; break;
            case 'n': *out += '\n'; break;
            case 'r': *out += '\r'; break;
            case 't': *out += '\t'; break;
            case 'u': {
                unsigned long code = 0;
                if (!Hex4(&code)) return false;
                if (code >= 0xD800 && code < 0xDC00 && text_.compare(at_, 2, "\\u") == 0) {
                    at_ += 2;
                    unsigned long low = 0;
                    if (!Hex4(&low)) return false;
                    if (low < 0xDC00 || low > 0xDFFF) return Fail("lone surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(code, out);
                break;
            }
            default:
                return Fail("unknown escape");
            }
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
    std::string error_;
};
