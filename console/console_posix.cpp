// The console tool's system side on Linux and other POSIX systems: files
// through stdio and rename, text converted from code page 932 to the
// locale's encoding with iconv.
#include "console/console_platform.h"

#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes->clear();
    char buffer[4096];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        bytes->append(buffer, n);
        if (bytes->size() > static_cast<std::size_t>(ConsoleFileLimit)) ok = false;
        if (n < sizeof buffer || !ok) break;
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

bool ReplaceFileWhole(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".XXXXXX";
    const int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool whole = written == bytes.size() && fsync(descriptor) == 0;
    const bool closed = close(descriptor) == 0;
    if (whole && closed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

ConsoleLanguage OutputLanguage() { return LanguageEnglish; }

void WriteOutput(std::FILE* stream, const std::string& text) {
    static bool localeSet = false;
    if (!localeSet) {
        std::setlocale(LC_CTYPE, "");
        localeSet = true;
    }
    const char* target = nl_langinfo(CODESET);
    iconv_t convert = iconv_open(target && *target ? target : "UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(convert, &in, &inLeft, &out, &outLeft);
        std::fwrite(buffer, 1, sizeof buffer - outLeft, stream);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte the locale cannot show: a question mark, and on.
            std::fputc('?', stream);
            ++in;
            --inLeft;
        }
    }
    iconv_close(convert);
}

bool Cp932ToUtf16(const std::string& text, std::u16string* units) {
    iconv_t convert = iconv_open("UTF-16LE", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) return false;
    units->clear();
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char buffer[4096];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(convert, &in, &inLeft, &out, &outLeft);
        for (char* at = buffer; at + 1 < out; at += 2)
            units->push_back(static_cast<char16_t>(static_cast<unsigned char>(at[0]) |
                                                   (static_cast<unsigned char>(at[1]) << 8)));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that is no character: the replacement character, and on.
            units->push_back(u'\xFFFD');
            ++in;
            --inLeft;
        }
    }
    iconv_close(convert);
    return true;
}

// Printers are reached only from the Windows build.
PrinterSystem* SystemPrinters() { return nullptr; }
