// Rewrites a UTF-8 C++ source so that Clang stores its narrow literals as
// code page 932 bytes, as g++ does with -fexec-charset=CP932 in the product
// builds. Clang reads and writes literals only as UTF-8, and the settings
// tables check at compile time that every display text fits its field in
// code page 932, where a half-width katakana takes one byte instead of three.
//
// Every non-ASCII character inside an ordinary "..." or '...' literal becomes
// three-digit octal escapes of its code page 932 bytes (three digits, so a
// digit after it stays a character). Literals with an encoding prefix (u8, u,
// U, L) are left alone, as -fexec-charset leaves them; comments are copied.
// Non-ASCII in a raw string or in code cannot be carried over: error.
//
//   cp932_literals INPUT OUTPUT
#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

bool IsIdentifierByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The identifier characters right before position `at` (a literal prefix).
std::string PrefixBefore(const std::string& text, size_t at) {
    size_t begin = at;
    while (begin > 0 && IsIdentifierByte(text[begin - 1])) --begin;
    return text.substr(begin, at - begin);
}

bool ToCodePage932(iconv_t convert, const std::string& utf8, std::string* out) {
    std::string in = utf8;
    char buffer[64];
    char* from = &in[0];
    size_t fromLeft = in.size();
    while (fromLeft > 0) {
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        const size_t result = iconv(convert, &from, &fromLeft, &to, &toLeft);
        out->append(buffer, static_cast<size_t>(to - buffer));
        if (result == static_cast<size_t>(-1) && to == buffer) return false;
    }
    return true;
}

std::string OctalEscapes(const std::string& bytes) {
    std::string escaped;
    for (unsigned char b : bytes) {
        char text[5];
        std::snprintf(text, sizeof text, "\\%03o", b);
        escaped += text;
    }
    return escaped;
}

int Fail(const std::string& path, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), line, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    const std::string inputPath = argv[1];
    std::ifstream input(inputPath, std::ios::binary);
    if (!input) return Fail(inputPath, 0, "cannot read");
    const std::string text((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());

    iconv_t convert = iconv_open("CP932", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return Fail(inputPath, 0, "no UTF-8 to CP932 conversion");

    enum State { Code, LineComment, BlockComment, Literal, RawLiteral } state = Code;
    char quote = 0;
    bool convertLiteral = false;
    std::string rawEnd;
    std::string out;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') ++line;
        const bool nonAscii = static_cast<unsigned char>(c) >= 0x80;
        switch (state) {
        case Code:
            if (nonAscii) return Fail(inputPath, line, "non-ASCII outside a literal or comment");
            if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') state = LineComment;
            else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                out += "/*";
                ++i;
                state = BlockComment;
                continue;
            } else if (c == '"' || c == '\'') {
                const std::string prefix = PrefixBefore(text, i);
                if (c == '"' && !prefix.empty() && prefix.back() == 'R') {
                    const size_t open = text.find('(', i);
                    if (open == std::string::npos) return Fail(inputPath, line, "unterminated raw string");
                    rawEnd = ")" + text.substr(i + 1, open - i - 1) + "\"";
                    state = RawLiteral;
                } else if (c == '\'' && !prefix.empty() && std::isdigit(static_cast<unsigned char>(prefix[0]))) {
                    // a digit separator (1'000), not a literal
                } else {
                    quote = c;
                    convertLiteral = prefix.empty() || (prefix != "u8" && prefix != "u" && prefix != "U" && prefix != "L");
                    state = Literal;
                }
            }
            out += c;
            break;
        case LineComment:
            if (c == '\n') state = Code;
            out += c;
            break;
        case BlockComment:
            if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
                out += "*/";
                ++i;
                state = Code;
                continue;
            }
            out += c;
            break;
        case RawLiteral:
            if (nonAscii) return Fail(inputPath, line, "non-ASCII inside a raw string literal");
            out += c;
            if (c == '"' && out.size() >= rawEnd.size() && out.compare(out.size() - rawEnd.size(), rawEnd.size(), rawEnd) == 0)
                state = Code;
            break;
        case Literal:
            if (c == '\\' && i + 1 < text.size()) {
                out += c;
                out += text[++i];
            } else if (c == quote) {
                out += c;
                state = Code;
            } else if (nonAscii && convertLiteral) {
                size_t end = i;
                while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
                std::string bytes;
                if (!ToCodePage932(convert, text.substr(i, end - i), &bytes))
                    return Fail(inputPath, line, "text has no code page 932 form");
                out += OctalEscapes(bytes);
                i = end - 1;
            } else {
                out += c;
            }
            break;
        }
    }
    iconv_close(convert);
    if (state == Literal || state == RawLiteral) return Fail(inputPath, line, "unterminated literal");

    std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
    output << out;
    output.close();
    if (!output) return Fail(argv[2], 0, "cannot write");
    return 0;
}
